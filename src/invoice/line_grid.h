#pragma once
// The line grid as plain data: column descriptors and rows of cell texts, in the
// order the template and the portal upload see them. Column 1 is the line number "s".
#include "invoice/invoice_type.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace kuvela::invoice {

// The two columns of one extra tax. The rate title is code & "-" & name & "%";
// its first five characters are the tax code.
struct TaxColumnPair {
    GridColumn rate;
    GridColumn amount;

    // From an extra-tax item "V0021-BSMV%" as the line dialog's tax boxes hold it.
    static TaxColumnPair forItem(const QString& item);
    // From a tax dialog entry "V0021-BSMV" (no percent sign).
    static TaxColumnPair forEntry(const QString& entry) { return forItem(entry + u'%'); }
};

// code & "-" & name & "%", the item text of the line dialog's tax boxes.
QString extraTaxItem(const QString& code, const QString& name);

class LineGrid {
public:
    std::vector<GridColumn> columns;
    std::vector<QStringList> rows;  // a row may hold fewer cells than there are columns
    long textColour = kColourBlack;

    int columnCount() const { return int(columns.size()); }
    int rowCount() const { return int(rows.size()); }
    // row: 0-based line index; column: 1-based. A cell the row does not hold reads "".
    QString cell(int row, int column) const;
    void setCell(int row, int column, const QString& text);
    QString title(int column) const;
    // 1-based column whose title equals `title`, 0 when none.
    int findColumn(const QString& title) const;

    // The ten base columns only, colour black; rows untouched.
    void temelfatura();
    // The type handler's layout: base columns, the type's columns and colour.
    // None and a list entry that is no type change nothing.
    void layoutForType(InvoiceKind kind);

    void appendRow(const QStringList& cells) { rows.push_back(cells); }
    // Removes a line and numbers the remaining lines 1.. again; cells beyond the
    // last column are dropped.
    void deleteRow(int row);

    // Appends the pair at the right end; rows already there keep empty cells under it.
    void addTaxPair(const TaxColumnPair& pair);
    // The tax dialog's duplicate test: a column from position 9 to the last but one
    // titled `rateTitle`.
    bool hasTaxPair(const QString& rateTitle) const;
    // Removes the rate column titled `rateTitle` and the column after it, with their
    // cells in every row, so every other cell stays under its header. The remaining
    // headers take the width and alignment of their position. false when not found.
    bool removeTaxPair(const QString& rateTitle);
    // Rate columns the line dialog fills for an extra-tax item: the column titled
    // exactly with the item, else every column whose first 9 characters equal the item's.
    std::vector<int> taxRateColumnsFor(const QString& item) const;
};

const std::vector<GridColumn>& baseColumns();

} // namespace kuvela::invoice
