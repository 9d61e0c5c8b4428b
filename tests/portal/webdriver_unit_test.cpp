// The browser layer's pure parts: locators, keys, capabilities and the road tables.
#include "platform/webdriver.h"
#include "platform/browser_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <unistd.h>

using namespace kuvela;
using nlohmann::json;

TEST(Locator, TranslatesTheStrategiesTheDriverRefuses)
{
    struct Row {
        Locator locator;
        std::string using_;
        std::string value;
    };
    const Row rows[] = {
        {Locator::id("gen__1006"), "css selector", "#gen__1006"},
        {Locator::id("gen__1069-b"), "css selector", "#gen__1069-b"},
        {Locator::id("1st"), "css selector", R"(#\31 st)"},
        {Locator::id(R"(a"b\c d)"), "css selector", R"(#a\"b\\c\ d)"},
        {Locator::id(""), "css selector", R"([id=""])"},
        {Locator::name("action"), "css selector", R"([name="action"])"},
        {Locator::name("tuhaf'ad"), "css selector", R"([name="tuhaf'ad"])"},
        {Locator::byValue("MAINTREEMENU"), "css selector", R"([value="MAINTREEMENU"])"},
        {Locator::className("csc-tarih-container"), "css selector", ".csc-tarih-container"},
        {Locator::className("c:1"), "css selector", R"(.c\:1)"},
        {Locator::className("9lu"), "css selector", R"(.\39 lu)"},
        {Locator::className("alan metin"), "css selector", ".alan.metin"},
        {Locator::className("-"), "css selector", R"(.\-)"},
        {Locator::className("-1a"), "css selector", R"(.-\31 a)"},
        {Locator::className("ığüş"), "css selector", ".ığüş"},
        {Locator::linkText("Belge İşlemleri"), "link text", "Belge İşlemleri"},
        {Locator::xpath("//*[@id='runtime-body']/div[6]"), "xpath", "//*[@id='runtime-body']/div[6]"},
        {Locator::tagName("tr"), "tag name", "tr"},
        {Locator::css("#a > b"), "css selector", "#a > b"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.locator.describe().toStdString());
        const auto [using_, value] = r.locator.toW3C();
        EXPECT_EQ(using_, r.using_);
        EXPECT_EQ(value, r.value);
    }
    EXPECT_EQ(cssString(QStringLiteral("a\nb")), QStringLiteral("\"a\\a b\""));
}

TEST(Locator, XPathLiteralHoldsAnyQuote)
{
    EXPECT_EQ(xpathLiteral(QStringLiteral("Adet")), QStringLiteral("'Adet'"));
    EXPECT_EQ(xpathLiteral(QStringLiteral("Ali'nin")), QStringLiteral("\"Ali'nin\""));
    EXPECT_EQ(xpathLiteral(QStringLiteral("Ali'nin \"kutusu\"")),
              QStringLiteral("concat('Ali',\"'\",'nin \"kutusu\"')"));
    EXPECT_EQ(xpathLiteral(QStringLiteral("'")), QStringLiteral("\"'\""));
}

namespace {
// The key actions as "d:x" / "u:x" steps, modifiers by name.
std::vector<std::string> steps(const QString& keys)
{
    const json sources = keyActions(keys);
    EXPECT_EQ(sources.size(), 1u);
    EXPECT_EQ(sources[0]["type"], "key");
    std::vector<std::string> out;
    for (const json& a : sources[0]["actions"]) {
        std::string v = a["value"].get<std::string>();
        if (v == Keys::Control.toStdString())
            v = "CTRL";
        else if (v == Keys::Shift.toStdString())
            v = "SHIFT";
        else if (v == Keys::Tab.toStdString())
            v = "TAB";
        out.push_back((a["type"] == "keyDown" ? "d:" : "u:") + v);
    }
    return out;
}
} // namespace

TEST(KeyActions, ModifiersAreHeldUntilNullOrTheEnd)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(steps(Keys::chord(Keys::Control, QStringLiteral("a"))), (V{"d:CTRL", "d:a", "u:a", "u:CTRL"}));
    EXPECT_EQ(steps(Keys::Shift + Keys::Tab), (V{"d:SHIFT", "d:TAB", "u:TAB", "u:SHIFT"}));
    EXPECT_EQ(steps(Keys::chord(Keys::Control, QStringLiteral("a")) + QStringLiteral("ş")),
              (V{"d:CTRL", "d:a", "u:a", "u:CTRL", "d:ş", "u:ş"}));
    // Pressed again, a modifier goes up at once.
    EXPECT_EQ(steps(Keys::Control + QStringLiteral("c") + Keys::Control + QStringLiteral("x")),
              (V{"d:CTRL", "d:c", "u:c", "u:CTRL", "d:x", "u:x"}));
    // A character beyond the basic plane travels as one key, not as two halves.
    EXPECT_EQ(steps(QString::fromUtf8("𝄞")), (V{"d:𝄞", "u:𝄞"}));
}

TEST(Capabilities, KeepTheCallersOrderAndAddTheHeadlessSwitchesAfter)
{
    ChromeOptions o;
    o.binary = QStringLiteral("/usr/bin/chromium");
    o.arguments = BrowserStart::quietArguments();
    o.arguments << QStringLiteral("--disable-crash-reporter"); // listed twice, passed twice
    o.preferences = {{QStringLiteral("download.default_directory"), QStringLiteral("/tmp/Satış Faturaları/Temp")},
                     {QStringLiteral("download.directory_upgrade"), true},
                     {QStringLiteral("printing.print_preview_sticky_settings"),
                      Preferences{{QStringLiteral("appState"), QStringLiteral("{\"version\":2}")}}},
                     {QStringLiteral("download.prompt_for_download"), false}};
    o.headless = true;
    o.userDataDir = QStringLiteral("/tmp/profil");
    const auto caps = sessionCapabilities(o);
    const auto& chrome = caps["alwaysMatch"]["goog:chromeOptions"];
    EXPECT_EQ(caps["alwaysMatch"]["browserName"], "chrome");
    EXPECT_EQ(chrome["binary"], "/usr/bin/chromium");
    const std::vector<std::string> args = chrome["args"];
    const std::vector<std::string> expected = {
        "--disable-logging", "--log-level=3", "--disable-extensions", "--disable-gpu", "--disable-crash-reporter",
        "--disable-crash-reporter", "--headless=new", "--no-sandbox", "--disable-gpu", "--user-data-dir=/tmp/profil",
        "--no-first-run", "--disable-background-networking", "--disable-component-update", "--disable-sync"};
    EXPECT_EQ(args, expected);
    std::vector<std::string> prefNames;
    for (const auto& [name, value] : chrome["prefs"].items())
        prefNames.push_back(name);
    EXPECT_EQ(prefNames, (std::vector<std::string>{"download.default_directory", "download.directory_upgrade",
                                                   "printing.print_preview_sticky_settings",
                                                   "download.prompt_for_download"}));
    EXPECT_EQ(chrome["prefs"]["download.default_directory"], "/tmp/Satış Faturaları/Temp");
    EXPECT_EQ(chrome["prefs"]["download.directory_upgrade"], true);
    EXPECT_EQ(chrome["prefs"]["download.prompt_for_download"], false);
    EXPECT_EQ(chrome["prefs"]["printing.print_preview_sticky_settings"]["appState"], "{\"version\":2}");

    o.headless = false;
    const auto windowed = sessionCapabilities(o)["alwaysMatch"]["goog:chromeOptions"];
    EXPECT_EQ(windowed["args"].size(), 6u);
    // As root the window needs the sandbox off as well; a headless run has it off already.
    o.asRoot = true;
    const std::vector<std::string> asRoot = sessionCapabilities(o)["alwaysMatch"]["goog:chromeOptions"]["args"];
    ASSERT_EQ(asRoot.size(), 7u);
    EXPECT_EQ(asRoot.back(), "--no-sandbox");
    o.headless = true;
    const std::vector<std::string> headlessRoot = sessionCapabilities(o)["alwaysMatch"]["goog:chromeOptions"]["args"];
    EXPECT_EQ(std::count(headlessRoot.begin(), headlessRoot.end(), "--no-sandbox"), 1);
}

TEST(Capabilities, SettingsNameTheProgramsAndTheHeadlessRun)
{
    qputenv("KUVELA_BROWSER_DRIVER", "/opt/surucu/chromedriver");
    qputenv("KUVELA_BROWSER_BINARY", "/opt/tarayici/chromium");
    qputenv("KUVELA_HEADLESS", "1");
    ChromeOptions o = ChromeOptions::fromSettings({QStringLiteral("--headless")});
    EXPECT_EQ(o.driver, QStringLiteral("/opt/surucu/chromedriver"));
    EXPECT_EQ(o.binary, QStringLiteral("/opt/tarayici/chromium"));
    EXPECT_TRUE(o.headless);
    EXPECT_EQ(o.arguments, QStringList{QStringLiteral("--headless")});
    EXPECT_EQ(o.asRoot, geteuid() == 0);
    qputenv("KUVELA_HEADLESS", "0");
    EXPECT_FALSE(ChromeOptions::fromSettings({}).headless);
    qunsetenv("KUVELA_BROWSER_DRIVER");
    qunsetenv("KUVELA_BROWSER_BINARY");
    qunsetenv("KUVELA_HEADLESS");
}

TEST(RoadTables, BulkUploadOpensBelowTheScreenWithTheSingleUploadsPreferences)
{
    const BrowserStart bulk = BrowserStart::bulkUpload(QStringLiteral("/p/Firmalarım/A/Satış Faturaları/Temp"));
    const BrowserStart single = BrowserStart::singleUpload(QStringLiteral("/p/Firmalarım/A/Satış Faturaları/Temp"));
    EXPECT_EQ(bulk.arguments, single.arguments + QStringList{QStringLiteral("--window-position=0,900")});
    ASSERT_EQ(bulk.preferences.size(), 3u);
    EXPECT_EQ(bulk.preferences[0].value.text, QStringLiteral("/p/Firmalarım/A/Satış Faturaları/Temp"));
    EXPECT_EQ(bulk.preferences[2].value.kind, PrefValue::Kind::Bool);
}

TEST(PortalAddress, LoginPageHangsUnderTheSetting)
{
    qputenv("KUVELA_PORTAL_URL", "http://127.0.0.1:8123/");
    EXPECT_EQ(BrowserSession::loginPageUrl(), QStringLiteral("http://127.0.0.1:8123/intragiris.html"));
    qunsetenv("KUVELA_PORTAL_URL");
}
