// The one-script table read against the driver's own text of every cell, on the
// invoice fixtures, on a page made to differ (blanks, hidden parts, nested tables) and
// on the fake tax office's and portal's result pages.
#include "documents/invoice_html.h"
#include "documents/invoice_reader.h"
#include "platform/clock.h"
#include "platform/road_timing.h"
#include "platform/webdriver_tables.h"
#include "archive/issued_page.h"
#include "portal/fake_portal_harness.h"
#include "received_taxoffice_site.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

namespace kuvela {
namespace {

struct Walk {
    const char* tables;
    TableWalk walk;
};

// Every cell of both reads, compared one by one, so a difference names its place.
void expectSameTables(const std::vector<TableTexts>& script, const std::vector<TableTexts>& driver,
                      const std::string& where)
{
    ASSERT_EQ(script.size(), driver.size()) << where;
    for (size_t t = 0; t < driver.size(); ++t) {
        ASSERT_EQ(script[t].size(), driver[t].size()) << where << " table " << t;
        for (size_t r = 0; r < driver[t].size(); ++r) {
            ASSERT_EQ(script[t][r].size(), driver[t][r].size()) << where << " table " << t << " row " << r;
            for (int c = 0; c < driver[t][r].size(); ++c)
                EXPECT_EQ(script[t][r][c], driver[t][r][c]) << where << " table " << t << " row " << r << " cell " << c;
        }
    }
}

TEST(TableRead, OneScriptGivesTheDriversTextOfEveryCell)
{
    documents::InvoiceHtmlReader reader;
    reader.start();
    WebDriver& driver = reader.driver();
    const TableWalk withHeaders{QStringLiteral("tr"), QStringLiteral("td"), QStringLiteral("th")};
    const Walk walks[] = {{"//table[not(ancestor::table)]", withHeaders},
                          {documents::kLineTableXPath, {}},
                          {documents::kBuyerTableXPath, {}},
                          {"/html/body/table[4]/tbody/tr/td[2]/table", {}},
                          {"//*[@id='budgetContainerTable']/tbody/tr/td/table", {}}};
    for (const char* page : {"invoice_a.html", "invoice_b.html", "invoice_faults.html", "cell_texts.html"}) {
        ASSERT_TRUE(reader.load(QStringLiteral(KUVELA_SOURCE_DIR "/tests/documents/fixtures/") + QString::fromLatin1(page)));
        for (const Walk& w : walks) {
            const Locator tables = Locator::xpath(QString::fromLatin1(w.tables));
            RoadTiming::counters().reset();
            const std::vector<TableTexts> script = readTables(driver, tables, w.walk);
            EXPECT_EQ(RoadTiming::counters().commands, 1) << page << ' ' << w.tables;
            expectSameTables(script, readTablesCellByCell(driver, tables, w.walk),
                             std::string(page) + ' ' + w.tables + ' ' + w.walk.cellsWhenNone.toStdString());
        }
        // Several locators in one request read as each alone.
        std::vector<Locator> sets;
        for (const Walk& w : walks)
            sets.push_back(Locator::xpath(QString::fromLatin1(w.tables)));
        RoadTiming::counters().reset();
        const std::vector<std::vector<TableTexts>> together = readTableSets(driver, sets);
        EXPECT_EQ(RoadTiming::counters().commands, 1) << page;
        ASSERT_EQ(together.size(), sets.size());
        for (size_t i = 0; i < sets.size(); ++i)
            expectSameTables(together[i], readTables(driver, sets[i]), std::string(page) + " together " + walks[i].tables);
    }
    // Every element of the page made to differ, tables or not.
    const std::vector<Element> all = driver.findAll(Locator::xpath(QStringLiteral("//body//*")));
    QStringList one;
    for (const Element& e : all)
        one << e.text();
    EXPECT_EQ(readTexts(driver, all), one);

    // The received list's page: every row of the page, and the cells by their spans.
    nlohmann::json invoices = nlohmann::json::array();
    for (int i = 1; i <= 3; ++i)
        invoices.push_back(test::siteInvoice(i, QStringLiteral("0%1-10-2023").arg(i)));
    invoices[1][0] = "  ÇAĞDAŞ   GIDA\u00a0A.Ş.  ";
    invoices[2][9] = "\u00a0";
    test::FakeTaxOffice site(nlohmann::json{{"invoices", invoices}});
    driver.navigate(site.baseUrl() + u'/');
    driver.find(Locator::id(QStringLiteral("gen__1059"))).sendKeys(QStringLiteral("1111111"));
    driver.find(Locator::id(QStringLiteral("gen__1060"))).sendKeys(QStringLiteral("abc123"));
    driver.find(Locator::id(QStringLiteral("gen__1065"))).sendKeys(site.currentCode());
    driver.click(Locator::id(QStringLiteral("gen__1068")));
    driver.find(Locator::id(QStringLiteral("gen__1017-searchBox"))).sendKeys(QStringLiteral("E-Arşiv"));
    for (const Element& entry : driver.findAll(Locator::className(QStringLiteral("favoriteClass"))))
        if (entry.text() == QStringLiteral("E-Arşiv Faturalarım"))
            entry.click();
    driver.find(Locator::id(QStringLiteral("date-1501"))).sendKeys(QStringLiteral("01-10-2023"));
    driver.find(Locator::id(QStringLiteral("date-1502"))).sendKeys(QStringLiteral("07-10-2023"));
    driver.click(Locator::css(QStringLiteral("input[value='Sorgula']")));
    for (int i = 0; i < 100 && driver.findAll(Locator::id(QStringLiteral("gen__3036-b"))).empty(); ++i)
        waitMs(20);
    const Locator page = Locator::css(QStringLiteral("html"));
    expectSameTables(readTables(driver, page, withHeaders), readTablesCellByCell(driver, page, withHeaders), "tax office");
    const std::vector<Element> spans = driver.findAll(Locator::css(QStringLiteral("#gen__3036-b span[id]")));
    ASSERT_EQ(spans.size(), 33u);
    QStringList spanTexts;
    for (const Element& e : spans)
        spanTexts << e.text();
    EXPECT_EQ(readTexts(driver, spans), spanTexts);
    EXPECT_EQ(spanTexts[11], QStringLiteral("ÇAĞDAŞ GIDA A.Ş."));

    // The portal's issued documents, as the download reads its rows.
    test::FakePortal portal(nlohmann::json{
        {"invoices", nlohmann::json::array({{{"no", "GIB2023000000001"}, {"vkn", "1234567890"}, {"buyer", "  ÖRNEK   İNŞAAT\u00a0LTD "},
                                             {"date", "03-10-2023"}, {"extra", {"\u00a0", " son "}}},
                                            {{"no", "GIB2023000000002"}, {"vkn", "5555555555"}, {"buyer", "BETA"},
                                             {"date", "04-10-2023"}, {"cancelled", true}}})}});
    BrowserSession session;
    session.tarayiciBaslat(QStringList{QStringLiteral("--headless")} + BrowserStart::quietArguments(), {},
                           portal.url(QStringLiteral("/intragiris.html")));
    session.driver().executeScript(QStringLiteral("sessionStorage.loggedIn = '1';"));
    session.driver().navigate(portal.url(QStringLiteral("/anasayfa.html")));
    session.driver().executeScript(QStringLiteral(
        "Portal.pages.duzenlenen(document.getElementById('content'));"
        "document.getElementById('gen__1024-i').value = '01/10/2023';"
        "document.getElementById('gen__1025-i').value = '31/10/2023';"
        "document.getElementById('gen__1030').click();"));
    IssuedPage issued(session);
    const std::vector<Element> rows = issued.bodyRows();
    ASSERT_EQ(rows.size(), 3u);  // the portal's closing row too
    RoadTiming::counters().reset();
    const std::vector<std::vector<RowCell>> cells = issued.cellsOfRows(rows);
    EXPECT_EQ(RoadTiming::counters().commands, 1);
    ASSERT_EQ(cells.size(), rows.size());
    for (size_t r = 0; r < rows.size(); ++r) {
        const std::vector<Element> tds = rows[r].findAll(Locator::xpath(QStringLiteral("./td")));
        ASSERT_EQ(cells[r].size(), tds.size()) << "issued row " << r;
        for (size_t c = 0; c < tds.size(); ++c)
            EXPECT_EQ(cells[r][c].text, tds[c].text()) << "issued row " << r << " cell " << c;
    }
    EXPECT_EQ(cells[0][3].text, QStringLiteral("ÖRNEK İNŞAAT LTD"));
    EXPECT_EQ(cells[1][6].iconClass, std::optional<QString>(QStringLiteral("icon-remove")));

    // The switch sends the documents roads' reads through the driver, for the figures before.
    reader.load(QStringLiteral(KUVELA_SOURCE_DIR "/tests/documents/fixtures/invoice_a.html"));
    setTableRead(TableRead::CellByCell);
    RoadTiming::counters().reset();
    const documents::HtmlTable lines = reader.firstTable(QString::fromLatin1(documents::kLineTableXPath));
    setTableRead(TableRead::OneScript);
    EXPECT_GT(RoadTiming::counters().commands, 12 * 5);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1][2], QStringLiteral("10 Adet"));
    EXPECT_EQ(lines[4][0], QStringLiteral(" "));
}

} // namespace
} // namespace kuvela
