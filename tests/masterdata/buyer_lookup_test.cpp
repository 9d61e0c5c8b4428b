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
#include <map>

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

// ---- plain rules ------------------------------------------------------------------------

TEST(BuyerLookupRules, TypeIdentityColourAndTheConfirmGuard)
{
    EXPECT_EQ(companyTypeText("0123456789"), "Limited Şirket");
    EXPECT_EQ(companyTypeText("12345678901"), "Gerçek Kişi");
    EXPECT_EQ(companyTypeText("123"), "");
    EXPECT_EQ(identityLabelXPath("1234567890"), smmm::identityRb0);
    EXPECT_EQ(identityLabelXPath("12345678901"), smmm::identityRb1);
    EXPECT_EQ(identityLabelXPath("123456789"), "");
    EXPECT_EQ(taxpayerStatusColour("Faal").rgb() & 0xFFFFFF, 0x00C000u);
    EXPECT_EQ(taxpayerStatusColour("Terk").rgb() & 0xFFFFFF, 0xFF8000u);
    EXPECT_EQ(taxpayerStatusColour("faal").rgb() & 0xFFFFFF, 0xFF8000u);

    struct Case {
        QStringList before, after;
        bool confirm;
    } cases[] = {
        {{"A", "B"}, {"Yeni", "A", "B"}, true},
        {{}, {"Yeni"}, true},
        {{"A", "B"}, {"A", "B", "Yeni"}, false},   // the new list went last
        {{"A", "B"}, {"Yeni", "X", "A", "B"}, false}, // another list came meanwhile
        {{"A"}, {"A"}, false},
        {{"A", "B"}, {"B", "A", "C"}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(newListIsFirstRow(c.before, c.after), c.confirm) << s(c.after.join(','));
}

TEST(BuyerLookupRules, EarsivSessionStartsWithItsSixSwitchesInOrder)
{
    const BrowserStart start = earsivLookupStart();
    EXPECT_TRUE(start.preferences.empty());
    const QStringList six{"--window-position=0,1000", "--disable-logging", "--log-level=3", "--disable-extensions",
                          "--disable-crash-reporter", "--disable-gpu"};
    const auto caps = sessionCapabilities(ChromeOptions::fromSettings(start.arguments, start.preferences));
    const auto& chrome = caps["alwaysMatch"]["goog:chromeOptions"];
    ASSERT_GE(chrome["args"].size(), 6u);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(chrome["args"][size_t(i)], s(six[i]));
    EXPECT_FALSE(chrome.contains("prefs"));
}

// ---- e-Arşiv portal ----------------------------------------------------------------------

const json kKnown = {{"0123456789", {{"title", "ABC LTD ŞTİ"}, {"taxOffice", "Kadıköy"}}},
                     {"12345678901", {{"name", "AHMET"}, {"surname", "YILMAZ"}, {"taxOffice", "Çankaya"}}}};

using EarsivLookupTest = LookupTest;

TEST_F(EarsivLookupTest, OfflineOrWithoutAccountNoBrowserStarts)
{
    Form4& c = card(CustomerKind::Kurum, "0123456789");
    desktop_->online = false;
    c.Command3->click();
    EXPECT_EQ(c.panelText(2), "İnternete bağlı değilsiniz !");
    expectLookupButtonsOff(c);
    EXPECT_TRUE(c.Command1->isEnabled());

    desktop_->online = true;
    form->pass->clear();
    c.Text6->setText("0123456780");
    c.Command3->click();
    EXPECT_EQ(c.panelText(2), "eArşiv Portalı kullanıcı adı/şifresi girilmemiş...!");
    expectLookupButtonsOff(c);
    EXPECT_TRUE(browserProcessesOfThisTest().empty());
    EXPECT_TRUE(portal->events().empty());
}

TEST_F(EarsivLookupTest, InstitutionFilledLateReadWithoutClipboardOrLogout)
{
    Form4& c = card(CustomerKind::Kurum, "0123456789", {{"lookup", kKnown}, {"lookupDelayMs", 600}, {"recordLookup", true}});
    env.set("KUVELA_LOOKUP_VALUEWAITMS", "60000"); // 3 s at this scale, well past the fill
    QGuiApplication::clipboard()->setText(QStringLiteral("kullanıcının kopyası"));
    c.Text2->setText("ESKİ");
    c.Command3->click();

    EXPECT_EQ(c.Text1->text(), "ABC LTD ŞTİ");
    EXPECT_EQ(c.Text5->text(), "Kadıköy");
    EXPECT_EQ(c.Text2->text(), "");
    EXPECT_EQ(c.Text3->text(), "");
    EXPECT_EQ(c.panelText(2), "Sorgulama tamamlandı...");
    expectLookupButtonsOff(c);
    EXPECT_TRUE(c.Command1->isEnabled());
    EXPECT_FALSE(c.lookupRunning());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "kullanıcının kopyası");
    EXPECT_EQ(types(portal->events()), (QStringList{"login", "pageOpened", "lookup"}));
    EXPECT_EQ(portal->events("lookup")[0]["number"], "0123456789");
    EXPECT_TRUE(browserProcessesGone());
}

TEST_F(EarsivLookupTest, PersonThenAnUnknownNumber)
{
    Form4& c = card(CustomerKind::Sahis, "12345678901", {{"lookup", kKnown}});
    c.Text1->setText("ESKİ UNVAN");
    c.Command3->click();
    EXPECT_EQ(c.Text2->text(), "AHMET");
    EXPECT_EQ(c.Text3->text(), "YILMAZ");
    EXPECT_EQ(c.Text5->text(), "Çankaya");
    EXPECT_EQ(c.Text1->text(), "");
    EXPECT_EQ(c.panelText(2), "Sorgulama tamamlandı...");

    // The portal fills nothing for a number it does not know: the boxes get that.
    c.Text6->setText("99999999999");
    c.Command3->click();
    EXPECT_EQ(c.Text2->text(), "");
    EXPECT_EQ(c.Text3->text(), "");
    EXPECT_EQ(c.Text5->text(), "");
    EXPECT_EQ(c.panelText(2), "Sorgulama tamamlandı...");
    expectLookupButtonsOff(c);
    EXPECT_TRUE(portal->events("logout").empty());
    EXPECT_TRUE(browserProcessesGone());
}

TEST_F(EarsivLookupTest, WrongPasswordGivesUpAfterTwentyPollsAndABrokenPageIsReported)
{
    Form4& c = card(CustomerKind::Kurum, "0123456789", {{"lookup", kKnown}});
    form->pass->setText("yanlış");
    QElapsedTimer took;
    took.start();
    c.Command3->click();
    // Twenty polls of 1000 ms at the test's scale of 0.05.
    EXPECT_GE(took.elapsed(), 20 * 50 - 50);
    EXPECT_EQ(c.panelText(2), "Site çok yavaş, lütfen daha sonra tekrar deneyiniz...");
    EXPECT_EQ(types(portal->events()), QStringList{"loginFailed"});
    expectLookupButtonsOff(c);
    EXPECT_TRUE(browserProcessesGone());

    // Logged in, but the menu never leads to the invoice page.
    portal->setScenario({{"lookup", kKnown}, {"omitMainTreeOption", true}});
    portal->resetEvents();
    form->pass->setText("abc123");
    c.Text5->setText("Elle yazılan");
    c.Text6->clear();
    c.Text6->setText("0123456789");
    c.Command3->click();
    EXPECT_EQ(c.panelText(2), "Site çok yavaş, lütfen daha sonra tekrar deneyiniz...");
    EXPECT_EQ(c.Text5->text(), "Elle yazılan");
    EXPECT_EQ(types(portal->events()), QStringList{"login"});
    expectLookupButtonsOff(c);
    EXPECT_TRUE(browserProcessesGone());
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

// Runs `then` after ms, inside whatever loop is running.
void later(int ms, std::function<void()> then) { QTimer::singleShot(ms, std::move(then)); }

using SmmmLookupTest = LookupTest;

TEST_F(SmmmLookupTest, MissingIdPasswordOrConnectionStartsNoBrowser)
{
    Form4& c = card(CustomerKind::Kurum, "0123456789");
    form->smmmID.clear();
    c.Command5->click();
    EXPECT_EQ(c.panelText(2), " Sorgu için gerekli olan ID girilmemiş...!");
    expectLookupButtonsOff(c);
    EXPECT_TRUE(c.Frame3->isHidden());

    form->smmmID = QStringLiteral("1234567890");
    form->smmmPW.clear();
    c.Command5_Click();
    EXPECT_EQ(c.panelText(2), " Sorgu için gerekli olan şifre girilmemiş...!");

    form->smmmPW = QStringLiteral("smmm123");
    desktop_->online = false;
    c.Command5_Click();
    EXPECT_EQ(c.panelText(2), "İnternete bağlı değilsiniz !");
    EXPECT_FALSE(c.Frame3->isHidden());
    EXPECT_TRUE(browserProcessesOfThisTest().empty());
    EXPECT_TRUE(portal->events().empty());
}

TEST_F(SmmmLookupTest, InstitutionAfterAWrongCodeWithItsOwnListConfirmed)
{
    Form4& c = card(CustomerKind::Kurum, "0123456789", {{"smmmLists", {"Ocak Listesi", "Şubat Listesi"}}});
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
            // A number typed meanwhile enables none of them.
            c.Text6->setText("0123456780");
            buttonsDuringWait = c.Command1->isEnabled() || c.Command3->isEnabled() || c.Command4->isEnabled() ||
                                c.Command5->isEnabled();
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

    EXPECT_EQ(c.Text1->text(), "ABC LTD ŞTİ");
    EXPECT_EQ(c.Text2->text(), "");
    EXPECT_EQ(c.Text3->text(), "");
    EXPECT_EQ(c.Text4->toPlainText(), "Atatürk Cad. No:1 Kadıköy İstanbul");
    EXPECT_EQ(c.Text5->text(), "KADIKÖY");
    EXPECT_EQ(c.Label14->text(), "Faal");
    EXPECT_EQ(c.Label14->palette().color(QPalette::WindowText), QColor(0, 192, 0));
    EXPECT_EQ(c.panelText(2), "Sorgulama tamamlandı...");
    EXPECT_TRUE(c.Frame3->isHidden());
    EXPECT_TRUE(c.Text12->isHidden());
    EXPECT_TRUE(c.Text12->text().isEmpty());
    EXPECT_EQ(c.Image1->pixmap().width(), 0);
    // The number was changed during the wait: its rule decides the buttons now.
    EXPECT_EQ(c.Text6->text(), "0123456780");
    for (QPushButton* b : {c.Command1, c.Command3, c.Command4, c.Command5})
        EXPECT_TRUE(b->isEnabled());

    const auto events = smmmEvents(*portal);
    EXPECT_EQ(types(events), (QStringList{"smmmIdentity", "smmmLogin", "smmmIdentity", "smmmLogin", "smmmNewList",
                                          "smmmPopupOpened", "smmmType", "smmmQuery", "smmmPopupClosed", "smmmHome",
                                          "smmmListDeleted", "smmmLogout"}));
    EXPECT_EQ(portal->events("smmmType")[0]["value"], "Limited Şirket");
    EXPECT_EQ(portal->events("smmmQuery")[0]["number"], "0123456789");
    const auto deleted = portal->events("smmmListDeleted");
    ASSERT_EQ(deleted.size(), 1u);
    EXPECT_EQ(deleted[0]["row"], 0);
    EXPECT_EQ(deleted[0]["name"], portal->events("smmmNewList")[0]["name"]);
    EXPECT_TRUE(browserProcessesGone());
}

TEST_F(SmmmLookupTest, PersonInOrangeAndAnotherListLeftAlone)
{
    json people = {{"12345678901", {{"name", "AHMET"}, {"surname", "YILMAZ"}, {"address", "Kızılay 3 Ankara"},
                                    {"taxOffice", "ÇANKAYA"}, {"status", "Terk"}}}};
    Form4& c = card(CustomerKind::Sahis, "12345678901",
                    {{"smmmId", "12345678901"}, {"smmmTaxpayers", people}, {"smmmNewListAtEnd", true}});
    form->smmmID = QStringLiteral("12345678901");
    c.Text1->setText("ESKİ UNVAN");
    CaptchaUser user(c, {[&] { c.Text12->setText("ab3cd"); }});
    c.Command5->click();

    EXPECT_EQ(c.Text2->text(), "AHMET");
    EXPECT_EQ(c.Text3->text(), "YILMAZ");
    EXPECT_EQ(c.Text1->text(), "");
    EXPECT_EQ(c.Text5->text(), "ÇANKAYA");
    EXPECT_EQ(c.Label14->text(), "Terk");
    EXPECT_EQ(c.Label14->palette().color(QPalette::WindowText), QColor(255, 128, 0));
    EXPECT_EQ(c.panelText(2), "Sorgulama tamamlandı...");
    EXPECT_EQ(portal->events("smmmLogin")[0]["identity"], "RB1");
    EXPECT_EQ(portal->events("smmmType")[0]["value"], "Gerçek Kişi");
    // The new list stood last: the first row is the user's and is not confirmed.
    EXPECT_TRUE(portal->events("smmmListDeleted").empty());
    EXPECT_EQ(portal->events("smmmLogout").size(), 1u);
    expectLookupButtonsOff(c);
    EXPECT_TRUE(browserProcessesGone());
}

TEST_F(SmmmLookupTest, KapatOrClosingTheMainWindowEndsTheWait)
{
    Form4& c = card(CustomerKind::Kurum, "0123456789", {{"smmmId", "123456789"}});
    form->smmmID = QStringLiteral("123456789");
    CaptchaUser user(c, {[&] {
        c.Text12->setText("AB3");
        c.Command2->click();
    }});
    c.Command5->click();
    EXPECT_EQ(user.asked(), 1u);
    EXPECT_TRUE(portal->events("smmmLogin").empty());
    EXPECT_TRUE(portal->events("smmmIdentity").empty());
    EXPECT_TRUE(c.isHidden());
    EXPECT_TRUE(c.Frame3->isHidden());
    EXPECT_TRUE(c.Text12->isHidden());
    EXPECT_TRUE(c.Text12->text().isEmpty());
    EXPECT_EQ(c.Image1->pixmap().width(), 0);
    EXPECT_EQ(c.panelText(2), "");
    EXPECT_FALSE(c.lookupRunning());
    EXPECT_TRUE(browserProcessesGone());

    form->Command4_Click();
    c.Text6->setText("0123456789");
    CaptchaUser closer(c, {[&] { form->close(); }});
    c.Command5->click();
    EXPECT_EQ(closer.asked(), 1u);
    EXPECT_EQ(c.karar, "Kapat");
    EXPECT_TRUE(portal->events("smmmLogin").empty());
    EXPECT_TRUE(browserProcessesGone());

    // "Formu Temizle" takes the captcha away: the road ends rather than wait for nothing.
    form->Command4_Click();
    c.Text6->setText("0123456789");
    CaptchaUser emptier(c, {[&] { c.Command6->click(); }});
    c.Command5->click();
    EXPECT_EQ(emptier.asked(), 1u);
    EXPECT_EQ(c.karar, "Devam");
    EXPECT_FALSE(c.lookupRunning());
    EXPECT_TRUE(c.Frame3->isHidden());
    EXPECT_TRUE(portal->events("smmmLogin").empty());
    EXPECT_TRUE(browserProcessesGone());
}

TEST_F(SmmmLookupTest, TitleThatNeverComesEndsBusy)
{
    Form4& c = card(CustomerKind::Kurum, "0123456789", {{"smmmQueryDelayMs", -1}});
    CaptchaUser user(c, {[&] { c.Text12->setText("AB3CD"); }});
    QElapsedTimer took;
    took.start();
    c.Command5->click();
    EXPECT_GE(took.elapsed(), 11 * 50 - 50);
    EXPECT_EQ(c.panelText(2), "Site çok yoğun.. daha sonra deneyiniz...");
    EXPECT_EQ(c.Text1->text(), "");
    EXPECT_TRUE(c.Frame3->isHidden());
    EXPECT_TRUE(c.Text12->isHidden());
    EXPECT_TRUE(portal->events("smmmLogout").empty());
    EXPECT_EQ(portal->events("smmmQuery").size(), 1u);
    expectLookupButtonsOff(c);
    EXPECT_TRUE(browserProcessesGone());
}

} // namespace
