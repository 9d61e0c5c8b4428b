#pragma once
// The six invoice types by their list position in the type combo, and the tax
// codes whose amounts enter the VAT base.
#include <QString>
#include <QStringList>
#include <vector>

namespace kuvela::invoice {

enum class ColumnAlign { Left = 0, Right = 1, Centre = 2 };

struct GridColumn {
    QString title;
    ColumnAlign align = ColumnAlign::Left;
    int widthTwips = 0;
    bool operator==(const GridColumn&) const = default;
};

// Grid text colours as the window system's BGR numbers.
inline constexpr long kColourBlack = 0;
inline constexpr long kColourRed = 255;
inline constexpr long kColourBlue = 16711680;

enum class TypePosition { Prompt = -1, Satis = 0, Iade = 1, Tevkifat = 2, Istisna = 3, OzelMatrah = 4, IhracKayitli = 5 };

struct InvoiceType {
    int position = -1;
    QString displayText;
    QString portalValue;
    std::vector<GridColumn> typeColumns;  // after the ten base columns
    int firstTaxColumn = 11;              // 1-based column of the first tax pair
    long gridColour = kColourBlack;
};

// "Fatura Türü Seçin": the type combo's text when no type is chosen.
QString promptText();
// "KONAKLAMA VERGİSİ": no type of its own, but it allows the bulk mode.
QString lodgingTaxText();

const std::vector<InvoiceType>& invoiceTypes();
// Position 0..5, else nullptr (the prompt, or a list entry past the six types).
const InvoiceType* invoiceTypeAt(int position);
const InvoiceType* invoiceTypeByText(const QString& displayText);
// The value selected in the portal's type field; empty when the text is none of the six.
QString portalValueFor(const QString& displayText);

const QStringList& vatBaseTaxCodes();
// The code is the first five characters of a tax pair's rate title; exact, case-sensitive.
bool isVatBaseTaxCode(const QString& rateTitle);

} // namespace kuvela::invoice
