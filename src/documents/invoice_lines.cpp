#include "documents/invoice_lines.h"

#include "invoice/invoice_type.h"
#include "invoice/line_figures.h"

#include <algorithm>

namespace kuvela::documents {

namespace {

using invoice::cellIndex;

bool holdsValues(const QStringList& gridRow)
{
    // The reason stands in every withholding row; only the line's own cells count.
    const invoice::LineColumns base;
    return std::any_of(gridRow.begin() + cellIndex(base.name), gridRow.begin() + cellIndex(base.vat) + 1,
                       [](const QString& s) { return !s.isEmpty(); });
}

QStringList gridRowOf(const QStringList& cells, int lineNumber, invoice::InvoiceKind kind, const QString& reason)
{
    const bool withholding = kind == invoice::InvoiceKind::Tevkifat;
    const invoice::LineColumns& col = invoice::lineColumnsOf(kind);
    // The page gives the base cells, and a withholding line's own cells.
    QStringList g;
    g.resize(withholding ? col.withheld : col.vat);
    auto grid = [&](int column) -> QString& { return g[cellIndex(column)]; };
    grid(col.number) = QString::number(lineNumber);
    auto has = [&](int cell) { return cells.size() >= cell; };
    auto at = [&](int cell) { return cells[cell - 1]; };
    Decimal quantity, price, discount;
    if (has(2))
        grid(col.name) = at(2);
    if (has(3)) {
        const QuantityCell q = cleanQuantity(at(3));
        quantity = q.quantity;
        grid(col.quantity) = gridNumber(quantity);
        grid(col.unit) = q.unit;
    }
    if (has(4)) {
        price = cleanAmount(at(4));
        grid(col.unitPrice) = gridNumber(price);
    }
    if (has(5))
        grid(col.discountRate) = gridNumber(cleanRate(at(5)));
    if (has(6))
        discount = cleanDiscountAmount(at(6));
    // The page's VAT is taken as it stands (an exempt invoice holds none); the discount, the net and
    // the withholding as the editor computes them.
    invoice::LineInput line;
    line.quantity = quantity, line.unitPrice = price, line.discount = discount;
    line.exempt = kind == invoice::InvoiceKind::Istisna;
    if (has(8))
        grid(col.vatRate) = line.exempt ? QStringLiteral("0") : gridNumber(cleanRate(at(8)));
    if (has(9)) {
        grid(col.vat) = line.exempt ? QStringLiteral("0") : cleanVatAmount(at(9));
        line.vat = cleanAmount(grid(col.vat));
    }
    if (withholding && has(10))
        line.withholdingRate = cleanWithholdingRate(at(10));
    const invoice::LineFigures figures = invoice::computeLineFigures(line);
    if (has(6))
        grid(col.discount) = gridNumber(figures.discount);
    if (has(5))
        grid(col.net) = gridNumber(figures.net);
    if (withholding) {
        grid(col.withholdingCode) = reason;
        if (has(10)) {
            grid(col.withholdingRate) = gridTwoDecimals(line.withholdingRate);
            grid(col.withheld) = gridTwoDecimals(figures.withheld);
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
