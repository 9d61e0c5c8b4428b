// The buyer of the invoice: picked by name through Combo3, or found by the name
// search (Text19, List3) or the tax-number search (Text20, List5).
#include "masterdata/buyers.h"
#include "masterdata/form1_masterdata_state.h"
#include "platform/workbook.h"
#include "shell/combo_items.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace kuvela {

namespace {

const QString kPicked = QStringLiteral("Evet");

QStringList namesAt(const CustomerList& customers, const std::vector<int>& positions)
{
    QStringList out;
    out.reserve(qsizetype(positions.size()));
    for (int i : positions)
        out << customers.at(i).name;
    return out;
}

QStringList numberEntriesAt(const CustomerList& customers, const std::vector<int>& positions)
{
    QStringList out;
    out.reserve(qsizetype(positions.size()));
    for (int i : positions)
        out << numberEntryText(customers.at(i));
    return out;
}

void clearNameParts(Form1& f)
{
    f.aad->clear();
    f.ssoyad->clear();
    f.uunvan->clear();
}

void fillBuyerBoxes(Form1& f, const NameParts& parts, const BuyerRecord& r)
{
    f.aad->setText(parts.aad);
    f.ssoyad->setText(parts.ssoyad);
    f.uunvan->setText(parts.uunvan);
    f.Text2->setText(r.address);
    f.Text12->setText(r.country);
    f.Text3->setText(r.taxOffice);
    f.Text4->setText(r.taxNumber);
    f.Text5->setText(r.email);
}

void clearBuyerAndHeader(Form1& f)
{
    for (QLineEdit* e : {f.Text2, f.Text3, f.Text4, f.Text5, f.uunvan, f.aad, f.ssoyad, f.Text7, f.Text8, f.Text9,
                         f.Text10, f.Text11, f.Text12, f.Text19, f.Text20})
        e->clear();
}

} // namespace

void Form1::alanlariTemizle()
{
    clearBuyerAndHeader(*this);
    Text6->clear();
}

void freeBuyer(Form1& f)
{
    f.List3->show();
    f.Text19->setEnabled(true);
    f.Combo3->setEnabled(true);
    if (!singleCompanyMode(f))
        f.Combo4->setEnabled(true);
    f.Combo3->clear();
    addItemsKeepingText(f.Combo3, f.state<MasterDataState>().customers.names());
}

void Form1::Label1_Click()
{
    beginRoad();
    // Another buyer for the invoice on the window: the note keeps the seller's lines.
    freeBuyer(*this);
    clearBuyerAndHeader(*this);
}

void Form1::Combo3_LostFocus()
{
    const QString name = Combo3->currentText();
    if (name.isEmpty())
        return;
    clearNameParts(*this);
    // Buyer and seller stay as they are until Label1 or Label19 is clicked.
    Combo3->setEnabled(false);
    Combo4->setEnabled(false);
    bool found = false;
    readMasterData(*this, [&](Workbook& book) {
        if (const auto r = readBuyerByName(book, name)) {
            fillBuyerBoxes(*this, r->parts, *r);
            found = true;
        }
    });
    if (!found)
        return;
    // The upload takes the name from Text19; the picked buyer opens no search.
    secildi = kPicked;
    whoTriggered = QStringLiteral("List3");
    Text19->setText(name);
    secildi.clear();
    Text20->setText(Text4->text().startsWith(u' ') ? Text4->text().mid(1) : Text4->text());
    if (whoTriggered == u"List3")
        whoTriggered = QStringLiteral("x");
    Text19->setEnabled(false);
}

void Form1::Text19_Change()
{
    const MasterDataState& md = state<MasterDataState>();
    const NameSearch s = text19Change(md.customers, Text19->text(), secildi);
    if (s.showFrame14) {
        Frame14->show();
        Frame14->raise();
        Command23->show();
    }
    secildi.clear();
    List3->clear();
    List3->addItems(namesAt(md.customers, s.matches));
}

void Form1::Text20_Change()
{
    MasterDataState& md = state<MasterDataState>();
    const NumberSearch s = text20Change(md.customers, Text20->text(), whoTriggered);
    whoTriggered = s.whoTriggered;
    if (s.skipped)
        return;
    if (s.clearList3)
        List3->clear();
    if (s.frame13 == FrameChange::Show) {
        Frame13->show();
        Frame13->raise();
    }
    if (s.showList5)
        List5->show();
    if (Text20->text() != s.text) {
        // The cleaned text would give the same search again.
        const QSignalBlocker quiet(Text20);
        Text20->setText(s.text);
    }
    Text20->setCursorPosition(int(s.text.size()));
    List5->clear();
    List5->addItems(numberEntriesAt(md.customers, s.matches));
    md.list5Matches = s.matches;
    if (s.frame13 == FrameChange::Hide)
        Frame13->hide();
}

void Form1::List3_DblClick()
{
    const QListWidgetItem* item = List3->currentItem();
    if (!item)
        return;
    const QString picked = item->text();
    // The list goes away under the focus; the buyer's boxes take it.
    Text2->setFocus(Qt::OtherFocusReason);
    secildi = kPicked;
    Frame14->hide();
    Command23->hide();
    Combo3->setEditText(picked);
    Text19->setText(picked);
    List3->hide();
    Text19->setEnabled(false);
    whoTriggered = QStringLiteral("List3");
    Combo3_LostFocus();
    // The nested pick has set Text20 already; this setting is no search either.
    whoTriggered = QStringLiteral("List3");
    Text20->setText(Text4->text());
    // An unchanged Text20 runs no handler; the pick is over all the same.
    if (whoTriggered == u"List3")
        whoTriggered = QStringLiteral("x");
}

void Form1::List5_DblClick()
{
    MasterDataState& md = state<MasterDataState>();
    const int row = List5->currentRow();
    if (row < 0 || row >= int(md.list5Matches.size()))
        return;
    const CustomerEntry entry = md.customers.at(md.list5Matches[size_t(row)]);
    clearNameParts(*this);
    const NumberPick pick = list5Pick(entry);
    Text2->setFocus(Qt::OtherFocusReason);
    secildi = kPicked;
    Frame14->hide();
    Command23->hide();
    Combo3->setEditText(pick.displayName);
    Text19->setText(pick.displayName);
    Text20->setText(pick.text20);
    readMasterData(*this, [&](Workbook& book) {
        if (const auto r = readBuyerByTaxNumber(book, entry.taxNumber))
            fillBuyerBoxes(*this, splitBuyerName(Combo3->currentText()), *r);
    });
    List3->hide();
    Frame13->hide();
    List5->hide();
    Text19->setEnabled(false);
}

void Form1::Command23_Click()
{
    // The search goes away under the focus; its box takes it for the next try.
    Text19->setFocus(Qt::OtherFocusReason);
    Frame14->hide();
    Text19->clear();
    secildi.clear();
}

void Form1::Command24_Click()
{
    Text20->setFocus(Qt::OtherFocusReason);
    Frame13->hide();
    secildi.clear();
}

} // namespace kuvela
