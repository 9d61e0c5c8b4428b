// The one-script table read against the driver's own text of every cell, on the
// invoice fixtures and on pages made to differ (blanks, hidden parts, nested tables).
#include "documents/invoice_html.h"
#include "documents/invoice_reader.h"
#include "platform/road_timing.h"
#include "platform/webdriver_tables.h"
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
