#pragma once
// The invoice types, each under one name with its display text, portal value and
// grid layout, and the tax codes whose amounts enter the VAT base.
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

// None: the prompt, or a text that is no entry of the type list. KonaklamaVergisi
// is a list entry with no type of its own (no columns, totals or portal value)
// that still allows the bulk mode.
enum class InvoiceKind { None, Satis, Iade, Tevkifat, Istisna, OzelMatrah, IhracKayitli, KonaklamaVergisi };

// Where each cell of a line stands in the grid, 1-based as the grid counts them
// ("s" is 1); 0 for a column the type does not have. Every road that reads or
// writes a line's cell finds it here.
struct LineColumns {
    int number = 1, name = 2, quantity = 3, unit = 4, unitPrice = 5, discountRate = 6, discount = 7, net = 8,
        vatRate = 9, vat = 10;
    int withholdingCode = 0, withholdingRate = 0, withheld = 0;  // TEVKİFAT
    int gtip = 0;                                                // İSTİSNA
    int specialReason = 0, specialAmount = 0;                    // ÖZEL MATRAH
    int firstTax = 11;  // the rate column of the first extra tax pair
};

// The index in a row's cell list of a 1-based column.
constexpr int cellIndex(int column) { return column - 1; }

struct InvoiceType {
    InvoiceKind kind = InvoiceKind::None;
    QString displayText;
    QString portalValue;
    std::vector<GridColumn> typeColumns;  // after the ten base columns
    LineColumns columns;
    long gridColour = kColourBlack;
};

// "Fatura Türü Seçin": the type combo's text when no type is chosen.
QString promptText();

// The six types in the order of the type list, which is binding, then the
// entries known by their text alone.
const std::vector<InvoiceType>& invoiceTypes();
// List position 0..5, else None (the prompt, or a later entry).
InvoiceKind invoiceKindAt(int position);
InvoiceKind invoiceKindByText(const QString& displayText);
// One of the six types, else nullptr.
const InvoiceType* invoiceTypeOf(InvoiceKind kind);
// The value selected in the portal's type field; empty for none of the six.
QString portalValueOf(InvoiceKind kind);
// The type's columns; a kind that is no type has the ten base columns only.
const LineColumns& lineColumnsOf(InvoiceKind kind);
// SATIŞ, İADE and İHRAÇ KAYITLI lines are computed alike: no type column, and every
// extra tax as the line gives it.
bool computedAsSale(InvoiceKind kind);

const QStringList& vatBaseTaxCodes();
// The code is the first five characters of a tax pair's rate title; exact, case-sensitive.
bool isVatBaseTaxCode(const QString& rateTitle);

} // namespace kuvela::invoice
