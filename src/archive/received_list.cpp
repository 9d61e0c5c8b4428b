#include "archive/received_list.h"

#include "platform/paths.h"
#include "platform/workbook.h"

#include <QRegularExpression>
#include <climits>

namespace kuvela {

namespace {

// The digits at `from` on, blanks before them skipped; nullopt when there are none.
std::optional<long long> digitsAt(const QString& text, qsizetype from)
{
    while (from < text.size() && text.at(from) == u' ')
        ++from;
    long long n = 0;
    qsizetype i = from;
    for (; i < text.size() && text.at(i).isDigit() && text.at(i).unicode() < 128; ++i) {
        if (n > (LLONG_MAX - 9) / 10)
            return std::nullopt;
        n = n * 10 + (text.at(i).unicode() - u'0');
    }
    if (i == from)
        return std::nullopt;
    return n;
}

} // namespace

std::vector<DateWindow> receivedDateWindows(const ReceivedPeriod& p)
{
    const QString& m = p.ayveyil;
    return {{10, QStringLiteral("01-") + m, QStringLiteral("08-") + m},
            {20, QStringLiteral("09-") + m, QStringLiteral("16-") + m},
            {40, QStringLiteral("17-") + m, QStringLiteral("24-") + m},
            {60, QStringLiteral("25-") + m, p.sonTarih}};
}

int receivedPageCount(const QString& pagingBar)
{
    const QString mark = QStringLiteral("Sayfa 1 /");
    const qsizetype at = pagingBar.indexOf(mark);
    if (at < 0)
        return 1;
    const auto n = digitsAt(pagingBar, at + mark.size());
    return n && *n > 0 && *n < 100000 ? int(*n) : 1;
}

std::optional<int> receivedPageShown(const QString& pagingBar)
{
    static const QRegularExpression shown(QStringLiteral("Sayfa +([0-9]{1,5}) */"));
    const QRegularExpressionMatch m = shown.match(pagingBar);
    const int page = m.hasMatch() ? m.captured(1).toInt() : 0;
    return page > 0 ? std::optional(page) : std::nullopt;
}

std::vector<long long> receivedInvoiceCounts(const QString& pagingInfo)
{
    std::vector<long long> counts;
    for (qsizetype at = pagingInfo.indexOf(u':'); at >= 0; at = pagingInfo.indexOf(u':', at + 1))
        counts.push_back(digitsAt(pagingInfo, at + 1).value_or(0));
    return counts;
}

std::optional<long long> cellIdNumber(const QString& id)
{
    if (!id.startsWith(QStringLiteral("gen__")))
        return std::nullopt;
    const auto n = digitsAt(id, 5);
    if (!n)
        return std::nullopt;
    // Only digits may follow: "gen__3036-b" is a body, not a cell.
    qsizetype end = 5;
    while (end < id.size() && id.at(end).isDigit())
        ++end;
    return end == id.size() ? n : std::nullopt;
}

QString cellId(long long first, int row, int column)
{
    return QStringLiteral("gen__") + QString::number(first + 11LL * (row - 1) + (column - 1));
}

bool isNoRecordsMessage(const QString& message)
{
    return message.contains(QStringLiteral("bulunamadı"));
}

std::filesystem::path receivedListFile(const std::filesystem::path& programFolder, const QString& company,
                                       const QString& yilveay)
{
    return programFolder / toPath(QStringLiteral("Firmalarım")) / toPath(company)
        / toPath(QStringLiteral("Alış Faturaları"))
        / toPath(company + u' ' + yilveay + QStringLiteral(" eArşivFat.xlsx"));
}

std::optional<PortalAccount> receivedListAccount(Sheet& prg, const QString& company)
{
    std::optional<PortalAccount> found;
    for (int col = 2;; ++col) {
        const QString name = prg.text(2, col);
        if (name.isEmpty())
            return found;
        if (name == company)
            found = PortalAccount{prg.text(8, col), prg.text(9, col)};
    }
}

namespace received_text {

QString incomplete(int failedWindows)
{
    return QStringLiteral("Fatura listesi eksik kaydedildi: %1 dönem hatalı.").arg(failedWindows);
}

QString querying(const DateWindow& w)
{
    return w.start + QStringLiteral(" - ") + w.end + QStringLiteral(" arası sorgulanıyor..:");
}

QString countBox(const DateWindow& w, int pages, long long count)
{
    return w.start + QStringLiteral(" / ") + w.end + QStringLiteral(" tarih aralığında ") + QString::number(pages)
        + QStringLiteral(" sayfa içerisinde ") + QString::number(count) + QStringLiteral(" adet fatura bulunuyor.");
}

QString nextPageBox(int page)
{
    return QStringLiteral("Bu sorgu döneminin ") + QString::number(page) + QStringLiteral(". sayfasını indirmek için tıklayın...");
}

} // namespace received_text

} // namespace kuvela
