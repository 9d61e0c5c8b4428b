#include "masterdata/header_dates.h"

#include "common/regional.h"

namespace kuvela {

QStringList despatchDateList(const QDate& today, int chosenIndex, int invoiceListCount)
{
    QStringList list;
    for (int i = qMax(chosenIndex, -1); i < invoiceListCount; ++i)
        list << shortDate(today.addDays(-i));
    return list;
}

QString slashDate(const QString& listText)
{
    const QString text = listText.trimmed();
    for (const char* format : {"dd.MM.yyyy", "d.M.yyyy", "dd/MM/yyyy", "d/M/yyyy", "yyyy-MM-dd"}) {
        const QDate date = QDate::fromString(text, QString::fromLatin1(format));
        if (date.isValid())
            return date.toString(QStringLiteral("dd/MM/yyyy"));
    }
    return listText;
}

QString issueTimeText(const QTime& time)
{
    return time.toString(QStringLiteral("HH:mm:ss"));
}

} // namespace kuvela
