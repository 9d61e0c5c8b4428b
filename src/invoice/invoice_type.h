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

struct InvoiceType {
    InvoiceKind kind = InvoiceKind::None;
    QString displayText;
    QString portalValue;
    std::vector<GridColumn> typeColumns;  // after the ten base columns
    int firstTaxColumn = 11;              // 1-based column of the first tax pair
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

const QStringList& vatBaseTaxCodes();
// The code is the first five characters of a tax pair's rate title; exact, case-sensitive.
bool isVatBaseTaxCode(const QString& rateTitle);

} // namespace kuvela::invoice
