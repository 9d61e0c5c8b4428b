// The fake portal's invoice page beyond what the single upload uses: "Oluştur" and its
// result, the tab's close, and the switches the bulk run's tests lean on.
#include "invoice/invoice_type.h"
#include "platform/browser_session.h"
#include "portal/fake_portal_harness.h"
#include "portal/invoice_page_fill.h"
#include "portal/invoice_page_map.h"

#include <QDate>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

using namespace kuvela;
using namespace kuvela::portal;
using kuvela::test::FakePortal;
using nlohmann::json;

namespace {

class OnInvoicePage : public ::testing::Test {
protected:
    void login(const json& scenario)
    {
        portal = std::make_unique<FakePortal>(scenario);
        const LoginOutcome out = session.portalGiris(BrowserStart::singleUpload(QStringLiteral("/tmp")),
                                                     QStringLiteral("1111111"), QStringLiteral("abc123"),
                                                     PortalLogin::singleUpload());
        ASSERT_TRUE(out.loggedIn);
    }
    void type(const QString& id, const QString& text) { session.find(Locator::id(id)).sendKeys(text); }
    // One line: its name, quantity 1, "Adet", the price and VAT 18.
    void oneLine(const PageMap& page, const QString& price)
    {
        session.find(Locator::id(page.gen(offset::AddLine))).click();
        const std::vector<LineElement> row = sortedLineElements(readLineElements(session, page));
        ASSERT_EQ(row.size(), 10u);  // nine cells and the delete button
        type(row[0].id, QStringLiteral("Vida"));
        type(row[1].id, QStringLiteral("1"));
        session.find(Locator::id(row[2].id)).selectByText(QStringLiteral("Adet"));
        type(row[3].id, price);
        session.find(Locator::id(row[7].id)).selectByText(QStringLiteral("18"));
    }
    // A field given its value as a script would, with the page told of the change.
    void set(const QString& id, const QString& value)
    {
        session.driver().executeScript(
            QStringLiteral("var e = document.getElementById(arguments[0]); e.value = arguments[1];"
                           "e.dispatchEvent(new Event('input', {bubbles: true}));"
                           "e.dispatchEvent(new Event('change', {bubbles: true}));"),
            json::array({id.toStdString(), value.toStdString()}));
    }
    QString lineCell(const PageMap& page, int row, int cell)
    {
        const std::vector<LineElement> all = sortedLineElements(readLineElements(session, page));
        return all.at(size_t(row * 10 + cell)).id;
    }
    json verdict() { return session.driver().executeScript(QStringLiteral("return Portal.snapshot().verdict;")); }
    QString message() { return session.find(Locator::xpath(fixed::PopupMessage)).text(); }
    void create() { session.find(Locator::byValue(QStringLiteral("Oluştur"))).click(); }

    std::unique_ptr<FakePortal> portal;
    BrowserSession session;
};

} // namespace

TEST_F(OnInvoicePage, CreateRefuseCloseTheTabAndTheSwitches)
{
    login({{"refuseCreate", {{"2222222222", "Alıcı bilgileri hatalı."}}},
           {"totalSkew", {{"1111111111", "0,06"}}},
           {"pagesWithoutDateContainer", {2}},
           {"popupDelayMs", 400}});
    RoadWaits wait;
    const PageMap first{baseIdOr1026(readDateContainerId(session, 1, 10, wait))};
    EXPECT_EQ(first.N, 1026);
    type(first.gen(offset::BuyerTaxNumber), QStringLiteral("1111111111"));
    type(first.gen(offset::BuyerTitle), QStringLiteral("Alfa Ltd"));
    oneLine(first, QStringLiteral("100"));
    EXPECT_EQ(readGrandTotal(session), "118,06");  // 118,00 shown with the skew

    create();
    EXPECT_EQ(message(), QString());  // the result comes after the portal's delay
    QThread::msleep(700);  // real time: the page's own delay
    const QString success = message();
    EXPECT_EQ(success.left(35), "Faturanız başarıyla oluşturulmuştur");
    const auto created = portal->events("created");
    ASSERT_EQ(created.size(), 1u);
    const std::string serial = "GIB" + std::to_string(QDate::currentDate().year()) + "000000001";
    EXPECT_EQ(created[0]["serial"], serial);
    EXPECT_EQ(created[0]["form"]["created"], true);
    EXPECT_EQ(created[0]["form"]["rows"][0]["vat"], "18,00");
    EXPECT_TRUE(success.endsWith(QString::fromStdString(serial)));
    session.find(Locator::xpath(fixed::PopupClose)).click();
    EXPECT_EQ(message(), QString());

    // The page link again: a fresh page with higher ids, here without its date container.
    session.find(Locator::linkText(QStringLiteral("e-Arşiv Fatura (İnteraktif) Oluştur"))).click();
    EXPECT_FALSE(readDateContainerId(session, 2, 10, wait));
    const auto opened = portal->events("pageOpened");
    ASSERT_EQ(opened.size(), 2u);
    const PageMap second{int(opened[1]["N"])};
    EXPECT_EQ(second.N, 1026 + 126 + 10);  // the first page's own ids and its row's
    type(second.gen(offset::BuyerTaxNumber), QStringLiteral("2222222222"));
    type(second.gen(offset::BuyerTitle), QStringLiteral("Beta AŞ"));
    oneLine(second, QStringLiteral("50"));
    create();
    QThread::msleep(700);
    EXPECT_EQ(message(), "Alıcı bilgileri hatalı.");
    EXPECT_EQ(portal->events("createRefused").size(), 1u);
    session.find(Locator::xpath(fixed::PopupClose)).click();
    session.find(Locator::xpath(fixed::TabClose)).click();
    const auto closed = portal->events("tabClosed");
    ASSERT_EQ(closed.size(), 1u);
    EXPECT_EQ(closed[0]["N"], second.N);
    EXPECT_TRUE(session.findAll(Locator::id(second.gen(offset::InvoiceType))).empty());
    EXPECT_TRUE(session.findAll(Locator::xpath(fixed::TabClose)).empty());

    EXPECT_TRUE(session.portalCikis());
    const auto logout = portal->events("logout");
    ASSERT_EQ(logout.size(), 1u);
    EXPECT_TRUE(logout[0]["form"].is_null());
    EXPECT_TRUE(session.skippedSteps().empty());
}

TEST_F(OnInvoicePage, AReturnPopUpIsClosedEvenBeforeItsWordsCame)
{
    login({{"popupTextLagMs", 400}});
    RoadWaits wait;
    const PageMap page{baseIdOr1026(readDateContainerId(session, 1, 10, wait))};
    InvoicePageInput in;
    in.kind = invoice::InvoiceKind::Iade;
    in.invoiceDate = QStringLiteral("01/02/2024");
    // A number the portal refuses: its pop-up opens with no words yet.
    in.returnReferences = {QStringLiteral("ABC12345---01/02/2024")};
    QStringList shown;
    fillInvoicePage(session, page, in, {{}, [&](const QString& m) { shown << m; }}, wait);
    ASSERT_EQ(portal->events("popup").size(), 1u);
    EXPECT_TRUE(shown.isEmpty());
    QThread::msleep(600);  // real time: the page's own delay
    // Closed all the same, so its late words never stand over the page.
    EXPECT_EQ(message(), QString());
}

TEST_F(OnInvoicePage, EachFaultOfADraftIsRefusedInItsOwnWordsAndEverySnapshotSaysSo)
{
    // The portal's today is the scenario's: a date after it is refused.
    login({{"today", "15/03/2024"}});
    using Change = std::function<void(const PageMap&)>;
    struct Case {
        const char* what;
        Change change;
        std::string refusal;  // empty: the draft would be created
        const char* type = "SATIS";
    };
    const std::string iade = "İade faturası için en az bir geçerli iade edilen fatura (16 karakterlik numara, fatura "
                             "tarihinden sonra olmayan tarih) girilmelidir.";
    auto field = [&](int off, const char* value) { return [=, this](const PageMap& p) { set(p.gen(off), QString::fromUtf8(value)); }; };
    auto date = [&](const char* value) { return [=, this](const PageMap& p) { set(p.dateGen(offset::InvoiceDate), QString::fromUtf8(value)); }; };
    auto cell = [&](int row, int c, const char* value) {
        return [=, this](const PageMap& p) { set(lineCell(p, row, c), QString::fromUtf8(value)); };
    };
    auto both = [](Change a, Change b) { return [=](const PageMap& p) { a(p); b(p); }; };
    auto addRow = [this](const PageMap& p) { session.find(Locator::id(p.gen(offset::AddLine))).click(); };
    auto addReturn = [this](const PageMap& p, const char* no, const char* day) {
        session.find(Locator::id(p.gen(offset::AddReturn))).click();
        const auto added = portal->events("returnRowAdded");
        const int a = added.back()["id"];
        set(QStringLiteral("gen__%1").arg(a), QString::fromUtf8(no));
        set(QStringLiteral("date-gen__%1").arg(a + 1), QString::fromUtf8(day));
    };
    const Case cases[] = {
        {"a whole draft", {}, ""},
        {"an entirely empty row besides", addRow, ""},
        {"a company without its title", field(offset::BuyerTitle, ""), "Alıcı unvanı boş bırakılamaz."},
        {"a person without a surname",
         both(field(offset::BuyerTaxNumber, "12345678901"), both(field(offset::BuyerTitle, ""), field(offset::BuyerName, "Ayşe"))),
         "Alıcı adı ve soyadı boş bırakılamaz."},
        {"a person named whole",
         both(field(offset::BuyerTaxNumber, "12345678901"), both(field(offset::BuyerName, "Ayşe"), field(offset::BuyerSurname, "Demir"))),
         ""},
        {"a nine-digit number", field(offset::BuyerTaxNumber, "123456789"), "Alıcı VKN/TCKN 10 veya 11 haneli olmalıdır."},
        {"the portal's today", date("15/03/2024"), ""},
        {"the day after", date("16/03/2024"), "Fatura tarihi bugünden ileri bir tarih olamaz."},
        {"a day without its zero", date("1/03/2024"), "Fatura tarihi gg/aa/yyyy biçiminde olmalıdır."},
        {"a day the calendar lacks", date("30/02/2024"), "Fatura tarihi gg/aa/yyyy biçiminde olmalıdır."},
        {"an empty date", date(""), "Fatura tarihi gg/aa/yyyy biçiminde olmalıdır."},
        {"a foreign currency without its rate", field(offset::Currency, "Euro"), "Döviz kuru sıfırdan büyük olmalıdır."},
        {"a foreign currency at a rate of 0", both(field(offset::Currency, "Euro"), field(3, "0")),
         "Döviz kuru sıfırdan büyük olmalıdır."},
        {"a foreign currency with its rate", both(field(offset::Currency, "ABD Doları"), field(3, "30,5")), ""},
        {"a line of quantity 0", cell(0, 1, "0"), "1. satır: miktar sıfırdan büyük olmalıdır."},
        {"a line without its quantity", cell(0, 1, ""), "1. satır: miktar sıfırdan büyük olmalıdır."},
        {"a line without its unit", cell(0, 2, ""), "1. satır: birim seçilmelidir."},
        {"a second line with only a name", both(addRow, cell(1, 0, "Somun")), "2. satır: miktar sıfırdan büyük olmalıdır."},
        {"no named line", cell(0, 0, ""), "En az bir mal/hizmet satırı girilmelidir."},
        {"a price the page cannot compute", cell(0, 3, "abc"), "Fatura toplamları hesaplanamadı. Satırları kontrol ediniz."},
        {"TEVKİFAT without the withholding tax, so no code", {}, "1. satır: tevkifat kodu seçilmelidir.", "TEVKIFAT"},
        {"İADE without a return row", {}, iade, "IADE"},
        {"İADE with a short number and a later date only",
         [&](const PageMap& p) { addReturn(p, "ABC12345", "01/03/2024"); addReturn(p, "GIB2024000000001", "02/03/2024"); },
         iade, "IADE"},
        {"İADE with one valid return row",
         [&](const PageMap& p) { addReturn(p, "ABC12345", "01/03/2024"); addReturn(p, "GIB2024000000001", "01/03/2024"); },
         "", "IADE"},
    };
    RoadWaits wait;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        session.find(Locator::linkText(QStringLiteral("e-Arşiv Fatura (İnteraktif) Oluştur"))).click();
        const PageMap page{baseIdOr1026(readDateContainerId(session, 3, 10, wait))};
        // The type first: the line rows are made for it.
        session.find(Locator::id(page.gen(offset::InvoiceType))).selectByValue(QString::fromUtf8(c.type));
        type(page.gen(offset::BuyerTaxNumber), QStringLiteral("1111111111"));
        type(page.gen(offset::BuyerTitle), QStringLiteral("Alfa Ltd"));
        set(page.dateGen(offset::InvoiceDate), QStringLiteral("01/03/2024"));
        oneLine(page, QStringLiteral("100"));
        if (c.change)
            c.change(page);
        const json v = verdict();
        EXPECT_EQ(v["message"], c.refusal);
        EXPECT_EQ(v["accepted"], c.refusal.empty());
    }

    // "Oluştur" refuses with the verdict's words and records the form with it.
    session.find(Locator::linkText(QStringLiteral("e-Arşiv Fatura (İnteraktif) Oluştur"))).click();
    const PageMap page{baseIdOr1026(readDateContainerId(session, 3, 10, wait))};
    type(page.gen(offset::BuyerTaxNumber), QStringLiteral("1111111111"));
    set(page.dateGen(offset::InvoiceDate), QStringLiteral("01/03/2024"));
    oneLine(page, QStringLiteral("100"));
    create();
    EXPECT_EQ(message(), QStringLiteral("Alıcı unvanı boş bırakılamaz."));
    const auto refused = portal->events("createRefused");
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0]["message"], "Alıcı unvanı boş bırakılamaz.");
    EXPECT_FALSE(FakePortal::accepts(refused[0]["form"]));
    EXPECT_EQ(FakePortal::refusalOf(refused[0]["form"]), "Alıcı unvanı boş bırakılamaz.");
    EXPECT_TRUE(portal->events("created").empty());
}
