#include "shell/driver_maintenance.h"

#include "platform/dialogs.h"
#include "platform/error_numbers.h"
#include "platform/paths.h"
#include "platform/settings.h"
#include "platform/zip_archive.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace kuvela {
namespace {

namespace fs = std::filesystem;

const QString kTitle = QStringLiteral("Kuvela");

#ifdef Q_OS_WIN
const char* const kDefaultPackage = "chromedriver_win32.zip";
#else
const char* const kDefaultPackage = "chromedriver_linux64.zip";
#endif

void showFailure(int number)
{
    msgBox(QStringLiteral("Driver indirilirken bir hata oluştu ! Hata No: ") + QString::number(number), MsgIcon::None,
           kTitle);
}

DriverCheck& fail(DriverCheck& check, int number, const QString& detail)
{
    check.outcome = DriverCheck::Outcome::Failed;
    check.errorNumber = number;
    check.detail = detail;
    showFailure(number);
    return check;
}

// "100.x ile 112.x": the table's lowest and highest majors.
QString supportedRange(const std::vector<DriverBuild>& table)
{
    if (table.empty())
        return QStringLiteral("-");
    QString low = table.front().major, high = low;
    for (const DriverBuild& b : table) {
        if (b.major.toInt() < low.toInt())
            low = b.major;
        if (b.major.toInt() > high.toInt())
            high = b.major;
    }
    return low + QStringLiteral(".x ile ") + high + QStringLiteral(".x");
}

void removeQuietly(const fs::path& p)
{
    std::error_code ec;
    fs::remove_all(p, ec);
}

// Copies the driver next to its place and renames it over the old one, so a failed
// copy never leaves a half driver; a running driver keeps its old file meanwhile.
bool installDriver(const fs::path& source, const fs::path& target)
{
    std::error_code ec;
    fs::path fresh = target;
    fresh += ".yeni";
    fs::copy_file(source, fresh, fs::copy_options::overwrite_existing, ec);
    if (!ec)
        fs::permissions(fresh,
                        fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read |
                            fs::perms::others_exec,
                        fs::perm_options::replace, ec);
    if (!ec)
        fs::rename(fresh, target, ec);
    if (ec)
        removeQuietly(fresh);
    return !ec;
}

} // namespace

std::vector<DriverBuild> standardDriverTable()
{
    return {
        {QStringLiteral("112"), QStringLiteral("112.0.5615.49")}, {QStringLiteral("111"), QStringLiteral("111.0.5563.19")},
        {QStringLiteral("110"), QStringLiteral("110.0.5481.30")}, {QStringLiteral("109"), QStringLiteral("109.0.5414.25")},
        {QStringLiteral("108"), QStringLiteral("108.0.5359.71")}, {QStringLiteral("107"), QStringLiteral("107.0.5304.62")},
        {QStringLiteral("106"), QStringLiteral("106.0.5249.21")}, {QStringLiteral("105"), QStringLiteral("105.0.5195.52")},
        {QStringLiteral("104"), QStringLiteral("104.0.5112.79")}, {QStringLiteral("103"), QStringLiteral("103.0.5060.134")},
        {QStringLiteral("102"), QStringLiteral("102.0.5005.27")}, {QStringLiteral("101"), QStringLiteral("101.0.4951.41")},
        {QStringLiteral("100"), QStringLiteral("100.0.4896.60")},
    };
}

std::optional<std::vector<DriverBuild>> parseDriverTable(const QString& text)
{
    std::vector<DriverBuild> table;
    static const QRegularExpression rowSeparators(QStringLiteral("[\\s;,]+"));
    static const QRegularExpression row(QStringLiteral("^(\\d{1,3})[:=](\\d+(?:\\.\\d+)+)$"));
    for (const QString& item : text.split(rowSeparators, Qt::SkipEmptyParts)) {
        const auto m = row.match(item);
        if (!m.hasMatch())
            return std::nullopt;
        table.push_back({m.captured(1), m.captured(2)});
    }
    if (table.empty())
        return std::nullopt;
    return table;
}

QString driverBuildFor(const std::vector<DriverBuild>& table, const QString& major)
{
    for (const DriverBuild& b : table)
        if (b.major == major)
            return b.build;
    return {};
}

QStringList inputFields(const QString& text)
{
    QStringList fields;
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto isLineEnd = [](QChar c) { return c == u'\n' || c == u'\r'; };
    while (i < n) {
        while (i < n && (text[i] == u' ' || text[i] == u'\t'))
            ++i;
        QString field;
        if (i < n && text[i] == u'"') {
            const qsizetype close = text.indexOf(u'"', i + 1);
            const qsizetype end = close < 0 ? n : close;
            field = text.mid(i + 1, end - i - 1);
            i = end + 1;
            while (i < n && text[i] != u',' && !isLineEnd(text[i]))
                ++i;  // whatever follows the closing quote up to the separator is dropped
        } else {
            const qsizetype start = i;
            while (i < n && text[i] != u',' && !isLineEnd(text[i]))
                ++i;
            field = text.mid(start, i - start);
            while (field.endsWith(u' ') || field.endsWith(u'\t'))
                field.chop(1);
        }
        fields << field;
        if (i < n && text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        ++i;  // the separator
    }
    return fields;
}

QString versionFileMajor(const QString& text)
{
    QString major;
    for (const QString& field : inputFields(text)) {
        const qsizetype at = field.indexOf(u'[');
        if (at >= 0)
            major = field.mid(at + 1, 3);
    }
    return major;
}

std::optional<QString> readVersionFile(const fs::path& file)
{
    QFile f(fromPath(file));
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return versionFileMajor(QString::fromLatin1(f.readAll()));
}

bool writeVersionFile(const fs::path& file, const QString& major)
{
    QSaveFile f(fromPath(file));
    if (!f.open(QIODevice::WriteOnly))
        return false;
    const QByteArray line = (QStringLiteral("[") + major + QStringLiteral("]\r\n")).toLatin1();
    return f.write(line) == line.size() && f.commit();
}

std::optional<PackagedDriverFault> packagedDriverFault(const fs::path& driver, const QString& member,
                                                       const QString& major)
{
    std::error_code ec;
    const bool executable = fs::is_regular_file(driver, ec)
        && (fs::status(driver, ec).permissions() & fs::perms::owner_exec) != fs::perms::none;
    if (!executable)
        return PackagedDriverFault{error_no::FileNotFound, QStringLiteral("Pakette sürücü yok: ") + member};
    const QString version = installedDriverVersion(fromPath(driver));
    if (browserMajor(version) != major)
        return PackagedDriverFault{error_no::NoDriverForBrowser,
                                   QStringLiteral("Paketteki sürücünün sürümü tarayıcıya uymuyor: ")
                                       + (version.isEmpty() ? QStringLiteral("okunamadı") : version)};
    return std::nullopt;
}

DriverMaintenanceConfig DriverMaintenanceConfig::fromSettings()
{
    const Settings s = Settings::forProgram();
    DriverMaintenanceConfig c;
    c.programFiles = programFolder() / toPath(QStringLiteral("prgDosyaları"));
    c.driverFolder = maintainedDriverFolder();
    c.systemDriver = s.value(QStringLiteral("browser/driver"), QStringLiteral("/usr/bin/chromedriver"));
    c.storage = s.value(QStringLiteral("driver/storage"), QStringLiteral("https://chromedriver.storage.googleapis.com"));
    while (c.storage.endsWith(u'/'))
        c.storage.chop(1);
    c.package = s.value(QStringLiteral("driver/package"), QString::fromLatin1(kDefaultPackage));
    c.member = driverPackageMember();
    c.supportMail = s.value(QStringLiteral("support/mailbox")).trimmed();
    c.table = parseDriverTable(s.value(QStringLiteral("driver/table"))).value_or(standardDriverTable());
    c.http = HttpOptions::fromSettings();
    return c;
}

fs::path DriverMaintenanceConfig::versionFile() const
{
    return programFiles / "ChromeDriverVersiyon.txt";
}

DriverCheck maintainDriver(const DriverMaintenanceConfig& config, const QString& browserVersion)
{
    namespace en = error_no;
    DriverCheck check;
    // A missing record means the major is unknown: an update is tried rather than
    // leaving the program without a driver for good.
    check.driVers = readVersionFile(config.versionFile()).value_or(QString());
    check.tamChVer = browserVersion.trimmed();
    if (check.tamChVer.isEmpty())
        return fail(check, en::BrowserNotFound, QStringLiteral("Tarayıcının sürümü okunamadı."));
    const QString major = browserMajor(check.tamChVer);

    if (browserMajor(installedDriverVersion(config.systemDriver)) == major) {
        if (check.driVers != major)
            writeVersionFile(config.versionFile(), major);  // only a record: the driver is fine without it
        check.driVers = major;
        check.outcome = DriverCheck::Outcome::SystemDriver;
        return check;
    }
    if (check.driVers == major) {
        check.outcome = DriverCheck::Outcome::UpToDate;
        return check;
    }

    msgBox(QStringLiteral(" Chrome tarayıcınız güncellenmiş, Kuvela devam etmeden önce Driver güncellemesi yapacak !"),
           MsgIcon::Information, kTitle);
    const QString build = driverBuildFor(config.table, major);
    if (build.isEmpty()) {
        msgBox(QStringLiteral(" Chrome Tarayıcı versiyonu ") + supportedRange(config.table) +
                   QStringLiteral(" arası destekleniyor. Sizin versiyonunuz: ") + check.tamChVer +
                   QStringLiteral(" lütfen destek isteyiniz. ") + config.supportMail,
               MsgIcon::None, kTitle);
        return fail(check, en::NoDriverForBrowser, QStringLiteral("Bu sürüm için sürücü yok: ") + check.tamChVer);
    }

    const fs::path package = config.programFiles / toPath(config.package);
    const fs::path unpacked = config.programFiles / toPath(QFileInfo(config.package).completeBaseName());
    check.myUrl = config.storage + u'/' + build + u'/' + config.package;
    check.myPath = fromPath(package);

    // A package left by an earlier run must never be installed in place of this one.
    std::error_code ec;
    fs::remove(package, ec);
    if (fs::exists(package))
        return fail(check, en::PathFileAccess, QStringLiteral("Eski paket silinemedi: ") + check.myPath);
    const HttpResult got = Http::get(check.myUrl, package, config.http);
    if (!got.ok())
        return fail(check, got.errorNumber, got.error);

    // Unpacked into its own folder, so a package cannot overwrite the program's files.
    removeQuietly(unpacked);
    const fs::path unpackedDriver = unpacked / toPath(config.member);
    try {
        Zip::extractAll(package, unpacked);
    } catch (const ZipError& e) {
        removeQuietly(unpacked);
        return fail(check, e.code(), e.message());
    }
    auto cleanUp = [&] {
        removeQuietly(unpacked);
        removeQuietly(package);
    };
    if (const auto fault = packagedDriverFault(unpackedDriver, config.member, major)) {
        cleanUp();
        return fail(check, fault->errorNumber, fault->text);
    }
    fs::create_directories(config.driverFolder, ec);
    if (!fs::is_directory(config.driverFolder)) {
        cleanUp();
        return fail(check, en::PathNotFound, QStringLiteral("Sürücü klasörü yok: ") + fromPath(config.driverFolder));
    }
    const fs::path installed = config.driverFolder / unpackedDriver.filename();
    if (!installDriver(unpackedDriver, installed)) {
        cleanUp();
        return fail(check, en::PathFileAccess, QStringLiteral("Sürücü kopyalanamadı: ") + fromPath(installed));
    }
    // The record is replaced whole; the new driver is in place, so the next run retries
    // only the record when this fails.
    if (!writeVersionFile(config.versionFile(), major)) {
        cleanUp();
        return fail(check, en::PathFileAccess,
                    QStringLiteral("Sürüm dosyası yazılamadı: ") + fromPath(config.versionFile()));
    }
    cleanUp();
    check.driVers = major;
    check.outcome = DriverCheck::Outcome::Updated;
    msgBox(QStringLiteral("Driver başarı ile güncellendi. İşleminize kalınan yerden devam edilecek..."),
           MsgIcon::Information, kTitle);
    return check;
}

AboutVersionTexts aboutVersionTexts(const QString& driVers, const QString& tamChVer)
{
    return {QStringLiteral("Chrome Versiyonu: ") + tamChVer, QStringLiteral("Driver:") + driVers};
}

} // namespace kuvela
