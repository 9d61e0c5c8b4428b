#pragma once
// The portal's page of issued documents ("Düzenlenen Belgeler e-Arşiv Fatura
// (İnteraktif)") as the download roads drive it: the browser start, the date picker,
// the query, the result table, the paging and the row ticks.
#include "archive/invoice_file_name.h"
#include "platform/browser_session.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace kuvela {

// The issued download of a month and the last invoice: off-screen browser whose
// downloads go to the company's Temp folder.
BrowserStart issuedMonthStart(const QString& tempFolder);
BrowserStart lastInvoiceStart(const QString& tempFolder);
// The two page buttons of the main window.
BrowserStart issuedDocumentsPageStart();
BrowserStart cancelRequestsPageStart();

// "Sayfa 1 / 3" → 3; the number after "Sayfa 1 /" read up to its first non-digit.
// 0 when the text holds no "Sayfa 1 /".
int pageCountFromPagingText(const QString& text);

// One cell of a result row: its visible text and the class of an "i" inside it
// (absent when the cell holds none).
struct RowCell {
    QString text;
    std::optional<QString> iconClass;
};

// Cells 2 to 8 of a row as the portal shows them (needs eight cells).
PortalInvoiceRow rowFromCells(const std::vector<RowCell>& cells);

class IssuedPage {
public:
    explicit IssuedPage(BrowserSession& session) : s_(session) {}

    // Opens the picker of gen__1024/gen__1025, chooses month and year by the option
    // texts (empty: leaves them), clicks the day and, when asked, "Kapat".
    void pickDate(const QString& boxId, const QString& monthAbbr, const QString& year, const QString& day, bool close);
    // The first "input" whose value attribute is the text.
    Element inputByValue(const QString& value);
    // The result body ("gen__1036-b") is there, or the pop-up says "Kayıt bulunamadı.";
    // polls up to timeoutMs. False when neither came.
    bool awaitResult(int timeoutMs);
    bool noRecordsShown();
    // The paging text's page count, 0 without a paging box.
    int pageCount();
    // Clicks the first span whose class is exactly the next-page class; false when none.
    bool clickNextPage();
    // The rows of the result body, in order.
    std::vector<Element> bodyRows();
    // Number of rows the table's head holds (the report's first rows).
    int headRowCount();
    std::vector<RowCell> cellsOf(const Element& row);
    // The cells of all the rows in one request; cellsOf of each, in the same order.
    std::vector<std::vector<RowCell>> cellsOfRows(const std::vector<Element>& rows);
    // The text of the first body row's second cell, "" when none.
    QString firstRowNumber();
    // Waits until the first row's number is no longer `before`, up to timeoutMs.
    bool awaitFirstRowChange(const QString& before, int timeoutMs);
    bool isTicked(const Element& row);
    // Clicks the row's cell (1-based).
    void clickCell(const Element& row, int cell);

private:
    BrowserSession& s_;
};

// Bounded waits of the download roads: "download/tableWaitMs", default 10 s.
int tableWaitMs();

} // namespace kuvela
