#pragma once
// Tables of a page read in one request: the rows and the texts of their cells, each
// text as the driver's element text gives it. A read cell by cell costs a request per
// row and per cell; the one-script read costs the same whatever the table's size.
#include "platform/webdriver.h"

#include <QStringList>
#include <vector>

namespace kuvela {

// One table as the page shows it: its rows, each with the texts of its cells.
using TableTexts = std::vector<QStringList>;

// Rows are a table's descendants that match `rows`; the cells of a row its descendants
// that match `cells`, or, for a row with none, those that match `cellsWhenNone`
// (CSS selectors, document order).
struct TableWalk {
    QString rows = QStringLiteral("tr");
    QString cells = QStringLiteral("td");
    QString cellsWhenNone;
};

// How readTables reads: one page script, or the driver's own find and element text
// for every row and cell. The second stays for comparing the two and for measuring.
enum class TableRead { OneScript, CellByCell };
void setTableRead(TableRead how);
TableRead tableRead();

// Every element the locator yields (the tables), in document order, walked as `walk` says.
std::vector<TableTexts> readTables(WebDriver& driver, const Locator& tables, const TableWalk& walk = {});
std::vector<TableTexts> readTables(WebDriver& driver, const std::vector<Element>& tables, const TableWalk& walk = {});

// The tables of each locator, all in one script: readTables of each, in the same order.
std::vector<std::vector<TableTexts>> readTableSets(WebDriver& driver, const std::vector<Locator>& sets,
                                                   const TableWalk& walk = {});

// The same walk through the driver, whatever setTableRead says.
std::vector<TableTexts> readTablesCellByCell(WebDriver& driver, const Locator& tables, const TableWalk& walk = {});
std::vector<TableTexts> readTablesCellByCell(WebDriver& driver, const std::vector<Element>& tables,
                                             const TableWalk& walk = {});

// A page script of its own that reads texts as readTables does: `body` may call
// textOf(element) (the element's text as Element::text() gives it) and
// walked(tables, rowSelector, cellSelector, otherCellSelector) (readTables' walk of
// a list of elements).
QString tableReadScript(const QString& body);

// The texts of the elements, in one script; Element::text() of each, in the same order.
QStringList readTexts(WebDriver& driver, const std::vector<Element>& elements);

} // namespace kuvela
