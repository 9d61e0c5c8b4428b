#pragma once
// The invoice type as the main window's type combo holds it.
#include "shell/form1.h"

namespace kuvela {

// The combo's list position: the item whose text the combo shows, -1 for the
// prompt or any text that is no item (the combo is editable, so its current index
// alone can lag behind its text).
int invoiceTypePosition(const Form1& form);

} // namespace kuvela
