#include "shell/notice_file.h"

#include "common/regional.h"
#include "platform/error_numbers.h"
#include "platform/paths.h"
#include "platform/settings.h"
#include "shell/driver_maintenance.h"

#include <QDir>
#include <QUrl>

namespace kuvela {

namespace fs = std::filesystem;

namespace {

constexpr qsizetype kNoticeStart = 10;   // position 11, counted from 1
constexpr qsizetype kNoticeLength = 3991; // up to position 4001
const QString kNoticeFile = QStringLiteral("DRIVE.txt");
const QString kNoticeTail = QStringLiteral("/blob/main/DRIVE.txt");

bool isDigit(const QString& flag)
{
    return flag.size() == 1 && flag[0] >= u'0' && flag[0] <= u'9';
}

} // namespace

std::optional<NoticeHeader> noticeHeader(const QString& field)
{
    const qsizetype at = field.indexOf(QStringLiteral("||"));
    if (at < 0)
        return std::nullopt;
    const QString header = field.mid(at);
    NoticeHeader h;
    h.supportFlag = header.mid(2, 1);
    h.latestVersion = header.mid(4, 3);
    h.notice = header.mid(kNoticeStart, kNoticeLength);
    const qsizetype star = h.notice.indexOf(u'*');
    if (star >= 0)
        h.notice.truncate(star);
    return h;
}

NoticeReading readNotice(const QString& fileText)
{
    NoticeReading r;
    for (const QString& field : inputFields(fileText)) {
        const auto header = noticeHeader(field);
        if (!header)
            continue;
        if (!isDigit(header->supportFlag)) {
            r.errorNumber = error_no::TypeMismatch;
            return r;
        }
        r.headerFound = true;
        r.header = *header;
        if (!header->notice.isEmpty())
            r.noticeArrived = true;
    }
    return r;
}

QString noticeForDisplay(const QString& notice)
{
    QString shown = notice;
    shown.replace(u'[', QStringLiteral("\r\n\r\n["));
    return shown;
}

NoticeVerdict noticeVerdict(const NoticeReading& reading, int runningVersion)
{
    if (!reading.headerFound || reading.header.supportFlag == u'0')
        return NoticeVerdict::SupportEnded;
    if (leadingNumberInRange(reading.header.latestVersion).value_or(Decimal()) > Decimal(runningVersion))
        return NoticeVerdict::NewerVersion;
    return NoticeVerdict::Supported;
}

NoticeConfig NoticeConfig::fromSettings()
{
    const Settings s = Settings::forProgram();
    NoticeConfig c;
    c.noticeUrl = s.value(QStringLiteral("notice/url")).trimmed();
    const QString repository =
        c.noticeUrl.endsWith(kNoticeTail) ? c.noticeUrl.chopped(kNoticeTail.size()) : QString();
    c.programUrl = s.value(QStringLiteral("update/url")).trimmed();
    if (c.programUrl.isEmpty() && c.noticeUrl.endsWith(kNoticeFile))
        c.programUrl = c.noticeUrl.chopped(kNoticeFile.size()) + QStringLiteral("Kuvela.exe?raw=true");
    c.projectPage = s.value(QStringLiteral("project/page"), repository).trimmed();
    c.siteName = s.value(QStringLiteral("project/site"), QUrl(c.programUrl).host()).trimmed();
    c.http = HttpOptions::fromSettings();
    return c;
}

QString supportEndedText(const QString& projectPage)
{
    return QStringLiteral("Bu versiyonun güncelleme desteği sonlandırıldı. Lütfen yeni versiyon indiriniz. Bilgi ve "
                          "indirmek için adres: ")
           + projectPage;
}

QString updateQuestionText(const QString& siteName)
{
    return QStringLiteral("Kuvela'in güncel bir versiyonu tespit edildi! Evet seçeneği ile yeni versiyon ") + siteName
           + QStringLiteral(" üzerinden indirilir ve KuvelaUpdate tarafından kurulum yapılır. Hayır seçeneği ile çıkış "
                            "yapılır. \nŞimdi güncelleme yapmak istiyor musunuz ?");
}

QString updaterMissingText()
{
    return QStringLiteral("\\Kuvela\\KuvelaUpdate.exe bulunamadı. Güncellemeyi tamamlamak için programdan çıkın ve "
                          "\\Kuvela\\prgDosyaları\\ klasöründe bulunan (Yeni) Kuvela.EXE 'yi  \\Kuvela\\ klasöründeki "
                          "(Eski) Kuvela.EXE ile değiştirin.");
}

QString newVersionDownloadedText(const QString& siteName)
{
    return QStringLiteral("Yeni Kuvela.Exe ") + siteName
           + QStringLiteral(" üzerindeki Kuvela Proje sayfasından indirildi. Güncelleme için Chrome SAKLA butonu ile "
                            "kaydediniz. KAPAT seçeneği ile eski versiyona devam edebilirsiniz.");
}

QString newVersionMissingText(const fs::path& programFile)
{
    return QStringLiteral("Yeni versiyon indirilemedi: %1 bulunamadı ya da boş. Güncelleme yapılmadı, Kuvela bu "
                          "versiyonla devam ediyor.")
        .arg(QDir::toNativeSeparators(fromPath(programFile)));
}

QString noticeErrorText(int errorNumber)
{
    return QStringLiteral("Bir hata oluştu. Daha sonra tekrar deneyiniz. Hata No: ") + QString::number(errorNumber);
}

bool programFileReady(const fs::path& file)
{
    std::error_code ec;
    return fs::is_regular_file(file, ec) && fs::file_size(file, ec) > 0 && !ec;
}

} // namespace kuvela
