#pragma once
// The invoice type as the main window's type combo holds it.
#include "invoice/totals.h"
#include "shell/form1.h"

namespace kuvela {

// The combo's list position: the item whose text the combo shows, -1 for the
// prompt or any text that is no item (the combo is editable, so its current index
// alone can lag behind its text).
int invoiceTypePosition(const Form1& form);

// What the totals read of the window besides the lines: type, decimals, the
// company's note lines and flags.
invoice::TotalsSettings totalsSettingsOf(const Form1& form);

} // namespace kuvela
