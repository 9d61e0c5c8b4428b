// The single upload "e-Arşiv": the invoice on the main window typed into the portal's
// interactive invoice page, its total compared in the upload log, and the draft left
// open for the user until the panel is closed or "GÜVENLİ ÇIKIŞ" is pressed.
#include "invoice/form1_editor_state.h"
#include "invoice/form1_editor_type.h"
#include "invoice/form2.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "portal/form1_portal_state.h"
#include "portal/form1_upload_road.h"
#include "portal/invoice_page_fill.h"
#include "shell/twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>

namespace kuvela {

namespace {

const QString kLoggedOut = QStringLiteral("Portaldan Güvenli Çıkış yapıldı.");

QStringList returnReferences(Form1& f)
{
    // Read only from a dialog that is there; opening one here would make an empty list.
    if (const auto* dialog = f.findChild<Form2*>(QString(), Qt::FindDirectChildrenOnly))
        return dialog->references();
    return {};
}

portal::InvoicePageInput pageInput(Form1& f)
{
    portal::InvoicePageInput in = windowInvoice(f);
    in.returnReferences = returnReferences(f);
    return in;
}

// Steps 6 to 10: the message, the bar, the buyer as the portal wants it, the date.
void prepare(Form1& f)
{
    f.setPanel(7, QStringLiteral("e Arşiv Portalına giriş yapılıyor. Lütfen bekleyin..."));
    f.setProgress(0.0001);
    f.Label25->clear();
    f.ProgressBar1->setVisible(true);
    f.setProgress(1);
    f.Label25->clear();
    if (f.Text4->text().startsWith(u' '))
        f.Text4->setText(f.Text4->text().mid(1));
    const portal::BuyerNames names = portal::splitBuyerName(f.Text19->text(), f.Text20->text());
    f.uunvan->setText(names.title);
    f.aad->setText(names.givenName);
    f.ssoyad->setText(names.surname);
    if (f.Text8->text().isEmpty())
        f.Text8->setText(portal::portalDate(Clock::instance().now().date()));
}

// Step 29: the one row of the log.
void writeQueueRow(Form1& f, const QString& ettn)
{
    f.ListView3->clear();
    f.Command31->hide();
    portal::UploadQueueRow row;
    row.number = portal::singleUploadNumber();
    row.ettn = ettn;
    row.date = f.Text8->text();
    row.taxNumber = f.Text4->text();
    row.taxOffice = f.Text3->text();
    row.name = f.Text19->text();
    row.address = f.Text2->text();
    row.amount = portal::queueAmount(f.checkTotal->text());
    row.difference = portal::queueDifference(f.portalTotal->text(), f.checkTotal->text());
    row.status = portal::draftWaitsStatus();
    auto* item = new QTreeWidgetItem(f.ListView3, row.cells());
    Q_UNUSED(item);
    f.setHeader();
    f.Text28->setPlainText(portal::draftLoadedLog());
}

} // namespace

void Form1::Command12_Click()
{
    PortalState& ps = state<PortalState>();
    if (ps.uploadRunning)
        return;

    // Preconditions.
    Frame21->setEnabled(false);
    if (lineGrid(*this).rowCount() == 0) {
        msgBox(QStringLiteral("Fatura satırlarında veri yok!"), MsgIcon::Exclamation);
        return;
    }
    // A list entry the portal has no type for would go up as a sale of zero.
    if (invoice::portalValueOf(invoiceKindOf(*this)).isEmpty()) {
        setPanel(7, QStringLiteral("Bu fatura türü portala yüklenemez !"));
        return;
    }
    if (!uploadMayStart(*this))
        return;

    const RunningFlag running(ps.uploadRunning);
    const BrowserButtonsLock lock(*this);
    ps.windowClosing = false;
    ps.lastSkipped.clear();
    prepare(*this);
    QElapsedTimer timer;
    timer.start();
    portal::RoadWaits wait;

    BrowserSession session;
    const PortalLogin how = PortalLogin::singleUpload();
    LoginOutcome login;
    try {
        login = session.portalGiris(BrowserStart::singleUpload(uploadDownloadFolder(*this)), user->text(), pass->text(), how,
                                    {[this](const QString& s) { setPanel(7, s); },
                                     [this](int p) { setProgress(p); }});
    } catch (const WebDriverError& e) {
        // The waiting text would say the login still runs.
        setPanel(7, e.fullMessage());
        msgBox(e.fullMessage(), MsgIcon::Critical);
        return;
    }
    if (!login.loggedIn)
        return;
    ys = QString::number(login.attempts);

    try {
        // The page's own numbering, so that every field is found where this page put it.
        const portal::PageMap page{portal::baseIdOr1026(portal::readDateContainerId(session, 10, 50, wait))};
        QString ettn;
        QString taxpayer;
        session.attempt(QStringLiteral("ETTN okuma ") + page.gen(portal::offset::Ettn),
                        [&] { ettn = session.find(Locator::id(page.gen(portal::offset::Ettn))).text(); });
        session.attempt(QStringLiteral("mükellef vergi no okuma ") + portal::fixed::TaxpayerNumber,
                        [&] { taxpayer = session.find(Locator::id(portal::fixed::TaxpayerNumber)).text(); });
        if (taxpayer != firmaVKN)
            msgBox(QStringLiteral("Dikkat ! kullanıcı ile mükellef vergi no uyuşmuyor !!! \nprgDATA sayfanızı kontrol edin!!!"),
                   MsgIcon::Exclamation);

        // The total is read afresh: another invoice's figure must never be compared.
        portalTotal->clear();
        const QString total = portal::fillInvoicePage(
            session, page, pageInput(*this),
            {[this](int p) { setProgress(p); },
             [](const QString& message) { msgBox(message, MsgIcon::Exclamation); }},
            wait);
        portalTotal->setText(total);

        const double seconds = double(timer.elapsed()) / 1000.0;
        ys = portal::uploadSecondsText(seconds);
        Label25->setText(QStringLiteral("Yükleme Süresi: ") + ys + QStringLiteral(" Saniye"));
        // A step the portal did not take must never look like a clean upload.
        const size_t skippedInUpload = session.skippedSteps().size();
        const bool compared = portal::totalsCompared(total, checkTotal->text());
        setPanel(7, portal::uploadDoneText(int(skippedInUpload), compared));
        ps.lastUploadSeconds = seconds;
        ps.lastFixedWaitsMs = wait.totalMs() + how.waitBeforeMenu + how.waitBeforePage + how.waitAfterPage;

        session.attempt(QStringLiteral("tarayıcı penceresini taşıma"), [&] { session.driver().moveWindow(0, 600); });
        Frame26->move(twipsToPixels(1800), twipsToPixels(3600));
        Frame26->show();
        Frame26->raise();
        // An invoice whose total could not be compared is never called a success.
        const QString alert =
            compared ? QStringLiteral("Kuvela v%1 fatura bilgilerini başarıyla yükledi. Kaydetmek istiyorsanız "
                                      "aşağıdaki Oluştur butonuna tıklayın.")
                     : QStringLiteral("Kuvela v%1 fatura bilgilerini yükledi, ancak portalın toplamı okunamadı! "
                                      "Faturayı kontrol etmeden Oluştur butonuna tıklamayın.");
        session.attempt(QStringLiteral("yükleme uyarısı"), [&] {
            session.driver().executeScript(QStringLiteral("alert('%1');").arg(alert.arg(prgVersiyon)));
        });

        writeQueueRow(*this, ettn);
        const QString skippedLog = portal::skippedStepsLog(session.skippedSteps(), 0, skippedInUpload);
        if (!skippedLog.isEmpty())
            Text28->setPlainText(Text28->toPlainText() + u'\n' + skippedLog);
        Command50->show();
        // Step 31: the user creates the draft on the portal, or leaves.
        waitForUploadAnswer(*this, ps.windowClosing);
        if (karar == kKararQuit)
            karar.clear();

        // The upload's own alert is accepted first, or the logout would not happen.
        const bool loggedOut = session.portalCikis();
        const QString end = loggedOut ? kLoggedOut : portal::notLoggedOutText();
        Text28->setPlainText(skippedLog.isEmpty() ? end : end + u'\n' + skippedLog);
        setPanel(7, end + portal::skippedNote(int(skippedInUpload)) + portal::uncomparedNote(compared));
    } catch (const std::exception& e) {
        // Nothing after the login may end the program; the session quits with the road.
        msgBox(QString::fromUtf8(e.what()), MsgIcon::Critical);
    }
    ps.lastSkipped = session.skippedSteps();
}

void Form1::Command50_Click()
{
    Command12->setEnabled(true);
    karar = kKararQuit;
    // The button goes away under the focus; the lines take it.
    ListView1->setFocus(Qt::OtherFocusReason);
    Command50->hide();
    for (QWidget* w : {static_cast<QWidget*>(Check4), static_cast<QWidget*>(Check6), static_cast<QWidget*>(Command20),
                       static_cast<QWidget*>(Command22)})
        w->setEnabled(true);
}

void Form1::Command55_Click()
{
    setPanel(7, QString());
    Command12->setEnabled(true);
    ListView1->setFocus(Qt::OtherFocusReason);
    Command50->hide();
    Frame26->hide();
    Check4->setChecked(false);
    Check6->setChecked(false);
    for (QWidget* w : {static_cast<QWidget*>(Check4), static_cast<QWidget*>(Check6), static_cast<QWidget*>(Command20),
                       static_cast<QWidget*>(Command22)})
        w->setEnabled(true);
    Command31->setEnabled(false);
    Combo4->setEnabled(true);
}

} // namespace kuvela
