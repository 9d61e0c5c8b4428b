#include "portal/invoice_page_fill.h"

#include "invoice/invoice_type.h"
#include "invoice/return_references.h"

namespace kuvela::portal {

namespace {

Locator byId(const QString& id) { return Locator::id(id); }

QString selectAll() { return Keys::chord(Keys::Control, QStringLiteral("a")); }

// One page of the road, with its session, its ids and its pauses.
class PageFiller {
public:
    PageFiller(BrowserSession& s, const PageMap& p, const PageFillFeedback& f, RoadWaits& w, const PageFillRoad& r)
        : s_(s), page_(p), feedback_(f), wait_(w), road_(r)
    {
    }

    void header(const InvoicePageInput& in);
    void taxesAndReturns(const InvoicePageInput& in);
    void lines(const InvoicePageInput& in);
    void note(const QString& text);

private:
    bool step(const QString& what, const std::function<void()>& fn) { return s_.attempt(what, fn); }
    void click(const QString& id) { step(QStringLiteral("tıklama ") + id, [&] { s_.click(byId(id)); }); }
    void type(const QString& id, const QString& text)
    {
        step(QStringLiteral("yazma ") + id, [&] { s_.type(byId(id), text); });
    }
    // Replaces what the field holds: the page may have filled it from its own records,
    // and an empty value must leave it empty, not keep the page's text.
    void replace(const QString& id, const QString& text)
    {
        step(QStringLiteral("yazma ") + id,
             [&] { s_.type(byId(id), selectAll() + (text.isEmpty() ? Keys::Backspace : text)); });
    }
    void keys(const QString& what, const QString& k) { step(what, [&] { s_.pressKeys(k); }); }
    void progress(int value)
    {
        if (feedback_.progress)
            feedback_.progress(value);
    }
    void unlock(const QString& dateId, int pauseMs = 250);
    // Click the field's holder (or what the road clicks instead), unlock the date picker
    // and type the date over what it holds.
    void dateField(int off, const QString& date, const QString& firstClick, int firstWaitMs, int unlockMs);
    void addTax(const QString& code);
    int lineRowCount();

    BrowserSession& s_;
    const PageMap& page_;
    const PageFillFeedback& feedback_;
    RoadWaits& wait_;
    const PageFillRoad& road_;
};

void PageFiller::unlock(const QString& dateId, int pauseMs)
{
    if (pauseMs == 250) {
        step(QStringLiteral("tarih alanı açma ") + dateId, [&] { s_.tarihAlaniAc(s_.find(byId(dateId))); });
        wait_.add(2 * 250);
        return;
    }
    // The session's unlock pauses 250 ms; the bulk run's pauses are shorter.
    step(QStringLiteral("tarih alanı açma ") + dateId, [&] {
        const Element field = s_.find(byId(dateId));
        s_.driver().executeScript(QStringLiteral("arguments[0].removeAttribute('disabled')"), field);
        wait_(pauseMs);
        s_.driver().executeScript(QStringLiteral("arguments[0].setAttribute('class', 'csc-textbox')"), field);
        wait_(pauseMs);
    });
}

void PageFiller::dateField(int off, const QString& date, const QString& firstClick, int firstWaitMs, int unlockMs)
{
    click(firstClick);
    wait_(firstWaitMs);
    const QString field = page_.dateGen(off);
    unlock(field, unlockMs);
    step(QStringLiteral("tarih yazma ") + field, [&] { s_.panoIleYaz(s_.find(byId(field)), date); });
}

void PageFiller::header(const InvoicePageInput& in)
{
    if (road_.dateFromPicker)
        dateField(offset::InvoiceDate, in.invoiceDate, page_.dateGen(offset::InvoiceDate), 10, road_.dateUnlockMs);
    else
        dateField(offset::InvoiceDate, in.invoiceDate, page_.gen(offset::InvoiceDate), 250, road_.dateUnlockMs);
    type(page_.dateGen(offset::InvoiceTime), in.invoiceTime);

    const QString currency = page_.gen(offset::Currency);
    step(QStringLiteral("para birimi ") + currency, [&] { s_.selectByText(byId(currency), in.currency); });
    if (!in.exchangeRate.isEmpty()) {
        // The rate field follows the currency and opens for a foreign one.
        keys(QStringLiteral("Tab (döviz kuru)"), Keys::Tab);
        wait_(1);
        keys(QStringLiteral("döviz kuru yazma"), selectAll() + in.exchangeRate);
        keys(QStringLiteral("Tab (döviz kuru sonrası)"), Keys::Tab);
    }

    const QString typeField = page_.gen(offset::InvoiceType);
    click(typeField);
    const QString typeValue = invoice::portalValueOf(in.kind);
    step(QStringLiteral("fatura tipi ") + typeField + QStringLiteral(": ") + typeValue,
         [&] { s_.selectByValue(byId(typeField), typeValue); });

    type(page_.gen(offset::BuyerTaxNumber), in.taxNumber);
    click(page_.gen(offset::BuyerTitle));
    wait_(2);
    replace(page_.gen(offset::BuyerTitle), in.buyer.title);
    click(page_.gen(offset::BuyerName));
    replace(page_.gen(offset::BuyerName), in.buyer.givenName);
    click(page_.gen(offset::BuyerSurname));
    replace(page_.gen(offset::BuyerSurname), in.buyer.surname);
    replace(page_.gen(offset::TaxOffice), in.taxOffice);
    const QString country = page_.gen(offset::Country);
    step(QStringLiteral("ülke ") + country, [&] { s_.selectByText(byId(country), in.country); });
    click(country);
    type(page_.gen(offset::Address), in.address);

    if (!in.despatchDate.isEmpty()) {
        type(page_.gen(offset::DespatchNumber), in.despatchNumber);
        if (road_.despatchFromLabel)
            dateField(offset::DespatchDate, in.despatchDate, QStringLiteral("irsaltrId"), 10, 250);
        else
            dateField(offset::DespatchDate, in.despatchDate, page_.gen(offset::DespatchDate), 250, 250);
    }
    progress(65);
}

void PageFiller::addTax(const QString& code)
{
    const QString choice = page_.gen(offset::TaxChoice);
    step(QStringLiteral("vergi seçimi ") + choice + QStringLiteral(": ") + code,
         [&] { s_.selectByValue(byId(choice), code); });
    wait_(20);
    click(page_.gen(offset::AddTax));
    wait_(50);
    step(QStringLiteral("vergi uyarısı onayı ") + code, [&] { s_.driver().acceptAlert(); });
}

void PageFiller::taxesAndReturns(const InvoicePageInput& in)
{
    if (in.kind == invoice::InvoiceKind::Tevkifat)
        addTax(QStringLiteral("V9015"));

    if (in.kind == invoice::InvoiceKind::Iade) {
        for (int j = 0; j < int(in.returnReferences.size()); ++j) {
            click(page_.gen(offset::AddReturn));
            const QString& reference = in.returnReferences[j];
            wait_(150);
            const QString dateId = page_.returnDate(j);
            unlock(dateId);
            type(page_.returnNumber(j), invoice::referenceSerial(reference));
            click(dateId);
            wait_(25);
            keys(QStringLiteral("iade tarihi yazma ") + dateId, selectAll() + invoice::referenceDate(reference));
            wait_(25);
            keys(QStringLiteral("Tab (iade tarihi sonrası)"), Keys::Tab);
            QString message;
            step(QStringLiteral("portal mesajı okuma"),
                 [&] { message = s_.find(Locator::xpath(fixed::PopupMessage)).text(); });
            if (!message.isEmpty() && feedback_.portalMessage)
                feedback_.portalMessage(message);
            // Closed whatever was read: a pop-up whose words had not come yet must not
            // stay over the page. Without words there may be no pop-up to close at all.
            const auto close = [&] { s_.click(Locator::xpath(fixed::PopupClose)); };
            if (!message.isEmpty()) {
                step(QStringLiteral("portal mesajı kapatma"), close);
            } else {
                try {
                    close();
                } catch (const std::exception&) {
                }
            }
        }
    }

    for (const QString& code : extraTaxCodes(in.grid))
        addTax(code);
}

int PageFiller::lineRowCount()
{
    int count = 0;
    step(QStringLiteral("satır tablosu sayımı ") + page_.lineTable(), [&] {
        // The rows of the last table of that id, all in one request.
        const nlohmann::json rows = s_.driver().executeScript(
            QStringLiteral("var n = 0; document.querySelectorAll(arguments[0]).forEach(function (t) {"
                           " n = t.getElementsByTagName('tr').length; }); return n;"),
            nlohmann::json::array({byId(page_.lineTable()).toW3C().second}));
        count = rows.is_number_integer() ? rows.get<int>() : 0;
    });
    return count;
}

void PageFiller::lines(const InvoicePageInput& in)
{
    const int lines = in.grid.rowCount();
    const QString addLine = page_.gen(offset::AddLine);
    for (int i = 0; i < lines; ++i)
        click(addLine);
    int count = 1;
    int extra = 0;
    while (lines >= count) {
        count = lineRowCount();
        if (lines < count)
            break;
        if (extra == extraAddLineClicks(lines)) {
            step(QStringLiteral("satır ekleme"), [&] {
                throw std::runtime_error(QStringLiteral("%1 satır için %2 kez denendi, tabloda %3 satır var")
                                             .arg(lines)
                                             .arg(lines + extra)
                                             .arg(count)
                                             .toStdString());
            });
            break;
        }
        click(addLine);
        wait_(road_.addLineWaitMs);
        ++extra;
    }
    progress(80);

    using K = WalkAction::Kind;
    const std::vector<LineElement> elements = sortedLineElements(readLineElements(s_, page_));
    for (const WalkAction& a : planLineWalk(elements, in.grid, in.kind)) {
        if (a.kind == K::Wait) {
            wait_(a.ms);
            continue;
        }
        step(describe(a), [&] {
            switch (a.kind) {
            case K::Click:
                s_.click(byId(a.id));
                break;
            case K::Type:
                s_.type(byId(a.id), a.text);
                break;
            case K::SelectText:
                s_.selectByText(byId(a.id), a.text);
                break;
            case K::SelectValue:
                s_.selectByValue(byId(a.id), a.text);
                break;
            case K::ClickConfirm:
                s_.click(Locator::xpath(fixed::PopupConfirm));
                break;
            case K::Tab:
                s_.pressKeys(Keys::Tab);
                break;
            case K::Wait:
                break;
            }
        });
    }
}

void PageFiller::note(const QString& text)
{
    type(page_.gen(offset::Note), text);
    keys(QStringLiteral("Enter (not)"), Keys::Enter);
}

} // namespace

void RoadWaits::operator()(int ms)
{
    total_ += ms;
    BrowserSession::bekle(ms);
}

std::optional<QString> readDateContainerId(BrowserSession& session, int tries, int waitMs, RoadWaits& wait,
                                           const std::function<void(int)>& failedTry)
{
    for (int t = 1; t <= tries; ++t) {
        QString id;
        try {
            // The first div of the page, and the first date container inside it.
            const nlohmann::json found = session.driver().executeScript(
                QStringLiteral("var d = document.getElementsByTagName('div')[0];"
                               "var c = d && d.querySelector(arguments[0]); return c ? c.id : null;"),
                nlohmann::json::array({Locator::className(fixed::DateContainerClass).toW3C().second}));
            id = found.is_string() ? QString::fromStdString(found.get<std::string>()) : QString();
        } catch (const std::exception&) {
            id.clear();
        }
        if (!id.isEmpty())
            return id;
        wait(waitMs);
        if (failedTry)
            failedTry(t);
    }
    return std::nullopt;
}

std::vector<LineElement> readLineElements(BrowserSession& session, const PageMap& page)
{
    static const QString script = QStringLiteral(R"(
var out = [];
document.querySelectorAll('[id="' + arguments[0] + '"]').forEach(function (body) {
  ['input', 'select', 'span'].forEach(function (tag) {
    Array.prototype.forEach.call(body.getElementsByTagName(tag), function (el) {
      out.push({tag: tag, id: el.getAttribute('id') || '', type: el.type === undefined ? '' : String(el.type),
                cls: el.getAttribute('class') || '', value: el.value === undefined ? '' : String(el.value),
                text: tag === 'span' ? el.innerText : ''});
    });
  });
});
return out;)");
    std::vector<LineElement> elements;
    session.attempt(QStringLiteral("satır tablosu okuma ") + page.lineTable(), [&] {
        const nlohmann::json found = session.driver().executeScript(
            script, nlohmann::json::array({page.lineTable().toStdString()}));
        for (const auto& e : found) {
            auto text = [&](const char* key) { return QString::fromStdString(e.value(key, std::string())); };
            elements.push_back({text("tag"), text("id"), text("type"), text("cls"), text("value"), text("text")});
        }
    });
    return elements;
}

QString readGrandTotal(BrowserSession& session)
{
    QString total;
    session.attempt(QStringLiteral("genel toplam okuma"), [&] {
        const auto cells =
            session.findAll(Locator::css(QStringLiteral("td[rel=\"%1\"]").arg(fixed::GrandTotalRel)));
        if (cells.empty())
            throw std::runtime_error("vergilerDahilToplamTutar bulunamadı");
        total = cells.front().find(Locator::tagName(QStringLiteral("span"))).text();
    });
    return total;
}

QString fillInvoicePage(BrowserSession& session, const PageMap& page, const InvoicePageInput& input,
                        const PageFillFeedback& feedback, RoadWaits& wait, const PageFillRoad& road)
{
    PageFiller filler(session, page, feedback, wait, road);
    filler.header(input);
    filler.taxesAndReturns(input);
    filler.lines(input);
    filler.note(input.note);
    const QString total = readGrandTotal(session);
    if (feedback.progress)
        feedback.progress(100);
    return total;
}

} // namespace kuvela::portal
