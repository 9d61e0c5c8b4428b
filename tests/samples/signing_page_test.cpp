// The signing page against a fake served over HTTPS with this test's own certificate,
// so that headless chromium shows its real certificate warning.
#include "platform/browser_session.h"
#include "samples/sample_fixture.h"
#include "samples/sample_pages.h"
#include "samples/signing_page.h"

#include "platform/paths.h"

namespace kuvela::test {
namespace {

using SigningPageTest = SampleWindowTest;

std::vector<std::string> ids(const std::vector<nlohmann::json>& events)
{
    std::vector<std::string> out;
    for (const auto& e : events)
        out.push_back(e.value("id", std::string()));
    return out;
}

TEST_F(SigningPageTest, PassesTheWarningTypesThePinFromTheSettingAndReportsAMissingElement)
{
    SamplePages pages(true);
    env.set("KUVELA_SIGNING_URL", pages.baseUrl() + u'/');
    env.set("KUVELA_SIGNING_PIN", QStringLiteral("905512"));
    form->seciliDosya = QStringLiteral("/somewhere/else/picked.html");

    std::vector<nlohmann::json> pinsWhileBoxUp;
    std::size_t browsersWhileBoxUp = 0;
    dialogs->onShow = [&](const MessageRequest&) {
        pinsWhileBoxUp = pages.events("pin");
        browsersWhileBoxUp = browserProcessesOfThisTest().size();
    };
    form->imzaSayfasiAc();

    const std::filesystem::path startFile = home.path() / toPath(QStringLiteral("prgDosyaları")) / "EFaturaWebSocket.jnlp";
    EXPECT_EQ(form->seciliDosya, fromPath(startFile));
    ASSERT_EQ(desktop->opened.size(), 1u);
    EXPECT_EQ(desktop->opened[0], startFile);

    // The page behind the warning was reached and walked in order.
    EXPECT_EQ(ids(pages.events("click")), (std::vector<std::string>{"servis", "devam", "btn-basla"}));
    EXPECT_EQ(ids(pages.events("hover")), (std::vector<std::string>{"btn-basla", "cmbKartIslemcileri"}));

    // One empty box, shown while the browser still held the entered PIN.
    ASSERT_EQ(dialogs->shown().size(), 1u);
    EXPECT_EQ(dialogs->shown()[0].text, QString());
    EXPECT_EQ(dialogs->shown()[0].buttons, MsgButtons::Ok);
    ASSERT_EQ(pinsWhileBoxUp.size(), 1u);
    EXPECT_EQ(pinsWhileBoxUp[0].value("card", std::string()), "Akis");
    EXPECT_EQ(pinsWhileBoxUp[0].value("pin", std::string()), "905512");
    EXPECT_GT(browsersWhileBoxUp, 0u);
    EXPECT_TRUE(browserProcessesGone());

    // A page without the card list: the driver's error, and the session ended.
    dialogs->onShow = nullptr;
    dialogs->clear();
    SamplePages broken(true, {{"omit", {"cmbKartIslemcileri"}}});
    env.set("KUVELA_SIGNING_URL", broken.baseUrl() + u'/');

    {
        BrowserSession session;
        try {
            imzaSayfasiniSur(session, SigningPageSettings::fromSettings());
            ADD_FAILURE() << "the missing card list went unnoticed";
        } catch (const WebDriverError& e) {
            EXPECT_EQ(e.code(), browser_error::ElementNotFound) << e.fullMessage().toStdString();
        }
        // Attaching by the debugging port is recorded as passed over, not pretended.
        ASSERT_FALSE(session.skippedSteps().empty());
        EXPECT_TRUE(session.skippedSteps()[0].what.contains(QStringLiteral("debuggerAddress")));
    }
    EXPECT_TRUE(browserProcessesGone());

    form->imzaSayfasiAc();
    ASSERT_EQ(dialogs->shown().size(), 1u);
    EXPECT_EQ(dialogs->shown()[0].icon, MsgIcon::Critical);
    EXPECT_TRUE(dialogs->shown()[0].text.contains(QStringLiteral("Hata No: 1111"))) << dialogs->shown()[0].text.toStdString();
    EXPECT_TRUE(broken.events("pin").empty());
    EXPECT_TRUE(browserProcessesGone());
}

} // namespace
} // namespace kuvela::test
