#include "documents/invoice_lines.h"

#include "invoice/invoice_type.h"
#include "invoice/line_figures.h"

#include <algorithm>

namespace kuvela::documents {

namespace {

constexpr int kBaseCells = 10;       // number .. "KDV Tutarı"
constexpr int kWithholdingCells = 13;

bool holdsValues(const QStringList& gridRow)
{
    // The reason stands in every withholding row; only the line's own cells count.
    return std::any_of(gridRow.begin() + 1, gridRow.begin() + kBaseCells,
                       [](const QString& s) { return !s.isEmpty(); });
}

QStringList gridRowOf(const QStringList& cells, int lineNumber, invoice::InvoiceKind kind, const QString& reason)
{
    const bool withholding = kind == invoice::InvoiceKind::Tevkifat;
    QStringList g;
    for (int i = 0; i < (withholding ? kWithholdingCells : kBaseCells); ++i)
        g << QString();
    g[0] = QString::number(lineNumber);
    auto has = [&](int cell) { return cells.size() >= cell; };
    auto at = [&](int cell) { return cells[cell - 1]; };
    Decimal quantity, price, discount;
    if (has(2))
        g[1] = at(2);
    if (has(3)) {
        const QuantityCell q = cleanQuantity(at(3));
        quantity = q.quantity;
        g[2] = gridNumber(quantity);
        g[3] = q.unit;
    }
    if (has(4)) {
        price = cleanAmount(at(4));
        g[4] = gridNumber(price);
    }
    if (has(5))
        g[5] = gridNumber(cleanRate(at(5)));
    if (has(6))
        discount = cleanDiscountAmount(at(6));
    // The page's VAT is taken as it stands (an exempt invoice holds none); the discount, the net and
    // the withholding as the editor computes them.
    invoice::LineInput line;
    line.quantity = quantity, line.unitPrice = price, line.discount = discount;
    line.exempt = kind == invoice::InvoiceKind::Istisna;
    if (has(8))
        g[8] = line.exempt ? QStringLiteral("0") : gridNumber(cleanRate(at(8)));
    if (has(9)) {
        g[9] = line.exempt ? QStringLiteral("0") : cleanVatAmount(at(9));
        line.vat = cleanAmount(g[9]);
    }
    if (withholding && has(10))
        line.withholdingRate = cleanWithholdingRate(at(10));
    const invoice::LineFigures figures = invoice::computeLineFigures(line);
    if (has(6))
        g[6] = gridNumber(figures.discount);
    if (has(5))
        g[7] = gridNumber(figures.net);
    if (withholding) {
        g[10] = reason;
        if (has(10)) {
            g[11] = gridTwoDecimals(line.withholdingRate);
            g[12] = gridTwoDecimals(figures.withheld);
        }
    }
    return g;
}

} // namespace

LineImport importLines(const HtmlTable& lineTable, invoice::InvoiceKind kind, const QString& reason)
{
    LineImport out;
    for (size_t r = 0; r < lineTable.size(); ++r) {
        const QStringList& cells = lineTable[r];
        if (r == 0) {
            out.headerMessages = headerMismatches(cells);
            continue;
        }
        if (isClosingRow(cells))
            break;
        out.rows.push_back(gridRowOf(cells, int(r), kind, reason));
    }
    while (!out.rows.empty() && !holdsValues(out.rows.back()))
        out.rows.pop_back();
    return out;
}

HtmlTable copiedLineRows(const HtmlTable& lineTable)
{
    HtmlTable out;
    for (const QStringList& row : lineTable) {
        if (isClosingRow(row)) {
            out.push_back({row.first()});
            break;
        }
        out.push_back(row);
    }
    return out;
}

} // namespace kuvela::documents
