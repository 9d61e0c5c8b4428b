#pragma once
// The invoice date list that start-up fills and the header's date roads extend.
// Today comes in as a parameter, so nothing here reads the clock.
#include <QDate>
#include <QStringList>

namespace kuvela {

constexpr int kInvoiceDateCount = 8; // today and the seven days before it

// Combo5: today minus 0 to 7, newest first, as short dates ("dd.MM.yyyy").
QStringList invoiceDateList(const QDate& today);

} // namespace kuvela
