#include "archive/received_list_road.h"

#include "archive/received_list_workbook.h"
#include "platform/browser_session.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/error_numbers.h"
#include "platform/paths.h"
#include "platform/settings.h"
#include "platform/webdriver_tables.h"

#include <QElapsedTimer>
#include <QHash>
#include <QLoggingCategory>

namespace kuvela {

Q_LOGGING_CATEGORY(lcReceived, "kuvela.received")

namespace {

namespace rt = received_text;

// A failure of the road itself, with its number for " Hata No: ".
struct RoadFailure {
    int code;
};

Locator inputWithValue(const QString& value)
{
    return Locator::css(QStringLiteral("input[value=") + cssString(value) + u']');
}

QStringList startArguments()
{
    return QStringList{QStringLiteral("--headless")} + BrowserStart::quietArguments();
}

// What one result page holds, read in one go: the first cell's id, the invoice
// rows of the body, every cell text by id, and every table row of the page.
struct ResultPage {
    QString firstId;
    int rows = 0;
    QHash<QString, QString> cells;
    std::vector<QStringList> raw;
};

// Texts as the driver's element text gives them (tableReadScript); every table row of
// the page with its "td" cells, or its "th" cells when it has none.
const QString kReadPage = tableReadScript(QStringLiteral(R"JS(
var body = document.getElementById(arguments[0]);
if (!body) return null;
var first = body.querySelector('tr td span');
var cells = {};
body.querySelectorAll('span[id]').forEach(function (s) { cells[s.id] = textOf(s); });
var rows = Array.prototype.filter.call(body.getElementsByTagName('tr'),
    function (tr) { return tr.querySelector('td span') !== null; }).length;
var raw = walked([document.documentElement], 'tr', 'td', 'th')[0];
return {firstId: first ? first.id : '', rows: rows, cells: cells, raw: raw};
)JS"));

// What tells one result page from the next: the page the paging bar shows and the
// text of the body's rows ("" while the body holds no invoice row).
const QString kPageMark = tableReadScript(QStringLiteral(R"JS(
var body = document.getElementById(arguments[0]);
var bar = document.getElementsByClassName('csc-tale-paging-div')[0];
var filled = body && body.querySelector('tr td span') !== null;
return {rows: filled ? textOf(body) : '', bar: bar ? textOf(bar) : ''};
)JS"));

struct PageMark {
    QString rows;
    QString bar;
};

QString jsonText(const nlohmann::json& v)
{
    return v.is_string() ? QString::fromStdString(v.get<std::string>()) : QString();
}

class Road {
public:
    Road(ReceivedListView& view, const ReceivedListJob& job) : view_(view), job_(job) {}

    ReceivedRun run();

private:
    bool readAccount();
    // Site, captcha, code and login until the site lets the user in; false when closed.
    bool login();
    bool landed();
    void openList();
    // One window of the month: false when the site answered with another message.
    bool queryWindow(const DateWindow& w);
    void typeDates(const DateWindow& w);
    std::optional<QString> resultMessage();
    QString bodyId();
    ResultPage readPage(const QString& body);
    void takePage(const DateWindow& w, const ResultPage& page);
    PageMark pageMark(const QString& body);
    // Until page `page` stands in the body: other rows than `before`, and the paging bar,
    // when it shows a page, showing this one. A month of one supplier begins every page
    // with the same seller in the same cell ids, so the first cell alone cannot tell.
    void waitForNewPage(const QString& body, const PageMark& before, int page);

    ReceivedListView& view_;
    ReceivedListJob job_;
    BrowserSession browser_;
    std::optional<ReceivedInvoiceListWorkbook> list_;
    ReceivedRun result_;
    QString bodyId_;
};

bool Road::readAccount()
{
    Workbook data = Workbook::open(job_.programFolder / toPath(QStringLiteral("Data")) / toPath(QStringLiteral("DATA.xlsx")));
    const auto account = receivedListAccount(data.sheet(QStringLiteral("prgDATA")), job_.company);
    if (!account)
        return false;
    result_.user = account->user;
    result_.pass = account->pass;
    return true;
}

bool Road::login()
{
    const auto picture = job_.programFolder / toPath(QStringLiteral("Data")) / toPath(QStringLiteral("captcha.jpg"));
    const Locator refresh = Locator::id(QStringLiteral("gen__1064"));
    for (;;) {
        // A retry opens the site again in the same browser.
        if (!browser_.isOpen()) {
            browser_.tarayiciBaslat(startArguments(), {}, taxOfficeUrl() + u'/');
            try {
                browser_.driver().maximize();
            } catch (const WebDriverError&) {
                // A window without a screen may refuse; the page works the same.
            }
        } else {
            browser_.driver().navigate(taxOfficeUrl() + u'/');
        }
        browser_.elemanBekle(refresh, 5000);
        if (browser_.elemanBekle(refresh, 5000)) {
            browser_.find(refresh).click();
            pauseMs(300);
            browser_.find(Locator::id(QStringLiteral("gen__1062"))).screenshot(picture);
            view_.showCaptcha(picture);
        }
        view_.showCaptchaEntry();
        view_.progress(4);
        const std::optional<QString> code = view_.waitForCaptcha();
        // A code of another length is no code: it would only cost the account a failed login.
        if (!code || code->size() != 6)
            return false;

        browser_.find(Locator::id(QStringLiteral("gen__1059"))).sendKeys(result_.user);
        browser_.find(Locator::id(QStringLiteral("gen__1060"))).sendKeys(result_.pass);
        browser_.find(Locator::id(QStringLiteral("gen__1065"))).sendKeys(*code);
        browser_.find(Locator::id(QStringLiteral("gen__1068"))).click();
        pauseMs(100);

        if (!browser_.elemanBekle(Locator::className(QStringLiteral("csc-msgbox")), 2000))
            return true;
        const Element box = browser_.find(Locator::className(QStringLiteral("csc-msgbox")));
        view_.status(box.find(Locator::xpath(QStringLiteral("(.//table)[1]/tbody[1]/tr[1]/td[1]//span[1]"))).text());
        const auto ok = browser_.findAll(inputWithValue(QStringLiteral("Tamam")));
        if (ok.empty())
            return true;
        ok.front().click();
        view_.clearCaptchaEntry();
    }
}

bool Road::landed()
{
    if (browser_.elemanBekle(Locator::id(QStringLiteral("gen__1017-searchBox")), 4000))
        return true;
    view_.status(rt::kLoginFailed);
    msgBox(rt::kLoginFailedBox, MsgIcon::Exclamation);
    return false;
}

void Road::openList()
{
    const Locator search = Locator::id(QStringLiteral("gen__1017-searchBox"));
    if (browser_.elemanBekle(search, 3000)) {
        pauseMs(200);
        const Element box = browser_.find(search);
        box.click();
        box.sendKeys(QStringLiteral("E-Arşiv"));
        pauseMs(20);
        // One click: the entry opens the list, a second would only open it again.
        for (const Element& entry : browser_.findAll(Locator::className(QStringLiteral("favoriteClass"))))
            if (entry.text() == QStringLiteral("E-Arşiv Faturalarım")) {
                entry.click();
                break;
            }
    }
    browser_.elemanBekle(Locator::className(QStringLiteral("csc-form-fieldset")), 5000);
    view_.status(rt::kStarting);
    pauseMs(20);
}

void Road::typeDates(const DateWindow& w)
{
    bool first = true;
    for (const Element& input : browser_.findAll(Locator::tagName(QStringLiteral("input")))) {
        if (!input.attribute(QStringLiteral("id")).startsWith(QStringLiteral("date-")))
            continue;
        input.click();
        pauseMs(10);
        // A field keeps the last window's date when that query found nothing.
        input.clear();
        input.sendKeys(first ? w.start : w.end);
        pauseMs(20);
        first = false;
    }
}

// The message a box shows after a query, its "Tamam" pressed; nullopt when there was none.
std::optional<QString> Road::resultMessage()
{
    browser_.elemanBekle(Locator::className(QStringLiteral("csc-msgbox-msg-span")), 5000);
    QString message;
    const auto spans = browser_.findAll(Locator::className(QStringLiteral("csc-msgbox-msg-span")));
    if (!spans.empty())
        message = spans.front().text();
    bool answered = false;
    for (const Element& ok : browser_.findAll(inputWithValue(QStringLiteral("Tamam")))) {
        ok.click();
        answered = true;
    }
    browser_.elemanBekle(Locator::className(QStringLiteral("csc-table-paging-info")), 5000);
    if (!answered && spans.empty())
        return std::nullopt;
    return message;
}

QString Road::bodyId()
{
    if (bodyId_.isEmpty()) {
        for (const Element& table : browser_.findAll(Locator::tagName(QStringLiteral("table"))))
            if (table.attribute(QStringLiteral("rel")) == QStringLiteral("faturaTable")) {
                bodyId_ = table.attribute(QStringLiteral("id")).left(10) + u'b';
                break;
            }
        if (bodyId_.isEmpty())
            throw WebDriverError(browser_error::ElementNotFound, QStringLiteral("Fatura tablosu bulunamadı."));
    }
    return bodyId_;
}

ResultPage Road::readPage(const QString& body)
{
    const nlohmann::json v = browser_.driver().executeScript(kReadPage, nlohmann::json::array({body.toStdString()}));
    if (!v.is_object())
        throw WebDriverError(browser_error::ElementNotFound, QStringLiteral("Fatura tablosu bulunamadı."));
    ResultPage page;
    page.firstId = jsonText(v.value("firstId", nlohmann::json()));
    page.rows = v.value("rows", 0);
    const nlohmann::json cells = v.value("cells", nlohmann::json::object());
    for (const auto& [id, text] : cells.items())
        page.cells.insert(QString::fromStdString(id), jsonText(text));
    const nlohmann::json raw = v.value("raw", nlohmann::json::array());
    for (const auto& row : raw) {
        QStringList cells;
        for (const auto& c : row)
            cells << jsonText(c);
        page.raw.push_back(cells);
    }
    return page;
}

void Road::takePage(const DateWindow& w, const ResultPage& page)
{
    const auto first = cellIdNumber(page.firstId);
    if (!first)
        throw WebDriverError(browser_error::ElementNotFound, QStringLiteral("Fatura satırı bulunamadı."));
    ReceivedInvoiceListWorkbook& list = *list_;
    for (const QStringList& row : page.raw)
        list.addRawRow(row);
    for (int j = 1; j <= page.rows; ++j) {
        QStringList cells;
        for (int k = 1; k <= 11; ++k) {
            const QString id = cellId(*first, j, k);
            const auto it = page.cells.constFind(id);
            if (it == page.cells.constEnd())
                throw WebDriverError(browser_error::ElementNotFound,
                                     QStringLiteral("Fatura hücresi bulunamadı: %1").arg(id));
            cells << *it;
            view_.status(rt::querying(w) + u' ' + *it);
        }
        list.addInvoice(cells);
    }
}

PageMark Road::pageMark(const QString& body)
{
    const nlohmann::json v = browser_.driver().executeScript(kPageMark, nlohmann::json::array({body.toStdString()}));
    if (!v.is_object())
        return {};
    return {jsonText(v.value("rows", nlohmann::json())), jsonText(v.value("bar", nlohmann::json()))};
}

void Road::waitForNewPage(const QString& body, const PageMark& before, int page)
{
    QElapsedTimer waited;
    waited.start();
    const int limit = presenceMs(5000);
    for (;;) {
        const PageMark now = pageMark(body);
        const std::optional<int> shown = receivedPageShown(now.bar);
        if (!now.rows.isEmpty() && now.rows != before.rows && (!shown || *shown == page))
            return;
        if (waited.elapsed() > limit)
            throw RoadFailure{error_no::PageNotTurned};
        waitMs(50);
    }
}

bool Road::queryWindow(const DateWindow& w)
{
    view_.progress(w.progress);
    typeDates(w);
    view_.status(rt::querying(w));
    for (const Element& query : browser_.findAll(inputWithValue(QStringLiteral("Sorgula"))))
        query.click();
    if (const auto message = resultMessage()) {
        if (isNoRecordsMessage(*message))
            return true;
        view_.status(*message);
        qCInfo(lcReceived).noquote() << "dönem hatalı:" << w.start << w.end << *message;
        return false;
    }

    const QString pagingInfo = browser_.find(Locator::className(QStringLiteral("csc-table-paging-info"))).text();
    pauseMs(200);
    const int pages = receivedPageCount(browser_.find(Locator::className(QStringLiteral("csc-tale-paging-div"))).text());
    for (const long long count : receivedInvoiceCounts(pagingInfo))
        if (view_.extraDialogs())
            msgBox(rt::countBox(w, pages, count));

    const QString body = bodyId();
    ResultPage page = readPage(body);
    takePage(w, page);
    for (int counter = 2; counter <= pages; ++counter) {
        std::optional<Element> next;
        for (const Element& span : browser_.findAll(Locator::tagName(QStringLiteral("span"))))
            if (span.attribute(QStringLiteral("class")).contains(QStringLiteral("next"), Qt::CaseInsensitive)) {
                next = span;
                break;
            }
        if (!next)
            break;
        if (view_.extraDialogs())
            msgBox(rt::nextPageBox(counter));
        const PageMark before = pageMark(body);
        next->click();
        waitForNewPage(body, before, counter);
        page = readPage(body);
        takePage(w, page);
    }
    for (const Element& again : browser_.findAll(inputWithValue(QStringLiteral("Yeni Sorgu"))))
        again.click();
    return true;
}

ReceivedRun Road::run()
{
    try {
        if (!readAccount()) {
            view_.status(rt::kNoAccount);
            result_.outcome = ReceivedOutcome::NoAccount;
            return result_;
        }
        list_.emplace();
        if (!login()) {
            browser_.tarayiciKapat();
            result_.outcome = ReceivedOutcome::Closed;
            return result_;
        }
        if (!landed()) {
            result_.outcome = ReceivedOutcome::LoginFailed;
            return result_;
        }
        openList();
        for (const DateWindow& w : receivedDateWindows(job_.period))
            if (!queryWindow(w))
                ++result_.failedWindows;

        view_.progress(80);
        const auto file = receivedListFile(job_.programFolder, job_.company, job_.period.yilveay);
        list_->saveAs(file);
        result_.file = file;
        result_.invoices = list_->invoiceCount();
        browser_.tarayiciKapat();
        view_.progress(100);
        if (result_.failedWindows > 0) {
            view_.status(rt::incomplete(result_.failedWindows));
            result_.outcome = ReceivedOutcome::Incomplete;
        } else {
            view_.status(rt::kSaved);
            result_.outcome = ReceivedOutcome::Saved;
        }
        return result_;
    } catch (const WebDriverError& e) {
        qCWarning(lcReceived).noquote() << e.fullMessage() << e.detail();
        result_.errorNo = e.code();
    } catch (const WorkbookError& e) {
        qCWarning(lcReceived).noquote() << e.message();
        result_.errorNo = e.code();
    } catch (const RoadFailure& e) {
        result_.errorNo = e.code;
    } catch (const std::filesystem::filesystem_error& e) {
        qCWarning(lcReceived) << e.what();
        result_.errorNo = error_no::PathFileAccess;
    } catch (const std::exception& e) {
        // An answer of the page the road cannot read.
        qCWarning(lcReceived) << e.what();
        result_.errorNo = error_no::TypeMismatch;
    }
    browser_.tarayiciKapat();
    view_.status(rt::kErrorPrefix + QString::number(result_.errorNo));
    result_.outcome = ReceivedOutcome::Failed;
    return result_;
}

} // namespace

QString taxOfficeUrl()
{
    QString url = Settings::forProgram().value(QStringLiteral("taxoffice/url"), QStringLiteral("https://ivd.gib.gov.tr")).trimmed();
    while (url.endsWith(u'/'))
        url.chop(1);
    return url;
}

ReceivedRun runReceivedList(ReceivedListView& view, const ReceivedListJob& job)
{
    return Road(view, job).run();
}

} // namespace kuvela
