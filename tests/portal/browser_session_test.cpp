// Login, the steps after it and the logout, on the fake portal in real headless chromium.
#include "platform/browser_session.h"
#include "portal/fake_portal_harness.h"

#include "platform/webdriver_process.h"

#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>

using namespace kuvela;
using kuvela::test::FakePortal;
using nlohmann::json;
namespace be = browser_error;

namespace {

const QString kUser = QStringLiteral("1111111");
const QString kPass = QStringLiteral("abc123");
const QString kPage = QStringLiteral("e-Arşiv Fatura (İnteraktif) Oluştur");

// What a login showed, and the browser's processes while it ran.
struct Watch {
    QStringList status;
    std::vector<int> progress;
    std::vector<qint64> processes;

    LoginFeedback feedback(BrowserSession& session)
    {
        return {[this](const QString& s) { status << s; },
                [this, &session](int p) {
                    progress.push_back(p);
                    if (processes.empty())
                        processes = session.driver().processTree();
                }};
    }
};

// A killed process takes a moment to go, longer on a busy machine.
bool allEnded(const std::vector<qint64>& pids)
{
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        bool any = false;
        for (qint64 p : pids)
            any = any || processAlive(p);
        if (!any)
            return true;
        if (waited.elapsed() > 5000)
            return false;
        QThread::msleep(50);
    }
}

QString everythingLogged(const BrowserSession& session)
{
    QString all;
    for (const SkippedStep& s : session.skippedSteps())
        all += s.what + u'\n' + s.why + u'\n';
    return all;
}

} // namespace

TEST(PortalLogin, ReachesAStartPageThatComesLateAndLogsOutPastAnOpenAlert)
{
    // Polls of their full second here: the page's delay is real time.
    const test::ScopedEnv fullTime("KUVELA_TIME_SCALE", "1");
    FakePortal portal(json{{"startPageDelayMs", 2500}});
    BrowserSession session;
    Watch watch;
    const LoginOutcome out = session.portalGiris(BrowserStart::singleUpload(QStringLiteral("/tmp")), kUser, kPass,
                                                 PortalLogin::singleUpload(), watch.feedback(session));
    ASSERT_TRUE(out.loggedIn);
    // Inserted 2.5 s after the page: polls of a second missed it before one saw it.
    EXPECT_GE(out.attempts, 2);
    EXPECT_LE(out.attempts, 4);
    EXPECT_EQ(watch.progress.front(), 2);
    EXPECT_EQ(watch.progress.back(), 2 * out.attempts);
    EXPECT_EQ(watch.status, QStringList{BrowserSession::loggedInText()});
    EXPECT_TRUE(session.skippedSteps().empty()) << everythingLogged(session).toStdString();

    // The menu was walked to the road's page.
    EXPECT_EQ(session.find(Locator::css(QStringLiteral("#content h2"))).text(), kPage);
    const auto logins = portal.events("login");
    ASSERT_EQ(logins.size(), 1u);
    EXPECT_EQ(logins[0]["user"], kUser.toStdString());
    EXPECT_EQ(portal.events().dump().find(kPass.toStdString()), std::string::npos);

    // The page keeps the frame the later roads address by position: the first div of the
    // document, and the pop-up panel as its sixth div.
    EXPECT_EQ(session.find(Locator::tagName(QStringLiteral("div"))).attribute(QStringLiteral("id")),
              QStringLiteral("runtime-body"));
    session.driver().executeScript(QStringLiteral("Portal.showPopup('Bilgi metni');"));
    EXPECT_EQ(session.find(Locator::xpath(QStringLiteral(
                                  "//*[@id='runtime-body']/div[6]/div[2]/div/table/tbody/tr/td/span")))
                  .text(),
              QStringLiteral("Bilgi metni"));
    session.find(Locator::xpath(QStringLiteral("//*[@id='runtime-body']/div[6]/div[2]/div/div/div/input"))).click();
    // Hidden again: its close control shows no text.
    EXPECT_EQ(session.find(Locator::xpath(QStringLiteral("//*[@id='runtime-body']/div[6]/div[1]/div[2]"))).text(),
              QString());
    EXPECT_EQ(portal.events("popup").size(), 1u);

    // An alert left open by the road must not swallow the logout.
    session.driver().executeScript(QStringLiteral("setTimeout(function () { alert('Kuvela'); }, 0);"));
    QThread::msleep(200);  // real time for the page's timer
    EXPECT_TRUE(session.portalCikis());
    EXPECT_EQ(portal.events("logout").size(), 1u);
    EXPECT_FALSE(session.isOpen());
    EXPECT_TRUE(allEnded(watch.processes));
    EXPECT_TRUE(session.skippedSteps().empty()) << everythingLogged(session).toStdString();
}

TEST(PortalLogin, WrongPasswordStopsAtTheLimitWithNothingLeftRunning)
{
    FakePortal portal;
    BrowserSession session;
    Watch watch;
    PortalLogin how = PortalLogin::singleUpload();
    how.limit = 3; // the road's 20 polls of a second, shortened
    how.pollMs = 300;
    const LoginOutcome out = session.portalGiris(BrowserStart::singleUpload(QStringLiteral("/tmp")), kUser,
                                                 QStringLiteral("yanlış"), how, watch.feedback(session));
    EXPECT_FALSE(out.loggedIn);
    EXPECT_EQ(out.attempts, 3);
    EXPECT_EQ(watch.progress, (std::vector<int>{2, 4, 6}));
    EXPECT_EQ(watch.status, QStringList{QStringLiteral("Giriş yapılamıyor... Daha sonra tekrar deneyiniz...")});
    EXPECT_FALSE(session.isOpen());
    ASSERT_GE(watch.processes.size(), 2u); // the driver and the browser, seen while polling
    EXPECT_TRUE(allEnded(watch.processes));
    EXPECT_TRUE(test::browserProcessesGone());
    EXPECT_EQ(portal.events("loginFailed").size(), 1u);
    EXPECT_TRUE(portal.events("login").empty());
    EXPECT_TRUE(portal.events("logout").empty());
    EXPECT_FALSE(session.portalCikis()); // nothing open to log out of
}

TEST(PortalLogin, AMissingMenuEntryIsSkippedAndRecordedAndTheRoadGoesOn)
{
    FakePortal portal(json{{"omitMainTreeOption", true}});
    BrowserSession session;
    const LoginOutcome out = session.portalGiris(BrowserStart::singleUpload(QStringLiteral("/tmp")), kUser, kPass,
                                                 PortalLogin::singleUpload());
    ASSERT_TRUE(out.loggedIn);
    EXPECT_EQ(out.attempts, 1);
    // No "Ana Menü": its choice and click fail, so the menu stays hidden and both links
    // are missed, each skipped in turn.
    const auto& skipped = session.skippedSteps();
    ASSERT_EQ(skipped.size(), 4u) << everythingLogged(session).toStdString();
    EXPECT_TRUE(skipped[0].what.contains(QStringLiteral("MAINTREEMENU")));
    EXPECT_TRUE(skipped[0].why.contains(QStringLiteral("Hata No: 1113")));
    EXPECT_TRUE(skipped[2].what.contains(QStringLiteral("Belge İşlemleri")));
    EXPECT_TRUE(skipped[3].what.contains(kPage));
    EXPECT_TRUE(skipped[3].why.contains(QStringLiteral("Hata No: 1111")));
    EXPECT_FALSE(everythingLogged(session).contains(kPass));
    EXPECT_TRUE(session.isOpen());
    EXPECT_TRUE(session.portalCikis());
    EXPECT_EQ(portal.events("logout").size(), 1u);
}

TEST(PortalLogin, FailuresBeforeTheStartPageThrowAndLeaveNoProcess)
{
    FakePortal portal;
    const QString secret = QStringLiteral("gizli-Şifre-42");

    // A login page without the login fields.
    qputenv("KUVELA_PORTAL_URL", portal.url(QStringLiteral("/yok")).toUtf8());
    {
        BrowserSession session;
        try {
            session.portalGiris(BrowserStart::singleUpload(QStringLiteral("/tmp")), kUser, secret,
                                PortalLogin::singleUpload());
            FAIL() << "logged in without a login page";
        } catch (const WebDriverError& e) {
            EXPECT_EQ(e.code(), be::ElementNotFound);
            EXPECT_TRUE(e.message().contains(QStringLiteral("id=userid")));
            EXPECT_FALSE(e.fullMessage().contains(secret));
            EXPECT_FALSE(e.detail().contains(secret));
        }
        EXPECT_FALSE(session.isOpen());
        EXPECT_TRUE(test::browserProcessesGone());
    }
    qputenv("KUVELA_PORTAL_URL", portal.baseUrl().toUtf8());

    struct Row {
        const char* variable;
        const char* value;
        int code;
    };
    const Row rows[] = {
        {"KUVELA_BROWSER_DRIVER", "/yok/chromedriver", be::DriverMissing},
        {"KUVELA_BROWSER_BINARY", "/yok/chromium", be::BrowserStart},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.variable);
        qputenv(r.variable, r.value);
        BrowserSession session;
        try {
            session.portalGiris(BrowserStart::singleUpload(QStringLiteral("/tmp")), kUser, secret,
                                PortalLogin::singleUpload());
            ADD_FAILURE() << "started without " << r.value;
        } catch (const WebDriverError& e) {
            EXPECT_EQ(e.code(), r.code);
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(r.value))) << e.message().toStdString();
        }
        qunsetenv(r.variable);
        EXPECT_FALSE(session.isOpen());
        EXPECT_TRUE(test::browserProcessesGone());
    }
    EXPECT_TRUE(portal.events("login").empty());
}

TEST(PortalLogin, ASessionLeftOpenEndsWithItsOwner)
{
    FakePortal portal;
    std::vector<qint64> tree;
    {
        BrowserSession session;
        const LoginOutcome out = session.portalGiris(BrowserStart::bulkUpload(QStringLiteral("/tmp")), kUser, kPass,
                                                     PortalLogin::bulkUpload());
        ASSERT_TRUE(out.loggedIn);
        EXPECT_TRUE(session.skippedSteps().empty()) << everythingLogged(session).toStdString();
        tree = session.driver().processTree();
        ASSERT_GE(tree.size(), 2u);
        // A road that ends without logging out, as by an exception.
    }
    EXPECT_TRUE(allEnded(tree));
    EXPECT_TRUE(test::browserProcessesGone());
    EXPECT_TRUE(portal.events("logout").empty());
}

TEST(PortalLogin, ADriverOrBrowserThatDiesIsAFailureAndLeavesNothingBehind)
{
    FakePortal portal;
    for (const bool killDriver : {false, true}) {
        SCOPED_TRACE(killDriver ? "driver killed" : "browser killed");
        BrowserSession session;
        session.tarayiciBaslat(BrowserStart::quietArguments(), {}, portal.url(QStringLiteral("/surucu.html")));
        const std::vector<qint64> tree = session.driver().processTree();
        ASSERT_GE(tree.size(), 2u);
        // The driver comes first, the browser it started right below it.
        ::kill(pid_t(killDriver ? tree[0] : tree[1]), SIGKILL);
        QThread::msleep(300);  // real time for the process to go
        int code = 0;
        try {
            session.find(Locator::id(QStringLiteral("ad"))).click();
        } catch (const WebDriverError& e) {
            code = e.code();
        }
        EXPECT_NE(code, 0);
        EXPECT_FALSE(session.attempt(QStringLiteral("tıklama"), [&] { session.find(Locator::id(QStringLiteral("ad"))); }));
        session.tarayiciKapat();
        EXPECT_TRUE(allEnded(tree));
        EXPECT_TRUE(test::browserProcessesGone());
    }
}
