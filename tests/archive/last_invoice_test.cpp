// "Son Faturayı İndir" and the two portal-page buttons of the main window, in real
// headless chromium against the fake portal.
#include "archive_browser_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

namespace kuvela {
namespace {

using nlohmann::json;
using test::invoice;

class MainWindowPortalTest : public test::ArchiveBrowserTest {
protected:
    void run(const json& scenario)
    {
        portal_->setScenario(scenario);
        portal_->resetEvents();
        dialogs_->clear();
        window_->Command27_Click();
    }
    QStringList html() const { return filed("Html"); }
};

const json kMarch = {{"today", "15/03/2024"}};

json march(json extra)
{
    json s = kMarch;
    s.update(extra);
    return s;
}

TEST_F(MainWindowPortalTest, LastInvoiceOfOneOrThreePagesAndAnEmptyBody)
{
    startWith(kMarch);
    run(march({{"invoices", {invoice("GIB2024000000020", "02-03-2024"), invoice("GIB2024000000021", "05-03-2024"),
                             invoice("GIB2024000000022", "07-03-2024", {{"objection", "İTİRAZ"}, {"package", "ABC.zip"}}),
                             invoice("GIB2024000000023", "20-03-2024")}}}));
    const auto q = portal_->events("query");
    ASSERT_EQ(q.size(), 1u);
    EXPECT_EQ(q[0]["start"], "01/03/2024");
    EXPECT_EQ(q[0]["end"], "15/03/2024");
    EXPECT_EQ(portal_->events("nextPage").size(), 1u);
    ASSERT_EQ(dialogs_->shown().size(), 1u);
    EXPECT_EQ(dialogs_->shown()[0].title, QStringLiteral("Kuvela  -Son Kesilen eArşiv Faturasını İndir"));
    EXPECT_EQ(dialogs_->shown()[0].text, QStringLiteral("Sistemde görünen son Faturanın :\r\nTarihi         : 07-03-2024\r\n"
                                                        "Numarası  : GIB2024000000022\r\nAlıcı Vkn   : 1234567890"));
    EXPECT_EQ(window_->panelText(7), QStringLiteral("GIB2024000000022 nolu Fatura indirildi ..."));
    EXPECT_EQ(html(), QStringList{"GIB2024000000022 07-03-2024  1234567890 ABC LTD             -İTİRAZSATIŞ-İTİRAZ-ABC.html"});
    EXPECT_EQ(filed("Zip"), QStringList{"GIB2024000000022 07-03-2024  1234567890 ABC LTD             -SATIŞ-İTİRAZ-ABC.zip"});
    EXPECT_TRUE(filed("Temp").isEmpty());
    EXPECT_EQ(portal_->events("logout").size(), 1u);

    run(march({{"pageSize", 2},
               {"invoices", {invoice("GIB2024000000030", "01-03-2024"), invoice("GIB2024000000031", "02-03-2024"),
                             invoice("GIB2024000000032", "03-03-2024"), invoice("GIB2024000000033", "04-03-2024"),
                             invoice("GIB2024000000034", "05-03-2024")}}}));
    EXPECT_EQ(portal_->events("nextPage").size(), 3u);
    EXPECT_EQ(portal_->events("nextPage").back()["to"], 3);
    EXPECT_EQ(window_->panelText(7), QStringLiteral("GIB2024000000034 nolu Fatura indirildi ..."));
    EXPECT_EQ(selectionsAtDownload(), std::vector<size_t>{1});
    EXPECT_EQ(html().filter("-----------SATIŞ-").size(), 1);

    run(march({{"omitClosingRow", true}, {"invoices", {invoice("GIB2024000000040", "01-03-2024")}}}));
    EXPECT_EQ(dialogs_->texts(), QStringList{"Sistemde bu aya ait fatura bulunamadı !"});
    EXPECT_EQ(window_->panelText(7), QStringLiteral("Sistemde bu aya ait fatura bulunamadı !"));
    EXPECT_TRUE(portal_->events("download").empty());
    EXPECT_EQ(portal_->events("logout").size(), 1u);
    EXPECT_TRUE(test::browserProcessesGone());
}

TEST_F(MainWindowPortalTest, LastInvoiceCancelledFiledBeforeOrNeverComing)
{
    startWith(kMarch);
    run(march({{"invoices", {invoice("GIB2024000000050", "01-03-2024"), invoice("GIB2024000000051", "02-03-2024", {{"cancelled", true}})}}}));
    EXPECT_EQ(window_->panelText(7), QStringLiteral("Sistemdeki son fatura İPTAL olarak görünmektedir. Bu nedenle indirilemez."));
    EXPECT_EQ(dialogs_->texts(), QStringList{window_->panelText(7)});
    EXPECT_TRUE(portal_->events("download").empty());

    std::ofstream(folders().html() / "gib2024000000052 eski.html") << "x";
    run(march({{"invoices", {invoice("GIB2024000000052", "03-03-2024")}}}));
    EXPECT_EQ(window_->panelText(7), QStringLiteral("GIB2024000000052 nolu Fatura daha önce indirilmiş ...!"));
    EXPECT_EQ(dialogs_->texts().back(), QStringLiteral("GIB2024000000052 nolu Fatura daha önce indirilmiş !"));
    EXPECT_TRUE(portal_->events("download").empty());
    EXPECT_EQ(portal_->events("logout").size(), 1u);

    run(march({{"invoices", {invoice("GIB2024000000053", "04-03-2024", {{"packageNever", true}})}}}));
    EXPECT_EQ(window_->panelText(7), QStringLiteral("GIB2024000000053 nolu fatura indirilemedi: paket gelmedi."));
    EXPECT_EQ(selectionsAtDownload(), std::vector<size_t>{1});
    EXPECT_EQ(html(), QStringList{"gib2024000000052 eski.html"});
    EXPECT_TRUE(test::browserProcessesGone());
}

TEST_F(MainWindowPortalTest, LastInvoiceRestartsThePagingPassOnce)
{
    startWith(kMarch);
    // The first pass finds no "İndir"; the restart pages again and files the invoice,
    // leaving the box the first pass ticked as it is.
    run(march({{"downloadButtonAfter", 2}, {"invoices", {invoice("GIB2024000000070", "04-03-2024")}}}));
    EXPECT_EQ(portal_->events("nextPage").size(), 2u);
    EXPECT_EQ(selectionsAtDownload(), std::vector<size_t>{1});
    EXPECT_EQ(window_->panelText(7), QStringLiteral("GIB2024000000070 nolu Fatura indirildi ..."));
    EXPECT_EQ(html().size(), 1);
    EXPECT_EQ(portal_->events("logout").size(), 1u);

    // A second failure ends the run: no third pass, the reason on the line, logged out.
    run(march({{"downloadButtonAfter", 99}, {"invoices", {invoice("GIB2024000000071", "05-03-2024")}}}));
    EXPECT_EQ(portal_->events("nextPage").size(), 2u);
    EXPECT_TRUE(portal_->events("download").empty());
    EXPECT_EQ(window_->panelText(7),
              QStringLiteral("Son fatura indirilemedi: \"İndir\" düğmesi bulunamadı. Hata No: 1111"));
    EXPECT_EQ(portal_->events("logout").size(), 1u);
    EXPECT_EQ(html().size(), 1);
    EXPECT_TRUE(test::browserProcessesGone());
}

TEST_F(MainWindowPortalTest, LoginThatDoesNotLandAndMissingCredentials)
{
    startWith(kMarch);
    window_->pass->setText(QStringLiteral("yanlis"));
    run(march({{"invoices", {invoice("GIB2024000000060", "01-03-2024")}}}));
    EXPECT_EQ(window_->panelText(7), QStringLiteral("Giriş yapılamıyor... Daha sonra tekrar deneyiniz..."));
    EXPECT_TRUE(dialogs_->shown().empty());
    EXPECT_TRUE(test::browserProcessesGone());

    window_->pass->clear();
    desktop_->online = false;  // the credentials are asked first
    run(kMarch);
    EXPECT_EQ(window_->panelText(7), QStringLiteral("Kullanıcı adı/şifre girilmemiş...!"));
}

TEST_F(MainWindowPortalTest, PortalPagesWithTheirLimitsAndTexts)
{
    startWith(kMarch);
    window_->Command20_Click();
    EXPECT_EQ(dialogs_->texts(), QStringList{"Düzenlenen Belgeler sayfasına giriş yapıldı.."});
    EXPECT_EQ(window_->ys, QStringLiteral("1"));
    EXPECT_EQ(window_->Label25->text(), QStringLiteral("Yükleme Süresi: 1 Saniye"));
    window_->Command22_Click();
    EXPECT_EQ(dialogs_->texts().back(), QStringLiteral("İptal/İtiraz Talepleri sayfasına giriş yapıldı.."));
    std::vector<std::string> pages;
    for (const auto& e : portal_->events("documentPage"))
        pages.push_back(e["page"]);
    EXPECT_EQ(pages, (std::vector<std::string>{"duzenlenen", "iptal"}));
    EXPECT_TRUE(test::browserProcessesGone());

    // A page link that is not there: the box still comes, the line says what was missing.
    portal_->setScenario(march({{"omitPageLinks", {"İptal/İtiraz Talepleri"}}}));
    window_->Command22_Click();
    EXPECT_EQ(window_->panelText(7), QStringLiteral("Sayfa bağlantısı bulunamadı: İptal/İtiraz Talepleri"));
    EXPECT_EQ(dialogs_->texts().back(), QStringLiteral("İptal/İtiraz Talepleri sayfasına giriş yapıldı.."));

    dialogs_->clear();
    window_->pass->setText(QStringLiteral("yanlis"));
    window_->Command20_Click();
    EXPECT_EQ(window_->panelText(7), QStringLiteral("Site çok yavaş, lütfen daha sonra tekrar deneyiniz..."));
    EXPECT_EQ(window_->ProgressBar1->value(), 40);
    window_->Command22_Click();
    EXPECT_EQ(window_->panelText(7), QStringLiteral("Site çok yavaş, giriş yapılamadı.. lütfen daha sonra tekrar deneyiniz..."));
    EXPECT_EQ(window_->ProgressBar1->value(), 20);
    EXPECT_TRUE(dialogs_->shown().empty());
    EXPECT_TRUE(test::browserProcessesGone());

    window_->pass->clear();
    window_->Command22_Click();
    EXPECT_EQ(window_->panelText(7), QStringLiteral("eArşiv Portalı kullanıcı adı/şifresi girilmemiş...!"));
    desktop_->online = false;
    window_->Command20_Click();
    EXPECT_EQ(window_->panelText(7), QStringLiteral("İnternete bağlı değilsiniz...!"));
    EXPECT_EQ(window_->panelText(8), QStringLiteral("OFF"));
}

} // namespace
} // namespace kuvela
