#pragma once
// A bulk invoice on the main window: its buyer in the buyer boxes, its lines in the
// line grid, totalled. The queue builder leaves the window so after a failed reading;
// the bulk run loads each invoice so before it uploads it.
#include "portal/bulk_template.h"
#include "shell/form1.h"

namespace kuvela {

// Buyer boxes (Text20, Text4, Text3, Text19, Text2, Text12, Text5, uunvan, aad,
// ssoyad), the line grid and yekunal; Text8 too when the dates come from the workbook.
// The customer searches of Text20 and Text19 do not run: their panels stay hidden.
void loadBulkInvoice(Form1& form, const portal::BulkInvoice& invoice, bool datesFromExcel);

// A message of the reading, with the invoice being read (as read so far) on the window.
void showBulkMessage(Form1& form, const portal::BulkMessage& message, const portal::BulkInvoice& reading);

// The window without an invoice: buyer boxes, line grid, totals grid and check total empty.
void clearBulkInvoice(Form1& form);

// The chosen option of Frame23.
portal::GroupingMode chosenGrouping(const Form1& form);

} // namespace kuvela
