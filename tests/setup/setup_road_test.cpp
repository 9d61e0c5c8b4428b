// The install road from the window's buttons, on temporary folders.
#include "setup/setup_fixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QThread>

namespace kuvela::setup::test {
namespace {

using kuvela::test::zipFile;
using kuvela::test::zipLink;

const QString kQuestion = QStringLiteral("Chrome bağlantı ayarları şimdi yapılsın mı ? (EVET önerilir.)");
const QString kDone = QStringLiteral("Kurulum işlemleri tamamlandı !");
const QString kIncomplete = QStringLiteral("Kurulum tamamlanamadı !");
const QString kCloseHint =
    QStringLiteral("Lütfen şimdi Kapat butonu ile Kur'u kapatın, Kuvela otomatik olarak başlatılacaktır.");

QStringList entries(const fs::path& folder)
{
    return QDir(fromPath(folder)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

class SetupRoadTest : public SetupFixture {};

TEST_F(SetupRoadTest, FreshRunWithTheTableBuildsTheProgramFolder)
{
    useTable();
    servePackage(QStringLiteral("112.0.5615.49"),
                 {zipFile("chromedriver", "#!/bin/sh\necho 'ChromeDriver 112.0.5615.49'\n", 0755),
                  zipFile("LICENSE.chromedriver", "lisans")});
    fs::permissions(delivery_ / "DATA.xlsx", fs::perms::owner_read | fs::perms::group_read, fs::perm_options::replace);
    auto form = runSetup();

    EXPECT_EQ(dialogs_->texts(), QStringList{kQuestion});
    EXPECT_EQ(dialogs_->shown().front().defaultButton, MsgResult::No);
    EXPECT_EQ(dialogs_->shown().front().title, QStringLiteral("v1.4.6KuvelaKur "));
    EXPECT_EQ(form->road().failed, QStringList());
    EXPECT_EQ(form->road().absent, QStringList{"KuvelaUpdate"});  // this delivery has no updater
    EXPECT_EQ(form->Text12->toPlainText(), kDone);
    EXPECT_EQ(form->Text13->toPlainText(),
              QStringLiteral("Gerekli Windows bileşenleri masaüstü\\Kuvela\\prgDosyaları klasörüne başarıyla kaydedildi !"));
    EXPECT_EQ(form->Text14->toPlainText(), kCloseHint);
    EXPECT_FALSE(form->Command3->isHidden());
    EXPECT_TRUE(form->Command1->isHidden());
    EXPECT_TRUE(form->Command2->isHidden());

    EXPECT_EQ(entries(program()), (QStringList{"Data", QStringLiteral("Firmalarım"), "Raporlar", "Yedek", "kuvela",
                                               QStringLiteral("prgDosyaları")}));
    EXPECT_TRUE(isExecutable(program() / "kuvela"));
    EXPECT_EQ(readAll(program() / "kuvela"), readAll(delivery_ / "kuvela"));
    EXPECT_EQ(readAll(program() / "Data" / "DATA.xlsx"), "starter workbook");
    // Copied from read-only media, the workbook can still be saved by the program.
    EXPECT_NE(fs::status(program() / "Data" / "DATA.xlsx").permissions() & fs::perms::owner_write, fs::perms::none);
    EXPECT_EQ(entries(programFiles()), (QStringList{"ChromeDriverVersiyon.txt", "KuvelaLogo.jpg"}));
    EXPECT_EQ(readAll(programFiles() / "KuvelaLogo.jpg"), "logo");
    EXPECT_EQ(readAll(versionFile()), "[112]\r\n");
    // The package was fetched whole and unpacked beside install.sh, the driver executable.
    const fs::path driver = delivery_ / "Kuvela-Nadrik" / "chromedriver";
    EXPECT_TRUE(isExecutable(driver));
    EXPECT_FALSE(isExecutable(delivery_ / "Kuvela-Nadrik" / "LICENSE.chromedriver"));
    EXPECT_EQ(form->road().driverAddress, server_.url(QStringLiteral("/112.0.5615.49/chromedriver_linux64.zip")));

    const fs::path shortcut = desktop_ / "Kuvela.desktop";
    EXPECT_EQ(QString::fromUtf8(readAll(shortcut)),
              QStringLiteral("[Desktop Entry]\nType=Application\nVersion=1.0\nName=Kuvela\nComment=eBelge Movraanı\n"
                             "Exec=\"") +
                  fromPath(program() / "kuvela").replace(QStringLiteral("%"), QStringLiteral("%%")) +
                  QStringLiteral("\"\nTerminal=false\n"));
    EXPECT_TRUE(isExecutable(shortcut));
    EXPECT_FALSE(end_->requested());
}

TEST_F(SetupRoadTest, SecondRunKeepsTheWorkbookAndFillsInMissingFolders)
{
    const QByteArray kept("the user's own workbook \x01\x02");
    write(program() / "Data" / "DATA.xlsx", kept);
    write(program() / "Raporlar" / "rapor.txt", "rapor");
    write(program() / "kuvela", "old program", true);
    write(versionFile(), "[111]\r\n");
    auto form = runSetup();

    EXPECT_EQ(readAll(program() / "Data" / "DATA.xlsx"), kept);
    ASSERT_EQ(dialogs_->shown().size(), 2u);
    const MessageRequest& keep = dialogs_->shown()[1];
    EXPECT_EQ(keep.text, QStringLiteral("Eski bir Veritabanı dosyası tespit edildi, veri kaybı olmaması için eski "
                                        "dosyanız korunacaktır."));
    EXPECT_EQ(keep.title, QStringLiteral("v1.4.6Kuvela "));
    EXPECT_EQ(keep.icon, MsgIcon::Information);
    EXPECT_EQ(readAll(program() / "Raporlar" / "rapor.txt"), "rapor");
    for (const char* folder : {"Firmalarım", "prgDosyaları", "Yedek"})
        EXPECT_TRUE(fs::is_directory(program() / fs::u8path(folder))) << folder;
    EXPECT_EQ(readAll(program() / "kuvela"), readAll(delivery_ / "kuvela"));
    EXPECT_FALSE(fs::exists(program() / "kuvela.kur-yeni"));
    EXPECT_EQ(readAll(versionFile()), "[112]\r\n");  // the system driver matches the browser
    EXPECT_EQ(form->Text12->toPlainText(), kDone);
}

TEST_F(SetupRoadTest, UnsupportedBrowserVersionsAreSaidAndRecorded)
{
    useTable();
    const std::vector<std::pair<QString, QByteArray>> cases = {{"113.0.5672.63", "[113]\r\n"},
                                                              {"99.0.4844.51", "[99.]\r\n"}};
    for (const auto& [version, record] : cases) {
        SCOPED_TRACE(version.toStdString());
        dialogs_->clear();
        fs::remove_all(program());
        setBrowser(version);
        auto form = runSetup();
        ASSERT_EQ(dialogs_->shown().size(), 2u);
        EXPECT_EQ(dialogs_->shown()[0].text,
                  QStringLiteral(" Chrome Tarayıcı versiyonu 100.x ile 112.x arası destekleniyor. Sizin versiyonunuz: ") +
                      version + QStringLiteral(" lütfen destek isteyiniz. destek@example.com"));
        EXPECT_EQ(dialogs_->shown()[0].icon, MsgIcon::None);
        EXPECT_EQ(dialogs_->shown()[1].text, kQuestion);
        EXPECT_EQ(readAll(versionFile()), record);
        EXPECT_EQ(form->Text12->toPlainText(), kDone);
        EXPECT_TRUE(form->road().driverAddress.isEmpty());
    }
}

// The browser is judged before anything is made, and the folders go where the desktop
// is when the road makes them.
TEST_F(SetupRoadTest, FoldersAfterTheBrowserCheckOnTheDesktopReadAgain)
{
    useTable();
    setBrowser(QStringLiteral("113.0.5672.63"));
    const fs::path later = base() / toPath(QStringLiteral("yeni masaüstü"));
    SetupContext c = context();
    c.places.readDesktop = [&] { return later; };
    std::vector<bool> folderThere;
    dialogs_->onShow = [&](const MessageRequest&) { folderThere.push_back(fs::exists(later / "Kuvela")); };
    KurForm form(c);
    form.Command1->click();
    EXPECT_EQ(folderThere, (std::vector<bool>{false, true}));  // the version message, then the script question
    EXPECT_TRUE(fs::is_regular_file(later / "Kuvela" / "kuvela"));
    EXPECT_TRUE(fs::exists(later / "Kuvela.desktop"));
    EXPECT_FALSE(fs::exists(program()));
    form.Command3->click();
    EXPECT_EQ(launcher_.starts, QStringList{fromPath(later / "Kuvela" / "kuvela")});
}

// A program folder that cannot be made stops the road at once with one line; a copy
// that fails names its target.
TEST_F(SetupRoadTest, FolderAndCopyFailuresNameWhatFailed)
{
    write(program(), "a file where the folder goes");
    auto stopped = runSetup();
    EXPECT_EQ(dialogs_->texts(), QStringList());
    EXPECT_EQ(stopped->road().failed, QStringList{QStringLiteral("Program klasörü oluşturulamadı: ") + fromPath(program())});
    EXPECT_EQ(stopped->Text12->toPlainText(), kIncomplete);
    EXPECT_EQ(stopped->Text13->toPlainText(), stopped->road().failed.join(u'\n'));
    EXPECT_TRUE(stopped->Command3->isHidden());
    EXPECT_FALSE(stopped->Command2->isHidden());
    EXPECT_TRUE(stopped->Command2->isEnabled());
    EXPECT_FALSE(fs::exists(desktop_ / "Kuvela.desktop"));
    EXPECT_FALSE(fs::exists(versionFile()));

    fs::remove(program());
    write(program() / "kuvela" / "içinde", "a folder where the program goes");
    auto copied = runSetup();
    EXPECT_EQ(copied->road().failed, QStringList{QStringLiteral("Program kopyalanamadı: ") + fromPath(program() / "kuvela")});
    EXPECT_EQ(copied->Text12->toPlainText(), kIncomplete);
}

TEST_F(SetupRoadTest, NoBrowserEndsTheSetupWithNothingMade)
{
    env_.set("KUVELA_BROWSER_BINARY", fromPath(base() / "yok" / "chromium"));
    auto form = runSetup();
    EXPECT_EQ(dialogs_->texts(),
              QStringList{QStringLiteral(" Chrome yüklü değil ! Öncelikle Chrome Browser kurulumu yapınız. Daha sonra "
                                         "KuvelaKur 'u yeniden çalıştırınız.")});
    EXPECT_EQ(dialogs_->shown().front().icon, MsgIcon::Information);
    EXPECT_TRUE(end_->requested());
    EXPECT_EQ(entries(desktop_), QStringList());

    // A browser that prints its version only on standard error counts as none.
    write(base() / "bin" / "chromium", "#!/bin/sh\necho 'Chromium 112.0.5615.49' >&2\n", true);
    EXPECT_EQ(browserVersion(fromPath(base() / "bin" / "chromium")), QString());
}

// A driver that cannot be had: the rest goes in, the step is said and listed, and the
// version recorded by an earlier run is taken away.
TEST_F(SetupRoadTest, DriverFailuresAreSaidListedAndLeaveNoRecord)
{
    const QString download = QStringLiteral("Kurulum sırasında hata oluştu ! Hata No: ");
    const QString mismatch = QStringLiteral(" Chrome sürücüsü bulunamadı veya sürümü uyuşmuyor ! chromium-driver paketini "
                                            "kurunuz. Tarayıcı sürümünüz: 112.0.5615.49");
    struct Case {
        const char* name;
        QString systemDriver; // set: the system's driver is used, not the table
        QJsonArray package;   // empty: nothing served (404)
        QString message;
        QString outside;      // a file the archive must not have written
        QString listed;       // how the failed step starts in the list
    };
    const std::vector<Case> cases = {
        {"system driver of another version", QStringLiteral("111.0.5563.19"), {}, mismatch, {},
         QStringLiteral("Chrome sürücüsü bulunamadı veya sürümü uyuşmuyor: ")},
        {"404", {}, {}, download + "404", {}, QStringLiteral("Chrome sürücüsü indirilemedi (Hata No: 404): ")},
        {"zip-slip", {}, {zipFile("chromedriver", "x", 0755), zipFile("../evil", "kötü")}, download + "1022",
         QStringLiteral("evil"), QStringLiteral("Chrome sürücüsü açılamadı (Hata No: 1022): ")},
        {"link", {}, {zipLink("chromedriver", "/usr/bin/sh")}, download + "1022", {},
         QStringLiteral("Chrome sürücüsü açılamadı (Hata No: 1022): ")},
        {"no driver in the package", {}, {zipFile("LICENSE.chromedriver", "lisans")}, download + "53", {},
         QStringLiteral("Chrome sürücüsü kullanılamıyor (Hata No: 53): Pakette sürücü yok: chromedriver")},
        {"a driver that cannot run", {}, {zipFile("chromedriver", "#!/bin/sh\necho 'ChromeDriver 112.0.5615.49'\n")},
         download + "53", {}, QStringLiteral("Chrome sürücüsü kullanılamıyor (Hata No: 53): Pakette sürücü yok: chromedriver")},
        {"a driver of another major", {}, {zipFile("chromedriver", "#!/bin/sh\necho 'ChromeDriver 111.0.5563.19'\n", 0755)},
         download + "1032", {},
         QStringLiteral("Chrome sürücüsü kullanılamıyor (Hata No: 1032): Paketteki sürücünün sürümü tarayıcıya uymuyor: "
                        "111.0.5563.19")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs_->clear();
        fs::remove_all(program());
        fs::remove_all(served_ / "112.0.5615.49");
        fs::remove(delivery_ / "Kuvela-Nadrik" / "chromedriver");
        fs::remove(desktop_ / "Kuvela.desktop");
        if (c.systemDriver.isEmpty())
            useTable();
        else
            setSystemDriver(c.systemDriver);
        if (!c.package.isEmpty())
            servePackage(QStringLiteral("112.0.5615.49"), c.package);
        write(versionFile(), "[112]\r\n");
        auto form = runSetup();
        ASSERT_EQ(dialogs_->texts().size(), 2);
        EXPECT_EQ(dialogs_->texts()[0], c.message);
        EXPECT_EQ(dialogs_->texts()[1], kQuestion);  // the road went on
        EXPECT_FALSE(fs::exists(versionFile()));
        EXPECT_EQ(form->Text12->toPlainText(), kIncomplete);
        EXPECT_EQ(form->road().failed.size(), 1) << form->road().failed.join(u'\n').toStdString();
        EXPECT_TRUE(form->Text13->toPlainText().startsWith(c.listed)) << form->Text13->toPlainText().toStdString();
        EXPECT_EQ(form->Text14->toPlainText(), kCloseHint);
        EXPECT_FALSE(form->Command3->isHidden());
        EXPECT_FALSE(fs::exists(fs::symlink_status(delivery_ / "Kuvela-Nadrik" / "chromedriver")));
        if (!c.outside.isEmpty())
            EXPECT_FALSE(fs::exists(delivery_ / toPath(c.outside)));
        // Everything else went in.
        EXPECT_EQ(readAll(program() / "Data" / "DATA.xlsx"), "starter workbook");
        EXPECT_TRUE(fs::exists(desktop_ / "Kuvela.desktop"));
    }
}

TEST_F(SetupRoadTest, TheDriverScriptStartsOnlyOnYes)
{
    const QString script = fromPath(delivery_ / "Kuvela-Nadrik" / "install.sh");
    runSetup();
    EXPECT_EQ(launcher_.starts, QStringList());

    dialogs_->queueAnswer(MsgResult::Yes);
    auto yes = runSetup();
    EXPECT_EQ(launcher_.starts, QStringList{QStringLiteral("sh ") + script});
    EXPECT_EQ(yes->Text12->toPlainText(), kDone);

    // Asked for but missing from the delivery: a failed step.
    fs::remove(delivery_ / "Kuvela-Nadrik" / "install.sh");
    dialogs_->queueAnswer(MsgResult::Yes);
    auto missing = runSetup();
    EXPECT_EQ(launcher_.starts.size(), 1);
    EXPECT_EQ(missing->Text12->toPlainText(), kIncomplete);
    EXPECT_TRUE(missing->Text13->toPlainText().contains(script));
}

TEST_F(SetupRoadTest, MissingComponentsAreListedCopiedAndOfferedForRegistration)
{
    FakeComponentLayer fake;
    fake.missing = componentNames();
    components_ = &fake;
    {
        KurForm every(context());
        EXPECT_EQ(every.Text13->toPlainText(), QStringLiteral("\n") + componentNames().join(u'\n'));
    }

    fake.missing = QStringList{"MSCOMCTL.OCX", "MSCOMCTL.SRG"};
    KurForm form(context());
    EXPECT_EQ(form.Text13->toPlainText(), QStringLiteral("\nMSCOMCTL.OCX\nMSCOMCTL.SRG"));
    EXPECT_TRUE(form.Text12->toPlainText().startsWith(QStringLiteral("Kuvela çalışabilmek için")));
    EXPECT_TRUE(form.Text14->toPlainText().contains(QStringLiteral("'YÖNETİCİ'")));
    QStringList boxes;
    for (QLineEdit* box : form.Text1)
        boxes << box->text();
    EXPECT_EQ(boxes, (QStringList{"", "", "", "MSCOMCTL.OCX", "", "MSCOMCTL.SRG", ""}));

    dialogs_->queueAnswer(MsgResult::No);   // driver script
    dialogs_->queueAnswer(MsgResult::Ok);   // "Registering işlemleri başlatılıyor ..."
    dialogs_->queueAnswer(MsgResult::Yes);  // MSCOMCTL.OCX
    form.Command1->click();
    EXPECT_EQ(readAll(programFiles() / "MSCOMCTL.OCX"), "MSCOMCTL.OCX");
    EXPECT_EQ(readAll(programFiles() / "MSCOMCTL.SRG"), "MSCOMCTL.SRG");
    EXPECT_EQ(fake.copied, (QStringList{"KuvelaLogo.jpg", "MSCOMCTL.OCX", "MSCOMCTL.SRG"}));
    EXPECT_EQ(fake.commands, QStringList{"regsvr32 /s C:\\Windows\\SysWOW64\\MSCOMCTL.OCX"});
    EXPECT_EQ(dialogs_->texts(), (QStringList{kQuestion, "Registering işlemleri başlatılıyor ...",
                                              "MSCOMCTL.OCX Register edilsin mi ? (EVET önerilir)",
                                              "Registering işlemleri tamamlandı ..."}));
    EXPECT_EQ(form.Text12->toPlainText(), kDone);

    // Without the rights for the system folder: the step ends naming the target.
    fake.refuseCopies = true;
    KurForm refused(context());
    refused.Command1->click();
    EXPECT_EQ(refused.road().failed,
              QStringList{"Sistem klasörüne kopyalanamadı: C:\\Windows\\SysWOW64\\ChromeDriverVersiyon.txt"});

    // On Linux nothing is missing and nothing is asked about.
    components_ = &linuxComponents_;
    KurForm onLinux(context());
    EXPECT_EQ(onLinux.Text13->toPlainText(), QString());
    EXPECT_EQ(onLinux.Text14->toPlainText(), QStringLiteral("Bir sonraki kurulum aşamasına geçmek için Devam butonunu tıklayın."));
    EXPECT_FALSE(end_->requested());
    onLinux.Command2->click();  // "Kurulumdan Çık"
    EXPECT_TRUE(end_->requested());
}

TEST_F(SetupRoadTest, CloseStartsTheInstalledProgramOrSaysWhyNot)
{
    Launcher real;
    SetupContext c = context();
    c.launcher = &real;
    KurForm form(c);
    form.Command1->click();
    ASSERT_FALSE(form.Command3->isHidden());

    fs::remove(program() / "kuvela");
    form.Command3->click();
    EXPECT_EQ(dialogs_->texts().last(), QStringLiteral("Program başlatma sırasında hata oluştu ! Hata No: 53"));
    EXPECT_EQ(dialogs_->shown().back().title, QStringLiteral("v1.4.6KuvelaKur "));
    EXPECT_FALSE(end_->requested());

    write(program() / "kuvela", "#!/bin/sh\necho started > \"$(dirname \"$0\")/started.txt\"\n", true);
    form.Command3->click();
    EXPECT_TRUE(end_->requested());
    QElapsedTimer t;
    t.start();
    while (!fs::exists(program() / "started.txt") && t.elapsed() < 10000)
        QThread::msleep(20);
    EXPECT_EQ(readAll(program() / "started.txt"), "started\n");
}

} // namespace
} // namespace kuvela::setup::test
