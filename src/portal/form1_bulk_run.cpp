// "SIRAYLA YÜKLE": the queued invoices of the bulk template uploaded one after another
// in one portal session, each created at once or after the user's answer on the panel.
#include "invoice/form1_editor_state.h"
#include "invoice/form1_editor_type.h"
#include "invoice/line_template.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "platform/workbook.h"
#include "portal/bulk_run.h"
#include "portal/form1_bulk_reading.h"
#include "portal/form1_portal_state.h"
#include "portal/form1_upload_road.h"
#include "portal/invoice_page_fill.h"
#include "shell/twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QProgressBar>
#include <QDate>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeWidget>

namespace kuvela {

namespace {

constexpr int kAnswerPollMs = 50;
// The result is asked for in short steps: a poll, not one of the road's pauses.
constexpr int kResultStepMs = 20;
constexpr int kAnswerLimitMs = 10000;
constexpr int kStaleCloseTries = 5;

enum class Col { Ettn = 1, Difference = 8, Status = 10 };

void appendLog(Form1& f, const QString& line)
{
    f.Text28->setPlainText(f.Text28->toPlainText() + u'\n' + line);
}

void showPanel(Form1& f)
{
    f.Frame26->move(twipsToPixels(1800), twipsToPixels(3600));
    f.Frame26->show();
    f.Frame26->raise();
}

portal::BulkSettings runSettings(Form1& f)
{
    portal::BulkSettings s;
    s.mode = chosenGrouping(f);
    s.errorChecks = false;  // the queue's reading gave its warnings already
    s.datesFromExcel = f.Check8->isChecked();
    s.invoiceDate = f.Text8->text();
    s.typeText = f.Combo1->currentText();
    s.grid = &lineGrid(f);
    s.totals = totalsSettingsOf(f);
    s.programVersion = f.prgVersiyon;
    return s;
}

std::optional<portal::UploadQueueRow> queuedRow(const Form1& f, int number)
{
    const QTreeWidgetItem* item = f.ListView3->topLevelItem(number - 1);
    if (!item)
        return std::nullopt;
    portal::UploadQueueRow r;
    QString* cells[] = {&r.number,  &r.ettn,    &r.date,       &r.taxNumber, &r.taxOffice, &r.name,
                        &r.address, &r.amount,  &r.difference, &r.rows,      &r.status};
    for (int c = 0; c < 11; ++c)
        *cells[c] = item->text(c);
    return r;
}

void setCell(Form1& f, int number, Col col, const QString& text)
{
    QTreeWidgetItem* item = f.ListView3->topLevelItem(number - 1);
    if (!item)
        return;
    item->setText(int(col), text);
    // The queue was fitted before the run wrote its results: a column grows to show
    // "GIB SERİ NO OLUŞTU" or the portal's words whole, and never shrinks.
    const int before = f.ListView3->columnWidth(int(col));
    f.ListView3->resizeColumnToContents(int(col));
    if (f.ListView3->columnWidth(int(col)) < before)
        f.ListView3->setColumnWidth(int(col), before);
}

// dd/mm/yyyy whatever separator Text8 holds; an unreadable date stays as it is.
QString slashDate(const QString& text)
{
    for (const char* format : {"dd.MM.yyyy", "dd/MM/yyyy", "d.M.yyyy", "dd-MM-yyyy"}) {
        const QDate d = QDate::fromString(text, QString::fromLatin1(format));
        if (d.isValid())
            return portal::portalDate(d);
    }
    return text;
}

class BulkRun {
public:
    explicit BulkRun(Form1& f) : f_(f), ps_(f.state<PortalState>()) {}
    void run();

private:
    enum class Next { Go, End, Fail };

    bool login();
    void checkTaxpayer();
    bool readWorkbook();
    // Text28 lists the steps skipped since the last report; their number.
    int reportSkipped();
    void closeStaleResult();
    QString resultText();  // the result pop-up's words; empty when none shows
    Next invoice(int number, int& row);
    Next upload(int number);
    Next create(int number);
    void endRoad(int handled);
    void failureRoad(const QString& description);

    Form1& f_;
    PortalState& ps_;
    BrowserSession session_;
    portal::RoadWaits wait_;
    QElapsedTimer timer_;
    portal::BulkSettings settings_;
    invoice::SheetView sheet_;
    size_t reported_ = 0;
};

bool BulkRun::login()
{
    const PortalLogin how = PortalLogin::bulkUpload();
    LoginOutcome outcome;
    QString why;
    try {
        // The taxpayer number is compared before the menu is walked.
        outcome = session_.portalGiris(BrowserStart::bulkUpload(uploadDownloadFolder(f_)), f_.user->text(), f_.pass->text(),
                                       how, {[this](const QString& s) { f_.setPanel(7, s); },
                                             [this](int p) { f_.setProgress(p); }, [this] { checkTaxpayer(); }});
    } catch (const WebDriverError& e) {
        why = e.fullMessage();
    }
    if (!outcome.loggedIn) {
        failureRoad(why);
        return false;
    }
    return true;
}

void BulkRun::checkTaxpayer()
{
    QString taxpayer;
    session_.attempt(QStringLiteral("mükellef vergi no okuma ") + portal::fixed::TaxpayerNumber,
                     [&] { taxpayer = session_.find(Locator::id(portal::fixed::TaxpayerNumber)).text(); });
    if (taxpayer != f_.firmaVKN)
        msgBox(QStringLiteral("Dikkat ! kullanıcı ile mükellef vergi no uyuşmuyor !!! \nprgDATA sayfanızı kontrol edin!!!"),
               MsgIcon::Exclamation);
    f_.setPanel(7, BrowserSession::loggedInText());
}

// A template error after the login logs out: no session is left open behind it.
bool BulkRun::readWorkbook()
{
    settings_ = runSettings(f_);
    try {
        Workbook book = Workbook::open(toPath(f_.seciliDosya));
        sheet_ = portal::bulkSheetView(book.sheet(invoice::templateSheetName()));
    } catch (const WorkbookError& e) {
        msgBox(e.message(), MsgIcon::Exclamation);
        session_.portalCikis();
        return false;
    }
    if (const auto refusal = portal::checkBulkTitles(sheet_, lineGrid(f_))) {
        msgBox(*refusal, MsgIcon::Exclamation);
        session_.portalCikis();
        showPanel(f_);
        f_.Text6->clear();
        return false;
    }
    return true;
}

BulkRun::Next BulkRun::invoice(int number, int& row)
{
    // Each line warning comes at its row, with the invoice being read on the window.
    const portal::InvoiceRead read =
        portal::readInvoiceAt(sheet_, settings_, row, number, [this](const portal::BulkMessage& w, const portal::BulkInvoice& reading) {
            if (!w.errorCheck)
                showBulkMessage(f_, w, reading);
        });
    if (read.result == portal::InvoiceRead::Result::DataEnded)
        return Next::End;
    portal::UploadQueueRow missing;
    missing.number = QString::number(number);
    const std::optional<QString> mismatch = portal::queueRowMismatch(read, queuedRow(f_, number).value_or(missing));
    if (mismatch) {
        msgBox(*mismatch, MsgIcon::Exclamation);
        return Next::End;
    }
    f_.ListView1->clear();
    f_.ListView2->clear();
    loadBulkInvoice(f_, read.invoice, settings_.datesFromExcel);
    if (f_.Text4->text().startsWith(u' '))
        f_.Text4->setText(f_.Text4->text().mid(1));
    const portal::BuyerNames names = portal::splitBuyerName(f_.Text19->text(), f_.Text20->text());
    f_.uunvan->setText(names.title);
    f_.aad->setText(names.givenName);
    f_.ssoyad->setText(names.surname);
    f_.Text8->setText(slashDate(f_.Text8->text()));

    row = read.invoice.lastRow + 1;
    return upload(number);
}

BulkRun::Next BulkRun::upload(int number)
{
    session_.attempt(QStringLiteral("fatura sayfası açma"),
                     [&] { session_.find(Locator::linkText(QStringLiteral("e-Arşiv Fatura (İnteraktif) Oluştur"))).click(); });
    const auto containerId = portal::readDateContainerId(session_, 10, 50, wait_,
                                                         [this](int t) { f_.setPanel(7, portal::triedText(t)); });
    const std::optional<int> base = containerId ? portal::baseIdOf(*containerId) : std::nullopt;
    if (!base)
        return Next::Fail;
    const portal::PageMap page{*base};
    QString ettn;
    session_.attempt(QStringLiteral("ETTN okuma ") + page.gen(portal::offset::Ettn),
                     [&] { ettn = session_.find(Locator::id(page.gen(portal::offset::Ettn))).text(); });

    // Read afresh: another invoice's figure must never be compared.
    f_.portalTotal->clear();
    const QString total = portal::fillInvoicePage(
        session_, page, windowInvoice(f_),
        {[this](int p) { f_.setProgress(p); }, [](const QString& message) { msgBox(message, MsgIcon::Exclamation); }},
        wait_, portal::PageFillRoad::bulkUpload());
    f_.portalTotal->setText(total);

    f_.ys = portal::uploadSecondsText(double(timer_.elapsed()) / 1000.0);
    f_.Label25->setText(QStringLiteral("Yükleme Süresi: ") + f_.ys + QStringLiteral(" Saniye"));
    const size_t skippedBefore = reported_;
    const bool compared = portal::totalsCompared(total, f_.checkTotal->text());
    f_.setPanel(7, portal::uploadDoneText(int(session_.skippedSteps().size() - skippedBefore), compared));
    session_.attempt(QStringLiteral("tarayıcı penceresini taşıma"), [&] { session_.driver().moveWindow(0, 600); });
    showPanel(f_);
    f_.Command50->show();

    const QString difference = portal::queueDifference(total, f_.checkTotal->text());
    setCell(f_, number, Col::Ettn, ettn);
    setCell(f_, number, Col::Difference, difference);
    setCell(f_, number, Col::Status, portal::answerWaitsStatus());
    const QString uploaded = portal::uploadedText(f_.ListView3->topLevelItemCount(), number);
    appendLog(f_, uploaded);
    f_.setPanel(7, uploaded + portal::skippedNote(reportSkipped()) + portal::uncomparedNote(compared));

    // Totals that could not be compared are no difference within the limit.
    if (!compared) {
        setCell(f_, number, Col::Status, portal::uncomparedStatus());
        return Next::Go;
    }
    if (!portal::differencePasses(difference, f_.Text29->text())) {
        setCell(f_, number, Col::Status, portal::overLimitStatus());
        return Next::Go;
    }
    if (!f_.Check6->isChecked())
        return create(number);

    f_.karar.clear();
    f_.Command53->show();
    f_.Command41->show();
    waitForUploadAnswer(f_, ps_.windowClosing);
    switch (portal::answerOf(f_.karar)) {
    case portal::RunAnswer::Create:
        return create(number);
    case portal::RunAnswer::Cancel:
        showPanel(f_);
        setCell(f_, number, Col::Status, portal::cancelledStatus());
        return Next::Go;
    case portal::RunAnswer::End:
        break;
    }
    if (f_.karar == kKararQuit)
        f_.karar.clear();
    return Next::End;
}

int BulkRun::reportSkipped()
{
    const auto& steps = session_.skippedSteps();
    const size_t from = std::min(reported_, steps.size());
    reported_ = steps.size();
    const QString log = portal::skippedStepsLog(steps, from, steps.size());
    if (!log.isEmpty())
        appendLog(f_, log);
    return int(steps.size() - from);
}

// A result pop-up of an earlier invoice still open would be read as this one's result.
void BulkRun::closeStaleResult()
{
    for (int tries = 0; tries < kStaleCloseTries; ++tries) {
        if (resultText().isEmpty())
            return;
        session_.attempt(QStringLiteral("önceki sonuç penceresini kapatma"),
                         [&] { session_.click(Locator::xpath(portal::fixed::PopupClose)); });
        BrowserSession::bekle(kAnswerPollMs);
    }
}

QString BulkRun::resultText()
{
    try {
        return session_.find(Locator::xpath(portal::fixed::PopupMessage)).text();
    } catch (const std::exception&) {
        return {};
    }
}

BulkRun::Next BulkRun::create(int number)
{
    showPanel(f_);
    closeStaleResult();
    // Should it still stand there, its words are not this invoice's answer.
    const QString stale = resultText();
    session_.attempt(QStringLiteral("Oluştur tıklama"),
                     [&] { session_.click(Locator::css(QStringLiteral("input[value='Oluştur']"))); });
    wait_(50);
    // The result may come late: asked until it has words, within a bound.
    std::optional<QString> status;
    QElapsedTimer asked;
    asked.start();
    for (;;) {
        f_.portalmsg = resultText();
        if (!stale.isEmpty() && f_.portalmsg == stale)
            f_.portalmsg.clear();
        status = portal::resultStatus(f_.portalmsg);
        if (status || asked.elapsed() >= kAnswerLimitMs)
            break;
        waitMs(scaledMs(kResultStepMs));
    }
    if (!status) {
        setCell(f_, number, Col::Status, portal::noAnswerStatus());
        return Next::End;
    }
    setCell(f_, number, Col::Status, *status);
    session_.attempt(QStringLiteral("sonuç penceresini kapatma"),
                     [&] { session_.click(Locator::xpath(portal::fixed::PopupClose)); });
    if (!portal::isCreatedMessage(f_.portalmsg))
        session_.attempt(QStringLiteral("fatura sekmesini kapatma"),
                         [&] { session_.click(Locator::xpath(portal::fixed::TabClose)); });
    return Next::Go;
}

void hideRunButtons(Form1& f)
{
    for (QWidget* w : {static_cast<QWidget*>(f.Command53), static_cast<QWidget*>(f.Command41),
                       static_cast<QWidget*>(f.Command31), static_cast<QWidget*>(f.Command50)})
        w->hide();
}

void BulkRun::endRoad(int handled)
{
    reportSkipped();
    const int skipped = int(reported_);
    const bool loggedOut = session_.portalCikis();
    const QString end = loggedOut ? portal::loggedOutText() : portal::notLoggedOutText();
    hideRunButtons(f_);
    appendLog(f_, portal::handledLog(handled));
    appendLog(f_, end);
    f_.setPanel(7, end + portal::skippedNote(skipped));
    showPanel(f_);
    f_.Text6->clear();
}

// The program goes on: the queue stays, showing which invoices got their number.
void BulkRun::failureRoad(const QString& description)
{
    msgBox(portal::failureMessage());
    appendLog(f_, portal::failureLog(description));
    f_.setPanel(7, portal::failureStatus(description));
    session_.tarayiciKapat();
    hideRunButtons(f_);
    showPanel(f_);
    f_.Text6->clear();
}

void BulkRun::run()
{
    f_.setPanel(7, QStringLiteral("e Arşiv Portalına giriş yapılıyor. Lütfen bekleyin..."));
    f_.setProgress(0.0001);
    f_.Label25->clear();
    f_.ProgressBar1->setVisible(true);
    f_.setProgress(1);
    timer_.start();
    if (!login() || !readWorkbook())
        return;

    int row = 2;
    int number = 1;
    for (;; ++number) {
        Next next = Next::Fail;
        QString why;
        try {
            next = invoice(number, row);
        } catch (const std::exception& e) {
            why = QString::fromUtf8(e.what());
        }
        f_.portalmsg.clear();
        if (next == Next::Fail) {
            const auto& skipped = session_.skippedSteps();
            if (why.isEmpty() && !skipped.empty())
                why = skipped.back().why;
            failureRoad(why);
            break;
        }
        if (next == Next::End || ps_.windowClosing) {
            endRoad(number - 1);
            break;
        }
    }
    ps_.lastSkipped = session_.skippedSteps();
}

} // namespace

void Form1::Command31_Click()
{
    setPanel(7, portal::runStartedStatus());
    Command31->hide();
    for (QWidget* w : {static_cast<QWidget*>(Command20), static_cast<QWidget*>(Command22),
                       static_cast<QWidget*>(Check4), static_cast<QWidget*>(Check6)})
        w->setEnabled(false);
    Text28->setPlainText(portal::runStartedLog());
    coklufaturayukle();
}

void Form1::coklufaturayukle()
{
    PortalState& ps = state<PortalState>();
    if (ps.uploadRunning)
        return;
    karar.clear();
    if (!uploadMayStart(*this))
        return;

    const RunningFlag running(ps.uploadRunning);
    const BrowserButtonsLock lock(*this);
    ps.windowClosing = false;
    ps.lastSkipped.clear();
    BulkRun(*this).run();
}

// The two modes exclude each other; the box the user clicked keeps what was given.
void Form1::Check4_Click()
{
    const bool on = Check4->isChecked();
    {
        const QSignalBlocker quiet(Check6);
        Check6->setChecked(false);
    }
    Check6->setEnabled(!on);
    Command31->setEnabled(on);
}

void Form1::Check6_Click()
{
    const bool on = Check6->isChecked();
    {
        const QSignalBlocker quiet(Check4);
        Check4->setChecked(false);
    }
    Check4->setEnabled(!on);
    Command31->setEnabled(on);
}

} // namespace kuvela
