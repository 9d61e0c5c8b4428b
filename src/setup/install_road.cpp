#include "setup/install_road.h"

#include "platform/dialogs.h"
#include "platform/error_numbers.h"
#include "platform/paths.h"
#include "platform/settings.h"
#include "platform/zip_archive.h"
#include "setup/desktop_entry.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <algorithm>
#include <chrono>
#include <future>

namespace kuvela::setup {

namespace fs = std::filesystem;

namespace {

const QString kVersionFileName = QStringLiteral("ChromeDriverVersiyon.txt");

void inform(const QString& text, const QString& title = setupTitle())
{
    msgBox(text, MsgIcon::Information, title);
}

QString failureText(int number)
{
    return QStringLiteral("Kurulum sırasında hata oluştu ! Hata No: ") + QString::number(number);
}

// Copies beside the target and renames over it: a running program keeps its old file,
// and a failed copy never leaves half a file under the target's name.
bool copyWhole(const fs::path& source, const fs::path& target)
{
    std::error_code ec;
    if (!fs::is_regular_file(source, ec))
        return false;
    fs::path fresh = target;
    fresh += ".kur-yeni";
    fs::copy_file(source, fresh, fs::copy_options::overwrite_existing, ec);
    if (!ec)
        // A delivery on read-only media must not leave a workbook the program cannot save.
        fs::permissions(fresh, fs::status(source).permissions() | fs::perms::owner_write, fs::perm_options::replace,
                        ec);
    if (!ec)
        fs::rename(fresh, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(fresh, ignored);
        return false;
    }
    return true;
}

// The program folder and each of its sub-folders that is missing; existing ones and
// their files stay as they are. False when the program folder itself could not be made:
// nothing else can go in then.
bool makeFolderTree(const SetupPlaces& places, QStringList& failed)
{
    std::error_code ec;
    fs::create_directories(places.programFolder(), ec);  // a desktop folder not made yet is made with it
    if (!fs::is_directory(places.programFolder(), ec)) {
        failed << QStringLiteral("Program klasörü oluşturulamadı: ") + fromPath(places.programFolder());
        return false;
    }
    for (const char* name : {"Firmalarım", "Data", "prgDosyaları", "Raporlar", "Yedek"}) {
        const fs::path folder = places.programFolder() / toPath(QString::fromUtf8(name));
        fs::create_directories(folder, ec);
        if (!fs::is_directory(folder, ec))
            failed << QStringLiteral("Klasör oluşturulamadı: ") + fromPath(folder);
    }
    return true;
}

// The window keeps painting while the package comes.
HttpResult download(const QString& address, const fs::path& target, const HttpOptions& options)
{
    auto pending = std::async(std::launch::async, [&] { return Http::get(address, target, options); });
    while (pending.wait_for(std::chrono::milliseconds(30)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return pending.get();
}

QString systemDriverProgram(const SetupSettings& settings)
{
    if (!settings.systemDriver.trimmed().isEmpty())
        return settings.systemDriver.trimmed();
    const QString found = QStandardPaths::findExecutable(QStringLiteral("chromedriver"));
    return found.isEmpty() ? QStringLiteral("/usr/bin/chromedriver") : found;
}

// Downloads and unpacks the listed build into the delivery's driver folder; true when
// it brought a driver for this browser.
bool fetchDriver(const SetupContext& context, const QString& build, RoadResult& result)
{
    const SetupSettings& s = context.settings;
    result.driverAddress = s.storage + u'/' + build + u'/' + s.package;
    const fs::path archive = context.places.driverFolder() / toPath(s.package);
    const HttpResult got = download(result.driverAddress, archive, s.http);
    if (!got.ok()) {
        if (got.status != 0 && got.status != 200) {
            inform(failureText(int(got.status)));
            result.failed << QStringLiteral("Chrome sürücüsü indirilemedi (Hata No: %1): %2")
                                 .arg(got.status)
                                 .arg(result.driverAddress);
        } else {
            const bool local = got.errorNumber == error_no::PathNotFound || got.errorNumber == error_no::PathFileAccess;
            inform(local ? QStringLiteral("Driver kaydedilemiyor. Klasörün varlığını/izinlerini kontrol ediniz! Hata No: ") +
                               QString::number(got.errorNumber)
                         : failureText(got.errorNumber));
            result.failed << QStringLiteral("Chrome sürücüsü indirilemedi (Hata No: %1): %2")
                                 .arg(got.errorNumber)
                                 .arg(got.error);
        }
        return false;
    }
    try {
        Zip::extractAll(archive, context.places.driverFolder());
    } catch (const ZipError& e) {
        inform(failureText(e.code()));
        result.failed << QStringLiteral("Chrome sürücüsü açılamadı (Hata No: %1): %2").arg(e.code()).arg(e.message());
        return false;
    }
    const fs::path driver = context.places.driverFolder() / toPath(s.member);
    if (const auto fault = packagedDriverFault(driver, s.member, result.major)) {
        // Left beside install.sh it would be linked in as if it served.
        std::error_code ec;
        fs::remove(driver, ec);
        inform(failureText(fault->errorNumber));
        result.failed << QStringLiteral("Chrome sürücüsü kullanılamıyor (Hata No: %1): %2")
                             .arg(fault->errorNumber)
                             .arg(fault->text);
        return false;
    }
    return true;
}

// The listed build for the browser, "" when there is none (said here, before anything is made).
QString listedBuild(const SetupContext& context, const RoadResult& result)
{
    const SetupSettings& s = context.settings;
    if (s.strategy != SetupSettings::DriverStrategy::Table)
        return {};
    const QString build = driverBuildFor(setupDriverTable(), result.major);
    if (build.isEmpty())
        msgBox(QStringLiteral(" Chrome Tarayıcı versiyonu 100.x ile 112.x arası destekleniyor. Sizin versiyonunuz: ") +
                   result.fullVersion + QStringLiteral(" lütfen destek isteyiniz. ") + s.supportMail,
               MsgIcon::None, QStringLiteral("KuvelaKur"));
    return build;
}

// True when the driver-version file may be written: a driver matching the browser is
// there, or the browser's major has no listed build (the record is kept for it too).
bool provideDriver(const SetupContext& context, const QString& build, RoadResult& result)
{
    const SetupSettings& s = context.settings;
    if (s.strategy == SetupSettings::DriverStrategy::System) {
        if (browserMajor(installedDriverVersion(systemDriverProgram(s))) == result.major)
            return true;
        inform(QStringLiteral(" Chrome sürücüsü bulunamadı veya sürümü uyuşmuyor ! chromium-driver paketini kurunuz. "
                              "Tarayıcı sürümünüz: ") +
               result.fullVersion);
        result.failed << QStringLiteral("Chrome sürücüsü bulunamadı veya sürümü uyuşmuyor: ") +
                             systemDriverProgram(s);
        return false;
    }
    return build.isEmpty() || fetchDriver(context, build, result);
}

void offerDriverScript(const SetupContext& context, RoadResult& result)
{
    if (msgBox(QStringLiteral("Chrome bağlantı ayarları şimdi yapılsın mı ? (EVET önerilir.)"), MsgIcon::Question,
               setupTitle(), MsgButtons::YesNo, MsgResult::No) != MsgResult::Yes)
        return;
    const fs::path script = context.places.driverFolder() / "install.sh";
    std::error_code ec;
    const int number = fs::is_regular_file(script, ec)
        ? context.launcher->startDetached(QStringLiteral("sh"), {fromPath(script)}, context.places.driverFolder())
        : error_no::FileNotFound;
    if (number != 0)
        result.failed << QStringLiteral("Chrome bağlantı ayarları başlatılamadı (Hata No: %1): %2")
                             .arg(number)
                             .arg(fromPath(script));
}

void copyItem(const fs::path& source, const fs::path& target, const QString& what, QStringList& failed)
{
    std::error_code ec;
    if (!fs::is_regular_file(source, ec))
        failed << what + QStringLiteral(" bulunamadı: ") + fromPath(source);
    else if (!copyWhole(source, target))
        failed << what + QStringLiteral(" kopyalanamadı: ") + fromPath(target);
}

void copyProgramFiles(const SetupContext& context, RoadResult& result)
{
    const SetupPlaces& p = context.places;
    copyItem(p.delivery / toPath(kProgramName), p.programFolder() / toPath(kProgramName), QStringLiteral("Program"),
             result.failed);
    // The updater is not part of every delivery; without it there is nothing to copy.
    const fs::path updater = p.delivery / toPath(kUpdaterName);
    std::error_code ec;
    if (fs::exists(updater, ec))
        copyItem(updater, p.programFolder() / toPath(kUpdaterName), QStringLiteral("Güncelleyici"), result.failed);
    else
        result.absent << kUpdaterName;

    const fs::path workbook = p.programFolder() / "Data" / "DATA.xlsx";
    if (fs::exists(workbook, ec))
        inform(QStringLiteral("Eski bir Veritabanı dosyası tespit edildi, veri kaybı olmaması için eski dosyanız "
                              "korunacaktır."),
               kCurVers + QStringLiteral("Kuvela "));
    else
        copyItem(p.delivery / "DATA.xlsx", workbook, QStringLiteral("Veritabanı"), result.failed);

    copyItem(p.delivery / "KuvelaLogo.jpg", p.programFiles() / "KuvelaLogo.jpg", QStringLiteral("Logo"), result.failed);
}

void makeShortcut(const SetupPlaces& p, QStringList& failed)
{
    const fs::path entry = p.desktop / toPath(kShortcutName);
    const QString text = desktopEntryText(QStringLiteral("Kuvela"), QStringLiteral("eBelge Movraanı"),
                                          fromPath(p.programFolder() / toPath(kProgramName)));
    if (!writeDesktopEntry(entry, text))
        failed << QStringLiteral("Masaüstü kısayolu yazılamadı: ") + fromPath(entry);
}

// Copies every installed program file into the system folder and offers each library
// for registration; a copy that fails ends this step.
void regMovraComponents(const SetupContext& context, QStringList& failed)
{
    ComponentLayer& layer = *context.components;
    if (!layer.registers())
        return;
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(context.places.programFiles(), ec))
        if (e.is_regular_file())
            files.push_back(e.path());
    std::sort(files.begin(), files.end());
    for (const fs::path& f : files)
        if (!layer.copyToSystem(f)) {
            failed << QStringLiteral("Sistem klasörüne kopyalanamadı: C:\\Windows\\") + layer.systemFolderName()
                    + fromPath(f.filename());
            return;
        }
    for (const fs::path& f : files) {
        const QString name = fromPath(f.filename());
        const QString kind = name.right(3).toUpper();
        if (kind != QLatin1String("DLL") && kind != QLatin1String("OCX"))
            continue;
        msgBox(QStringLiteral("Registering işlemleri başlatılıyor ..."), MsgIcon::None, setupTitle());
        if (msgBox(name + QStringLiteral(" Register edilsin mi ? (EVET önerilir)"), MsgIcon::Question, setupTitle(),
                   MsgButtons::YesNo, MsgResult::No) == MsgResult::Yes)
            layer.registerComponent(name);
    }
    msgBox(QStringLiteral("Registering işlemleri tamamlandı ..."), MsgIcon::None, setupTitle());
}

} // namespace

SetupSettings SetupSettings::fromEnvironment()
{
    const Settings env{fs::path()};  // no settings file: the environment alone
    SetupSettings s;
    if (env.value(QStringLiteral("driver/strategy")).trimmed().toLower() == QLatin1String("table"))
        s.strategy = DriverStrategy::Table;
    s.storage = env.value(QStringLiteral("driver/storage"), QStringLiteral("https://chromedriver.storage.googleapis.com"));
    while (s.storage.endsWith(u'/'))
        s.storage.chop(1);
    s.package = env.value(QStringLiteral("driver/package"), QStringLiteral("chromedriver_linux64.zip"));
    s.member = env.value(QStringLiteral("driver/member"), QStringLiteral("chromedriver"));
    s.browser = env.value(QStringLiteral("browser/binary"));
    s.systemDriver = env.value(QStringLiteral("browser/driver"));
    s.supportMail = env.value(QStringLiteral("support/mailbox")).trimmed();
    s.http = HttpOptions::fromSettings();
    return s;
}

std::vector<DriverBuild> setupDriverTable()
{
    std::vector<DriverBuild> table = standardDriverTable();
    for (DriverBuild& b : table)
        if (b.major == QLatin1String("109"))
            b.build = QStringLiteral("109.0.5414.74");
    return table;
}

ScanResult scanComponents(const ComponentLayer& components)
{
    ScanResult scan;
    const QStringList& names = componentNames();
    for (int i = 0; i < int(scan.boxes.size()); ++i)
        if (!components.isPresent(names[i])) {
            scan.boxes[size_t(i)] = names[i];
            scan.missing << names[i];
        }
    if (!scan.missing.isEmpty()) {
        scan.text12 = QStringLiteral("Kuvela çalışabilmek için bazı Windows bileşenlerine ihtiyaç duyar. Sisteminizde "
                                     "mevcut olmayan bileşenler aşağıya listelendi.");
        scan.text13 = QStringLiteral("\n") + scan.missing.join(u'\n');  // the list starts with an empty line
        scan.text14 = QStringLiteral("Bu dosyaları sistem klasörüne ekleyebilmesi için , KuvelaKur'un 'YÖNETİCİ' "
                                     "yetkisiyle başlatılmış olması gerekir. Bunu yapmadıysanız Kur'dan çıkıp yeniden "
                                     "başlatınız.");
    } else {
        scan.text12 = QStringLiteral("Kur sisteminizi taradı, Kuvela'in çalışması için gerekli Windows bileşenleri "
                                     "sisteminizde mevcut.");
        scan.text14 = QStringLiteral("Bir sonraki kurulum aşamasına geçmek için Devam butonunu tıklayın.");
    }
    return scan;
}

RoadResult runInstallRoad(const SetupContext& context, const QStringList& missing)
{
    RoadResult result;
    result.fullVersion = browserVersion(context.settings.browser);
    if (result.fullVersion.isEmpty()) {
        inform(QStringLiteral(" Chrome yüklü değil ! Öncelikle Chrome Browser kurulumu yapınız. Daha sonra KuvelaKur "
                              "'u yeniden çalıştırınız."));
        result.ended = true;
        return result;
    }
    result.major = browserMajor(result.fullVersion);
    const QString build = listedBuild(context, result);

    SetupContext c = context;
    c.places.readDesktopAgain();
    const SetupPlaces& p = c.places;
    result.desktop = p.desktop;
    if (!makeFolderTree(p, result.failed)) {
        result.stopped = true;
        result.text12 = QStringLiteral("Kurulum tamamlanamadı !");
        result.text13 = result.failed.join(u'\n');
        return result;
    }
    const bool driverReady = provideDriver(c, build, result);
    offerDriverScript(c, result);
    for (const QString& name : missing)
        copyItem(p.componentsFolder() / toPath(name), p.programFiles() / toPath(name), QStringLiteral("Bileşen"),
                 result.failed);
    copyProgramFiles(c, result);
    makeShortcut(p, result.failed);
    regMovraComponents(c, result.failed);

    // Without a driver the record stays absent, so that the program's own driver
    // maintenance tries again at its start.
    const fs::path versionFile = p.programFiles() / toPath(kVersionFileName);
    std::error_code ec;
    if (driverReady) {
        result.versionFileWritten = writeVersionFile(versionFile, result.major);
        if (!result.versionFileWritten)
            result.failed << QStringLiteral("Sürücü sürüm dosyası yazılamadı: ") + fromPath(versionFile);
    } else {
        fs::remove(versionFile, ec);
    }

    const QString closeHint =
        QStringLiteral("Lütfen şimdi Kapat butonu ile Kur'u kapatın, Kuvela otomatik olarak başlatılacaktır.");
    if (result.failed.isEmpty()) {
        result.text12 = QStringLiteral("Kurulum işlemleri tamamlandı !");
        result.text13 = QStringLiteral(
            "Gerekli Windows bileşenleri masaüstü\\Kuvela\\prgDosyaları klasörüne başarıyla kaydedildi !");
    } else {
        result.text12 = QStringLiteral("Kurulum tamamlanamadı !");
        result.text13 = result.failed.join(u'\n');
    }
    result.text14 = closeHint;
    return result;
}

int startInstalledProgram(const SetupContext& context)
{
    const fs::path folder = context.places.programFolder();
    const int number = context.launcher->startDetached(fromPath(folder / toPath(kProgramName)), {}, folder);
    if (number != 0)
        inform(QStringLiteral("Program başlatma sırasında hata oluştu ! Hata No: ") + QString::number(number));
    return number;
}

} // namespace kuvela::setup
