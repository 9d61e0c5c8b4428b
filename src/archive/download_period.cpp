#include "archive/download_period.h"

namespace kuvela {

const QStringList& turkishMonthNames()
{
    static const QStringList names{QStringLiteral("Ocak"),    QStringLiteral("Şubat"),   QStringLiteral("Mart"),
                                   QStringLiteral("Nisan"),   QStringLiteral("Mayıs"),   QStringLiteral("Haziran"),
                                   QStringLiteral("Temmuz"),  QStringLiteral("Ağustos"), QStringLiteral("Eylül"),
                                   QStringLiteral("Ekim"),    QStringLiteral("Kasım"),   QStringLiteral("Aralık")};
    return names;
}

QString monthAbbreviation(int month)
{
    if (month < 1 || month > 12)
        return {};
    return turkishMonthNames().at(month - 1).left(3);
}

QString monthListEntry(const QDate& date)
{
    return QString::number(date.year()).rightJustified(4, u'0') + u' ' + turkishMonthNames().at(date.month() - 1)
        + u' ';
}

QStringList monthListEntries(const QDate& today)
{
    QStringList out;
    for (int n = 1; n <= 12; ++n)
        out << monthListEntry(today.addMonths(-n));
    return out;
}

int lastDayOfMonth(int year, int month) { return QDate(year, month, 1).daysInMonth(); }

std::optional<PeriodDates> periodOf(const QString& msg2)
{
    bool yearOk = false;
    const int year = msg2.left(4).toInt(&yearOk);
    const QString name = msg2.mid(5).trimmed();
    const int index = turkishMonthNames().indexOf(name);
    if (!yearOk || year < 1 || index < 0)
        return std::nullopt;
    PeriodDates p;
    p.year = year;
    p.month = index + 1;
    p.lastDay = lastDayOfMonth(year, p.month);
    const QString mm = QString::number(p.month).rightJustified(2, u'0');
    const QString yyyy = msg2.left(4);
    p.ayveyil = mm + u'-' + yyyy;
    p.yilveay = yyyy + u'-' + mm;
    p.sonTarih = QString::number(p.lastDay) + u'-' + mm + u'-' + yyyy;
    return p;
}

QString unreadablePeriodText(const QString& msg2) { return QStringLiteral("Dönem okunamadı: ") + msg2; }

QString ledgerFilterLetter(const QString& combo1Text)
{
    static const QList<std::pair<QString, QString>> table{
        {QStringLiteral("Bilanço"), QStringLiteral("B")},  {QStringLiteral("İşletme"), QStringLiteral("İ")},
        {QStringLiteral("S.Meslek"), QStringLiteral("S")}, {QStringLiteral("Zirai K."), QStringLiteral("Z")},
        {QStringLiteral("Diğer"), QStringLiteral("D")},    {QStringLiteral("Defter Türü - Hepsi"), QStringLiteral("Hepsi")}};
    for (const auto& [text, letter] : table)
        if (text == combo1Text)
            return letter;
    return {};
}

bool ledgerFilterMatches(const QString& filter, const QString& companyLetter)
{
    return filter == QLatin1String("Hepsi") || companyLetter == filter;
}

} // namespace kuvela
