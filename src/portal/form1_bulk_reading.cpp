// The bulk road of the main window up to the queue: the bulk mode switch, the
// parameters panel and the reading of a bulk template into the upload log. The
// reading and grouping themselves are plain functions (bulk_template.h).
#include "portal/form1_bulk_reading.h"

#include "invoice/form1_editor_state.h"
#include "invoice/form1_editor_type.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "shell/button_kind.h"
#include "shell/file_pane_logic.h"
#include "shell/twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <system_error>

namespace kuvela {

namespace {

void setTextColour(QWidget* w, const QColor& colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::ButtonText, colour);
    w->setPalette(p);
}

void setListBackground(QWidget* w, const QColor& colour)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, colour);
    w->setPalette(p);
}

// Text20 and Text19 are written without their customer searches.
void setBuyerBoxes(Form1& f, const portal::BulkBuyer& b)
{
    const QSignalBlocker quiet20(f.Text20);
    const QSignalBlocker quiet19(f.Text19);
    f.Text20->setText(b.text20);
    f.Text4->setText(b.text4);
    f.Text3->setText(b.text3);
    f.Text19->setText(b.text19);
    f.Text2->setText(b.text2);
    f.Text12->setText(b.text12);
    f.Text5->setText(b.text5);
    f.uunvan->setText(b.uunvan);
    f.aad->setText(b.aad);
    f.ssoyad->setText(b.ssoyad);
    f.Frame13->hide();
    f.Frame14->hide();
}

// yekunal's inputs as the window holds them.
void chooseGrouping(Form1& f, portal::GroupingMode mode)
{
    f.Label52->clear();
    f.setPanel(7, portal::groupingStatusText(mode));
}

} // namespace

portal::GroupingMode chosenGrouping(const Form1& f)
{
    if (f.prm1->isChecked())
        return portal::GroupingMode::ByTaxNumber;
    if (f.prm2->isChecked())
        return portal::GroupingMode::ByName;
    if (f.prm3->isChecked())
        return portal::GroupingMode::OnePerRow;
    return portal::GroupingMode::None;
}

void loadBulkInvoice(Form1& f, const portal::BulkInvoice& invoice, bool datesFromExcel)
{
    setBuyerBoxes(f, invoice.buyer);
    invoice::LineGrid& grid = lineGrid(f);
    grid.rows = invoice.totals.lines;
    showLineGrid(f);
    f.yekunal();
    if (datesFromExcel)
        f.Text8->setText(invoice.date);
}

void showBulkMessage(Form1& f, const portal::BulkMessage& message, const portal::BulkInvoice& reading)
{
    if (reading.firstRow > 0)
        loadBulkInvoice(f, reading, false);
    msgBox(message.text, message.icon);
}

void clearBulkInvoice(Form1& f)
{
    setBuyerBoxes(f, portal::BulkBuyer{});
    lineGrid(f).rows.clear();
    showLineGrid(f);
    f.ListView2->clear();
    f.checkTotal->clear();
}

void Form1::Check5_Click()
{
    if (Combo1->currentText() == QStringView(kNoInvoiceType))
        return;
    Command3->show();
    makeUnusable(Command3);
    const bool bulk = Check5->isChecked();
    if (bulk) {
        setTextColour(Check5, QColor(0, 0, 255));
        setListBackground(File1, QColor(255, 250, 255));
        Command6->show();
        Command6->setEnabled(false);
        setPanel(7, QStringLiteral("Çoklu Veri almak için bir Excel dosyası seçiniz...!"));
        Command12->setEnabled(false);
        for (QRadioButton* view : {Option4, Option5, Option6, Option7})
            view->setChecked(false);
        if (Option3->isChecked())
            Option3_Click();
        else
            Option3->setChecked(true);  // runs Option3_Click
    } else {
        setTextColour(Check5, QApplication::palette(Check5).color(QPalette::HighlightedText));
        setListBackground(File1, QApplication::palette(File1).color(QPalette::Window));
        Command6->hide();
        setPanel(7, QString());
        Command12->setEnabled(true);
    }

    const QString company = Combo4->currentText();
    const std::filesystem::path folder =
        viewFolder({PaneView::Proforma, programFolder(), company, Combo1->currentText(), bulk});
    // Only inside a chosen company's tree.
    std::error_code ec;
    if (company.isEmpty() || company == QStringView(kNoCompany) ||
        !std::filesystem::is_directory(companyFolder(programFolder(), company), ec))
        return;
    if (!bulk) {
        setDir1Path(fromPath(folder));
    } else if (folder.filename() == "Multi") {
        std::filesystem::create_directories(folder, ec);
        setDir1Path(fromPath(folder));
    }
}

void Form1::Command6_Click()
{
    Combo4->setEnabled(false);
    Frame23->show();
    Frame23->raise();
    for (QRadioButton* option : {prm1, prm2, prm3}) {
        // An exclusive option cannot be cleared on its own.
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(true);
    }
    Check7->setChecked(false);
}

void Form1::prm1_Click() { chooseGrouping(*this, portal::GroupingMode::ByTaxNumber); }
void Form1::prm2_Click() { chooseGrouping(*this, portal::GroupingMode::ByName); }
void Form1::prm3_Click() { chooseGrouping(*this, portal::GroupingMode::OnePerRow); }

void Form1::Command42_Click()
{
    Label52->clear();
    // The panel goes away under the focus; the lines take it.
    ListView1->setFocus(Qt::OtherFocusReason);
    Frame23->hide();
    setPanel(7, QString());
}

void Form1::Command43_Click()
{
    Label52->clear();
    const portal::BulkHeader header{Text8->text(), Text10->text(), Text11->text(), chosenGrouping(*this),
                                    Check8->isChecked()};
    if (const auto refusal = portal::checkBulkHeader(header)) {
        if (refusal->inLabel52)
            Label52->setText(refusal->text);
        else
            msgBox(refusal->text, MsgIcon::Information);
        return;
    }

    // The reading's message boxes close over the window: the lines hold its focus.
    ListView1->setFocus(Qt::OtherFocusReason);
    Frame23->hide();
    Command31->show();
    Command12->setEnabled(false);
    Frame21->setEnabled(true);
    beginRoad();
    setPanel(7, portal::bulkReadingStatus());

    portal::BulkSettings settings;
    settings.mode = header.mode;
    settings.errorChecks = Check7->isChecked();
    settings.datesFromExcel = Check8->isChecked();
    settings.invoiceDate = Text8->text();
    settings.typeText = Combo1->currentText();
    settings.grid = &lineGrid(*this);
    settings.totals = totalsSettingsOf(*this);
    settings.programVersion = prgVersiyon;
    // The log is emptied once the workbook is taken; each invoice's row goes in as it is
    // read, and each message comes at its row with the invoice being read on the window.
    bool started = false;
    auto begin = [&] {
        if (!started)
            ListView3->clear();
        started = true;
    };
    portal::BulkReadingSink sink;
    sink.queued = [&](const portal::BulkInvoice& invoice) {
        begin();
        new QTreeWidgetItem(ListView3, invoice.queueRow().cells());
    };
    sink.message = [&](const portal::BulkMessage& message, const portal::BulkInvoice& reading) {
        begin();
        showBulkMessage(*this, message, reading);
    };
    const portal::BulkReading reading = portal::readBulkWorkbook(seciliDosya, settings, sink);

    using End = portal::BulkReading::End;
    if (reading.end == End::NotExcel) {
        setPanel(7, *reading.statusText);
        return;
    }
    begin();
    // Once for all rows: the widths come out as after a layout per row.
    setHeader();
    clnCount = QString::number(reading.invoices.size() + 1);
    // A complete reading leaves no invoice on the window; a stopped one the invoice it
    // was reading; a refused workbook the invoice that was there.
    if (reading.end == End::Complete)
        clearBulkInvoice(*this);
    else if (reading.current.firstRow > 0)
        loadBulkInvoice(*this, reading.current, settings.datesFromExcel && !reading.current.date.isEmpty());
    if (reading.end == End::Complete && settings.datesFromExcel && !reading.invoices.empty())
        Text8->setText(reading.invoices.back().date);

    if (reading.end == End::Complete) {
        Frame26->move(twipsToPixels(1800), twipsToPixels(3600));
        Frame26->show();
        Frame26->raise();
        Text28->setPlainText(*reading.logText);
        Text6->clear();
    }
    if (reading.statusText)
        setPanel(7, *reading.statusText);
}

} // namespace kuvela
