// The start-up road of the main window on temporary program folders.
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "shell/company_tree.h"
#include "shell/form1.h"
#include "shell/status_panel.h"
#include "shell/program_end.h"
#include "support/fixtures.h"

#include <QCoreApplication>
#include <QAction>
#include <QComboBox>
#include <QCryptographicHash>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>

namespace kuvela {
namespace {

namespace fs = std::filesystem;
using test::CellList;
using test::ProgramFolder;
using test::standardData;

const QString kMissingWorkbook =
    QStringLiteral("Veritabanı bulunamadı. DATA.xlsx dosyası indirin ve \\Kuvela\\Data klasörüne kopyalayın.");
const QString kWrongLogin = QStringLiteral("Kullanıcı bilgisi hatalı !");

// Everything the start-up touches outside the window, recorded.
class StartupTest : public ::testing::Test {
protected:
    StartupTest()
    {
        auto desktop = kuvela::test::windowTestDesktop();
        desktop_ = desktop.get();
        previousDesktop_ = Desktop::replace(std::move(desktop));
        previousClock_ = Clock::replace(std::make_unique<ManualClock>(QDateTime(QDate(2024, 3, 3), QTime(9, 5))));
    }
    ~StartupTest() override
    {
        Desktop::replace(std::move(previousDesktop_));
        Clock::replace(std::move(previousClock_));
    }

    std::unique_ptr<Form1> start() { return std::make_unique<Form1>(); }

    static bool login(Form1& w, const QString& name, const QString& password)
    {
        w.Text25->setText(name);
        w.Text26->setText(password);
        w.Command51->click();
        return w.menusShown();
    }

    ProgramFolder home_;
    ScopedRecordingDialogs dialogs_;
    ScopedRecordingProgramEnd end_;
    RecordingDesktop* desktop_ = nullptr;
    std::unique_ptr<Desktop> previousDesktop_;
    std::unique_ptr<Clock> previousClock_;
};

TEST_F(StartupTest, WalksEveryStepInOrderWhenAllIsWell)
{
    home_.writeData(standardData());
    auto w = start();
    EXPECT_EQ(w->startupRun().ran,
              (QStringList{"TerminateProcess", "menus", "Frame24", "logo", "version", "checkChromeVersiyon", "oldProgram",
                           "Dir1", "DATA.xlsx", "prgDATA", "Text26", "companyMode", "kodDATA", "closeWorkbook",
                           "checkNewUser", "temelfatura", "Combo5", "checkConnection", "indirOku"}));
    EXPECT_TRUE(w->startupRun().failed.isEmpty());
    EXPECT_EQ(w->startupTrace(), (QStringList{"TerminateProcess", "checkChromeVersiyon", "dirgetir", "checkNewUser",
                                              "temelfatura", "checkConnection", "indirOku"}));
    EXPECT_TRUE(dialogs_->shown().empty()) << dialogs_->texts().join('\n').toStdString();
    EXPECT_FALSE(end_->requested());
    EXPECT_TRUE(w->Frame1->isVisibleTo(w.get()));
    EXPECT_TRUE(test::disabledItself(w->Command3));
    EXPECT_EQ(w->Dir1Path(), fromPath(home_ / QStringLiteral("Firmalarım")));
}

TEST_F(StartupTest, MissingWorkbookStopsButTheProgramKeepsRunning)
{
    auto w = start();
    EXPECT_EQ(dialogs_->texts(), QStringList{kMissingWorkbook});
    EXPECT_EQ(dialogs_->shown().front().icon, MsgIcon::Information);
    EXPECT_EQ(w->startupRun().ran.last(), QStringLiteral("DATA.xlsx"));
    EXPECT_FALSE(w->startupTrace().contains(QStringLiteral("checkConnection")));
    EXPECT_FALSE(w->startupTrace().contains(QStringLiteral("indirOku")));
    EXPECT_FALSE(end_->requested());
    EXPECT_FALSE(w->menusShown());
    EXPECT_TRUE(w->Frame24->isVisibleTo(w.get()));

    // No stored login was read, so nothing opens the menus, not even empty boxes.
    EXPECT_FALSE(login(*w, QString(), QString()));
    EXPECT_EQ(w->Label46->text(), kWrongLogin);
    EXPECT_FALSE(login(*w, QStringLiteral("demo"), QStringLiteral("1234")));
}

TEST_F(StartupTest, UnreadableWorkbookIsReportedAndNeverWritten)
{
    const fs::path data = home_ / QStringLiteral("Data/DATA.xlsx");
    fs::create_directories(data.parent_path());
    std::ofstream(data, std::ios::binary) << "PK\x03\x04 bu bir çalışma kitabı değil";
    const auto before = fs::file_size(data);

    auto w = start();
    ASSERT_EQ(dialogs_->shown().size(), 1u);
    EXPECT_TRUE(dialogs_->texts().first().contains(fromPath(data))) << dialogs_->texts().first().toStdString();
    EXPECT_TRUE(dialogs_->texts().first().startsWith(QStringLiteral("Veritabanı açılamadı")));
    EXPECT_EQ(w->startupRun().ran.last(), QStringLiteral("prgDATA"));
    EXPECT_FALSE(end_->requested());
    EXPECT_FALSE(w->menusShown());
    EXPECT_FALSE(login(*w, QString(), QString()));
    EXPECT_EQ(fs::file_size(data), before);
    EXPECT_EQ(w->dc, 2);
}

TEST_F(StartupTest, WorkbookWithoutASheetStartUpReadsIsReportedByName)
{
    for (const QString& missing : {QStringLiteral("kodDATA"), QStringLiteral("prgDATA")}) {
        std::vector<test::SheetSpec> sheets = standardData();
        std::erase_if(sheets, [&](const test::SheetSpec& s) { return s.name == missing; });
        ASSERT_EQ(sheets.size(), standardData().size() - 1);
        home_.writeData(sheets);
        dialogs_->clear();

        auto w = start();
        ASSERT_EQ(dialogs_->shown().size(), 1u) << dialogs_->texts().join('\n').toStdString();
        const QString text = dialogs_->texts().first();
        EXPECT_EQ(dialogs_->shown().front().icon, MsgIcon::Critical);
        EXPECT_TRUE(text.startsWith(QStringLiteral("Veritabanı açılamadı")));
        EXPECT_TRUE(text.contains(fromPath(home_ / QStringLiteral("Data/DATA.xlsx")))) << text.toStdString();
        EXPECT_TRUE(text.contains(missing)) << text.toStdString();
        EXPECT_EQ(w->startupRun().ran.last(), QStringLiteral("prgDATA"));
        EXPECT_TRUE(w->startupRun().failed.isEmpty());
        EXPECT_FALSE(w->menusShown());
    }
}

TEST_F(StartupTest, WorkbookIsReadButNotWritten)
{
    home_.writeData(standardData());
    const fs::path data = home_ / QStringLiteral("Data/DATA.xlsx");
    QFile f(fromPath(data));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    f.close();
    const auto stamp = fs::last_write_time(data);

    auto w = start();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256), before);
    EXPECT_EQ(fs::last_write_time(data), stamp);
}

TEST_F(StartupTest, OfflineEndsTheProgramAfterItsMessage)
{
    desktop_->online = false;
    home_.writeData(standardData());
    auto w = start();
    EXPECT_EQ(w->Ret, 0);
    EXPECT_EQ(w->panelText(8), QStringLiteral("OFF"));
    EXPECT_EQ(w->panelText(7), QStringLiteral("İnternete bağlı değilsiniz...!"));
    EXPECT_EQ(dialogs_->texts(), QStringList{QStringLiteral("İnternet bağlantınız yok. Kuvela başlatılamaz !")});
    ASSERT_EQ(end_->codes.size(), 1u);
    EXPECT_NE(end_->codes.front(), 0);
    EXPECT_FALSE(w->startupTrace().contains(QStringLiteral("indirOku")));
}

TEST_F(StartupTest, LoginTakesOnlyTheStoredNameAndPasswordAsText)
{
    home_.writeData(standardData());
    auto w = start();
    EXPECT_FALSE(w->menusShown());

    struct Case { const char* name; const char* password; };
    const Case refused[] = {{"demo", "1235"}, {"Demo", "1234"}, {"demo", "1234,0"}, {"", ""}, {"demo", ""}};
    for (const Case& c : refused) {
        EXPECT_FALSE(login(*w, QString::fromUtf8(c.name), QString::fromUtf8(c.password))) << c.name << "/" << c.password;
        EXPECT_EQ(w->Label46->text(), kWrongLogin);
        EXPECT_EQ(w->Text25->text(), QString::fromUtf8(c.name));  // the boxes keep what was typed
        EXPECT_TRUE(w->Frame24->isVisibleTo(w.get()));
    }
    w->Text25->setText(QStringLiteral("demo2"));
    EXPECT_TRUE(w->Label46->text().isEmpty());
    w->Command51->click();
    w->Text26->setText(QStringLiteral("x"));
    EXPECT_TRUE(w->Label46->text().isEmpty());

    EXPECT_EQ(w->Text26->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(login(*w, QStringLiteral("demo"), QStringLiteral("1234")));
    EXPECT_FALSE(w->Frame24->isVisibleTo(w.get()));
    QStringList captions;
    for (QAction* a : w->menuBarEntries())
        captions << a->text();
    EXPECT_EQ(captions, (QStringList{"İşlemler", "Alıcılar", "Tanımlar", "Raporlar", "Hakkında", "Yardım", "Duyurular",
                                     "Çıkış"}));
}

TEST_F(StartupTest, DecimalsComeFromTheSettingsSheet)
{
    struct Case { QJsonValue b25; int dc; };
    const Case cases[] = {{3, 3}, {5, 5}, {4.5, 4}, {4.6, 5}, {QStringLiteral("4,5"), 4}, {7, 2}, {0, 2},
                          {QStringLiteral("abc"), 2}};
    for (const Case& c : cases) {
        ProgramFolder home;
        home.writeData(standardData({{QStringLiteral("B25"), c.b25}}));
        auto w = start();
        EXPECT_EQ(w->dc, c.dc) << c.b25.toVariant().toString().toStdString();
    }
    ProgramFolder empty;
    CellList noDecimals = standardData().front().cells;
    std::erase_if(noDecimals, [](const auto& cell) { return cell.first == QStringLiteral("B25"); });
    test::writeWorkbook(empty / QStringLiteral("Data/DATA.xlsx"),
                        {{QStringLiteral("prgDATA"), noDecimals}, {QStringLiteral("kodDATA"), {}}});
    EXPECT_EQ(start()->dc, 2);
}

TEST_F(StartupTest, StatusPanelsAndVersionTexts)
{
    home_.writeData(standardData());
    auto w = start();
    EXPECT_EQ(w->prgVersiyon, 146);
    const QStringList expected = {"Kuvela", "v1.4.6", "Chrome Versiyon", w->tamChVer, "Driver", w->driVers, "", "ON",
                                  "CAPS", "NUM", "03.03.2024", "09:05"};
    for (int n = 1; n <= 12; ++n)
        EXPECT_EQ(w->panelText(n), expected.at(n - 1)) << "panel " << n;
    EXPECT_EQ(w->Ret, 1);
    EXPECT_EQ(w->Label21->text(), QStringLiteral("Versiyon 1.4.6"));
    EXPECT_EQ(w->Label43->text(), QStringLiteral("v 1.4.6"));

    w->setPanel(7, QStringLiteral("eski mesaj"));
    w->ProgressBar1->setValue(40);
    w->Label25->setText(QStringLiteral("aşama"));
    w->beginRoad();
    EXPECT_TRUE(w->panelText(7).isEmpty());
    EXPECT_TRUE(w->Label25->text().isEmpty());
    EXPECT_EQ(w->ProgressBar1->value(), 0);

    // A message longer than the bar is cut in its panel, whole in the tip; the window keeps its width.
    w->show();
    QCoreApplication::processEvents();
    const int width = w->width();
    const QString longText = QStringLiteral("Şablon kaydedilemedi: ").repeated(40);
    w->setPanel(7, longText);
    QCoreApplication::processEvents();
    EXPECT_EQ(w->width(), width);
    EXPECT_EQ(w->panelText(7), longText);
    EXPECT_EQ(w->panel(7)->toolTip(), longText);
    const QString shown = static_cast<const StatusPanel*>(w->panel(7))->shownText();
    EXPECT_TRUE(shown.endsWith(QChar(0x2026)) && shown.size() < longText.size()) << shown.toStdString();
    w->setPanel(7, QStringLiteral("kısa"));
    EXPECT_EQ(static_cast<const StatusPanel*>(w->panel(7))->shownText(), QStringLiteral("kısa"));
}

TEST_F(StartupTest, CompaniesAndCodeListsAreReadAndEveryTreeMade)
{
    home_.writeData(standardData({{QStringLiteral("D2"), QString()}, {QStringLiteral("E2"), QStringLiteral("Hayalet")}}));
    // A half-made tree of the first company, with a saved workbook in it.
    const fs::path satis = home_ / QStringLiteral("Firmalarım/Çağdaş Gıda/Proforma/SATIŞ");
    fs::create_directories(satis);
    std::ofstream(satis / "a.xlsx") << "x";
    fs::create_directories(home_ / QStringLiteral("prgDosyaları"));
    std::ofstream(home_ / QStringLiteral("prgDosyaları/Kuvela.exe")) << "eski";

    auto w = start();
    EXPECT_EQ(w->Combo4->currentText(), QStringLiteral("Firmalarım"));
    QStringList companies;
    for (int i = 0; i < w->Combo4->count(); ++i)
        companies << w->Combo4->itemText(i);
    EXPECT_EQ(companies, (QStringList{"Çağdaş Gıda", "Işık Yazılım"}));
    for (const QString& company : companies)
        for (const QString& rel : companyTreeFolders(company))
            EXPECT_TRUE(fs::is_directory(home_ / (QStringLiteral("Firmalarım/") + rel))) << rel.toStdString();
    EXPECT_TRUE(fs::exists(satis / "a.xlsx"));
    EXPECT_FALSE(fs::exists(home_ / QStringLiteral("Firmalarım/Hayalet")));
    EXPECT_FALSE(fs::exists(home_ / QStringLiteral("prgDosyaları/Kuvela.exe")));
    EXPECT_TRUE(w->prgMOD->text().isEmpty());
    EXPECT_FALSE(test::disabledItself(w->Combo4));

    QStringList types, currencies;
    for (int i = 0; i < w->Combo1->count(); ++i)
        types << w->Combo1->itemText(i);
    for (int i = 0; i < w->Combo2->count(); ++i)
        currencies << w->Combo2->itemText(i);
    EXPECT_EQ(types, (QStringList{"SATIŞ", "İADE", "TEVKİFAT"}));
    EXPECT_EQ(w->Combo1->currentText(), QStringLiteral("Fatura Türü Seçin"));
    EXPECT_EQ(currencies, (QStringList{"Türk Lirası", "Euro"}));
    EXPECT_EQ(w->ulkeListesi, (QStringList{"Türkiye", "Almanya"}));
    ASSERT_EQ(w->Combo5->count(), 8);
    EXPECT_EQ(w->Combo5->itemText(0), QStringLiteral("03.03.2024"));
    EXPECT_EQ(w->Combo5->itemText(7), QStringLiteral("25.02.2024"));
    EXPECT_EQ(w->prgUserName, QStringLiteral("demo"));
    EXPECT_EQ(w->prgUserPass, QStringLiteral("1234"));
}

TEST_F(StartupTest, SingleCompanyTreeIsMadeBeforeTheCompanyLoads)
{
    home_.writeData(standardData({{QStringLiteral("B15"), QStringLiteral("s")}, {QStringLiteral("B2"), QStringLiteral("Tek Şirket")}}));
    auto w = start();
    EXPECT_EQ(w->prgMOD->text(), QStringLiteral("S"));
    EXPECT_EQ(w->Text1->text(), QStringLiteral("2"));
    EXPECT_EQ(w->Combo4->currentText(), QStringLiteral("Tek Şirket"));
    EXPECT_EQ(w->Combo4->count(), 0);
    EXPECT_TRUE(test::disabledItself(w->Combo4));
    EXPECT_TRUE(test::disabledItself(w->Label19));
    const QStringList& trace = w->startupTrace();
    ASSERT_TRUE(trace.contains(QStringLiteral("Combo4_LostFocus")));
    EXPECT_LT(trace.indexOf(QStringLiteral("companyTree")), trace.indexOf(QStringLiteral("Combo4_LostFocus")));
    EXPECT_LT(trace.indexOf(QStringLiteral("Combo4_LostFocus")), trace.indexOf(QStringLiteral("checkNewUser")));
    for (const QString& rel : companyTreeFolders(QStringLiteral("Tek Şirket")))
        EXPECT_TRUE(fs::is_directory(home_ / (QStringLiteral("Firmalarım/") + rel))) << rel.toStdString();
    EXPECT_FALSE(fs::exists(home_ / QStringLiteral("Firmalarım/Işık Yazılım")));
}

TEST_F(StartupTest, SecondWindowOnTheSameFolderEndsItself)
{
    home_.writeData(standardData());
    auto first = start();
    ASSERT_FALSE(end_->requested());
    dialogs_->clear();
    auto second = start();
    EXPECT_EQ(dialogs_->texts(), QStringList{QStringLiteral("Kuvela.exe zaten çalışıyor. İkinci defa başlatılamaz.. !")});
    ASSERT_EQ(end_->codes.size(), 1u);
    EXPECT_NE(end_->codes.front(), 0);
    EXPECT_EQ(second->startupRun().ran, QStringList{QStringLiteral("TerminateProcess")});

    // Once the first copy is gone, the folder is free again.
    first.reset();
    second.reset();
    end_->codes.clear();
    auto third = start();
    EXPECT_TRUE(end_->codes.empty());
}

TEST_F(StartupTest, ExitButtonsEndTheProgramAndLaterFunctionsSaySoPlainly)
{
    home_.writeData(standardData());
    auto w = start();
    ASSERT_TRUE(login(*w, QStringLiteral("demo"), QStringLiteral("1234")));

    EXPECT_TRUE(end_->codes.empty());
    w->Command2->click();
    EXPECT_EQ(end_->codes, std::vector<int>{0});

    w.reset();
    end_->codes.clear();
    auto v = start();
    v->quit->trigger();
    EXPECT_EQ(end_->codes, std::vector<int>{0});
}

} // namespace
} // namespace kuvela
