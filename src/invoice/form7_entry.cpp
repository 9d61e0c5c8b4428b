// The line-entry side of the dialog: "FATURAYA EKLE", the unit and VAT boxes kept to
// their lists, the withholding rate, and the number boxes' keystroke filters.
#include "invoice/form1_editor_state.h"
#include "invoice/form1_editor_type.h"
#include "invoice/form7.h"
#include "platform/dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <stdexcept>

namespace kuvela {

void Form7::Command4_Click()
{
    // An earlier refusal's words must not stand beside a refusal by message box.
    setPanel(2, QString());
    invoice::LineEntryFields fields = lineFields();
    // The line goes in only with totals that can be computed, so a line too large never
    // stays in the grid undrawn.
    invoice::LineGrid withLine = lineGrid(main_);
    std::optional<invoice::LineEntryRefusal> refusal;
    try {
        refusal = invoice::faturayaEkle(fields, main_.Combo1->currentText(), main_.dc, withLine);
        if (!refusal)
            invoice::yekunal(withLine, totalsSettingsOf(main_));
    } catch (const std::overflow_error&) {
        setLineFields(fields);
        msgBox(invoice::tooLargeToComputeText(), MsgIcon::Exclamation);
        return;
    }
    // The checks may have emptied a box or put "0" in it; the boxes' own handlers run
    // on that, so the message comes after.
    setLineFields(fields);
    if (refusal) {
        if (refusal->place == invoice::MessagePlace::StatusPanel)
            setPanel(2, refusal->message);
        else
            msgBox(refusal->message);
        return;
    }
    setPanel(2, QString());
    lineGrid(main_) = std::move(withLine);
    main_.yekunal();  // draws the grid with the new line
    if (Check1->isChecked()) {
        Command3_Click();
        Check1->setChecked(false);
    }
}

// Setting the text a box already shows is no change.
void Form7::setUnitText(const QString& text)
{
    if (text == Combo1->currentText())
        return;
    Combo1->setEditText(text);
    Combo1_Change();
}

void Form7::setVatRateText(const QString& text)
{
    if (text == Combo2->currentText())
        return;
    Combo2->setEditText(text);
    Combo2_Change();
}

void Form7::Combo1_Change()
{
    const QString kept = invoice::keepUnitText(Combo1->currentText());
    if (kept != Combo1->currentText())
        Combo1->setEditText(kept);
}

void Form7::Combo2_Change()
{
    const QString kept = invoice::keepVatRateText(Combo2->currentText());
    if (kept != Combo2->currentText())
        Combo2->setEditText(kept);
}

void Form7::Combo3_LostFocus()
{
    Text6->setText(invoice::withholdingRateFromItem(Combo3->currentText()));
}

void Form7::filterBox(QLineEdit* box, invoice::NumberBox kind)
{
    setPanel(2, QString());
    const QString kept = invoice::filterNumberBox(kind, box->text(), main_.dc);
    if (kept != box->text())
        box->setText(kept);  // runs the filter again on the shorter text
    box->setCursorPosition(int(box->text().size()));
}

void Form7::Text4_Change()
{
    filterBox(Text4, invoice::NumberBox::UnitPrice);
}

void Form7::Text5_Change()
{
    filterBox(Text5, invoice::NumberBox::Discount);
}

void Form7::Text7_Change()
{
    filterBox(Text7, invoice::NumberBox::ExtraTaxRate);
}

void Form7::Text8_Change()
{
    filterBox(Text8, invoice::NumberBox::ExtraTaxRate);
}

void Form7::Text10_Change()
{
    filterBox(Text10, invoice::NumberBox::SpecialAmount);
}

} // namespace kuvela
