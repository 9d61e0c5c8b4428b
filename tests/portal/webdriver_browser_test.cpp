// The browser layer against real headless chromium, on the fake portal's check page.
#include "platform/browser_session.h"
#include "portal/fake_portal_harness.h"

#include "platform/paths.h"
#include "platform/webdriver_process.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace kuvela;
using kuvela::test::FakePortal;
namespace be = browser_error;

namespace {

// One browser for the suite (a start costs about a second); each test gets the page
// afresh.
class OnCheckPage : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        portal = new FakePortal();
        session = new BrowserSession();
    }
    static void TearDownTestSuite()
    {
        delete session;
        delete portal;
        session = nullptr;
        portal = nullptr;
    }
    void SetUp() override
    {
        const QString page = portal->url(QStringLiteral("/surucu.html"));
        if (!session->isOpen()) {
            session->tarayiciBaslat(BrowserStart::quietArguments(), {}, page);
        } else {
            try {
                session->driver().navigate(page);
            } catch (const WebDriverError&) { // an alert left open is dismissed by this one
                session->driver().navigate(page);
            }
        }
        portal->resetEvents();
    }
    static Element byId(const char* id) { return session->find(Locator::id(QString::fromUtf8(id))); }
    static WebDriver& driver() { return session->driver(); }

    static inline FakePortal* portal = nullptr;
    static inline BrowserSession* session = nullptr;
};

// The code of the WebDriverError the call throws, or 0.
template <class F>
int failureCode(F&& call)
{
    try {
        call();
    } catch (const WebDriverError& e) {
        return e.code();
    }
    return 0;
}

bool allEnded(const std::vector<qint64>& pids)
{
    for (qint64 p : pids)
        if (processAlive(p))
            return false;
    return true;
}

} // namespace

TEST_F(OnCheckPage, FindsByEveryLocatorAndInsideElements)
{
    struct Row {
        Locator locator;
        const char* id; // of the first element found
        size_t count;
    };
    const Row rows[] = {
        {Locator::id(QStringLiteral("ad")), "ad", 1},
        {Locator::id(QStringLiteral("tek\"tırnak\\ters")), "tek\"tırnak\\ters", 1},
        {Locator::name(QStringLiteral("adSoyad")), "ad", 1},
        {Locator::name(QStringLiteral("tuhaf'ad")), "tek\"tırnak\\ters", 1},
        {Locator::className(QStringLiteral("metin")), "ad", 1},
        {Locator::className(QStringLiteral("c:1")), "tek\"tırnak\\ters", 1},
        {Locator::className(QStringLiteral("9lu")), "tek\"tırnak\\ters", 1},
        {Locator::className(QStringLiteral("parca")), "", 3},
        {Locator::byValue(QStringLiteral("Vergi Ekle")), "uyari", 1},
        {Locator::linkText(QStringLiteral("Belge İşlemleri Örnek")), "baglanti", 1},
        {Locator::partialLinkText(QStringLiteral("İşlemleri")), "baglanti", 1},
        {Locator::xpath(QStringLiteral("//td[@rel='odenecekTutar']")), "hucre", 1},
        {Locator::css(QStringLiteral("#alanlar > select")), "birim", 1},
        {Locator::tagName(QStringLiteral("textarea")), "not", 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.locator.describe().toStdString());
        const std::vector<Element> all = session->findAll(r.locator);
        ASSERT_EQ(all.size(), r.count);
        EXPECT_EQ(session->find(r.locator).attribute(QStringLiteral("id")).toStdString(), r.id);
    }

    // Inside an element, in document order.
    const Element box = byId("kutu");
    QStringList texts;
    for (const Element& e : box.findAll(Locator::className(QStringLiteral("parca"))))
        texts << e.text();
    EXPECT_EQ(texts, (QStringList{QStringLiteral("bir"), QStringLiteral("iki"), QStringLiteral("üç")}));
    EXPECT_EQ(box.findAll(Locator::tagName(QStringLiteral("span"))).size(), 2u);
    EXPECT_EQ(box.find(Locator::tagName(QStringLiteral("p"))).text(), QStringLiteral("üç"));
    EXPECT_TRUE(box.findAll(Locator::id(QStringLiteral("ad"))).empty());

    // A miss is a failure naming what was sought; a hidden field refuses keys.
    try {
        session->find(Locator::id(QStringLiteral("yok")));
        FAIL() << "found a missing element";
    } catch (const WebDriverError& e) {
        EXPECT_EQ(e.code(), be::ElementNotFound);
        EXPECT_TRUE(e.message().contains(QStringLiteral("id=yok"))) << e.message().toStdString();
        EXPECT_TRUE(e.fullMessage().endsWith(QStringLiteral(" Hata No: 1111")));
    }
    EXPECT_EQ(failureCode([&] { byId("gizli").sendKeys(QStringLiteral("x")); }), be::ElementNotUsable);
    EXPECT_EQ(byId("gizli").text(), QString());

    // The presence test answers, never throws, and waits as long as asked: the tests'
    // time scale shortens pauses, never a wait for something to appear.
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(session->elemanBekle(Locator::id(QStringLiteral("yok")), 300));
    EXPECT_GE(timer.elapsed(), 300);
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_TRUE(session->elemanBekle(Locator::className(QStringLiteral("parca")), 300));
}

TEST_F(OnCheckPage, TypingAppendsUnlessTheFieldIsEmptiedFirst)
{
    const Element name = byId("ad");
    name.sendKeys(QStringLiteral("Şükrü"));
    EXPECT_EQ(name.attribute(QStringLiteral("value")), QStringLiteral("ÖncekiŞükrü"));
    name.sendKeys(Keys::chord(Keys::Control, QStringLiteral("a")) + QStringLiteral("Çağlar"));
    EXPECT_EQ(name.attribute(QStringLiteral("value")), QStringLiteral("Çağlar"));
    name.clear();
    EXPECT_EQ(name.attribute(QStringLiteral("value")), QString(""));

    // Keys to the page reach whatever has the focus: Tab moves on (and selects what the
    // field holds, so typing replaces it), Shift+Tab goes back.
    name.click();
    session->pressKeys(Keys::Tab + QStringLiteral("x"));
    EXPECT_EQ(byId("tek\"tırnak\\ters").attribute(QStringLiteral("value")), QStringLiteral("x"));
    session->pressKeys(Keys::Shift + Keys::Tab + Keys::Null + QStringLiteral("y"));
    EXPECT_EQ(name.attribute(QStringLiteral("value")), QStringLiteral("y"));
    // Copy and paste stay inside the browser.
    session->pressKeys(Keys::chord(Keys::Control, QStringLiteral("a")) + Keys::chord(Keys::Control, QStringLiteral("c")));
    byId("not").click();
    session->pressKeys(Keys::chord(Keys::Control, QStringLiteral("v")) + Keys::Enter + QStringLiteral("z"));
    EXPECT_EQ(byId("not").attribute(QStringLiteral("value")), QStringLiteral("y\nz"));

    // The disabled, pre-filled date picker: unlocked, then pasted over, not appended to.
    const Element date = byId("tarih");
    EXPECT_NE(failureCode([&] { date.sendKeys(QStringLiteral("1")); }), 0);
    session->tarihAlaniAc(date);
    session->panoIleYaz(date, QStringLiteral("01/02/2024"), true);
    EXPECT_EQ(date.attribute(QStringLiteral("value")), QStringLiteral("01/02/2024"));
    EXPECT_EQ(date.attribute(QStringLiteral("class")), QStringLiteral("csc-textbox"));
    EXPECT_EQ(date.attribute(QStringLiteral("disabled")), QStringLiteral("false"));
    EXPECT_EQ(driver().executeScript(QStringLiteral("return document.activeElement.id;")), "birim");
}

TEST_F(OnCheckPage, ChoosesOptionsByClickingSoThePageSeesTheChange)
{
    const Element unit = byId("birim");
    EXPECT_EQ(unit.attribute(QStringLiteral("type")), QStringLiteral("select-one"));

    struct Row {
        bool byText;
        QString wanted;
        std::string value;
    };
    const Row rows[] = {
        {true, QStringLiteral("Kutu"), "KUTU"},
        {true, QStringLiteral("Çift Kat"), "CIFT"},   // blanks as the page shows them
        {true, QStringLiteral("Ali'nin \"kutusu\""), "TIRNAK"},
        {false, QStringLiteral("ADET"), "ADET"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.wanted.toStdString());
        portal->resetEvents();
        if (r.byText)
            unit.selectByText(r.wanted);
        else
            unit.selectByValue(r.wanted);
        EXPECT_EQ(unit.attribute(QStringLiteral("value")).toStdString(), r.value);
        const auto changes = portal->events("change");
        ASSERT_EQ(changes.size(), 1u);
        EXPECT_EQ(changes[0]["value"], r.value);
    }

    portal->resetEvents();
    EXPECT_EQ(failureCode([&] { unit.selectByText(QStringLiteral("Koli")); }), be::OptionNotFound);
    EXPECT_EQ(failureCode([&] { unit.selectByValue(QStringLiteral("KOLI")); }), be::OptionNotFound);
    EXPECT_TRUE(portal->events("change").empty());
    EXPECT_EQ(unit.attribute(QStringLiteral("value")), QStringLiteral("ADET"));
}

// The actions that find for themselves act as a find and then the action would: a real
// mouse click where the element shows, and the driver's own refusals where they cannot.
TEST_F(OnCheckPage, ActionsThatFindThemselvesActAsAFindThenTheAction)
{
    struct Row {
        const char* what;
        std::function<void()> act;
        int failure;           // 0: done
        const char* clicked;   // the id the page saw clicked, if any
    };
    const auto id = [](const char* v) { return Locator::id(QString::fromUtf8(v)); };
    const Row rows[] = {
        {"click", [&] { driver().click(id("altta")); }, be::ElementNotUsable, nullptr}, // under another element
        {"click", [&] { driver().click(id("gizli")); }, be::ElementNotUsable, nullptr},
        {"click", [&] { driver().click(id("yok")); }, be::ElementNotFound, nullptr},
        {"click", [&] { driver().click(Locator::xpath(QStringLiteral("//input[@value='Uzakta']"))); }, 0, "uzakta"},
        {"click", [&] { byId("uzakta").click(); }, 0, "uzakta"},
        {"click", [&] { driver().click(Locator::linkText(QStringLiteral("Belge İşlemleri Örnek"))); }, 0, "baglanti"},
        {"type", [&] { driver().type(id("gizli"), QStringLiteral("x")); }, be::ElementNotUsable, nullptr},
        {"type", [&] { driver().type(id("yok"), QStringLiteral("x")); }, be::ElementNotFound, nullptr},
        {"type", [&] { driver().type(id("tarih"), QStringLiteral("1")); }, be::ElementNotUsable, nullptr},
        {"choose", [&] { driver().selectByText(id("yok"), QStringLiteral("Kutu")); }, be::ElementNotFound, nullptr},
        {"choose", [&] { driver().selectByValue(id("birim"), QStringLiteral("KOLI")); }, be::OptionNotFound, nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        portal->resetEvents();
        EXPECT_EQ(failureCode(r.act), r.failure);
        const auto clicks = portal->events("click");
        if (!r.clicked) {
            EXPECT_TRUE(clicks.empty()) << clicks.size();
            continue;
        }
        ASSERT_EQ(clicks.size(), 1u);
        EXPECT_EQ(clicks[0]["id"], r.clicked);
        EXPECT_EQ(clicks[0]["trusted"], true); // the mouse, not a script
    }

    // Typing appends after what the field holds, replaces after Control+A, keeps line
    // breaks and leaves a read-only field as it was.
    driver().type(id("ad"), QStringLiteral("Şükrü"));
    EXPECT_EQ(byId("ad").attribute(QStringLiteral("value")), QStringLiteral("ÖncekiŞükrü"));
    driver().type(id("ad"), Keys::chord(Keys::Control, QStringLiteral("a")) + QStringLiteral("İğdır Iğ"));
    EXPECT_EQ(byId("ad").attribute(QStringLiteral("value")), QStringLiteral("İğdır Iğ"));
    driver().type(id("not"), QStringLiteral("bir\niki"));
    EXPECT_EQ(byId("not").attribute(QStringLiteral("value")), QStringLiteral("bir\niki"));
    failureCode([&] { driver().type(id("salt"), QStringLiteral("x")); });
    EXPECT_EQ(byId("salt").attribute(QStringLiteral("value")), QStringLiteral("sabit"));

    portal->resetEvents();
    driver().selectByText(id("birim"), QStringLiteral("Çift Kat"));
    const auto changes = portal->events("change");
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0]["value"], "CIFT");
}

TEST_F(OnCheckPage, ReadsThePropertyFirstThenTheAttribute)
{
    const Element name = byId("ad");
    name.sendKeys(QStringLiteral(" Yeni"));
    struct Row {
        Element element;
        const char* name;
        QString expected;
    };
    const Row rows[] = {
        {name, "value", QStringLiteral("Önceki Yeni")}, // current value, not the markup's
        {name, "type", QStringLiteral("text")},
        {name, "class", QStringLiteral("alan metin")},
        {name, "id", QStringLiteral("ad")},
        {byId("hucre"), "rel", QStringLiteral("odenecekTutar")},
        {byId("uyari"), "type", QStringLiteral("button")},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(r.element.attribute(QString::fromUtf8(r.name)), r.expected);
    }
    EXPECT_TRUE(name.attribute(QStringLiteral("rel")).isNull());
    EXPECT_EQ(byId("hucre").text(), QStringLiteral("12,50"));
    EXPECT_EQ(byId("hucre").tagName(), QStringLiteral("td"));
}

TEST_F(OnCheckPage, ScriptsTakeElementsAndGiveThemBack)
{
    const Element name = byId("ad");
    EXPECT_EQ(driver().executeScript(QStringLiteral("return arguments[0].id + '|' + arguments[0].value;"), name),
              "ad|Önceki");
    driver().executeScript(QStringLiteral("arguments[0].setAttribute('class', 'csc-textbox')"), name);
    EXPECT_EQ(name.attribute(QStringLiteral("class")), QStringLiteral("csc-textbox"));

    nlohmann::json args = nlohmann::json::array({byId("kutu").reference(), 1});
    const Element second = driver().elementFrom(
        driver().executeScript(QStringLiteral("return arguments[0].children[arguments[1]];"), args));
    EXPECT_EQ(second.text(), QStringLiteral("iki"));

    EXPECT_EQ(failureCode([&] { driver().executeScript(QStringLiteral("return yokBoyleBirSey.x;")); }),
              be::ScriptFailed);
    EXPECT_EQ(failureCode([&] { driver().elementFrom(driver().executeScript(QStringLiteral("return 5;"))); }),
              be::CommandFailed);
}

TEST_F(OnCheckPage, AlertsAreAcceptedAndAnyOtherCommandLosesThem)
{
    EXPECT_EQ(failureCode([&] { driver().acceptAlert(); }), be::NoAlert);

    byId("uyari").click();
    EXPECT_EQ(driver().alertText(), QStringLiteral("Vergi eklendi."));
    driver().acceptAlert();
    EXPECT_EQ(portal->awaitEvents("alertClosed", 1).size(), 1u);

    // The driver dismisses an alert that a command runs into, and the command fails.
    byId("uyari").click();
    EXPECT_EQ(failureCode([&] { byId("ad"); }), be::AlertOpen);
    EXPECT_EQ(failureCode([&] { driver().acceptAlert(); }), be::NoAlert);
    EXPECT_EQ(portal->awaitEvents("alertClosed", 2).size(), 2u);
}

TEST_F(OnCheckPage, TheStartPageSendsAStrangerToTheLogin)
{
    driver().navigate(portal->url(QStringLiteral("/anasayfa.html")));
    EXPECT_TRUE(driver().currentUrl().endsWith(QStringLiteral("/intragiris.html")));
    EXPECT_FALSE(session->elemanBekle(Locator::id(QStringLiteral("gen__1006")), 200));
}

TEST_F(OnCheckPage, WindowPicturesAndTheEnd)
{
    EXPECT_EQ(driver().title(), QStringLiteral("Sürücü Sınama"));
    EXPECT_TRUE(driver().currentUrl().endsWith(QStringLiteral("/surucu.html")));
    driver().moveWindow(0, 600);
    EXPECT_NO_THROW(driver().maximize());
    EXPECT_GT(driver().windowRect().width(), 0);
    driver().moveTo(byId("ipucu"));
    EXPECT_EQ(portal->awaitEvents("hover", 1).size(), 1u);

    QTemporaryDir dir;
    const std::filesystem::path png = toPath(dir.path()) / toPath(QStringLiteral("güvenlik resmi.png"));
    byId("hucre").screenshot(png);
    QFile file(fromPath(png));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(8).startsWith("\x89PNG"));
    EXPECT_EQ(failureCode([&] { byId("hucre").screenshot(toPath(dir.path()) / "yok" / "a.png"); }), be::FileAccess);

    // Quitting ends the driver and every browser process, and may be repeated.
    const std::vector<qint64> tree = driver().processTree();
    ASSERT_GE(tree.size(), 2u);
    session->tarayiciKapat();
    EXPECT_TRUE(allEnded(tree));
    EXPECT_FALSE(session->isOpen());
    EXPECT_EQ(failureCode([&] { byId("ad"); }), be::SessionClosed);
    EXPECT_NO_THROW(session->tarayiciKapat());
}
