// The customer card's two look-ups by number, in real headless chromium against the
// fake e-Arşiv portal and the fake accountants' portal, with a scripted user typing the
// captcha while the card waits.
#include "masterdata/buyer_lookup.h"
#include "masterdata/form4.h"

#include "shell/dialog_window.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "portal/fake_portal_harness.h"
#include "shell/form1.h"
#include "shell/program_end.h"
#include "support/fixtures.h"

#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace kuvela;
using namespace kuvela::test;
using nlohmann::json;

namespace {

std::string s(const QString& t) { return t.toStdString(); }


QStringList types(const std::vector<json>& events)
{
    QStringList t;
    for (const json& e : events)
        t << QString::fromStdString(e.value("type", std::string()));
    return t;
}

// Title, first name, surname and tax office, as the card shows them.
QStringList boxes(const Form4& c)
{
    return {c.Text1->text(), c.Text2->text(), c.Text3->text(), c.Text5->text()};
}

std::vector<json> smmmEvents(const FakePortal& p)
{
    std::vector<json> found;
    for (const json& e : p.events())
        if (e.value("type", std::string()).rfind("smmm", 0) == 0 && e["type"] != "smmmCaptcha")
            found.push_back(e);
    return found;
}

class LookupTest : public ::testing::Test {
protected:
    LookupTest()
    {
        auto desktop = windowTestDesktop();
        desktop_ = desktop.get();
        previousDesktop_ = Desktop::replace(std::move(desktop));
        env.set("KUVELA_TIME_SCALE", "0.05");
    }
    ~LookupTest() override
    {
        form.reset();
        Desktop::replace(std::move(previousDesktop_));
    }

    // The main window logged in, the fake serving both portals, the card shown with
    // the kind chosen and the number typed.
    Form4& card(CustomerKind kind, const QString& number, const json& scenario = json::object())
    {
        portal = std::make_unique<FakePortal>(scenario);
        env.set("KUVELA_SMMM_URL", portal->baseUrl().toUtf8());
        home.writeData(standardData());
        form = std::make_unique<Form1>();
        form->Text25->setText(QStringLiteral("demo"));
        form->Text26->setText(QStringLiteral("1234"));
        form->Command51->click();
        EXPECT_TRUE(form->menusShown());
        form->user->setText(QStringLiteral("1111111"));
        form->pass->setText(QStringLiteral("abc123"));
        form->smmmID = QStringLiteral("1234567890");
        form->smmmPW = QStringLiteral("smmm123");
        form->Command4_Click();
        Form4& c = form4(*form);
        (kind == CustomerKind::Kurum ? c.Option1 : c.Option2)->click();
        c.Text6->setText(number);
        EXPECT_TRUE(c.Command3->isEnabled());
        return c;
    }

    static void expectLookupButtonsOff(const Form4& c)
    {
        EXPECT_FALSE(c.Command3->isEnabled());
        EXPECT_FALSE(c.Command5->isEnabled());
    }
    // A look-up over: its words in panel 2, both look-ups off until the number changes,
    // and no browser left running.
    static void expectEnded(const Form4& c, const QString& panel)
    {
        EXPECT_EQ(c.panelText(2), panel);
        expectLookupButtonsOff(c);
        EXPECT_TRUE(browserProcessesGone());
    }

    ProgramFolder home;
    ScopedEnv env;
    ScopedRecordingDialogs dialogs;
    ScopedRecordingProgramEnd end;
    std::unique_ptr<FakePortal> portal;
    std::unique_ptr<Form1> form;
    RecordingDesktop* desktop_ = nullptr;

private:
    std::unique_ptr<Desktop> previousDesktop_;
};

TEST(BuyerLookupRules, NumberLengthDecidesTheCompanyTypeAndTheIdentityChoice)
{
    const struct { const char* number; const char* type; QString identity; } rows[] = {
        {"0123456789", "Limited Şirket", smmm::identityRb0}, {"12345678901", "Gerçek Kişi", smmm::identityRb1},
        {"123456789", "", ""}, {"123", "", ""}};
    for (const auto& r : rows) {
        EXPECT_EQ(companyTypeText(r.number), r.type) << r.number;
        EXPECT_EQ(identityLabelXPath(r.number), r.identity) << r.number;
    }
}

TEST(BuyerLookupRules, OnlyExactlyFaalIsGreen)
{
    const struct { const char* status; unsigned rgb; } rows[] = {{"Faal", 0x00C000u}, {"Terk", 0xFF8000u}, {"faal", 0xFF8000u}};
    for (const auto& r : rows)
        EXPECT_EQ(taxpayerStatusColour(r.status).rgb() & 0xFFFFFF, r.rgb) << r.status;
}

TEST(BuyerLookupRules, OnlyTheNewListStandingFirstIsConfirmed)
{
    const struct { QStringList before, after; bool confirm; } rows[] = {
        {{"A", "B"}, {"Yeni", "A", "B"}, true},
        {{}, {"Yeni"}, true},
        {{"A", "B"}, {"A", "B", "Yeni"}, false},   // the new list went last
        {{"A", "B"}, {"Yeni", "X", "A", "B"}, false}, // another list came meanwhile
        {{"A"}, {"A"}, false},
        {{"A", "B"}, {"B", "A", "C"}, false},
    };
    for (const auto& r : rows)
        EXPECT_EQ(newListIsFirstRow(r.before, r.after), r.confirm) << s(r.after.join(','));
}

TEST(BuyerLookupRules, EarsivSessionStartsWithItsSixSwitchesInOrderAndNoPreferences)
{
    const BrowserStart start = earsivLookupStart();
    const auto caps = sessionCapabilities(ChromeOptions::fromSettings(start.arguments, start.preferences));
    const auto& chrome = caps["alwaysMatch"]["goog:chromeOptions"];
    ASSERT_GE(chrome["args"].size(), 6u);
    using ordered = nlohmann::ordered_json;
    EXPECT_EQ(ordered(std::vector<ordered>(chrome["args"].begin(), chrome["args"].begin() + 6)),
              ordered({"--window-position=0,1000", "--disable-logging", "--log-level=3", "--disable-extensions",
                    "--disable-crash-reporter", "--disable-gpu"}));
    EXPECT_FALSE(chrome.contains("prefs"));
}

// Runs `then` after ms, inside whatever loop is running.
void later(int ms, std::function<void()> then) { QTimer::singleShot(ms, std::move(then)); }

// ---- e-Arşiv portal ----------------------------------------------------------------------

const json kKnown = {{"0123456789", {{"title", "ABC LTD ŞTİ"}, {"taxOffice", "Kadıköy"}}},
                     {"12345678901", {{"name", "AHMET"}, {"surname", "YILMAZ"}, {"taxOffice", "Çankaya"}}}};

using EarsivLookupTest = LookupTest;

// One card through the refusals, an institution, a person, an unknown number, a wrong
// password and a menu that never leads to the invoice page.
TEST_F(EarsivLookupTest, RefusalsInstitutionPersonUnknownNumberAndFailedSessions)
{
    Form4& c = card(CustomerKind::Kurum, "0123456789", {{"lookup", kKnown}, {"lookupDelayMs", 600}, {"recordLookup", true}});

    // Offline, or without the portal's password: no browser starts.
    const struct { const char* name; bool online; const char* password; const char* message; } refusals[] = {
        {"offline", false, "abc123", "İnternete bağlı değilsiniz !"},
        {"no password", true, "", "eArşiv Portalı kullanıcı adı/şifresi girilmemiş...!"},
    };
    for (const auto& r : refusals) {
        SCOPED_TRACE(r.name);
        desktop_->online = r.online;
        form->pass->setText(r.password);
        c.Text6->clear();
        c.Text6->setText("0123456789");
        c.Command3->click();
        EXPECT_EQ(c.panelText(2), r.message);
        expectLookupButtonsOff(c);
        EXPECT_TRUE(c.Command1->isEnabled());
        EXPECT_TRUE(browserProcessesOfThisTest().empty());
        EXPECT_TRUE(portal->events().empty());
    }

    // An institution the portal fills late, read without the clipboard and without logging out.
    {
        SCOPED_TRACE("institution filled late");
        form->pass->setText("abc123");
        c.Text6->clear();
        c.Text6->setText("0123456789");
        env.set("KUVELA_LOOKUP_VALUEWAITMS", "60000"); // 3 s at this scale, well past the fill
        QGuiApplication::clipboard()->setText(QStringLiteral("kullanıcının kopyası"));
        c.Text2->setText("ESKİ");
        c.Command3->click();
        env.unset("KUVELA_LOOKUP_VALUEWAITMS");

        EXPECT_EQ(boxes(c), (QStringList{"ABC LTD ŞTİ", "", "", "Kadıköy"}));
        expectEnded(c, "Sorgulama tamamlandı...");
        EXPECT_TRUE(c.Command1->isEnabled());
        EXPECT_FALSE(c.lookupRunning());
        EXPECT_EQ(QGuiApplication::clipboard()->text(), "kullanıcının kopyası");
        EXPECT_EQ(types(portal->events()), (QStringList{"login", "menu", "menu", "menu", "pageOpened", "lookup"}));
        EXPECT_EQ(portal->events("lookup")[0]["number"], "0123456789");
    }

    // A person, then a number the portal does not know: the boxes get its nothing.
    {
        SCOPED_TRACE("person, then unknown");
        portal->setScenario({{"lookup", kKnown}});
        portal->resetEvents();
        c.Option2->click();
        c.Text6->setText("12345678901");
        c.Text1->setText("ESKİ UNVAN");
        c.Command3->click();
        EXPECT_EQ(boxes(c), (QStringList{"", "AHMET", "YILMAZ", "Çankaya"}));
        expectEnded(c, "Sorgulama tamamlandı...");

        c.Text6->setText("99999999999");
        const ScopedEnv noValue("KUVELA_LOOKUP_VALUEWAITMS", "250");
        c.Command3->click();
        EXPECT_EQ(boxes(c), (QStringList{"", "", "", ""}));
        expectEnded(c, "Sorgulama tamamlandı...");
        EXPECT_TRUE(portal->events("logout").empty());
    }

    // The type clicked while the portal is asked, the same number typed again: the saves
    // stay off while it runs, and the answer is not the card's any more.
    {
        SCOPED_TRACE("type changed during the look-up");
        portal->setScenario({{"lookup", kKnown}, {"lookupDelayMs", 600}, {"recordLookup", true}});
        portal->resetEvents();
        c.Option1->click();
        c.Text6->setText("0123456789");
        c.Text1->setText("ELLE YAZILAN");
        env.set("KUVELA_LOOKUP_VALUEWAITMS", "60000");
        bool changed = false, savesDuring = true;
        later(100, [&] {
            c.Option2->click();
            c.Text6->setText("0123456789");
            savesDuring = c.Command1->isEnabled() || c.Command4->isEnabled();
            changed = true;
        });
        c.Command3->click();
        env.unset("KUVELA_LOOKUP_VALUEWAITMS");
        ASSERT_TRUE(changed);
        EXPECT_FALSE(savesDuring);
        EXPECT_EQ(portal->events("lookup").at(0)["number"], "0123456789");
        EXPECT_EQ(boxes(c), (QStringList{"ELLE YAZILAN", "", "", ""}));
        EXPECT_EQ(c.panelText(2), "Sorgu sürerken numara veya tür değişti; sonuç karta yazılmadı.");
        EXPECT_TRUE(browserProcessesGone());
    }

    // Sessions that fail: a wrong password gives up after twenty polls (of 50 ms here, for
    // no start page is to come); a menu never leads to the invoice page. Typed boxes stay.
    const struct { const char* name; const char* password; json scenario; QStringList events; int atLeastMs; } failing[] = {
        {"wrong password", "yanlış", {{"lookup", kKnown}}, {"loginFailed"}, 20 * 50 - 50},
        {"broken menu", "abc123", {{"lookup", kKnown}, {"omitMainTreeOption", true}}, {"login"}, 0},
    };
    c.Option1->click();
    for (const auto& f : failing) {
        SCOPED_TRACE(f.name);
        portal->setScenario(f.scenario);
        portal->resetEvents();
        form->pass->setText(f.password);
        c.Text5->setText("Elle yazılan");
        c.Text6->clear();
        c.Text6->setText("0123456789");
        QElapsedTimer took;
        took.start();
        const ScopedEnv poll("KUVELA_LOOKUP_LOGINPOLLMS", "50");
        c.Command3->click();
        EXPECT_GE(took.elapsed(), f.atLeastMs);
        EXPECT_EQ(c.Text5->text(), "Elle yazılan");
        EXPECT_EQ(types(portal->events()), f.events);
        expectEnded(c, "Site çok yavaş, lütfen daha sonra tekrar deneyiniz...");
    }
}

// ---- accountants' portal -----------------------------------------------------------------

// Acts for the user each time the card asks for the captcha; the actions run inside
// the card's wait.
class CaptchaUser : public QObject {
public:
    using Action = std::function<void()>;
    CaptchaUser(Form4& card, std::vector<Action> actions) : card_(card), actions_(std::move(actions))
    {
        connect(&poll_, &QTimer::timeout, this, [this] {
            const bool asking = card_.panelText(2) == lookup_text::typeCaptcha && card_.Text12->isVisible();
            if (asking && !armed_ && next_ < actions_.size()) {
                armed_ = true;
                actions_[next_++]();
            } else if (!asking) {
                armed_ = false;
            }
        });
        poll_.start(20);
        // Every loop turn, the road's pauses included: messages that stand only briefly.
        connect(&watch_, &QTimer::timeout, this, [this] {
            const QString text = card_.panelText(2);
            if (seen.isEmpty() || seen.last() != text)
                seen << text;
        });
        watch_.start(0);
    }
    size_t asked() const { return next_; }
    QStringList seen;  // panel 2's texts in turn

private:
    Form4& card_;
    std::vector<Action> actions_;
    size_t next_ = 0;
    bool armed_ = false;
    QTimer poll_;
    QTimer watch_;
};

using SmmmLookupTest = LookupTest;

// One card through the refusals, an institution after a wrong code with its own list
// confirmed, a person whose new list went last, a title that never comes, and the waits
// ended by "Kapat", by closing the main window and by "Formu Temizle".
TEST_F(SmmmLookupTest, RefusalsInstitutionPersonBusySiteAndEndedWaits)
{
    Form4& c = card(CustomerKind::Kurum, "0123456789", {{"smmmLists", {"Ocak Listesi", "Şubat Listesi"}}});

    // Missing id, password or connection: no browser starts.
    const struct { const char* name; const char* id; const char* password; bool online; const char* message; bool frameShown; } refusals[] = {
        {"no id", "", "smmm123", true, " Sorgu için gerekli olan ID girilmemiş...!", false},
        {"no password", "1234567890", "", true, " Sorgu için gerekli olan şifre girilmemiş...!", false},
        {"offline", "1234567890", "smmm123", false, "İnternete bağlı değilsiniz !", true},
    };
    for (const auto& r : refusals) {
        SCOPED_TRACE(r.name);
        form->smmmID = QString::fromUtf8(r.id);
        form->smmmPW = QString::fromUtf8(r.password);
        desktop_->online = r.online;
        c.Text6->clear();
        c.Text6->setText("0123456789");
        c.Command5->click();
        EXPECT_EQ(c.panelText(2), r.message);
        expectLookupButtonsOff(c);
        EXPECT_EQ(c.Frame3->isHidden(), !r.frameShown);
        EXPECT_TRUE(browserProcessesOfThisTest().empty());
        EXPECT_TRUE(portal->events().empty());
    }

    {
        SCOPED_TRACE("institution after a wrong code");
        desktop_->online = true;
        c.Text6->clear();
        c.Text6->setText("0123456789");
        c.Text2->setText("ESKİ AD");
        int loginsWhileShort = -1, loginsWhileLong = -1, captchasBefore = -1;
        QString codeAfterError, panelAfterRefusals;
        bool buttonsDuringWait = true;
        bool pictureShown = false;
        QByteArray firstPicture;
        const QString picture = fromPath(home / QStringLiteral("Data/captcha2.jpg"));
        auto readPicture = [&] {
            QFile f(picture);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        };
        const QString whoBefore = form->whoTriggered;
        CaptchaUser user(c, {
            [&] {
                firstPicture = readPicture();
                c.Text12->setText("AB3C");
                // Refused while the card waits: the other look-up and both saves.
                c.Command3_Click();
                c.Command5_Click();
                c.Command1_Click();
                c.Command4_Click();
                panelAfterRefusals = c.panelText(2);
                // A number typed or a type clicked meanwhile enables none of them; put
                // back as they were, the card shows what the look-up asks for again.
                c.Text6->setText("0123456780");
                c.Option2->click();
                buttonsDuringWait = c.Command1->isEnabled() || c.Command3->isEnabled() || c.Command4->isEnabled() ||
                                    c.Command5->isEnabled();
                c.Option1->click();
                c.Text6->setText("0123456789");
                buttonsDuringWait = buttonsDuringWait || c.Command1->isEnabled() || c.Command3->isEnabled() ||
                                    c.Command4->isEnabled() || c.Command5->isEnabled();
                later(300, [&] {
                    loginsWhileShort = int(portal->events("smmmLogin").size());
                    c.Text12->setText("AB3CDE");
                    later(300, [&] {
                        loginsWhileLong = int(portal->events("smmmLogin").size());
                        captchasBefore = int(portal->events("smmmCaptcha").size());
                        c.Text12->setText("XXXXX");
                    });
                });
            },
            [&] {
                codeAfterError = c.Text12->text().isEmpty() ? QStringLiteral("boş") : c.Text12->text();
                pictureShown = c.Image1->pixmap().width() > 0 && readPicture() != firstPicture;
                QDir().mkpath(QStringLiteral(KUVELA_BINARY_DIR "/screenshots"));
                c.grab().save(QStringLiteral(KUVELA_BINARY_DIR "/screenshots/form4_captcha.png"));
                c.Text12->setText("ab3cd");
            },
        });
        c.Command5->click();

        EXPECT_EQ(user.asked(), 2u);
        EXPECT_FALSE(buttonsDuringWait);
        EXPECT_EQ(panelAfterRefusals, lookup_text::typeCaptcha);
        EXPECT_TRUE(portal->events("login").empty());
        EXPECT_EQ(form->whoTriggered, whoBefore);
        EXPECT_EQ(loginsWhileShort, 0);
        EXPECT_EQ(loginsWhileLong, 0);
        EXPECT_EQ(captchasBefore, 1);
        EXPECT_EQ(codeAfterError, "boş");
        // The fake's own words, then a new picture to type from.
        const int error = int(user.seen.indexOf("Güvenlik kodu hatalı. Lütfen tekrar deneyiniz."));
        EXPECT_GE(error, 0) << s(user.seen.join(" | "));
        EXPECT_EQ(user.seen.value(error + 1), lookup_text::typeCaptcha);
        EXPECT_TRUE(pictureShown);
        EXPECT_TRUE(readPicture().startsWith("\xFF\xD8")) << "a JPEG picture";

        const auto logins = portal->events("smmmLogin");
        ASSERT_EQ(logins.size(), 2u);
        EXPECT_EQ(logins[0]["captcha"], "XXXXX");
        EXPECT_EQ(logins[1]["captcha"], "AB3CD");
        EXPECT_EQ(logins[1]["identity"], "RB0");
        EXPECT_EQ(logins[1]["ok"], true);

        EXPECT_EQ(boxes(c), (QStringList{"ABC LTD ŞTİ", "", "", "KADIKÖY"}));
        EXPECT_EQ(c.Text4->toPlainText(), "Atatürk Cad. No:1 Kadıköy İstanbul");
        EXPECT_EQ(c.Label14->text(), "Faal");
        EXPECT_EQ(c.Label14->palette().color(QPalette::WindowText), QColor(0, 192, 0));
        EXPECT_EQ(c.panelText(2), "Sorgulama tamamlandı...");
        EXPECT_TRUE(c.Frame3->isHidden());
        EXPECT_TRUE(c.Text12->isHidden());
        EXPECT_TRUE(c.Text12->text().isEmpty());
        EXPECT_EQ(c.Image1->pixmap().width(), 0);
        // The card shows the number again: the saves as before, no second look-up.
        EXPECT_EQ(c.Text6->text(), "0123456789");
        EXPECT_TRUE(c.Command1->isEnabled());
        EXPECT_TRUE(c.Command4->isEnabled());
        expectLookupButtonsOff(c);

        EXPECT_EQ(types(smmmEvents(*portal)),
                  (QStringList{"smmmIdentity", "smmmLogin", "smmmIdentity", "smmmLogin", "smmmNewList", "smmmPopupOpened",
                               "smmmType", "smmmQuery", "smmmPopupClosed", "smmmHome", "smmmListDeleted", "smmmLogout"}));
        EXPECT_EQ(portal->events("smmmType")[0]["value"], "Limited Şirket");
        EXPECT_EQ(portal->events("smmmQuery")[0]["number"], "0123456789");
        const auto deleted = portal->events("smmmListDeleted");
        ASSERT_EQ(deleted.size(), 1u);
        EXPECT_EQ(deleted[0]["row"], 0);
        EXPECT_EQ(deleted[0]["name"], portal->events("smmmNewList")[0]["name"]);
        EXPECT_TRUE(browserProcessesGone());
    }

    {
        SCOPED_TRACE("person in orange, another list left alone");
        json people = {{"12345678901", {{"name", "AHMET"}, {"surname", "YILMAZ"}, {"address", "Kızılay 3 Ankara"},
                                        {"taxOffice", "ÇANKAYA"}, {"status", "Terk"}}}};
        portal->setScenario({{"smmmId", "12345678901"}, {"smmmTaxpayers", people}, {"smmmNewListAtEnd", true}});
        portal->resetEvents();
        form->smmmID = QStringLiteral("12345678901");
        c.Option2->click();
        c.Text6->setText("12345678901");
        c.Text1->setText("ESKİ UNVAN");
        CaptchaUser user(c, {[&] { c.Text12->setText("ab3cd"); }});
        c.Command5->click();

        EXPECT_EQ(boxes(c), (QStringList{"", "AHMET", "YILMAZ", "ÇANKAYA"}));
        EXPECT_EQ(c.Label14->text(), "Terk");
        EXPECT_EQ(c.Label14->palette().color(QPalette::WindowText), QColor(255, 128, 0));
        expectEnded(c, "Sorgulama tamamlandı...");
        EXPECT_EQ(portal->events("smmmLogin")[0]["identity"], "RB1");
        EXPECT_EQ(portal->events("smmmType")[0]["value"], "Gerçek Kişi");
        // The new list stood last: the first row is the user's and is not confirmed.
        EXPECT_TRUE(portal->events("smmmListDeleted").empty());
        EXPECT_EQ(portal->events("smmmLogout").size(), 1u);
    }

    {
        SCOPED_TRACE("title that never comes");
        portal->setScenario({{"smmmQueryDelayMs", -1}});
        portal->resetEvents();
        form->smmmID = QStringLiteral("1234567890");
        c.Option1->click();
        c.Text6->setText("0123456789");
        CaptchaUser user(c, {[&] { c.Text12->setText("AB3CD"); }});
        QElapsedTimer took;
        took.start();
        const ScopedEnv noTitle("KUVELA_LOOKUP_RESULTPOLLMS", "50");  // the eleven polls
        c.Command5->click();
        EXPECT_GE(took.elapsed(), 11 * 50 - 50);
        EXPECT_EQ(c.Text1->text(), "");
        EXPECT_TRUE(c.Frame3->isHidden());
        EXPECT_TRUE(c.Text12->isHidden());
        EXPECT_TRUE(portal->events("smmmLogout").empty());
        EXPECT_EQ(portal->events("smmmQuery").size(), 1u);
        expectEnded(c, "Site çok yoğun.. daha sonra deneyiniz...");
    }

    // A closing step that fails once the answer was read: the answer and a done look-up's ending.
    for (const char* step : {"popupClose", "home", "listConfirm", "logout"}) {
        SCOPED_TRACE(step);
        portal->setScenario({{"smmmClosingMissing", step}});
        c.Text6->clear();
        c.Text6->setText("0123456789");
        CaptchaUser user(c, {[&] { c.Text12->setText("AB3CD"); }});
        c.Command5->click();
        EXPECT_EQ(boxes(c), (QStringList{"ABC LTD ŞTİ", "", "", "KADIKÖY"}));
        expectEnded(c, "Sorgulama tamamlandı...");
    }

    {
        SCOPED_TRACE("number changed during the wait");
        portal->setScenario(json::object());
        portal->resetEvents();
        c.Text6->clear();
        c.Text6->setText("0123456789");
        putTitle(c, "ELLE YAZILAN");
        c.Text4->setPlainText("Elle yazılan adres");
        c.Text5->setText("Elle");
        const QString statusBefore = c.Label14->text();
        CaptchaUser user(c, {[&] {
            c.Text6->setText("0123456780");
            c.Text12->setText("AB3CD");
        }});
        c.Command5->click();
        EXPECT_EQ(portal->events("smmmQuery").at(0)["number"], "0123456789");
        EXPECT_EQ(portal->events("smmmLogout").size(), 1u);
        EXPECT_EQ(boxes(c), (QStringList{"ELLE YAZILAN", "", "", "Elle"}));
        EXPECT_EQ(c.Text4->toPlainText(), "Elle yazılan adres");
        EXPECT_EQ(c.Label14->text(), statusBefore);
        EXPECT_EQ(c.panelText(2), "Sorgu sürerken numara veya tür değişti; sonuç karta yazılmadı.");
        EXPECT_TRUE(c.Frame3->isHidden());
        // The number typed meanwhile has its full length: its rule enables all four.
        for (QPushButton* b : {c.Command1, c.Command3, c.Command4, c.Command5})
            EXPECT_TRUE(b->isEnabled());
        EXPECT_TRUE(browserProcessesGone());
    }

    // While the card waits for the captcha: "Kapat", closing the main window, and "Formu
    // Temizle" (which takes the captcha away) each end the road before any login.
    portal->setScenario({{"smmmId", "123456789"}});
    portal->resetEvents();
    form->smmmID = QStringLiteral("123456789");
    const struct {
        const char* name;
        std::function<void()> act;
        QString karar;
        bool cardHidden;
    } waits[] = {
        {"Kapat", [&] { c.Text12->setText("AB3"); c.Command2->click(); }, "Kapat", true},
        {"main window closed", [&] { form->close(); }, "Kapat", true},
        {"Formu Temizle", [&] { c.Command6->click(); }, "Devam", false},
    };
    for (const auto& w : waits) {
        SCOPED_TRACE(w.name);
        form->Command4_Click();
        c.Text6->clear();
        c.Text6->setText("0123456789");
        CaptchaUser user(c, {w.act});
        c.Command5->click();
        EXPECT_EQ(user.asked(), 1u);
        EXPECT_EQ(c.karar, w.karar);
        EXPECT_EQ(c.isHidden(), w.cardHidden);
        EXPECT_FALSE(c.lookupRunning());
        EXPECT_TRUE(c.Frame3->isHidden());
        EXPECT_TRUE(c.Text12->isHidden());
        EXPECT_TRUE(c.Text12->text().isEmpty());
        EXPECT_EQ(c.Image1->pixmap().width(), 0);
        EXPECT_EQ(c.panelText(2), "");
        EXPECT_TRUE(portal->events("smmmLogin").empty());
        EXPECT_TRUE(portal->events("smmmIdentity").empty());
        EXPECT_TRUE(browserProcessesGone());
    }
}

} // namespace
