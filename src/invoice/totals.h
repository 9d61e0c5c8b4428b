#pragma once
// yekunal: every total of the invoice recomputed from the line grid, as a pure
// function. The window reads its controls into TotalsSettings, calls yekunal and
// writes the result back (lines, totals grid, checkTotal, note).
#include "common/decimal.h"
#include "invoice/line_grid.h"

#include <QString>
#include <optional>
#include <vector>

namespace kuvela::invoice {

struct InvoiceTotalsRow {
    int ordinal = 0;
    QString label;
    QString amount;  // two decimals, grouped; empty for "KDV'den İstisnadır."
    bool operator==(const InvoiceTotalsRow&) const = default;
};

struct TotalsSettings {
    InvoiceKind kind = InvoiceKind::None;
    int dc = 2;             // decimals of the unit prices; the sums themselves are exact
    QString userNot1, userNot2, userNot3;
    QString prmMatStr, prmYazStr;  // "E" (any case) switches the VAT-base and words lines on
};

// A cell that should hold a number and does not. The computation stops there.
struct TotalsError {
    int line = 0;    // 1-based line
    int column = 0;  // 1-based column
    QString text;
    QString message(const LineGrid& grid) const;
};

struct TotalsResult {
    std::vector<QStringList> lines;  // the grid's rows with VAT, tax rate and tax amount cells rewritten
    std::vector<InvoiceTotalsRow> rows;
    QString checkTotal;
    QString kdvMatStr;
    QString yazTopStr;
    QString text6;
    Decimal ekmat1, ekmat8, ekmat10, ekmat18, ekmat20;
    Decimal grandTotal;
    // Set when a cell is no number: no rows, checkTotal empty (so no upload compares
    // against it), lines unchanged, the note holds the company lines only.
    std::optional<TotalsError> error;
};

TotalsResult yekunal(const LineGrid& grid, const TotalsSettings& settings);

// The bullet and blank in front of each computed note line.
QString noteBullet();

} // namespace kuvela::invoice
