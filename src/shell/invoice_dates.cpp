#include "shell/invoice_dates.h"

#include "common/regional.h"

namespace kuvela {

QStringList invoiceDateList(const QDate& today)
{
    QStringList list;
    for (int i = 0; i < kInvoiceDateCount; ++i)
        list << shortDate(today.addDays(-i));
    return list;
}

} // namespace kuvela
