#pragma once
// The lines of an invoice HTML's line table as the editor's grid rows ("Faturadan Al")
// and as the texts of a new workbook ("Excel'e Aktar").
#include "documents/invoice_html.h"
#include "invoice/invoice_type.h"

namespace kuvela::documents {

struct LineImport {
    // Grid rows: the line number, then "Mal Hizmet Türü" to "KDV Tutarı", and for a
    // withholding invoice "Tevkifat Kodu", "Tevkifat Oranı", "Tevkifat Tutarı".
    std::vector<QStringList> rows;
    QStringList headerMessages;  // one per header cell that differs
};

// Reads the lines up to the closing row (or the table's end); a line left without
// any value at the end is dropped. The discount and the net are the line's figures.
// `kind` is the editor's invoice type: a withholding invoice's lines get the
// withholding cells, an exempt invoice's lines no VAT.
LineImport importLines(const HtmlTable& lineTable, invoice::InvoiceKind kind, const QString& reason);

// The rows written into the workbook: every row up to the closing row, of which only
// its first cell (a single blank) is kept.
HtmlTable copiedLineRows(const HtmlTable& lineTable);

} // namespace kuvela::documents
