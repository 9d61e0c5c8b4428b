#pragma once
// The invoice type as the main window's type combo holds it.
#include "invoice/totals.h"
#include "shell/form1.h"

namespace kuvela {

// The combo's invoice type: the six types by the list position of the item whose
// text the combo shows (the combo is editable, so its current index alone can lag
// behind its text), later entries by their text; None for the prompt or any text
// that is none of these.
invoice::InvoiceKind invoiceKindOf(const Form1& form);

// What the totals read of the window besides the lines: type, decimals, the
// company's note lines and flags.
invoice::TotalsSettings totalsSettingsOf(const Form1& form);

} // namespace kuvela
