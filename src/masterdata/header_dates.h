#pragma once
// The header's date lists and time text. Today comes in as a parameter
// (callers pass Clock::instance().now().date()), so nothing here reads the clock.
#include "shell/invoice_dates.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

namespace kuvela {

// Combo6 after an invoice date was chosen at `chosenIndex` of Combo5 (its ListIndex):
// today minus i for i from chosenIndex to the last position. Position -1 (nothing
// picked from the list) starts the list with tomorrow.
QStringList despatchDateList(const QDate& today, int chosenIndex, int invoiceListCount = kInvoiceDateCount);

// Text8/Text10: the list's text as "dd/mm/yyyy" with literal slashes. A text that
// is no date is returned as it stands.
QString slashDate(const QString& listText);

// Text9: "hh:mm:ss", 24-hour.
QString issueTimeText(const QTime& time);

} // namespace kuvela
