// The README's single upload, word for word, by mouse and keyboard on the shown main
// window, with the browser window visible on the fake portal: what the portal holds
// when the program logs out is the invoice the user composed.
#include "portal/upload_window_fixture.h"
#include "window/window_road.h"

#include <QListWidget>

using namespace kuvela;
using namespace kuvela::test;
using nlohmann::json;

namespace {

std::string s(const QString& text) { return text.toStdString(); }

class ReadmeUpload : public UploadWindowTest {};

} // namespace

TEST_F(ReadmeUpload, SingleUploadAsTheReadmeSays)
{
    road::copyDemoFolder(home.path());
    portal = std::make_unique<FakePortal>(road::demoScenario());
    const ScopedEnv visible("KUVELA_HEADLESS", "0");
    form = std::make_unique<Form1>();
    ASSERT_TRUE(showActive(*form));

    // "Log in with demo / 1234 and pick the company Çağdaş Gıda."
    road::logIn(*form, QStringLiteral("demo"), QStringLiteral("1234"));
    road::pickCompany(*form, QStringLiteral("Çağdaş Gıda"));
    // "choose the type SATIŞ, the buyer Şahin Gıda Pazarlama A.Ş."
    road::pickType(*form, QStringLiteral("SATIŞ"));
    EXPECT_EQ(s(form->user->text()), portal->scenario()["user"]);
    road::pickBuyer(*form, QStringLiteral("Şahin Gıda Pazarlama A.Ş."));
    // "add a line at 20 %"
    EXPECT_EQ(road::addLine(*form, {QStringLiteral("Un 50 kg"), QStringLiteral("20"), QStringLiteral("Paket"),
                                    QStringLiteral("400"), QStringLiteral("20")}),
              QString());
    EXPECT_EQ(form->Text20->text(), QStringLiteral("5555555555"));
    // "press e-Arşiv. The draft waits on the portal page until GÜVENLİ ÇIKIŞ."
    QStringList duringWait;
    ASSERT_TRUE(road::uploadAndLeave(*form, [&] { duringWait = queueRow(); }))
        << s(form->panelText(7)) << '\n' << s(dialogs->texts().join('\n'));
    EXPECT_TRUE(dialogs->shown().empty()) << s(dialogs->texts().join('\n'));
    EXPECT_EQ(skipped(), QString());

    const json page = loggedOutForm();
    ASSERT_TRUE(page.is_object()) << portal->events().dump(1);
    const json& h = page["header"];
    EXPECT_EQ(h["type"], "SATIS");
    EXPECT_EQ(h["vkn"], "5555555555");
    EXPECT_EQ(h["title"], "Şahin Gıda Pazarlama A.Ş.");
    EXPECT_EQ(h["name"], "");
    EXPECT_EQ(h["surname"], "");
    EXPECT_EQ(h["taxOffice"], "Selçuklu");
    EXPECT_EQ(h["address"], "Organize Sanayi Bölgesi 3. Cad. Konya");
    ASSERT_EQ(page["rows"].size(), 1u) << page.dump(1);
    const json& row = page["rows"][0];
    EXPECT_EQ(row["name"], "Un 50 kg");
    EXPECT_EQ(row["qty"], "20");
    EXPECT_EQ(row["price"], "400,00");
    EXPECT_EQ(row["vatRate"], "20");
    // 20 × 400 = 8.000,00 and 20 % of it: the portal's own arithmetic.
    EXPECT_EQ(row["net"], "8.000,00");
    EXPECT_EQ(row["vat"], "1.600,00");
    EXPECT_EQ(page["totals"]["vergilerDahilToplamTutar"], "9.600,00");
    // The draft left for the user is one the portal's "Oluştur" would accept.
    EXPECT_EQ(page["verdict"], json({{"accepted", true}, {"message", ""}}));
    ASSERT_EQ(duringWait.size(), 11);
    EXPECT_EQ(duringWait[5], QStringLiteral("Şahin Gıda Pazarlama A.Ş."));
    EXPECT_EQ(duringWait[7], QStringLiteral("9.600,00"));
    EXPECT_EQ(duringWait[8], QStringLiteral("0,00"));

    // The upload panel closed behind the browser's window; back at the front, the lines
    // have the keyboard and the next click elsewhere keeps the invoice.
    EXPECT_TRUE(form->Frame26->isHidden());
    EXPECT_EQ(road::focusInWindow(*form), QStringLiteral("ListView1"));
    road::bringToFront(*form);
    click(form->Text2);
    EXPECT_EQ(form->Text19->text(), QStringLiteral("Şahin Gıda Pazarlama A.Ş."));
    EXPECT_EQ(form->Combo1->currentText(), QStringLiteral("SATIŞ"));
    EXPECT_EQ(form->ListView1->topLevelItemCount(), 1);
    EXPECT_EQ(form->ListView3->topLevelItemCount(), 1);
    EXPECT_TRUE(browserProcessesGone());
}
