#pragma once
// "Excel'e Çıkart": the lines of several invoices one below the other in one sheet,
// each line followed by its invoice's type, date, number and buyer texts.
#include "documents/invoice_html.h"

#include <map>
#include <utility>

namespace kuvela::documents {

struct ExportInvoice {
    QString type, date, number;
    QString buyerRow2, buyerRow8;  // last cells of the buyer table's rows 2 and 8
    HtmlTable lines;               // the first line table
    bool cancelled = false;
};

// The status text of a file name: "İptal" from its second character on.
bool cancelledFileName(const QString& name);

class LineExport {
public:
    void add(const ExportInvoice& invoice);
    // The closing text under the last invoice.
    void finish(int programVersion);

    // (row, column) from 1 -> text; row 1 stays empty.
    const std::map<std::pair<int, int>, QString>& cells() const { return cells_; }

private:
    void put(int row, int column, const QString& text) { cells_[{row, column}] = text; }

    int row_ = 1;
    std::map<std::pair<int, int>, QString> cells_;
};

} // namespace kuvela::documents
