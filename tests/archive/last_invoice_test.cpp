// "Son Faturayı İndir" and the two portal-page buttons of the main window, in real
// headless chromium against the fake portal.
#include "archive_browser_fixture.h"
#include "platform/download_test_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

namespace kuvela {
namespace {

using nlohmann::json;
using test::invoice;

class MainWindowPortalTest : public test::ArchiveBrowserTest {};

json march(json extra = json::object())
{
    json s = {{"today", "15/03/2024"}};
    s.update(extra);
    return s;
}

// The box naming the last invoice found.
QString lastInvoiceBox(const char* date, const char* no)
{
    return QStringLiteral("Sistemde görünen son Faturanın :\r\nTarihi         : %1\r\nNumarası  : %2\r\nAlıcı Vkn   : 1234567890")
        .arg(date, no);
}

// The filed name up to the type; the package's tail after it is not looked at.
QString filedStem(const char* no, const char* date, const char* type)
{
    return QStringLiteral("%1 %2  1234567890 ABC LTD             -%3").arg(no, date, type);
}

// One run of "Son Faturayı İndir" per row, one after another on the same window; the
// filed folders are emptied before each row so that every row sees only its own files.
TEST_F(MainWindowPortalTest, LastInvoiceOutcomes)
{
    struct Row {
        const char* what;
        json scenario;
        QString panel;
        std::optional<QStringList> dialogs; // unset: not looked at
        bool loggedIn; // one query and one logout, or neither
        size_t nextPages;
        std::vector<size_t> selections;
        QString html, zip; // the beginning of the one filed name, or none filed
        const char* filedBefore = nullptr;
        const char* pass = "abc123";
        bool online = true;
        const char* tableWaitMs = "5000";
        bool stuckTemp = false; // a file in Temp that cannot be deleted
        bool leftPackage = false; // an unfiled package of GIB2024000000019 in Temp before the press
    };
    const QString cancelled = QStringLiteral("Sistemdeki son fatura İPTAL olarak görünmektedir. Bu nedenle indirilemez.");
    const QString none = QStringLiteral("Sistemde bu aya ait fatura bulunamadı !");
    const Row rows[] = {
        {"one page, the objection in front of the type",
         march({{"invoices", {invoice("GIB2024000000020", "02-03-2024"), invoice("GIB2024000000021", "05-03-2024"),
                              invoice("GIB2024000000022", "07-03-2024", {{"objection", "İTİRAZ"}, {"package", "ABC.zip"}}),
                              invoice("GIB2024000000023", "20-03-2024")}}}),
         "GIB2024000000022 nolu Fatura indirildi ...", QStringList{lastInvoiceBox("07-03-2024", "GIB2024000000022")}, true,
         1, {1}, filedStem("GIB2024000000022", "07-03-2024", "İTİRAZSATIŞ-İTİRAZ-ABC.html"),
         filedStem("GIB2024000000022", "07-03-2024", "SATIŞ-İTİRAZ-ABC.zip")},
        {"three pages, the last row of the last page",
         march({{"pageSize", 2},
                {"invoices", {invoice("GIB2024000000030", "01-03-2024"), invoice("GIB2024000000031", "02-03-2024"),
                              invoice("GIB2024000000032", "03-03-2024"), invoice("GIB2024000000033", "04-03-2024"),
                              invoice("GIB2024000000034", "05-03-2024")}}}),
         "GIB2024000000034 nolu Fatura indirildi ...", QStringList{lastInvoiceBox("05-03-2024", "GIB2024000000034")}, true,
         3, {1}, filedStem("GIB2024000000034", "05-03-2024", "----------SATIŞ-"),
         filedStem("GIB2024000000034", "05-03-2024", "SATIŞ-")},
        {"a body without its closing row",
         march({{"omitClosingRow", true}, {"invoices", {invoice("GIB2024000000040", "01-03-2024")}}}), none,
         QStringList{none}, true, 1, {}, {}, {}},
        {"the last one cancelled",
         march({{"invoices", {invoice("GIB2024000000050", "01-03-2024"),
                              invoice("GIB2024000000051", "02-03-2024", {{"cancelled", true}})}}}),
         cancelled, QStringList{cancelled}, true, 1, {}, {}, {}},
        {"filed before, under a lower-case name", march({{"invoices", {invoice("GIB2024000000052", "03-03-2024")}}}),
         "GIB2024000000052 nolu Fatura daha önce indirilmiş ...!",
         QStringList{lastInvoiceBox("03-03-2024", "GIB2024000000052"), "GIB2024000000052 nolu Fatura daha önce indirilmiş !"},
         true, 1, {}, "gib2024000000052 eski.html", {}, "gib2024000000052 eski.html"},
        {"a package that never comes: fetched once more, then said; one left in Temp before kept in Zip by its number",
         march({{"invoices", {invoice("GIB2024000000053", "04-03-2024", {{"packageNever", true}})}}}),
         "GIB2024000000053 nolu fatura indirilemedi: paket gelmedi.",
         QStringList{lastInvoiceBox("04-03-2024", "GIB2024000000053"), lastInvoiceBox("04-03-2024", "GIB2024000000053")},
         true, 2, {1, 1}, {}, "GIB2024000000019-ESKI.zip", nullptr, "abc123", true, "5000", false, true},
        {"a package reaching out of its folder: fetched once more, then kept",
         march({{"invoices", {invoice("GIB2024000000055", "04-03-2024", {{"zipSlip", true}, {"package", "KACAK.zip"}})}}}),
         "GIB2024000000055 nolu fatura indirilemedi: pakette güvensiz bir girdi var (../evil.html); paket Zip klasöründe "
         "saklandı.",
         std::nullopt, true, 2, {1, 1}, {}, "GIB2024000000055-KACAK.zip"},
        {"names too long for the file system: no second try, the package kept",
         march({{"invoices", {invoice("GIB2024000000054", "04-03-2024",
                                      {{"objection", QString(150, u'İ').toStdString()}, {"package", "UZUNADLIPAKET.zip"}})}}}),
         "GIB2024000000054 nolu fatura indirilemedi: dosya adı çok uzun; paket Zip klasöründe saklandı.",
         QStringList{lastInvoiceBox("04-03-2024", "GIB2024000000054")}, true, 1, {1}, {}, "GIB2024000000054-UZUNADLIPAKET.zip"},
        {"a Temp that cannot be emptied: no İndir", march({{"invoices", {invoice("GIB2024000000056", "04-03-2024")}}}),
         "GIB2024000000056 nolu fatura indirilemedi: Temp klasörü boşaltılamadı.", std::nullopt, true, 1, {}, {}, {},
         nullptr, "abc123", true, "5000", true},
        {"no İndir on the first pass: the restart pages again, the box ticked before left as it is",
         march({{"downloadButtonAfter", 2}, {"invoices", {invoice("GIB2024000000070", "04-03-2024")}}}),
         "GIB2024000000070 nolu Fatura indirildi ...", std::nullopt, true, 2, {1},
         filedStem("GIB2024000000070", "04-03-2024", "----------SATIŞ-"), filedStem("GIB2024000000070", "04-03-2024", "SATIŞ-")},
        {"no İndir on either pass: no third pass, the reason on the line, logged out",
         march({{"downloadButtonAfter", 99}, {"invoices", {invoice("GIB2024000000071", "05-03-2024")}}}),
         "Son fatura indirilemedi: \"İndir\" düğmesi bulunamadı. Hata No: 1111", std::nullopt, true, 2, {}, {}, {}},
        {"a query whose answer never comes: said, never taken for an empty month",
         march({{"resultDelayMs", 3000}, {"invoices", {invoice("GIB2024000000061", "01-03-2024")}}}),
         "Sorgu sonucu gelmedi; son fatura indirilemedi.", QStringList{}, true, 0, {}, {}, {}, nullptr, "abc123", true, "600"},
        {"a login that does not land", march({{"invoices", {invoice("GIB2024000000060", "01-03-2024")}}}),
         "Giriş yapılamıyor... Daha sonra tekrar deneyiniz...", QStringList{}, false, 0, {}, {}, {}, nullptr, "yanlis"},
        {"no password, offline: the credentials asked first", march(), "Kullanıcı adı/şifre girilmemiş...!", QStringList{},
         false, 0, {}, {}, {}, nullptr, "", false},
    };
    startWith(march());
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        for (const char* sub : {"Html", "Zip"})
            emptyFolder(folders().root / sub);
        if (r.filedBefore)
            std::ofstream(folders().html() / r.filedBefore) << "x";
        window_->pass->setText(QString::fromUtf8(r.pass));
        std::optional<test::NothingComes> noLanding;
        if (std::string_view(r.pass) == "yanlis")
            noLanding.emplace();
        desktop_->online = r.online;
        qputenv("KUVELA_DOWNLOAD_TABLEWAITMS", r.tableWaitMs);
        portal_->setScenario(r.scenario);
        portal_->resetEvents();
        dialogs_->clear();
        std::optional<test::UndeletableFile> stuck;
        if (r.stuckTemp)
            stuck.emplace(folders().temp() / "kilitli.txt");
        if (r.leftPackage)
            test::makeZip(folders().temp() / "ESKI.zip",
                          {test::zipFile("ESKI.xml", "<Invoice><ID>GIB2024000000019</ID></Invoice>")});
        window_->Command27_Click();
        stuck.reset();

        EXPECT_EQ(window_->panelText(7), r.panel);
        if (r.dialogs)
            EXPECT_EQ(dialogs_->texts(), *r.dialogs);
        for (const auto& shown : dialogs_->shown())
            if (shown.text.startsWith(QStringLiteral("Sistemde görünen son")))
                EXPECT_EQ(shown.title, QStringLiteral("Kuvela  -Son Kesilen eArşiv Faturasını İndir"));
        const auto queries = portal_->events("query");
        EXPECT_EQ(queries.size(), size_t(r.loggedIn));
        for (const auto& q : queries) {
            EXPECT_EQ(q["start"], "01/03/2024");
            EXPECT_EQ(q["end"], "15/03/2024");
        }
        EXPECT_EQ(portal_->events("logout").size(), size_t(r.loggedIn));
        EXPECT_EQ(portal_->events("nextPage").size(), r.nextPages);
        EXPECT_EQ(selectionsAtDownload(), r.selections);
        for (const auto& [sub, expected] : {std::pair{"Html", r.html}, std::pair{"Zip", r.zip}}) {
            const QStringList names = filed(sub);
            ASSERT_EQ(names.size(), expected.isEmpty() ? 0 : 1) << sub;
            if (!names.isEmpty())
                EXPECT_TRUE(names[0].startsWith(expected)) << names[0].toStdString();
        }
        EXPECT_TRUE(filed("Temp").isEmpty());
        EXPECT_TRUE(test::browserProcessesGone());
    }
}

TEST_F(MainWindowPortalTest, PortalPagesWithTheirLimitsAndTexts)
{
    startWith(march());
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
    std::optional<test::NothingComes> noLanding(std::in_place);
    window_->Command20_Click();
    EXPECT_EQ(window_->panelText(7), QStringLiteral("Site çok yavaş, lütfen daha sonra tekrar deneyiniz..."));
    EXPECT_EQ(window_->ProgressBar1->value(), 40);
    window_->Command22_Click();
    EXPECT_EQ(window_->panelText(7), QStringLiteral("Site çok yavaş, giriş yapılamadı.. lütfen daha sonra tekrar deneyiniz..."));
    EXPECT_EQ(window_->ProgressBar1->value(), 20);
    EXPECT_TRUE(dialogs_->shown().empty());
    EXPECT_TRUE(test::browserProcessesGone());
    noLanding.reset();

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
