#pragma once
// "FATURAYA EKLE" of the line dialog without its widgets: the field checks in
// their order, the line amounts, and the row with its tax pairs for the grid.
#include "invoice/line_grid.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace kuvela::invoice {

// The dialog's boxes as their texts.
struct LineEntryFields {
    QString name;             // Text2
    QString quantity;         // Text3
    QString unit;             // Combo1
    QString unitPrice;        // Text4
    QString discountRate;     // Text5
    QString vatRate;          // Combo2
    QString withholdingItem;  // Combo3
    QString withholdingRate;  // Text6
    QString extraTax1;        // Combo4
    QString extraTax1Rate;    // Text7
    QString extraTax2;        // Combo5
    QString extraTax2Rate;    // Text8
    QString gtip;             // Text9
    QString specialReason;    // Combo10
    QString specialAmount;    // Text10
    bool operator==(const LineEntryFields&) const = default;
};

enum class MessagePlace { StatusPanel, MessageBox };  // panel 2, or a box with OK and no title

struct LineEntryRefusal {
    int check = 0;  // 1..16, in the order they run
    QString message;
    MessagePlace place = MessagePlace::StatusPanel;
};

// Empty extra-tax rates become "0", then the checks run in order. A refusal may
// have changed a box (quantity or price emptied, discount back to "0"): write
// `fields` back either way.
std::optional<LineEntryRefusal> checkLineEntry(LineEntryFields& fields, const QString& invoiceTypeText);

struct ExtraTaxCells {
    QString item;  // "V0021-BSMV%", also the rate column's title
    QString rate;
    QString amount;
};

struct BuiltLine {
    QStringList cells;  // columns 1..10 and the type's columns
    std::vector<ExtraTaxCells> taxes;
};

// The row of a checked line. rowsBefore gives the line number.
BuiltLine buildLine(const LineEntryFields& fields, const QString& invoiceTypeText, int dc, int rowsBefore);
// Pairs the grid lacks for the line's taxes, in the order they would be added.
std::vector<TaxColumnPair> missingTaxPairs(const LineGrid& grid, const BuiltLine& line);
// Appends the row, adding the missing pairs at the right end; returns the row index.
int appendLine(LineGrid& grid, const BuiltLine& line);

// Check, build and append in one go; the window then runs yekunal. The grid is
// untouched on a refusal.
std::optional<LineEntryRefusal> faturayaEkle(LineEntryFields& fields, const QString& invoiceTypeText, int dc,
                                             LineGrid& grid);

// What the user is told when an amount is past the range the figures are computed in.
QString tooLargeToComputeText();

const QStringList& UnitNames();
const QStringList& AllowedVatRates();
// Combo1_Change: the text if it is a listed unit, else empty.
QString keepUnitText(const QString& text);
// Combo2_Change: the text if it is a listed rate or the beginning of one, else empty.
QString keepVatRateText(const QString& text);

// WithholdingCode: code & " % " & rate; the first three characters are the code.
QString withholdingItem(const QString& code, const QString& rate);
// Combo3_LostFocus: the last three characters, or the last two after a blank.
QString withholdingRateFromItem(const QString& item);

} // namespace kuvela::invoice
