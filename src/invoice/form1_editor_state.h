#pragma once
// The invoice being composed, as the main window keeps it: the line grid's model is
// the truth and ListView1 shows it. Whoever changes the model calls showLineGrid.
#include "invoice/line_grid.h"
#include "shell/form1.h"

namespace kuvela {

struct InvoiceEditorState {
    invoice::LineGrid grid;
};

template <>
inline InvoiceEditorState& Form1::state<InvoiceEditorState>()
{
    return AreaStateAccess::get<InvoiceEditorState>(*this, AreaStateAccess::invoiceEditor);
}

// The line model of the window.
inline invoice::LineGrid& lineGrid(Form1& form) { return form.state<InvoiceEditorState>().grid; }

// Renders the model into ListView1: headers (titles, alignment, widths from twips),
// rows and the grid's text colour.
void showLineGrid(Form1& form);

} // namespace kuvela
