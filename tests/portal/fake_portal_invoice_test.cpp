// The fake portal's invoice page beyond what the single upload uses: "Oluştur" and its
// result, the tab's close, and the switches the bulk run's tests lean on.
#include "invoice/invoice_type.h"
#include "portal/browser_session.h"
#include "portal/fake_portal_harness.h"
#include "portal/invoice_page_fill.h"
#include "portal/invoice_page_map.h"

#include <QDate>
#include <QThread>
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
    // One line: its name, quantity 1, the price and VAT 18.
    void oneLine(const PageMap& page, const QString& price)
    {
        session.find(Locator::id(page.gen(offset::AddLine))).click();
        const std::vector<LineElement> row = sortedLineElements(readLineElements(session, page));
        ASSERT_EQ(row.size(), 10u);  // nine cells and the delete button
        type(row[0].id, QStringLiteral("Vida"));
        type(row[1].id, QStringLiteral("1"));
        type(row[3].id, price);
        session.find(Locator::id(row[7].id)).selectByText(QStringLiteral("18"));
    }
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
    in.typeText = QStringLiteral("İADE");
    in.typePosition = int(invoice::TypePosition::Iade);
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
