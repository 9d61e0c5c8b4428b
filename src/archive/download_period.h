#pragma once
// The months the download window offers and the dates a chosen month stands for.
// Month names come from a fixed Turkish table: the machine's locale must not decide
// which month is downloaded.
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

namespace kuvela {

// "Ocak" … "Aralık".
const QStringList& turkishMonthNames();
// The picker's month option: the first three letters ("Oca", "Şub", …).
QString monthAbbreviation(int month);

// "yyyy mmmm ": year, blank, Turkish month name, trailing blank ("2023 Aralık ").
QString monthListEntry(const QDate& date);
// The twelve months before today's, the previous month first.
QStringList monthListEntries(const QDate& today);

// Last day of the month, 29 for February in leap years.
int lastDayOfMonth(int year, int month);

struct PeriodDates {
    int year = 0;
    int month = 0;
    QString ayveyil;  // MM-yyyy
    QString yilveay;  // yyyy-MM
    QString sonTarih; // DD-MM-yyyy, the month's last day
    int lastDay = 0;
};

// From a month list entry; nothing when its month name is not one of the twelve.
std::optional<PeriodDates> periodOf(const QString& msg2);
// "Dönem okunamadı: <text>"
QString unreadablePeriodText(const QString& msg2);

// Ledger filter of the firm list: the letter a Combo1 text selects, "Hepsi" for the
// design text, "" for any other text (then only companies without a letter match).
QString ledgerFilterLetter(const QString& combo1Text);
bool ledgerFilterMatches(const QString& filter, const QString& companyLetter);

} // namespace kuvela
