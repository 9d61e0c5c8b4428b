#pragma once
// The invoice HTML as the portal issues it, read back: where its tables stand, and
// the rules that turn the texts of its cells into the line grid's numbers. The
// browser gives the texts; everything here works on them without a browser.
#include "common/decimal.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace kuvela::documents {

// One table as the browser shows it: its rows, each with the texts of its cells.
using HtmlTable = std::vector<QStringList>;

// The address the browser loads for a file: every character that a URL would read
// as a fragment, a query or an escape is encoded, so any file name loads.
QString localFileAddress(const QString& path);

// Locators of the invoice document.
inline constexpr const char* kLineTableXPath = "//*[@id='lineTable']";
inline constexpr const char* kNotesTableXPath = "//*[@id='notesTable']";
inline constexpr const char* kHeaderTableXPath = "//*[@id='despatchTable']";
inline constexpr const char* kBuyerTableXPath = "//*[@id='customerPartyTable']/tbody/tr/td/table";

// Only ".html" and ".htm" files go into the browser (any letter case).
bool isHtmlFileName(const QString& name);
// What a run over ticked files says of the files it could not take:
// " (n HTML olmayan dosya atlandı)", " (n dosya okunamadı)", each only when n > 0.
QString passedOverNote(int skippedFiles, int unreadableFiles);

// The invoice number begins with "GIB" exactly (upper case).
bool isGibNumber(const QString& number);
QString sellerTableXPath(bool gib);
QString totalsTableXPath(bool gib);
// 0-based cells of a totals row: the label and the amount.
int totalsLabelCell(bool gib);
int totalsAmountCell(bool gib);

// The 12 header texts of the line table, in column order.
const QStringList& lineTableHeaders();
// One message per header cell that differs from its column's text, cells past the
// twelfth included: "Sütun n başlık(header)uyuşmazlığı tespit edildi!".
QStringList headerMismatches(const QStringList& headerRow);

// The closing row of the lines: its first cell holds nothing but blanks or no-break
// spaces, or nothing at all.
bool isClosingRow(const QStringList& row);

// The leading number of a text with blanks, tabs and line feeds taken out first: a
// sign, digits with "." as the decimal point and an exponent ("1e3" is 1000); a text
// that does not begin with a number reads 0. A number too big for a Decimal throws
// std::overflow_error.
Decimal leadingValue(const QString& text);

// Cell cleaning, by line-table column.
struct QuantityCell {
    Decimal quantity;
    QString unit;
};
// Grouping points dropped, the text before the first blank read with "," as the
// decimal sign: "2,5 Net Ton" -> 2.5 and "Net Ton"; "1.000 Adet" -> 1000;
// "-3 Adet" -> -3; "1/2 Adet" -> 1; "5" -> 5 and no unit.
QuantityCell cleanQuantity(const QString& cell);
// The discount amount by the quantity's rule: "1.234,56 TL" -> 1234.56, "-5,00 TL" -> -5.
Decimal cleanDiscountAmount(const QString& cell);
// The unit price: digits and "," only, "1.234,56 TL" -> 1234.56.
Decimal cleanAmount(const QString& cell);
// "%10,00" -> 10 (discount rate and VAT rate alike).
Decimal cleanRate(const QString& cell);
// "1.234,56 TL" -> "1.234,56": digits, "," and "." only.
QString cleanVatAmount(const QString& cell);
// "KDV TEVKİFAT (%90)" -> 90: the five characters after the first "%".
Decimal cleanWithholdingRate(const QString& cell);

// Numbers as the grid holds them: "12,5", "125" (shortest, no grouping) and
// "90,00" (two decimals, no grouping).
QString gridNumber(const Decimal& value);
QString gridTwoDecimals(const Decimal& value);

// The withholding reason in a notes cell: what stands two characters after
// "Tevkifat Sebebi:" up to and including the first ")]", or the rest of the cell
// when none follows; empty when the cell has no such label.
QString withholdingReasonIn(const QString& cell);
// The last reason of all the notes tables' cells; empty when none.
QString withholdingReason(const std::vector<HtmlTable>& notesTables);

// The value of a header-table label ("Fatura No:") over all the header tables; the
// last row carrying it wins; empty when none.
QString headerValue(const std::vector<HtmlTable>& headerTables, const QString& label);

// Whether some cell of the tables holds the tax number after its first character.
// An empty tax number matches nothing.
bool holdsTaxNumber(const std::vector<HtmlTable>& tables, const QString& taxNumber);

// The text of the last cell of the 1-based row, from the last table that has the row;
// empty when none has it.
QString lastCellOfRow(const std::vector<HtmlTable>& tables, int row);

} // namespace kuvela::documents
