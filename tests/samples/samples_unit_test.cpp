// The sample roads' rules that need no browser: the login's attempt counter, the unit
// prices, the pointer gestures sent to the driver, the settings.
#include "platform/webdriver_actions.h"
#include "samples/despatch_note.h"
#include "samples/signing_page.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>
#include <set>
#include <stdexcept>

namespace kuvela::test {
namespace {

struct LoginCase {
    const char* name;
    int linkOnTest;  // the presence test that finds the link; 0: never
    int reloginLimit;
    int attemptLimit;
    bool found;
    int logins, exits, presenceTests;
};

TEST(DespatchNoteLogin, AttemptCounterLimits)
{
    const LoginCase cases[] = {
        {"first login", 1, 14, 50, true, 1, 0, 1},
        {"third login", 3, 14, 50, true, 3, 2, 3},
        {"last new login", 15, 14, 50, true, 15, 14, 15},
        {"repeated test past 14", 20, 14, 50, true, 15, 14, 20},
        // 14 logins with their exits, the 15th login, then tests at counters 15..50.
        {"never", 0, 14, 50, false, 15, 14, 50},
        {"small limits", 0, 2, 5, false, 3, 2, 5},
    };
    for (const LoginCase& c : cases) {
        SCOPED_TRACE(c.name);
        int tests = 0;
        std::vector<bool> passOver;
        std::vector<int> waits;
        LoginSteps steps;
        steps.login = [&](bool p) { passOver.push_back(p); };
        steps.linkPresent = [&](int ms) {
            waits.push_back(ms);
            return ++tests == c.linkOnTest;
        };
        int exits = 0;
        steps.exitClick = [&] { ++exits; };
        DespatchNoteLimits limits;
        limits.reloginLimit = c.reloginLimit;
        limits.attemptLimit = c.attemptLimit;
        limits.linkWaitMs = 321;
        const LoginCount n = irsaliyeGirisi(steps, limits);
        EXPECT_EQ(n.found, c.found);
        EXPECT_EQ(n.logins, c.logins);
        EXPECT_EQ(exits, c.exits);
        EXPECT_EQ(n.exits, c.exits);
        EXPECT_EQ(n.presenceTests, c.presenceTests);
        EXPECT_EQ(tests, c.presenceTests);
        EXPECT_EQ(n.pastFirstMiss, c.linkOnTest != 1);
        // Only the first login runs under the fatal regime.
        ASSERT_FALSE(passOver.empty());
        EXPECT_FALSE(passOver.front());
        for (size_t i = 1; i < passOver.size(); ++i)
            EXPECT_TRUE(passOver[i]);
        for (int ms : waits)
            EXPECT_EQ(ms, 321);
    }
}

TEST(DespatchNoteLogin, AFailingFirstLoginEndsTheRoad)
{
    LoginSteps steps;
    int tests = 0;
    steps.login = [](bool) { throw std::runtime_error("no login page"); };
    steps.linkPresent = [&](int) { return ++tests > 0; };
    steps.exitClick = [] {};
    EXPECT_THROW(irsaliyeGirisi(steps, DespatchNoteLimits{}), std::runtime_error);
    EXPECT_EQ(tests, 0);
}

TEST(DespatchNoteLines, UnitPricesAreWholeHundredsFrom100To700AndFollowTheSeed)
{
    std::mt19937 a(2024), b(2024);
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        const int price = ornekBirimFiyat(a);
        EXPECT_EQ(price, ornekBirimFiyat(b));
        seen.insert(price);
    }
    EXPECT_EQ(seen, (std::set<int>{100, 200, 300, 400, 500, 600, 700}));
}

TEST(PointerActions, DoubleClickMovesOntoTheElementAndClicksTwice)
{
    const nlohmann::json ref = {{"element-6066-11e4-a52e-4f735466cecf", "e1"}};
    const nlohmann::json sources = doubleClickActions(ref);
    ASSERT_EQ(sources.size(), 1u);
    EXPECT_EQ(sources[0]["type"], "pointer");
    EXPECT_EQ(sources[0]["parameters"]["pointerType"], "mouse");
    const auto& steps = sources[0]["actions"];
    ASSERT_EQ(steps.size(), 5u);
    EXPECT_EQ(steps[0]["type"], "pointerMove");
    EXPECT_EQ(steps[0]["origin"], ref);
    const char* expected[] = {"pointerDown", "pointerUp", "pointerDown", "pointerUp"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(steps[i + 1]["type"], expected[i]);
        EXPECT_EQ(steps[i + 1]["button"], 0);
    }
    const nlohmann::json offset = pointerMoveTo(ref, 5, -3);
    EXPECT_EQ(offset["x"], 5);
    EXPECT_EQ(offset["y"], -3);
    EXPECT_EQ(offset["origin"], ref);
}

TEST(SampleSettings, DefaultsAndOverrides)
{
    ProgramFolder home;
    ScopedEnv env;
    env.unset("KUVELA_SIGNING_URL");
    env.unset("KUVELA_SIGNING_PIN");
    env.set("KUVELA_TESTPORTAL_URL", QStringLiteral("http://127.0.0.1:9/ "));
    SigningPageSettings s = SigningPageSettings::fromSettings();
    EXPECT_EQ(s.pageUrl, QStringLiteral("https://127.0.0.1:8543/"));
    EXPECT_EQ(s.pin, QStringLiteral("384172"));
    EXPECT_EQ(testPortalUrl(), QStringLiteral("http://127.0.0.1:9"));
    env.set("KUVELA_SIGNING_PIN", QStringLiteral("111222"));
    EXPECT_EQ(SigningPageSettings::fromSettings().pin, QStringLiteral("111222"));
}

} // namespace
} // namespace kuvela::test
