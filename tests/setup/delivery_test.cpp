// The delivery folder the build makes: its starter workbook, its install.sh, and an
// install from it.
#include "platform/clock.h"
#include "platform/desktop.h"
#include "setup/setup_fixture.h"
#include "shell/form1.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>

namespace kuvela::setup::test {
namespace {

fs::path delivery()
{
    return fs::path(KUVELA_BINARY_DIR) / "delivery";
}

QString python(const QString& script, const QStringList& args)
{
    QProcess py;
    py.start(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral("-c"), script} + args);
    if (!py.waitForFinished(60000))
        return QStringLiteral("<python did not finish>");
    return QString::fromUtf8(py.readAllStandardOutput()) + QString::fromUtf8(py.readAllStandardError());
}

TEST(Delivery, StarterWorkbookHasEverySheetAndCodeListButNoCompany)
{
    const QString out = python(QStringLiteral(R"(
import openpyxl, sys
wb = openpyxl.load_workbook(sys.argv[1])
print(",".join(wb.sheetnames))
p = wb["prgDATA"]
print(p["A2"].value, "|", p["B2"].value, "|", p["C2"].value, "|", p["B3"].value, "|", p["B7"].value)
print(p["B4"].value, p["B5"].value, p["B25"].value)
print(wb["mDATA"].max_row, wb["mDATA"]["C1"].value, "|", wb["sDATA"].max_row, wb["sDATA"]["C1"].value)
k = wb["kodDATA"]
print(",".join(str(k.cell(r, 8).value) for r in range(2, 8)))
print(k["L2"].value, "|", k["B2"].value, k["C2"].value, "|", k["E1"].value)
print(",".join(str(k.cell(r, 17).value) for r in range(2, 9)))
)"),
                               {fromPath(delivery() / "DATA.xlsx")});
    EXPECT_EQ(out, QStringLiteral("prgDATA,mDATA,kodDATA,sDATA\n"
                                  "Firma (klasör) adı | None | None | None | None\n"
                                  "kuvela 1234 2\n"
                                  "1 Ünvan / Ad·Soyad | 1 Ürün/Hizmet Adı\n"
                                  "SATIŞ,İADE,TEVKİFAT,İSTİSNA,ÖZEL MATRAH,İHRAÇ KAYITLI\n"
                                  "Türk Lirası | 601 40 | Vergi Kodu\n"
                                  "0,1,8,10,18,20,None\n"));
}

TEST(Delivery, TheProgramStartsOnTheStarterWorkbookWithNoCompany)
{
    kuvela::test::ProgramFolder home;
    fs::create_directories(home.path() / "Data");
    fs::copy_file(delivery() / "DATA.xlsx", home.path() / "Data" / "DATA.xlsx");
    ScopedRecordingDialogs dialogs;
    ScopedRecordingProgramEnd end;
    auto previousDesktop = Desktop::replace(kuvela::test::windowTestDesktop());
    {
        Form1 w;
        EXPECT_FALSE(end->requested());
        w.Text25->setText(QStringLiteral("kuvela"));
        w.Text26->setText(QStringLiteral("1234"));
        w.Command51->click();
        EXPECT_TRUE(w.menusShown()) << dialogs->texts().join(u'\n').toStdString();
        EXPECT_EQ(w.Combo4->count(), 0);
    }
    Desktop::replace(std::move(previousDesktop));
}

TEST(Delivery, InstallScriptCopiesAMatchingUnpackedDriverElseLinksTheSystemOne)
{
    QTemporaryDir work;
    const fs::path base = toPath(work.path());
    const fs::path folder = base / toPath(QStringLiteral("teslim klasörü")) / "Kuvela-Nadrik";
    fs::create_directories(folder);
    fs::copy_file(delivery() / "Kuvela-Nadrik" / "install.sh", folder / "install.sh");
    const QByteArray systemDriver = "#!/bin/sh\necho 'ChromeDriver 112.0.5615.49 (sistem)'\n";
    write(base / "sistem" / "chromedriver", systemDriver, true);
    write(base / "sistem" / "chromium", "#!/bin/sh\necho 'Chromium 112.0.5615.49 built on Debian'\n", true);
    const fs::path target = base / toPath(QStringLiteral("sürücüler"));
    const fs::path installed = target / "chromedriver";

    auto runScript = [&] {
        QProcess sh;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("KUVELA_DRIVER_FOLDER"), fromPath(target));
        env.insert(QStringLiteral("KUVELA_BROWSER_DRIVER"), fromPath(base / "sistem" / "chromedriver"));
        env.insert(QStringLiteral("KUVELA_BROWSER_BINARY"), fromPath(base / "sistem" / "chromium"));
        sh.setProcessEnvironment(env);
        sh.setWorkingDirectory(fromPath(base));
        sh.start(QStringLiteral("sh"), {fromPath(folder / "install.sh")});
        EXPECT_TRUE(sh.waitForFinished(20000));
        EXPECT_EQ(sh.exitCode(), 0) << sh.readAllStandardError().toStdString();
    };
    runScript();
    EXPECT_EQ(fs::read_symlink(installed), base / "sistem" / "chromedriver");

    // An unpacked driver of another major is passed over.
    write(folder / "chromedriver", "#!/bin/sh\necho 'ChromeDriver 111.0.5563.19'\n", true);
    runScript();
    EXPECT_EQ(fs::read_symlink(installed), base / "sistem" / "chromedriver");

    // One of the browser's major is copied over the link, never through it, and stays
    // when the delivery goes.
    const QByteArray unpacked = "#!/bin/sh\necho 'ChromeDriver 112.0.5615.49 (paket)'\n";
    write(folder / "chromedriver", unpacked, true);
    runScript();
    EXPECT_FALSE(fs::is_symlink(installed));
    fs::remove_all(folder.parent_path());
    EXPECT_EQ(readAll(installed), unpacked);
    EXPECT_TRUE(isExecutable(installed));
    EXPECT_EQ(readAll(base / "sistem" / "chromedriver"), systemDriver);
}

class DeliveryInstall : public SetupFixture {};

// An install from the build's delivery folder, and a picture of the window after it.
TEST_F(DeliveryInstall, InstallsTheBuildsProgramAndShowsTheWindow)
{
    delivery_ = delivery();
    KurForm form(context());
    EXPECT_FALSE(form.Image1->pixmap().isNull());
    EXPECT_EQ(form.Label4->text(), QStringLiteral("v1.4.6"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("KuvelaKur'a  hoşgeldiniz..!"));
    form.show();
    form.Command1->click();
    EXPECT_EQ(form.road().failed, QStringList());
    EXPECT_TRUE(isExecutable(program() / "kuvela"));
    EXPECT_EQ(fs::file_size(program() / "kuvela"), fs::file_size(delivery() / "kuvela"));
    EXPECT_EQ(readAll(program() / "Data" / "DATA.xlsx"), readAll(delivery() / "DATA.xlsx"));
    EXPECT_FALSE(QPixmap(fromPath(programFiles() / "KuvelaLogo.jpg")).isNull());

    QCoreApplication::processEvents();
    const QDir shots(QStringLiteral(KUVELA_BINARY_DIR "/screenshots"));
    ASSERT_TRUE(shots.mkpath(QStringLiteral(".")));
    const QString file = shots.filePath(QStringLiteral("setup_window.png"));
    QFile::remove(file);
    ASSERT_TRUE(form.grab().save(file, "PNG"));
}

} // namespace
} // namespace kuvela::setup::test
