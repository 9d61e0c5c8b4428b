// The try-out of scripts/try-portal.sh, headless: the fake portal with the demo's
// scenario, the demo program folder as shipped, one single upload and the demo's bulk
// template uploaded, each without a warning.
#include "portal/upload_window_fixture.h"

#include "platform/paths.h"

#include <QCheckBox>
#include <QFile>
#include <QListWidget>
#include <QRadioButton>

using namespace kuvela;
using namespace kuvela::test;
using nlohmann::json;

namespace {

namespace fs = std::filesystem;

std::string s(const QString& text) { return text.toStdString(); }

const QString kCompany = QStringLiteral("Çağdaş Gıda");

json demoScenario()
{
    QFile f(QStringLiteral(KUVELA_SOURCE_DIR "/demo/portal-scenario.json"));
    if (!f.open(QIODevice::ReadOnly))
        return json();
    return json::parse(f.readAll().toStdString());
}

class DemoTryOut : public UploadWindowTest {
protected:
    // The demo program folder copied as the build made it, the company chosen as the
    // README says.
    void startDemo()
    {
        const json scenario = demoScenario();
        ASSERT_TRUE(scenario.is_object());
        const fs::path demo = fs::path(KUVELA_BINARY_DIR) / "demo";
        ASSERT_TRUE(fs::exists(demo / "Data" / "DATA.xlsx"));
        fs::copy(demo, home.path(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        portal = std::make_unique<FakePortal>(scenario);
        openAndLogIn();
        ASSERT_TRUE(form->menusShown());
        form->Combo4->setEditText(kCompany);
        form->Combo4_LostFocus();
        dialogs->clear();
    }
};

} // namespace

TEST_F(DemoTryOut, TheDemoCompanyUploadsOneInvoiceAndTheBulkTemplate)
{
    startDemo();
    // The demo company's portal user is the fake's.
    EXPECT_EQ(s(form->user->text()), portal->scenario()["user"]);
    EXPECT_EQ(s(form->firmaVKN), portal->scenario()["taxpayerVkn"]);

    // The buyer the README names, from the demo's customers.
    invoice(0, {QStringLiteral("5555555555"), QStringLiteral("Şahin Gıda Pazarlama A.Ş."), QStringLiteral("Selçuklu"),
                QStringLiteral("Türkiye"), QStringLiteral("Organize Sanayi Bölgesi 3. Cad. Konya")});
    line(satisLine(QStringLiteral("Un 50 kg"), "20", QStringLiteral("Paket"), "400", "5", "1"));
    upload([this] { safeExit(); });
    ASSERT_TRUE(waited) << s(form->panelText(7)) << '\n' << s(dialogs->texts().join('\n'));
    EXPECT_TRUE(dialogs->shown().empty()) << s(dialogs->texts().join('\n'));
    EXPECT_EQ(skipped(), QString());
    EXPECT_EQ(queueRow()[8], QStringLiteral("0,00"));
    const json page = loggedOutForm();
    ASSERT_TRUE(page.is_object()) << portal->events().dump(1);
    EXPECT_EQ(page["header"]["vkn"], "5555555555");
    EXPECT_TRUE(FakePortal::accepts(page)) << FakePortal::refusalOf(page);

    // The demo's bulk template, from the company's bulk folder.
    portal->resetEvents();
    form->Check5->setChecked(true);
    form->Dir1_Change();
    const auto found = form->File1->findItems(QStringLiteral("Toplu Fatura Örneği.xlsx"), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << s(form->Dir1Path());
    form->File1->setCurrentItem(found[0]);
    form->File1_Click();
    ASSERT_TRUE(form->Command6->isEnabled());
    form->Command6->click();
    form->prm1->click();
    form->Command43->click();
    ASSERT_EQ(form->ListView3->topLevelItemCount(), 2) << s(dialogs->texts().join('\n')) << s(form->panelText(7));
    form->Check4->setChecked(true);
    form->Command31->click();
    const auto created = portal->events("created");
    EXPECT_EQ(created.size(), 2u) << s(form->Text28->toPlainText());
    for (int i = 0; i < form->ListView3->topLevelItemCount(); ++i)
        EXPECT_EQ(form->ListView3->topLevelItem(i)->text(10), QStringLiteral("GIB SERİ NO OLUŞTU"));
    // The template's lines at 10 % (1.500 + 150; 600 - 60 + 54) and at 1 % (8.000 - 400 + 76), totalled
    // alike by the program and the portal.
    const QStringList totals = {QStringLiteral("2.244,00"), QStringLiteral("7.676,00")};
    for (size_t i = 0; i < created.size() && i < 2; ++i) {
        EXPECT_EQ(form->ListView3->topLevelItem(int(i))->text(7), totals[qsizetype(i)]);
        EXPECT_EQ(form->ListView3->topLevelItem(int(i))->text(8), QStringLiteral("0,00"));
        EXPECT_EQ(created[i]["form"]["totals"]["vergilerDahilToplamTutar"], s(totals[qsizetype(i)]));
    }
    if (!created.empty())
        EXPECT_EQ(created[0]["form"]["rows"][1]["vatRate"], "10");
    EXPECT_TRUE(dialogs->shown().empty()) << s(dialogs->texts().join('\n'));
    EXPECT_TRUE(browserProcessesGone());
}
