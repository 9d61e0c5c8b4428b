#include "archive/issued_page.h"

#include "platform/clock.h"
#include "platform/settings.h"
#include "platform/webdriver_tables.h"

#include <QElapsedTimer>

namespace kuvela {

namespace {

const QString kNextPageClass = QStringLiteral("csc-table-paging-btn csc-table-seek-next");

Preferences downloadPrefs(const QString& tempFolder)
{
    return {{QStringLiteral("plugins.plugins_disabled"), true},
            {QStringLiteral("download.default_directory"), tempFolder}};
}

bool poll(int timeoutMs, const std::function<bool()>& done)
{
    QElapsedTimer t;
    t.start();
    for (;;) {
        try {
            if (done())
                return true;
        } catch (const WebDriverError&) {
            // the page is changing under us; look again
        }
        if (t.elapsed() >= timeoutMs)
            return false;
        waitMs(100);
    }
}

} // namespace

BrowserStart issuedMonthStart(const QString& tempFolder)
{
    return {{QStringLiteral("--disable-logging"), QStringLiteral("--log-level=3"), QStringLiteral("--disable-extensions"),
             QStringLiteral("--disable-gpu"), QStringLiteral("--disable-crash-reporter"),
             QStringLiteral("--window-position=0,-4000"), QStringLiteral("--disable-plugins-discovery"),
             QStringLiteral("--disable-extensions"), QStringLiteral("--disable-infobars")},
            downloadPrefs(tempFolder)};
}

BrowserStart lastInvoiceStart(const QString& tempFolder)
{
    Preferences prefs = downloadPrefs(tempFolder);
    prefs.push_back({QStringLiteral("download.directory_upgrade"), true});
    return {{QStringLiteral("--disable-logging"), QStringLiteral("--log-level=3"), QStringLiteral("--disable-gpu"),
             QStringLiteral("--disable-crash-reporter"), QStringLiteral("--window-position=0,-4000"),
             QStringLiteral("--disable-plugins-discovery"), QStringLiteral("--disable-extensions"),
             QStringLiteral("--disable-infobars")},
            prefs};
}

BrowserStart issuedDocumentsPageStart()
{
    return {{QStringLiteral("--window-position=0,60"), QStringLiteral("--disable-logging"), QStringLiteral("--log-level=3"),
             QStringLiteral("--disable-extensions"), QStringLiteral("--disable-crash-reporter"),
             QStringLiteral("--disable-gpu"), QStringLiteral("--disable-crash-reporter")},
            {}};
}

BrowserStart cancelRequestsPageStart()
{
    return {{QStringLiteral("--disable-logging"), QStringLiteral("--log-level=3"),
             QStringLiteral("--disable-plugins-discovery"), QStringLiteral("--disable-extensions"),
             QStringLiteral("--disable-gpu"), QStringLiteral("--disable-crash-reporter")},
            {{QStringLiteral("plugins.plugins_disabled"), true}}};
}

int pageCountFromPagingText(const QString& text)
{
    const qsizetype p = text.indexOf(QLatin1String("Sayfa 1 /"));
    if (p < 0)
        return 0;
    QString rest = text.mid(p + 9).trimmed();
    qsizetype n = 0;
    while (n < rest.size() && rest.at(n).isDigit() && rest.at(n).unicode() < 128)
        ++n;
    return rest.left(n).toInt();
}

PortalInvoiceRow rowFromCells(const std::vector<RowCell>& cells)
{
    return {cells[1].text, cells[2].text, cells[4].text, cells[3].text, cells[5].text,
            cells[6].iconClass.value_or(QString()), cells[7].text};
}

int tableWaitMs() { return Settings::forProgram().intValue(QStringLiteral("download/tableWaitMs"), 10000); }

void IssuedPage::pickDate(const QString& boxId, const QString& monthAbbr, const QString& year, const QString& day,
                          bool close)
{
    s_.find(Locator::id(boxId)).find(Locator::tagName(QStringLiteral("img"))).click();
    if (!monthAbbr.isEmpty())
        s_.find(Locator::xpath(QStringLiteral("//*[@id='ui-datepicker-div']/div[1]/div/select[1]"))).selectByText(monthAbbr);
    if (!year.isEmpty())
        s_.find(Locator::xpath(QStringLiteral("//*[@id='ui-datepicker-div']/div[1]/div/select[2]"))).selectByText(year);
    s_.find(Locator::linkText(day)).click();
    if (close) {
        // The picker closes itself on a day's click; "Kapat" is then no longer shown.
        for (const Element& e : s_.findAll(Locator::linkText(QStringLiteral("Kapat"))))
            e.click();
    }
}

Element IssuedPage::inputByValue(const QString& value)
{
    for (const Element& e : s_.findAll(Locator::tagName(QStringLiteral("input"))))
        if (e.attribute(QStringLiteral("value")) == value)
            return e;
    throw WebDriverError(browser_error::ElementNotFound, QStringLiteral("\"%1\" düğmesi bulunamadı.").arg(value));
}

bool IssuedPage::noRecordsShown()
{
    for (const Element& e : s_.findAll(Locator::css(QStringLiteral(".csc-popup .msg"))))
        if (e.text().contains(QStringLiteral("Kayıt bulunamadı")))
            return true;
    return false;
}

bool IssuedPage::awaitResult(int timeoutMs)
{
    return poll(timeoutMs, [&] { return !s_.findAll(Locator::id(QStringLiteral("gen__1036-b"))).empty() || noRecordsShown(); });
}

int IssuedPage::pageCount()
{
    for (const Element& e : s_.findAll(Locator::className(QStringLiteral("csc-tale-paging-div")))) {
        const int n = pageCountFromPagingText(e.text());
        if (e.text().contains(QLatin1String("Sayfa 1 /")))
            return n;
    }
    return 0;
}

bool IssuedPage::clickNextPage()
{
    for (const Element& e : s_.findAll(Locator::tagName(QStringLiteral("span"))))
        if (e.attribute(QStringLiteral("class")) == kNextPageClass) {
            e.click();
            return true;
        }
    return false;
}

std::vector<Element> IssuedPage::bodyRows()
{
    std::vector<Element> rows;
    for (const Element& body : s_.findAll(Locator::id(QStringLiteral("gen__1036-b"))))
        for (const Element& r : body.findAll(Locator::xpath(QStringLiteral("./tr"))))
            rows.push_back(r);
    return rows;
}

int IssuedPage::headRowCount()
{
    return int(s_.findAll(Locator::xpath(QStringLiteral("//*[@id='gen__1036']/thead/tr"))).size());
}

std::vector<std::vector<RowCell>> IssuedPage::cellsOfRows(const std::vector<Element>& rows)
{
    // The row's own cells, each with its text as the driver gives it and its icon.
    static const QString script = tableReadScript(QStringLiteral(R"JS(
return arguments[0].map(function (tr) {
  return Array.prototype.filter.call(tr.children, function (c) { return c.tagName === 'TD'; }).map(function (td) {
    var i = td.querySelector('i');
    return {text: textOf(td), icon: i ? i.className : null};
  });
});
)JS"));
    std::vector<std::vector<RowCell>> out;
    if (rows.empty())
        return out;
    nlohmann::json refs = nlohmann::json::array();
    for (const Element& r : rows)
        refs.push_back(r.reference());
    const nlohmann::json read = s_.driver().executeScript(script, nlohmann::json::array({refs}));
    for (const auto& row : read.is_array() ? read : nlohmann::json::array()) {
        std::vector<RowCell> cells;
        for (const auto& c : row) {
            RowCell rc;
            rc.text = QString::fromStdString(c.value("text", std::string()));
            if (c.contains("icon") && c["icon"].is_string())
                rc.iconClass = QString::fromStdString(c["icon"].get<std::string>());
            cells.push_back(std::move(rc));
        }
        out.push_back(std::move(cells));
    }
    out.resize(rows.size());
    return out;
}

std::vector<RowCell> IssuedPage::cellsOf(const Element& row)
{
    return cellsOfRows({row}).front();
}

QString IssuedPage::firstRowNumber()
{
    const std::vector<Element> rows = bodyRows();
    if (rows.empty())
        return {};
    const std::vector<RowCell> cells = cellsOf(rows.front());
    return cells.size() >= 2 ? cells[1].text : QString();
}

bool IssuedPage::awaitFirstRowChange(const QString& before, int timeoutMs)
{
    return poll(timeoutMs, [&] { return firstRowNumber() != before; });
}

bool IssuedPage::isTicked(const Element& row)
{
    return s_.driver()
        .executeScript(QStringLiteral("var b = arguments[0].querySelector('td input'); return !!(b && b.checked);"), row)
        .get<bool>();
}

void IssuedPage::clickCell(const Element& row, int cell)
{
    row.find(Locator::xpath(QStringLiteral("./td[%1]").arg(cell))).click();
}

} // namespace kuvela
