// The driver check against a local package server, on temporary program and driver
// folders: the system's driver and the real user's folder are never touched.
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/download_test_support.h"
#include "platform/error_numbers.h"
#include "platform/paths.h"
#include "platform/webdriver_options.h"
#include "shell/driver_maintenance.h"
#include "shell/form1.h"
#include "support/fixtures.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kuvela {
namespace {

namespace fs = std::filesystem;
using test::LocalHttpServer;
using test::ScopedEnv;
using test::makeZip;
using test::zipFile;

const QString kNotice =
    QStringLiteral(" Chrome tarayıcınız güncellenmiş, Kuvela devam etmeden önce Driver güncellemesi yapacak !");
const QString kSuccess = QStringLiteral("Driver başarı ile güncellendi. İşleminize kalınan yerden devam edilecek...");
QString failure(int number) { return QStringLiteral("Driver indirilirken bir hata oluştu ! Hata No: ") + QString::number(number); }

QString fakeDriver(const QString& version) { return QStringLiteral("#!/bin/sh\necho 'ChromeDriver %1 (test)'\n").arg(version); }

QByteArray readAll(const fs::path& p)
{
    QFile f(fromPath(p));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<yok>");
}

void write(const fs::path& p, const QByteArray& bytes, bool executable = false)
{
    fs::create_directories(p.parent_path());
    QFile f(fromPath(p));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    if (executable)
        fs::permissions(p, fs::perms::owner_all, fs::perm_options::add);
}

class DriverMaintenanceTest : public ::testing::Test {
protected:
    DriverMaintenanceTest() : served_(toPath(storage_.path())), server_(served_)
    {
        fs::create_directories(programFiles());
        env_.set("KUVELA_DRIVER_FOLDER", fromPath(driverFolder()));
        env_.set("KUVELA_DRIVER_STORAGE", server_.url());
        env_.set("KUVELA_BROWSER_DRIVER", fromPath(base() / "sistemde-yok" / "chromedriver"));
        for (const char* name : {"KUVELA_DRIVER_PACKAGE", "KUVELA_DRIVER_MEMBER", "KUVELA_DRIVER_TABLE",
                                 "KUVELA_HTTP_TIMEOUT", "KUVELA_HTTP_CONNECT_TIMEOUT"})
            env_.unset(name);
        env_.set("KUVELA_SUPPORT_MAILBOX", QStringLiteral("destek@example.com"));
        write(driverFolder() / "chromedriver", fakeDriver(QStringLiteral("111.0.5563.19")).toUtf8(), true);
    }

    fs::path base() const { return toPath(work_.path()); }
    fs::path programFiles() const { return home_ / QStringLiteral("prgDosyaları"); }
    fs::path versionFile() const { return programFiles() / "ChromeDriverVersiyon.txt"; }
    fs::path driverFolder() const { return base() / toPath(QStringLiteral("sürücü klasörü")); }
    fs::path stalePackage() const { return programFiles() / "chromedriver_linux64.zip"; }

    // The package of a build on the server.
    void servePackage(const QString& build, const QJsonArray& entries)
    {
        makeZip(served_ / toPath(build) / "chromedriver_linux64.zip", entries);
    }
    void serveGoodPackage(const QString& build)
    {
        servePackage(build, {zipFile("chromedriver", fakeDriver(build), 0755), zipFile("LICENSE.chromedriver", "lisans")});
    }
    int requests() const
    {
        QTemporaryDir d;
        const fs::path count = toPath(d.path()) / "count";
        Http::get(server_.url(QStringLiteral("/__count")), count, HttpOptions{5000, 5000});
        return readAll(count).toInt();
    }
    DriverCheck run(const QString& chrome) { return maintainDriver(DriverMaintenanceConfig::fromSettings(), chrome); }
    QByteArray installedDriver() const { return readAll(driverFolder() / "chromedriver"); }
    // prgDosyaları holds only the record (the package and its unpacking are gone).
    QStringList programFilesLeft() const
    {
        return QDir(fromPath(programFiles())).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    test::ProgramFolder home_;
    QTemporaryDir work_, storage_;
    ScopedEnv env_;
    fs::path served_;
    LocalHttpServer server_;
    ScopedRecordingDialogs dialogs_;
};

TEST(DriverVersionFileTest, TheLastFieldHoldingABracketGivesTheMajor)
{
    const std::vector<std::pair<QString, QString>> cases = {
        {"[112]\r\n", "112"},      {"x,[111]", "111"},         {"[110]\n[111]\n", "111"},
        {"[99]", "99]"},           {"\"a,[105]\"", "105"},     {"[108], y", "108"},
        {"", ""},                  {"abc\r\n", ""},            {"  [107]  ", "107"},
        {"[104],\"b,c\"", "104"},
    };
    for (const auto& [text, major] : cases)
        EXPECT_EQ(versionFileMajor(text), major) << text.toStdString();
    EXPECT_EQ(inputFields(QStringLiteral("a, \"b,c\" ,d\r\ne")), (QStringList{"a", "b,c", "d", "e"}));
}

TEST(DriverTableTest, StandardTableAndItsSettingOverride)
{
    const auto table = standardDriverTable();
    ASSERT_EQ(table.size(), 13u);
    EXPECT_EQ(table.front().major, QStringLiteral("112"));
    EXPECT_EQ(table.back().major, QStringLiteral("100"));
    EXPECT_EQ(driverBuildFor(table, QStringLiteral("103")), QStringLiteral("103.0.5060.134"));
    EXPECT_EQ(driverBuildFor(table, QStringLiteral("109")), QStringLiteral("109.0.5414.25"));
    EXPECT_EQ(driverBuildFor(table, QStringLiteral("99.")), QString());
    EXPECT_EQ(driverBuildFor(table, QStringLiteral("113")), QString());

    const auto custom = parseDriverTable(QStringLiteral("120:120.0.6099.109; 119=119.0.6045.105,\n118:118.0.5993.70"));
    ASSERT_TRUE(custom);
    EXPECT_EQ(custom->size(), 3u);
    EXPECT_EQ(driverBuildFor(*custom, QStringLiteral("119")), QStringLiteral("119.0.6045.105"));
    for (const char* bad : {"", "120", "120:", "abc:1.2", "120:120"})
        EXPECT_FALSE(parseDriverTable(QString::fromLatin1(bad))) << bad;
}

TEST(DriverTextsTest, VersionsInToolOutputAndTheAboutWindow)
{
    EXPECT_EQ(versionInText(QStringLiteral("Chromium 156.0.8078.129 built on Debian GNU/Linux 12 (bookworm)")),
              QStringLiteral("156.0.8078.129"));
    EXPECT_EQ(versionInText(QStringLiteral("ChromeDriver 112.0.5615.49 (bd2a7bcb-refs/branch-heads/5615@{#936})")),
              QStringLiteral("112.0.5615.49"));
    EXPECT_EQ(versionInText(QStringLiteral("Google Chrome 99.0.4844.51 ")), QStringLiteral("99.0.4844.51"));
    EXPECT_EQ(browserMajor(QStringLiteral("99.0.4844.51")), QStringLiteral("99."));
    const AboutVersionTexts about = aboutVersionTexts(QStringLiteral("112"), QStringLiteral("112.0.5615.49"));
    EXPECT_EQ(about.chrome, QStringLiteral("Chrome Versiyonu: 112.0.5615.49"));
    EXPECT_EQ(about.driver, QStringLiteral("Driver:112"));
}

TEST_F(DriverMaintenanceTest, AMatchingRecordReturnsWithoutAWordOrARequest)
{
    write(versionFile(), "[112]\r\n");
    const DriverCheck c = run(QStringLiteral("112.0.5615.49"));
    EXPECT_EQ(c.outcome, DriverCheck::Outcome::UpToDate);
    EXPECT_EQ(c.driVers, QStringLiteral("112"));
    EXPECT_EQ(c.tamChVer, QStringLiteral("112.0.5615.49"));
    EXPECT_TRUE(dialogs_->shown().empty());
    EXPECT_EQ(requests(), 0);
}

TEST_F(DriverMaintenanceTest, AMatchingSystemDriverPassesQuietlyAndIsRecorded)
{
    const fs::path system = base() / "usr-bin" / "chromedriver";
    write(system, fakeDriver(QStringLiteral("156.0.8078.129")).toUtf8(), true);
    env_.set("KUVELA_BROWSER_DRIVER", fromPath(system));
    write(versionFile(), "[112]\r\n");
    const QByteArray oldDriver = installedDriver();

    const DriverCheck c = run(QStringLiteral("156.0.8078.73"));
    EXPECT_EQ(c.outcome, DriverCheck::Outcome::SystemDriver);
    EXPECT_EQ(c.driVers, QStringLiteral("156"));
    EXPECT_EQ(readAll(versionFile()), QByteArray("[156]\r\n"));
    EXPECT_TRUE(dialogs_->shown().empty());
    EXPECT_EQ(requests(), 0);
    EXPECT_EQ(installedDriver(), oldDriver);

    // A system driver of another major does not pass: the record decides then.
    write(system, fakeDriver(QStringLiteral("155.0.1.1")).toUtf8(), true);
    EXPECT_EQ(run(QStringLiteral("156.0.8078.73")).outcome, DriverCheck::Outcome::UpToDate);
}

TEST_F(DriverMaintenanceTest, ThisMachinesChromiumAndItsDriverPassQuietly)
{
    env_.unset("KUVELA_BROWSER_DRIVER");
    Desktop real;
    const QString chrome = real.chromeVersion();
    ASSERT_FALSE(chrome.isEmpty()) << "chromium is needed for the browser tests";
    const DriverCheck c = run(chrome);
    EXPECT_EQ(c.outcome, DriverCheck::Outcome::SystemDriver) << dialogs_->texts().join('\n').toStdString();
    EXPECT_EQ(readAll(versionFile()), (QStringLiteral("[") + chrome.left(3) + QStringLiteral("]\r\n")).toLatin1());
    EXPECT_TRUE(dialogs_->shown().empty());
}

TEST_F(DriverMaintenanceTest, AnUpdateInstallsTheDriverAndRewritesTheRecord)
{
    serveGoodPackage(QStringLiteral("112.0.5615.49"));
    write(versionFile(), "[111]\r\n");
    auto desktop = std::make_unique<RecordingDesktop>();
    desktop->chrome = QStringLiteral("112.0.5615.49");
    auto previous = Desktop::replace(std::move(desktop));
    const QString systemDriver = fromPath(base() / "sistemde-yok" / "chromedriver");
    const QString maintained = fromPath(driverFolder() / "chromedriver");
    // The maintained driver serves 111: the sessions keep the system's.
    EXPECT_EQ(ChromeOptions::fromSettings({}).driver, systemDriver);
    const DriverCheck c = run(QStringLiteral("112.0.5615.49"));
    // The update changes what the sessions start.
    EXPECT_EQ(ChromeOptions::fromSettings({}).driver, maintained);
    Desktop::replace(std::make_unique<RecordingDesktop>());  // no browser version: the system's
    EXPECT_EQ(ChromeOptions::fromSettings({}).driver, systemDriver);
    Desktop::replace(std::move(previous));

    EXPECT_EQ(c.outcome, DriverCheck::Outcome::Updated) << c.detail.toStdString();
    EXPECT_EQ(dialogs_->texts(), (QStringList{kNotice, kSuccess}));
    EXPECT_EQ(dialogs_->shown().at(0).icon, MsgIcon::Information);
    EXPECT_EQ(dialogs_->shown().at(1).icon, MsgIcon::Information);
    EXPECT_EQ(dialogs_->shown().at(1).title, QStringLiteral("Kuvela"));
    EXPECT_EQ(c.driVers, QStringLiteral("112"));
    EXPECT_EQ(c.myUrl, server_.url(QStringLiteral("/112.0.5615.49/chromedriver_linux64.zip")));
    EXPECT_EQ(c.myPath, fromPath(stalePackage()));
    EXPECT_EQ(readAll(versionFile()), QByteArray("[112]\r\n"));
    EXPECT_EQ(installedDriverVersion(fromPath(driverFolder() / "chromedriver")), QStringLiteral("112.0.5615.49"));
    EXPECT_NE(fs::status(driverFolder() / "chromedriver").permissions() & fs::perms::owner_exec, fs::perms::none);
    EXPECT_EQ(programFilesLeft(), QStringList{"ChromeDriverVersiyon.txt"});
    EXPECT_EQ(requests(), 1);
}

TEST_F(DriverMaintenanceTest, AMissingRecordIsUnknownAndLeadsToAnUpdate)
{
    serveGoodPackage(QStringLiteral("112.0.5615.49"));
    const DriverCheck c = run(QStringLiteral("112.0.5615.49"));
    EXPECT_EQ(c.outcome, DriverCheck::Outcome::Updated) << c.detail.toStdString();
    EXPECT_EQ(dialogs_->texts(), (QStringList{kNotice, kSuccess}));
    EXPECT_EQ(readAll(versionFile()), QByteArray("[112]\r\n"));

    // With no package to be had, the record stays missing and the next call tries again.
    fs::remove(versionFile());
    dialogs_->clear();
    const DriverCheck again = run(QStringLiteral("110.0.5481.30"));
    EXPECT_EQ(again.driVers, QString());
    EXPECT_EQ(dialogs_->texts(), (QStringList{kNotice, failure(error_no::HttpStatus)}));
    EXPECT_FALSE(fs::exists(versionFile()));
}

TEST_F(DriverMaintenanceTest, ANotFoundPackageNeverInstallsAStaleOne)
{
    makeZip(stalePackage(), {zipFile("chromedriver", fakeDriver(QStringLiteral("109.0.5414.25")), 0755)});
    write(versionFile(), "[111]\r\n");
    const QByteArray oldDriver = installedDriver();

    const DriverCheck c = run(QStringLiteral("110.0.5481.30"));
    EXPECT_EQ(c.outcome, DriverCheck::Outcome::Failed);
    EXPECT_EQ(c.errorNumber, error_no::HttpStatus);
    EXPECT_EQ(dialogs_->texts(), (QStringList{kNotice, failure(error_no::HttpStatus)}));
    EXPECT_EQ(c.driVers, QStringLiteral("111"));
    EXPECT_EQ(readAll(versionFile()), QByteArray("[111]\r\n"));
    EXPECT_EQ(installedDriver(), oldDriver);
    EXPECT_FALSE(fs::exists(stalePackage()));
    EXPECT_EQ(requests(), 1);
}

TEST_F(DriverMaintenanceTest, UnsupportedBrowsersGetThreeMessagesAndNoRequest)
{
    write(versionFile(), "[111]\r\n");
    for (const QString chrome : {QStringLiteral("113.0.1.1"), QStringLiteral("99.0.4844.51")}) {
        SCOPED_TRACE(chrome.toStdString());
        dialogs_->clear();
        const DriverCheck c = run(chrome);
        EXPECT_EQ(dialogs_->texts(),
                  (QStringList{kNotice,
                               QStringLiteral(" Chrome Tarayıcı versiyonu 100.x ile 112.x arası destekleniyor. Sizin "
                                              "versiyonunuz: ") +
                                   chrome + QStringLiteral(" lütfen destek isteyiniz. destek@example.com"),
                               failure(error_no::NoDriverForBrowser)}));
        EXPECT_EQ(c.tamChVer, chrome);
        EXPECT_EQ(readAll(versionFile()), QByteArray("[111]\r\n"));
    }
    EXPECT_EQ(requests(), 0);
}

TEST_F(DriverMaintenanceTest, TheTableStorageAndMemberComeFromSettings)
{
    env_.set("KUVELA_DRIVER_TABLE", QStringLiteral("120:120.0.6099.109"));
    env_.set("KUVELA_DRIVER_PACKAGE", QStringLiteral("chromedriver-linux64.zip"));
    env_.set("KUVELA_DRIVER_MEMBER", QStringLiteral("chromedriver-linux64/chromedriver"));
    makeZip(served_ / "120.0.6099.109" / "chromedriver-linux64.zip",
            {zipFile("chromedriver-linux64/chromedriver", fakeDriver(QStringLiteral("120.0.6099.109")), 0755)});
    const DriverCheck c = run(QStringLiteral("120.0.6099.71"));
    EXPECT_EQ(c.outcome, DriverCheck::Outcome::Updated) << c.detail.toStdString();
    EXPECT_EQ(installedDriverVersion(fromPath(driverFolder() / "chromedriver")), QStringLiteral("120.0.6099.109"));

    dialogs_->clear();
    run(QStringLiteral("112.0.5615.49"));
    EXPECT_TRUE(dialogs_->texts().value(1).startsWith(
        QStringLiteral(" Chrome Tarayıcı versiyonu 120.x ile 120.x arası destekleniyor.")))
        << dialogs_->texts().join('\n').toStdString();
}

// A bad package fails with its number; the record and the installed driver stay.
TEST_F(DriverMaintenanceTest, BadPackagesAreRefused)
{
    struct Case {
        const char* what;
        QJsonArray entries;
        bool truncate;
        int number;
    };
    const std::vector<Case> cases = {
        {"outside the folder", {zipFile("chromedriver", "x", 0755), zipFile("../evil", "x")}, false,
         error_no::ArchiveUnsafeEntry},
        {"truncated", {zipFile("chromedriver", QString(5000, u'x'), 0755)}, true, error_no::ArchiveDamaged},
        {"no driver inside", {zipFile("README", "x")}, false, error_no::FileNotFound},
    };
    write(versionFile(), "[111]\r\n");
    const QByteArray oldDriver = installedDriver();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        servePackage(QStringLiteral("112.0.5615.49"), c.entries);
        if (c.truncate) {
            const fs::path p = served_ / "112.0.5615.49" / "chromedriver_linux64.zip";
            fs::resize_file(p, fs::file_size(p) / 2);
        }
        dialogs_->clear();
        const DriverCheck r = run(QStringLiteral("112.0.5615.49"));
        EXPECT_EQ(r.errorNumber, c.number) << r.detail.toStdString();
        EXPECT_EQ(dialogs_->texts(), (QStringList{kNotice, failure(c.number)}));
        EXPECT_EQ(readAll(versionFile()), QByteArray("[111]\r\n"));
        EXPECT_EQ(installedDriver(), oldDriver);
        EXPECT_FALSE(fs::exists(programFiles() / "evil"));
        EXPECT_FALSE(fs::exists(base() / "evil"));
    }
}

TEST_F(DriverMaintenanceTest, ADownloadThatNeverEndsIsBoundedByTheTimeLimit)
{
    env_.set("KUVELA_DRIVER_STORAGE", server_.url(QStringLiteral("/__hang")));
    env_.set("KUVELA_HTTP_TIMEOUT", QStringLiteral("1"));
    write(versionFile(), "[111]\r\n");
    QElapsedTimer t;
    t.start();
    const DriverCheck c = run(QStringLiteral("112.0.5615.49"));
    EXPECT_LT(t.elapsed(), 6000);
    EXPECT_EQ(dialogs_->texts(), (QStringList{kNotice, failure(error_no::NetworkTimeout)}));
    EXPECT_EQ(c.driVers, QStringLiteral("111"));
    EXPECT_EQ(readAll(versionFile()), QByteArray("[111]\r\n"));

    LocalHttpServer noAccept{LocalHttpServer::NoAccept{}};
    env_.set("KUVELA_DRIVER_STORAGE", noAccept.url());
    env_.set("KUVELA_HTTP_CONNECT_TIMEOUT", QStringLiteral("0.5"));
    env_.set("KUVELA_HTTP_TIMEOUT", QStringLiteral("60"));
    dialogs_->clear();
    t.restart();
    run(QStringLiteral("112.0.5615.49"));
    EXPECT_LT(t.elapsed(), 6000);
    EXPECT_EQ(dialogs_->texts().value(1), failure(error_no::NetworkTimeout));
}

TEST_F(DriverMaintenanceTest, NoSuccessIsReportedWhenTheRecordCannotBeWritten)
{
    serveGoodPackage(QStringLiteral("112.0.5615.49"));
    fs::create_directories(versionFile());  // a folder in the record's place
    const DriverCheck c = run(QStringLiteral("112.0.5615.49"));
    EXPECT_EQ(c.outcome, DriverCheck::Outcome::Failed);
    EXPECT_EQ(dialogs_->texts(), (QStringList{kNotice, failure(error_no::PathFileAccess)}));
    EXPECT_NE(c.driVers, QStringLiteral("112"));
}

TEST_F(DriverMaintenanceTest, NoBrowserIsReportedWithTheFailureMessage)
{
    write(versionFile(), "[111]\r\n");
    const DriverCheck c = run(QString());
    EXPECT_EQ(dialogs_->texts(), QStringList{failure(error_no::BrowserNotFound)});
    EXPECT_EQ(c.driVers, QStringLiteral("111"));
    EXPECT_EQ(requests(), 0);
}

// The window's check at start-up: the variables and status panels 4 and 6.
TEST_F(DriverMaintenanceTest, TheMainWindowShowsTheNewMajorAfterAnUpdate)
{
    serveGoodPackage(QStringLiteral("112.0.5615.49"));
    write(versionFile(), "[111]\r\n");
    auto desktop = std::make_unique<RecordingDesktop>();
    desktop->chrome = QStringLiteral("112.0.5615.49");
    auto previous = Desktop::replace(std::move(desktop));
    env_.set("KUVELA_ONLINE", QStringLiteral("1"));
    {
        Form1 w;
        EXPECT_EQ(w.driVers, QStringLiteral("112"));
        EXPECT_EQ(w.tamChVer, QStringLiteral("112.0.5615.49"));
        EXPECT_EQ(w.panelText(4), QStringLiteral("112.0.5615.49"));
        EXPECT_EQ(w.panelText(6), QStringLiteral("112"));
        EXPECT_EQ(w.myUrl, server_.url(QStringLiteral("/112.0.5615.49/chromedriver_linux64.zip")));
        EXPECT_EQ(dialogs_->texts().mid(0, 2), (QStringList{kNotice, kSuccess}));
        EXPECT_EQ(aboutVersionTexts(w.driVers, w.tamChVer).driver, QStringLiteral("Driver:112"));

        dialogs_->clear();
        w.checkChromeVersiyon();
        EXPECT_TRUE(dialogs_->shown().empty());
        EXPECT_EQ(requests(), 1);
    }
    Desktop::replace(std::move(previous));
}

} // namespace
} // namespace kuvela
