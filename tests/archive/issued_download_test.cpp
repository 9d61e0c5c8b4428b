// "Kesilenleri İndir" in real headless chromium against the fake portal.
#include "archive/download_report.h"
#include "archive_browser_fixture.h"
#include "platform/download_test_support.h"

#include <QCheckBox>
#include <QProgressBar>

namespace kuvela {
namespace {

using nlohmann::json;
using test::invoice;

class IssuedDownloadTest : public test::ArchiveBrowserTest {};

TEST_F(IssuedDownloadTest, LeapFebruaryOverThreePages)
{
    startWith({{"pageSize", 4},
               {"invoices",
                {invoice("GIB2024000000099", "31-01-2024"),
                 invoice("GIB2024000000001", "01-02-2024", {{"package", "ABCDEFGHIJKLMNOPQRST.zip"}}),
                 invoice("GIB2024000000002", "03-02-2024", {{"cancelled", true}}),
                 invoice("GIB2024000000003", "05-02-2024"),
                 invoice("GIB2024000000004", "06-02-2024", {{"objection", "İTİRAZ EDİLDİ"}}),
                 invoice("GIB2024000000005", "07-02-2024"),
                 invoice("GIB2024000000006", "08-02-2024"),
                 invoice("GIB2024000000007", "09-02-2024"),
                 invoice("GIB2024000000008", "10-02-2024", {{"noStatusIcon", true}}),
                 invoice("GIB2024000000009", "11-02-2024"),
                 invoice("GIB2024000000010", "12-02-2024", {{"packageNever", true}}),
                 invoice("GIB2024000000011", "13-02-2024", {{"packageDelayMs", 2000}, {"package", "GEC.zip"}}),
                 invoice("GIB2024000000012", "29-02-2024", {{"extra", {"0012"}}, {"buyer", "ARTIK GÜN A/Ş"}}),
                 invoice("GIB2024000000098", "01-03-2024")}}});
    std::ofstream(folders().html() / "GIB2024000000006 önceden.html") << "x";
    Form3& f = issuedMonth(QStringLiteral("2024 Şubat "));
    f.Check3->setChecked(true);
    f.Command2_Click();

    const auto queries = portal_->events("query");
    ASSERT_EQ(queries.size(), 1u) << portal_->events().dump(1);
    EXPECT_EQ(queries[0]["start"], "01/02/2024");
    EXPECT_EQ(queries[0]["end"], "29/02/2024");
    EXPECT_EQ(portal_->events("nextPage").size(), 2u);
    // One ticked row at every "İndir"; cancelled, already filed and unreadable rows never asked.
    EXPECT_EQ(selectionsAtDownload(), std::vector<size_t>(9, 1));
    EXPECT_EQ(f.statusText(),
              QStringLiteral(" Fatura indirme işlemi sona erdi ... İndirilen: 8, Önceden indirilmiş: 1, İptal: 1, Hatalı: 2"));

    const QStringList html = filed("Html");
    auto has = [&](const QString& part) {
        return std::any_of(html.begin(), html.end(), [&](const QString& n) { return n.contains(part); });
    };
    EXPECT_TRUE(has("GIB2024000000001 01-02-2024  1234567890 ABC LTD             -SATIŞ-GHIJKLMNOPQRST.html"));
    EXPECT_TRUE(html.contains("GIB2024000000002-İPTAL.txt"));
    EXPECT_TRUE(has("GIB2024000000004 06-02-2024  1234567890 ABC LTD             -SATIŞ-İTİRAZ EDİLDİ-"));
    EXPECT_TRUE(has("GIB2024000000011 13-02-2024  1234567890 ABC LTD             -SATIŞ-GEC.html"));
    EXPECT_TRUE(has("GIB2024000000012 29-02-2024  1234567890 ARTIK GÜN A_Ş"));
    EXPECT_FALSE(has("GIB2024000000008"));
    EXPECT_FALSE(has("GIB2024000000010"));
    EXPECT_FALSE(has("GIB2024000000098"));
    EXPECT_FALSE(has("GIB2024000000099"));
    EXPECT_EQ(html.size(), 10);  // 8 filed, the report, the one filed before
    EXPECT_EQ(filed("Xml").size(), 8);
    EXPECT_EQ(filed("Zip").size(), 8);
    EXPECT_TRUE(filed("Temp").isEmpty());
    EXPECT_TRUE(std::filesystem::is_directory(folders().root / "02-2024"));
    EXPECT_EQ(portal_->events("logout").size(), 1u);
    EXPECT_TRUE(f.ProgressBar1->isHidden());

    const json book = readWorkbook(home_ / QStringLiteral("Raporlar/Çağdaş Gıda-2024-02 Satış Faturaları İndirme Raporu.xlsx"));
    ASSERT_TRUE(book.is_object());
    EXPECT_EQ(book["order"], json({"Sayfa4", "Sayfa3", "Sayfa2", "Sayfa1"}));
    EXPECT_EQ(book["active"], "Sayfa4");
    const json& page3 = book["sheets"]["Sayfa4"];
    // Row 1 is the header (no values); the invoices start on row 2, every value text.
    ASSERT_GE(page3.size(), 5u);
    EXPECT_EQ(page3[1][1], json({"GIB2024000000009", "s"}));
    EXPECT_EQ(page3[4][1], json({"GIB2024000000012", "s"}));
    EXPECT_EQ(page3[4][8], json({"1.180,00", "s"}));
    EXPECT_EQ(page3[4][9], json({"0012", "s"}));
    EXPECT_EQ(book["sheets"]["Sayfa2"][2][7], json({"----------", "s"}));
    EXPECT_TRUE(test::browserProcessesGone());
}

TEST_F(IssuedDownloadTest, FiledAgainWithoutTheSkipThenMonthsThatEndEarly)
{
    json invoices = json::array();
    for (int i = 1; i <= 15; ++i)
        invoices.push_back(invoice(QStringLiteral("GIB2023%1").arg(i, 9, 10, QChar('0')).toUtf8().constData(),
                                   QStringLiteral("%1-09-2023").arg(i, 2, 10, QChar('0')).toUtf8().constData()));
    invoices[6]["zipSlip"] = true;
    invoices[6]["package"] = "KACAK.zip";
    startWith({{"pageSize", 20}, {"invoices", invoices}});
    std::ofstream(folders().html() / "GIB2023000000003 eski.html") << "x";
    Form3& f = issuedMonth(QStringLiteral("2023 Eylül "));
    f.Check4->setChecked(true);
    f.Command2_Click();

    EXPECT_EQ(portal_->events("query")[0]["end"], "30/09/2023");
    EXPECT_EQ(selectionsAtDownload(), std::vector<size_t>(15, 1));
    // The package reaching out of its folder is kept whole in Zip and nothing of it unpacked.
    EXPECT_EQ(filed("Xml").size(), 14);
    EXPECT_EQ(filed("Html").size(), 15);  // the one filed before was filed again under its new name
    EXPECT_TRUE(filed("Zip").contains("GIB2023000000007-KACAK.zip"));
    EXPECT_FALSE(std::filesystem::exists(folders().root / "evil.html"));
    EXPECT_TRUE(f.statusText().endsWith(" İndirilen: 14, Önceden indirilmiş: 0, İptal: 0, Hatalı: 1"));
    ASSERT_NE(f.reportPreview(), nullptr);
    EXPECT_TRUE(f.reportPreview()->isVisible());
    const json book = readWorkbook(home_ / QStringLiteral("Raporlar/Çağdaş Gıda-2023-09 Satış Faturaları İndirme Raporu.xlsx"));
    EXPECT_EQ(book["order"], json({"Sayfa2", "Sayfa1"}));
    EXPECT_EQ(book["sheets"]["Sayfa2"].size(), 16u);
    EXPECT_EQ(book["sheets"]["Sayfa2"][15][1], json({"GIB2023000000015", "s"}));
    EXPECT_TRUE(book["sheets"]["Sayfa1"].empty());
    f.Check4->setChecked(false);
    for (const char* sub : {"Html", "Xml", "Zip"})
        emptyFolder(folders().root / sub);

    // A month without invoices: nothing asked, a report all the same.
    portal_->setScenario({{"invoices", {invoice("GIB2023000000001", "02-11-2023")}}});
    portal_->resetEvents();
    issuedMonth(QStringLiteral("2023 Ekim "));
    f.Command2_Click();
    EXPECT_EQ(portal_->events("download").size(), 0u);
    EXPECT_TRUE(f.statusText().endsWith(" İndirilen: 0, Önceden indirilmiş: 0, İptal: 0, Hatalı: 0"));
    EXPECT_TRUE(std::filesystem::exists(home_ / QStringLiteral("Raporlar/Çağdaş Gıda-2023-10 Satış Faturaları İndirme Raporu.xlsx")));

    // Without a paging box only the first page is read.
    portal_->setScenario({{"omitPaging", true}, {"pageSize", 2},
                          {"invoices", {invoice("GIB2023000000001", "02-11-2023"), invoice("GIB2023000000002", "03-11-2023"),
                                        invoice("GIB2023000000003", "04-11-2023")}}});
    portal_->resetEvents();
    issuedMonth(QStringLiteral("2023 Kasım "));
    f.Command2_Click();
    EXPECT_EQ(portal_->events("nextPage").size(), 0u);
    EXPECT_EQ(filed("Xml").size(), 2);

    // A next page that does not come stops the run on the page it has, not reading it twice.
    portal_->setScenario({{"pageSize", 1}, {"pageDelayMs", 2500},
                          {"invoices", {invoice("GIB2023000000004", "05-11-2023"), invoice("GIB2023000000005", "06-11-2023")}}});
    portal_->resetEvents();
    qputenv("KUVELA_DOWNLOAD_TABLEWAITMS", "800");
    f.Command2_Click();
    qputenv("KUVELA_DOWNLOAD_TABLEWAITMS", "5000");
    EXPECT_EQ(selectionsAtDownload(), std::vector<size_t>(1, 1));
    EXPECT_TRUE(f.statusText().startsWith("Sonraki sayfa yüklenemedi; indirme bu sayfada durdu. Fatura indirme işlemi sona erdi ..."))
        << f.statusText().toStdString();

    // An empty number cell ends the run: later rows untouched, logout and report all the same.
    portal_->setScenario({{"invoices", {invoice("GIB2023000000010", "01-12-2023"), invoice("", "02-12-2023"),
                                        invoice("GIB2023000000011", "03-12-2023")}}});
    portal_->resetEvents();
    issuedMonth(QStringLiteral("2023 Aralık "));
    f.Command2_Click();
    EXPECT_EQ(selectionsAtDownload(), std::vector<size_t>(1, 1));
    EXPECT_EQ(portal_->events("logout").size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(home_ / QStringLiteral("Raporlar/Çağdaş Gıda-2023-12 Satış Faturaları İndirme Raporu.xlsx")));

    // A Temp that cannot be emptied: no "İndir" that could file another invoice's package.
    {
        test::UndeletableFile stuck(folders().temp() / "kilitli.zip");
        portal_->setScenario({{"invoices", {invoice("GIB2023000000012", "04-12-2023")}}});
        portal_->resetEvents();
        f.Command2_Click();
        EXPECT_TRUE(portal_->events("download").empty());
        EXPECT_TRUE(f.statusText().endsWith(" İndirilen: 0, Önceden indirilmiş: 0, İptal: 0, Hatalı: 1")) << f.statusText().toStdString();
    }

    // A package an earlier run could neither file nor keep: into Zip under its own number first.
    test::makeZip(folders().temp() / "ESKI.zip", {test::zipFile("ESKI.xml", "<Invoice><ID>GIB2023000000019</ID></Invoice>")});
    f.Command2_Click();
    EXPECT_TRUE(filed("Zip").contains("GIB2023000000019-ESKI.zip"));

    // A period the date picker does not offer: said, nothing queried or filed, logged out.
    portal_->setScenario({{"invoices", {invoice("GIB2014000000001", "02-01-2014")}}});
    portal_->resetEvents();
    issuedMonth(QStringLiteral("2014 Ocak "));
    f.Command2_Click();
    EXPECT_EQ(f.statusText(), QStringLiteral("Dönem tarihleri seçilemedi; indirme yapılmadı."));
    EXPECT_TRUE(portal_->events("query").empty());
    EXPECT_TRUE(portal_->events("download").empty());
    EXPECT_EQ(portal_->events("logout").size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(home_ / QStringLiteral("Raporlar/Çağdaş Gıda-2014-01 Satış Faturaları İndirme Raporu.xlsx")));
    EXPECT_TRUE(f.ProgressBar1->isHidden());
    EXPECT_TRUE(test::browserProcessesGone());
}

TEST_F(IssuedDownloadTest, RefusalsBeforeAndAtTheLogin)
{
    startWith(json::object(), {{"C8", "1111111"}, {"C9", "yanlis"}});
    Form3& f = form3Of(*window_);
    // A company no longer in the workbook: no stale credentials, no browser.
    f.msg = QStringLiteral("Silinmiş Firma");
    f.user = QStringLiteral("1111111");
    f.pass = QStringLiteral("abc123");
    f.msg2 = QStringLiteral("2023 Ekim ");
    f.Command2_Click();
    EXPECT_EQ(f.statusText(), QStringLiteral("Tanımlar bölümüne Portal kullanıcı adı/şifresi girilmelidir..!"));
    EXPECT_TRUE(portal_->events().empty());

    desktop_->online = false;
    f.Command2_Click();
    EXPECT_EQ(window_->panelText(8), QStringLiteral("OFF"));
    EXPECT_EQ(window_->panelText(7), QStringLiteral("İnternete bağlı değilsiniz...!"));
    desktop_->online = true;

    // Wrong password: the twenty polls run out, the browser goes.
    f.msg = QStringLiteral("Işık Yazılım");
    {
        const test::NothingComes noLanding;
        f.Command2_Click();
    }
    EXPECT_EQ(f.statusText(), QStringLiteral("Site çok yavaş, lütfen daha sonra tekrar deneyiniz..."));
    EXPECT_EQ(portal_->events("loginFailed").size(), 1u);
    EXPECT_EQ(f.ProgressBar1->value(), 5);
    EXPECT_TRUE(test::browserProcessesGone());
    EXPECT_FALSE(std::filesystem::exists(home_ / QStringLiteral("Raporlar/Işık Yazılım-2023-10 Satış Faturaları İndirme Raporu.xlsx")));

    // Single-company mode logs in with the main window's pair, not the workbook's wrong one.
    chooseCompany(QStringLiteral("Işık Yazılım"));
    window_->pass->setText(QStringLiteral("abc123"));
    window_->prgMOD->setText(QStringLiteral("S"));
    f.Form_Load();
    EXPECT_EQ(f.msg, QStringLiteral("Işık Yazılım"));
    f.msg2 = QStringLiteral("2023 Ekim ");
    portal_->resetEvents();
    f.Command2_Click();
    EXPECT_TRUE(portal_->events("loginFailed").empty());
    ASSERT_EQ(portal_->events("login").size(), 1u);
    EXPECT_EQ(portal_->events("login")[0]["user"], "1111111");
    EXPECT_EQ(portal_->events("logout").size(), 1u);
    EXPECT_TRUE(f.statusText().endsWith(" İndirilen: 0, Önceden indirilmiş: 0, İptal: 0, Hatalı: 0")) << f.statusText().toStdString();
    EXPECT_TRUE(std::filesystem::exists(home_ / QStringLiteral("Raporlar/Işık Yazılım-2023-10 Satış Faturaları İndirme Raporu.xlsx")));
    // Without a pair in the main window nothing starts, though the workbook has one.
    window_->pass->clear();
    portal_->resetEvents();
    f.Command2_Click();
    EXPECT_EQ(f.statusText(), QStringLiteral("Tanımlar bölümüne Portal kullanıcı adı/şifresi girilmelidir..!"));
    EXPECT_TRUE(portal_->events().empty());
    EXPECT_TRUE(test::browserProcessesGone());
}

} // namespace
} // namespace kuvela
