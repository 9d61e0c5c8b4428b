#pragma once
// The received e-Arşiv invoice list of one month: what the tax office site's texts mean,
// which dates each query window covers, where the list is filed, whose account is used.
#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>
#include <vector>

namespace kuvela {

class Sheet;

// The month as the download window keeps it after `tarihAyarla`.
struct ReceivedPeriod {
    QString ayveyil;  // MM-yyyy
    QString yilveay;  // yyyy-MM
    QString sonTarih; // DD-MM-yyyy, the month's last day
};

// One query of the month: days 1-8, 9-16, 17-24, 25-last.
struct DateWindow {
    int progress = 0;
    QString start;
    QString end;
};
std::vector<DateWindow> receivedDateWindows(const ReceivedPeriod& period);

// Pages of a window from the paging bar ("Sayfa 1 / 12"): the whole number after "/";
// 1 when the bar holds no page count (the page shown is still read).
int receivedPageCount(const QString& pagingBar);

// The page the paging bar shows ("Sayfa 2 / 12" -> 2); nullopt when it shows none.
std::optional<int> receivedPageShown(const QString& pagingBar);

// The invoice count after every ":" of the paging information, in order; the last one
// is the window's count. "Toplam Kayıt Sayısı: 25" -> {25}.
std::vector<long long> receivedInvoiceCounts(const QString& pagingInfo);

// The number of a cell id: every digit after "gen__" ("gen__10234" -> 10234); nullopt
// when the id holds no such number.
std::optional<long long> cellIdNumber(const QString& id);
// The id of row j, column k (both from 1) of a page whose first cell id is `first`.
QString cellId(long long first, int row, int column);

// The site's answer to a query that found nothing; other answers are failures.
bool isNoRecordsMessage(const QString& message);

// Firmalarım/<company>/Alış Faturaları/<company> <yyyy-MM> eArşivFat.xlsx under the program folder.
std::filesystem::path receivedListFile(const std::filesystem::path& programFolder, const QString& company,
                                       const QString& yilveay);

struct PortalAccount {
    QString user;
    QString pass;
};
// The company's portal account from prgDATA rows 2, 8 and 9; a later column of the same
// name wins. nullopt when no column carries the name.
std::optional<PortalAccount> receivedListAccount(Sheet& prgDATA, const QString& company);

// Texts of the road.
namespace received_text {
inline const QString kOffline = QStringLiteral("İnternete bağlı değilsiniz ...!");
inline const QString kNoAccount = QStringLiteral("Tanımlar bölümüne Portal kullanıcı adı/şifresi girilmelidir..!");
inline const QString kLoginFailed = QStringLiteral("İnteraktif VD'ne giriş yapılamadı...!");
inline const QString kLoginFailedBox = QStringLiteral(
    "İnteraktif VD'ne giriş yapılamadı. Bu durum genellikle site yoğunken yaşanır. Lütfen daha sonra tekrar deneyiniz.");
inline const QString kStarting = QStringLiteral(" Fatura indirme işlemi başlıyor...");
inline const QString kSaved = QStringLiteral("Fatura listesi indirildi ve kaydedildi.");
inline const QString kErrorPrefix = QStringLiteral(" Bir hata oluştu !  Hata No: ");
// "Fatura listesi eksik kaydedildi: <n> dönem hatalı."
QString incomplete(int failedWindows);
// start & " - " & end & " arası sorgulanıyor..:"
QString querying(const DateWindow& w);
// start & " / " & end & " tarih aralığında " & pages & " sayfa içerisinde " & count & " adet fatura bulunuyor."
QString countBox(const DateWindow& w, int pages, long long count);
// "Bu sorgu döneminin " & page & ". sayfasını indirmek için tıklayın..."
QString nextPageBox(int page);
} // namespace received_text

} // namespace kuvela
