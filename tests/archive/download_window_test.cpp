// The download window: months, periods, the firm list and its filter, the order in
// which firm, mode and month unlock one another, and the opening of filed files.
#include "archive/download_period.h"
#include "archive/form3.h"
#include "shell/dialog_window.h"
#include "masterdata/form1_window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <fstream>

namespace kuvela {
namespace {

TEST(DownloadPeriod, MonthListsAndPeriodDates)
{
    const QStringList months = monthListEntries(QDate(2024, 1, 15));
    ASSERT_EQ(months.size(), 12);
    EXPECT_EQ(months.front(), QStringLiteral("2023 Aralık "));
    EXPECT_EQ(months.back(), QStringLiteral("2023 Ocak "));
    EXPECT_EQ(months.at(10), QStringLiteral("2023 Şubat "));

    struct Case {
        QString entry, ayveyil, yilveay, sonTarih;
    };
    for (const Case& c : {Case{"2024 Şubat ", "02-2024", "2024-02", "29-02-2024"},
                          Case{"2023 Şubat ", "02-2023", "2023-02", "28-02-2023"},
                          Case{"2023 Eylül ", "09-2023", "2023-09", "30-09-2023"},
                          Case{"2023 Aralık ", "12-2023", "2023-12", "31-12-2023"}}) {
        const auto p = periodOf(c.entry);
        ASSERT_TRUE(p.has_value()) << c.entry.toStdString();
        EXPECT_EQ(p->ayveyil, c.ayveyil);
        EXPECT_EQ(p->yilveay, c.yilveay);
        EXPECT_EQ(p->sonTarih, c.sonTarih);
    }
    // A month name of another language is refused, not guessed.
    EXPECT_FALSE(periodOf(QStringLiteral("2023 December ")).has_value());
    EXPECT_FALSE(periodOf(QStringLiteral("")).has_value());
    EXPECT_EQ(monthAbbreviation(2), QStringLiteral("Şub"));
    EXPECT_EQ(monthAbbreviation(8), QStringLiteral("Ağu"));
}

class DownloadWindowTest : public test::WindowTest {
protected:
    Form3& open(const test::CellList& extra = {})
    {
        test::CellList cells = {{"B8", "kullanici1"}, {"B9", "sifre1"}, {"B10", "Z"}, {"C10", "B"},
                                {"E2", "Boşluktan Sonra"}, {"E10", "Z"}};
        cells.insert(cells.end(), extra.begin(), extra.end());
        home_.writeData(test::standardData(cells));
        clock_->set(QDateTime(QDate(2024, 1, 15), QTime(10, 0)));
        Form1& main = start();
        return form3Of(main);
    }
};

TEST_F(DownloadWindowTest, LoadsMonthsFirmsAndFiltersAndShowsAlsoOffline)
{
    Form3& f = open();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Kuvela-eArşiv Fatura İndir"));
    EXPECT_EQ(items(f.eList1), monthListEntries(QDate(2024, 1, 15)));
    EXPECT_EQ(items(f.cList1), items(f.eList1));
    EXPECT_EQ(f.Label4->text(), QStringLiteral("01-15.01.2024 arası"));
    EXPECT_EQ(items(f.bList1), (QStringList{"Çağdaş Gıda", "Işık Yazılım"}));
    EXPECT_EQ(f.Label3->text(), QStringLiteral("Listelenen 2"));
    EXPECT_EQ(f.Combo1->currentText(), QStringLiteral("Defter Türü - Hepsi"));
    EXPECT_EQ(items(f.Combo1), (QStringList{"Bilanço", "İşletme", "S.Meslek", "Zirai K.", "Diğer"}));
    EXPECT_TRUE(f.Image1->isHidden());
    EXPECT_TRUE(f.Text3->isHidden());
    EXPECT_TRUE(f.Check2->isHidden());

    // The book-type filter; a type no company has leaves only companies without a letter.
    for (auto [type, firms] : {std::pair{"Zirai K.", QStringList{"Çağdaş Gıda"}}, std::pair{"Bilinmeyen", QStringList{}},
                               std::pair{"Defter Türü - Hepsi", QStringList{"Çağdaş Gıda", "Işık Yazılım"}}}) {
        f.Combo1->setEditText(QString::fromUtf8(type));
        f.Combo1_LostFocus();
        EXPECT_EQ(items(f.bList1), firms) << type;
        EXPECT_EQ(f.Label3->text(), QStringLiteral("Listelenen 2")) << type;
    }

    // The menu entry shows the window also offline.
    desktop_->online = false;
    window_->faturaindir_Click();
    Form3& shown = form3Of(*window_);
    EXPECT_TRUE(shown.isVisible());
    EXPECT_EQ(shown.statusText(), QStringLiteral("İnternete bağlı değilsiniz...!"));
    EXPECT_EQ(window_->panelText(8), QStringLiteral("OFF"));
}

TEST_F(DownloadWindowTest, SingleCompanyModeUsesTheMainWindow)
{
    Form3* f = nullptr;
    {
        home_.writeData(test::standardData({{"B8", "kullanici1"}, {"B9", "sifre1"}}));
        Form1& main = start();
        chooseCompany(QStringLiteral("Çağdaş Gıda"));
        main.prgMOD->setText(QStringLiteral("s"));
        std::filesystem::remove(home_ / QStringLiteral("Data/DATA.xlsx"));  // must not be needed
        f = &form3Of(main);
    }
    EXPECT_EQ(items(f->bList1), QStringList{"Çağdaş Gıda"});
    EXPECT_EQ(f->msg, QStringLiteral("Çağdaş Gıda"));
    EXPECT_EQ(f->user, QStringLiteral("kullanici1"));
    EXPECT_EQ(f->pass, QStringLiteral("sifre1"));
    EXPECT_FALSE(f->Combo1->isEnabled());
    EXPECT_FALSE(f->Check1->isEnabled());
}

TEST_F(DownloadWindowTest, FirmModeAndMonthUnlockInOrderThenFiledFilesOpen)
{
    Form3& f = open();
    EXPECT_FALSE(f.Frame7->isEnabled());
    f.bList1->setCurrentRow(0);
    f.bList1_Click();
    EXPECT_TRUE(f.Frame7->isEnabled());
    EXPECT_EQ(f.statusText(), QStringLiteral("İşlem yapılacak firma/Dönem: Çağdaş Gıda / "));

    f.Option2_Click();
    EXPECT_TRUE(f.eList1->isEnabled());
    EXPECT_FALSE(f.cList1->isEnabled());
    EXPECT_FALSE(f.Command2->isEnabled());
    EXPECT_EQ(f.Frame6->title(), QStringLiteral("Çağdaş Gıda - Kesilen Faturalar Klasörü"));
    f.eList1->setCurrentRow(1);
    f.eList1_Click();
    EXPECT_EQ(f.msg2, QStringLiteral("2023 Kasım "));
    EXPECT_TRUE(f.Command2->isEnabled());
    EXPECT_FALSE(f.Command1->isEnabled());

    // Received mode: its own list and button; the issued button goes.
    f.Option1_Click();
    EXPECT_TRUE(f.msg2.isEmpty());
    EXPECT_FALSE(f.Command2->isEnabled());
    EXPECT_TRUE(f.cList1->isEnabled());
    EXPECT_FALSE(f.eList1->isEnabled());
    f.cList1->setCurrentRow(0);
    f.cList1_Click();
    EXPECT_TRUE(f.Command1->isEnabled());
    EXPECT_FALSE(f.Check2->isHidden());
    EXPECT_TRUE(f.Command4->isHidden());
    EXPECT_TRUE(f.Image1->isHidden());  // only a login shows the captcha
    EXPECT_TRUE(f.Text3->isHidden());

    // A firm picked again clears mode and month.
    f.bList1->setCurrentRow(1);
    f.bList1_Click();
    EXPECT_TRUE(f.msg2.isEmpty());
    EXPECT_FALSE(f.Option1->isChecked());
    EXPECT_FALSE(f.Option2->isChecked());
    EXPECT_FALSE(f.Command1->isEnabled());
    EXPECT_FALSE(f.Command2->isEnabled());
    EXPECT_FALSE(f.cList1->isEnabled());
    EXPECT_FALSE(f.eList1->isEnabled());
    EXPECT_EQ(f.dList1->count(), 0);

    // An unreadable period is said and keeps nothing of another month.
    f.msg2 = QStringLiteral("2023 Movember ");
    f.ayveyil = QStringLiteral("01-2020");
    EXPECT_FALSE(f.tarihAyarla());
    EXPECT_EQ(f.statusText(), QStringLiteral("Dönem okunamadı: 2023 Movember "));

    // The filed files of both modes, and a double click opening them by their ending.
    const auto company = home_ / QStringLiteral("Firmalarım/Çağdaş Gıda");
    for (const char* name : {"Alış Faturaları/A.XLSX", "Alış Faturaları/b.xls", "Alış Faturaları/c.xlsx",
                             "Satış Faturaları/Html/GIB2024000000001 x.html",
                             "Satış Faturaları/Html/GIB2024000000003-İPTAL.txt"}) {
        const auto p = company / toPath(QString::fromUtf8(name));
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p) << "x";
    }
    f.bList1->setCurrentRow(0);
    f.bList1_Click();
    f.Option1_Click();
    EXPECT_EQ(items(f.dList1), (QStringList{"A.XLSX", "c.xlsx"}));
    f.Option2_Click();
    EXPECT_EQ(items(f.dList1), (QStringList{"GIB2024000000001 x.html", "GIB2024000000003-İPTAL.txt"}));

    auto doubleClick = [&](const QString& name) {
        f.dList1->clear();
        f.dList1->addItem(name);
        f.dList1->setCurrentRow(0);
        f.dList1_DblClick();
    };
    doubleClick(QStringLiteral("x.xls"));
    EXPECT_TRUE(desktop_->opened.empty());
    doubleClick(QStringLiteral("c.xlsx"));
    doubleClick(QStringLiteral("GIB2024000000001 x.html"));
    doubleClick(QStringLiteral("GIB2024000000003-İPTAL.txt"));
    ASSERT_EQ(desktop_->opened.size(), 3u);
    EXPECT_EQ(desktop_->opened[0], company / toPath(QStringLiteral("Alış Faturaları/c.xlsx")));
    EXPECT_EQ(desktop_->opened[1], company / toPath(QStringLiteral("Satış Faturaları/Html/GIB2024000000001 x.html")));
    EXPECT_EQ(desktop_->opened[2], company / toPath(QStringLiteral("Satış Faturaları/Html/GIB2024000000003-İPTAL.txt")));
}

} // namespace
} // namespace kuvela
