// "SIRAYLA YÜKLE": a bulk template written by openpyxl, queued, and uploaded invoice by
// invoice to the fake portal in real headless chromium.
#include "portal/bulk_run.h"
#include "portal/bulk_run_fixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>

using namespace kuvela;
using namespace kuvela::test;
using nlohmann::json;

namespace {

std::string s(const QString& text) { return text.toStdString(); }

const QString kCreated = QStringLiteral("GIB SERİ NO OLUŞTU");
const QString kWaiting = QStringLiteral("Oluştur ya da Vazgeç bekleniyor...");
const QString kOverLimit = QStringLiteral("Limit üzerinde Toplam Farkı var. Kaydedilmedi !");

const QString kAlfa = QStringLiteral("1111111111");
const QString kBeta = QStringLiteral("2222222222");
const QString kGama = QStringLiteral("3333333333");

// Five rows, three buyers: rows 2-3, 4 and 5-6 by tax number.
std::vector<Row> fiveRows()
{
    return {{kAlfa, QStringLiteral("Alfa Ltd"), QStringLiteral("Kalem A"), 2, 100},
            {kAlfa, QStringLiteral("Alfa Ltd"), QStringLiteral("Kalem B"), 1, 50},
            {kBeta, QStringLiteral("Beta AŞ"), QStringLiteral("Kalem C"), 1, 10},
            {kGama, QStringLiteral("Gama Tic"), QStringLiteral("Kalem D"), 1, 100},
            {kGama, QStringLiteral("Gama Tic"), QStringLiteral("Kalem E"), 3, 10}};
}

class BulkRunTest : public BulkRunFixture {
protected:
    // Confirm mode: each time the answer buttons show, the next press of the list, with
    // `before` run first.
    void runAnswering(const std::vector<QPushButton*>& presses, const std::function<void()>& before = {})
    {
        size_t next = 0;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (next >= presses.size() || form->Frame26->isHidden() || form->Command53->isHidden())
                return;
            if (before)
                before();
            QPushButton* press = presses[next++];
            if (next == presses.size())
                poll.stop();
            press->click();
        });
        poll.start(50);
        form->Command31->click();
        answered = next;
    }

    // Each created form holds its invoice's lines by name and quantity.
    static void expectLines(const json& created, const QStringList& names, const QStringList& quantities)
    {
        const json& rows = created["form"]["rows"];
        ASSERT_EQ(rows.size(), size_t(names.size()));
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i]["name"], s(names[int(i)]));
            EXPECT_EQ(rows[i]["qty"], s(quantities[int(i)]));
        }
    }

    size_t answered = 0;
};

TEST(BulkRunDecisions, LimitAnswerAndResultText)
{
    struct Case {
        const char* difference;
        bool passes;
    };
    for (const Case& c : {Case{"0,04", true}, Case{"0,05", true}, Case{"0,00", true}, Case{"0,06", false},
                          Case{"2,00", false}, Case{"10,00", false}, Case{"-10,00", false}, Case{"-0,06", false},
                          Case{"-0,05", true}, Case{"", false}, Case{"abc", false}, Case{"--0,01", false}})
        EXPECT_EQ(portal::differencePasses(QString::fromUtf8(c.difference), QStringLiteral("0,05")), c.passes)
            << c.difference;
    EXPECT_FALSE(portal::differencePasses(QStringLiteral("0,01"), QString()));

    EXPECT_EQ(portal::answerOf(QStringLiteral("OLUŞTUR")), portal::RunAnswer::Create);
    EXPECT_EQ(portal::answerOf(QStringLiteral("VAZGEÇ")), portal::RunAnswer::Cancel);
    for (const char* word : {"", "QUIT", "oluştur"})
        EXPECT_EQ(portal::answerOf(QString::fromUtf8(word)), portal::RunAnswer::End) << word;

    EXPECT_EQ(portal::resultStatus(QString()), std::nullopt);
    EXPECT_EQ(portal::resultStatus(QStringLiteral("Faturanız başarıyla oluşturulmuştur. Fatura No: X")), kCreated);
    EXPECT_EQ(portal::resultStatus(QStringLiteral("Alıcı adı boş")), QStringLiteral("Alıcı adı boş"));
    EXPECT_EQ(portal::uploadedText(3, 2), QStringLiteral("3/2. fatura yüklendi."));
}

TEST_F(BulkRunTest, AutomaticModeCreatesEachInvoiceOnAFreshPage)
{
    // The first page is numbered below 10000 and the next ones past it. The first result
    // pop-up ignores its close and the results come late: an old result left open must
    // not be read as the next invoice's.
    start({{"idStart", 9850}, {"popupCloseMisses", 1}, {"popupDelayMs", 300}});
    queue(fiveRows());
    form->Command31->click();

    const auto created = portal->events("created");
    ASSERT_EQ(created.size(), 3u) << s(form->Text28->toPlainText()) << '\n' << portal->events().dump(1);
    EXPECT_LT(created[0]["form"]["N"].get<int>(), created[1]["form"]["N"].get<int>());
    EXPECT_LT(created[1]["form"]["N"].get<int>(), created[2]["form"]["N"].get<int>());
    EXPECT_LT(created[0]["form"]["N"].get<int>(), 10000);
    EXPECT_GE(created[1]["form"]["N"].get<int>(), 10000);
    EXPECT_EQ(created[0]["form"]["header"]["vkn"], s(kAlfa));
    EXPECT_EQ(created[0]["form"]["header"]["title"], "Alfa Ltd");
    EXPECT_EQ(created[0]["form"]["header"]["date"], "01/02/2024");
    expectLines(created[0], {"Kalem A", "Kalem B"}, {"2", "1"});
    EXPECT_EQ(created[1]["form"]["header"]["vkn"], s(kBeta));
    expectLines(created[1], {"Kalem C"}, {"1"});
    EXPECT_EQ(created[2]["form"]["header"]["vkn"], s(kGama));
    expectLines(created[2], {"Kalem D", "Kalem E"}, {"1", "3"});

    EXPECT_EQ(statuses(), (QStringList{kCreated, kCreated, kCreated}));
    for (int i = 0; i < 3; ++i) {
        const QTreeWidgetItem* row = form->ListView3->topLevelItem(i);
        EXPECT_EQ(row->text(1), QString::fromStdString(created[size_t(i)]["form"]["ettn"]));
        EXPECT_EQ(row->text(8), QStringLiteral("0,00"));
    }
    EXPECT_EQ(form->Text28->toPlainText(),
              QStringLiteral("Faturalar sırayla portala yükleniyor...\n3/1. fatura yüklendi.\n3/2. fatura yüklendi.\n"
                             "3/3. fatura yüklendi.\n3 adet fatura yükleme sonrası Onaylandı yada Vazgeçildi...\n"
                             "Portaldan Güvenli Çıkış yapıldı..."));
    EXPECT_EQ(portal->events("logout").size(), 1u);
    EXPECT_TRUE(form->Command31->isHidden());
    EXPECT_TRUE(form->Command50->isHidden());
    EXPECT_FALSE(form->Frame26->isHidden());
    EXPECT_TRUE(dialogs->shown().empty()) << s(dialogs->texts().join('\n'));
    EXPECT_TRUE(browserProcessesGone());
}

TEST_F(BulkRunTest, ARefusedInvoiceShowsThePortalsWordsAndTheRunGoesOn)
{
    const QString refusal = QStringLiteral("Bu alıcıya fatura düzenlenemez.");
    start({{"refuseCreate", {{s(kBeta), s(refusal)}}}});
    // A company row with an empty title column: the portal's own refusal, not a success.
    std::vector<Row> rows = fiveRows();
    rows.push_back({QStringLiteral("4444444444"), QString(), QStringLiteral("Kalem F"), 1, 20});
    queue(rows);
    form->Command31->click();

    EXPECT_EQ(statuses(), (QStringList{kCreated, refusal, kCreated, QStringLiteral("Alıcı unvanı boş bırakılamaz.")}));
    const auto created = portal->events("created");
    ASSERT_EQ(created.size(), 2u);
    EXPECT_EQ(created[1]["form"]["header"]["vkn"], s(kGama));
    for (const auto& c : created)
        EXPECT_TRUE(FakePortal::accepts(c["form"]));
    const auto closed = portal->events("tabClosed");
    ASSERT_EQ(closed.size(), 2u);
    const auto refused = portal->events("createRefused");
    ASSERT_EQ(refused.size(), 2u);
    EXPECT_EQ(refused[0]["form"]["N"], closed[0]["N"]);
    EXPECT_EQ(FakePortal::refusalOf(refused[1]["form"]), "Alıcı unvanı boş bırakılamaz.");
}

TEST_F(BulkRunTest, ADifferenceOverTheLimitEitherWayIsNotCreated)
{
    start({{"totalSkew", {{s(kBeta), "0,06"}, {s(kGama), "-0,06"}}}});
    queue(fiveRows());
    form->Command31->click();

    EXPECT_EQ(statuses(), (QStringList{kCreated, kOverLimit, kOverLimit}));
    EXPECT_EQ(form->ListView3->topLevelItem(1)->text(8), QStringLiteral("0,06"));
    EXPECT_EQ(form->ListView3->topLevelItem(2)->text(8), QStringLiteral("-0,06"));
    const auto created = portal->events("created");
    ASSERT_EQ(created.size(), 1u);
    EXPECT_EQ(created[0]["form"]["header"]["vkn"], s(kAlfa));
    EXPECT_EQ(portal->events("logout").size(), 1u);
}

TEST_F(BulkRunTest, SkippedStepsAreListedAndTheTaxpayerIsCheckedBeforeTheMenu)
{
    // A page without its add-line control, and a portal user of another company.
    start({{"omitAddLine", true}, {"taxpayerVkn", "5555555555"}});
    queue({fiveRows()[2]});
    size_t pagesAtTheWarning = 99;
    size_t menuStepsAtTheWarning = 99;
    dialogs->onShow = [&](const MessageRequest&) {
        pagesAtTheWarning = portal->events("pageOpened").size();
        menuStepsAtTheWarning = portal->events("menu").size();
    };
    form->Command31->click();
    dialogs->onShow = nullptr;

    EXPECT_EQ(dialogs->texts(),
              QStringList{QStringLiteral("Dikkat ! kullanıcı ile mükellef vergi no uyuşmuyor !!! \nprgDATA sayfanızı kontrol edin!!!")});
    EXPECT_EQ(pagesAtTheWarning, 0u);
    EXPECT_EQ(menuStepsAtTheWarning, 0u);
    // The login walks the menu only; the invoice opens its own page.
    QStringList menu;
    for (const auto& m : portal->events("menu"))
        menu << QString::fromStdString(m["item"]);
    EXPECT_EQ(menu, (QStringList{"MAINTREEMENU", "Belge İşlemleri", "e-Arşiv Fatura (İnteraktif) Oluştur"}));
    EXPECT_EQ(portal->events("pageOpened").size(), 1u);
    EXPECT_EQ(statuses(), QStringList{kOverLimit});
    const QStringList log = form->Text28->toPlainText().split(u'\n');
    ASSERT_GE(log.size(), 6) << s(form->Text28->toPlainText());
    EXPECT_EQ(log[1], QStringLiteral("1/1. fatura yüklendi."));
    EXPECT_EQ(log[2], QStringLiteral("Portalda yapılamayan adımlar (portal değişmiş olabilir):"));
    const int steps = int(log.size()) - 5;
    for (int i = 0; i < steps; ++i)
        EXPECT_TRUE(log[3 + i].startsWith(QStringLiteral("- "))) << s(log[3 + i]);
    EXPECT_TRUE(log[3].contains(QStringLiteral("tıklama gen__"))) << s(log[3]);
    EXPECT_EQ(log[log.size() - 1], QStringLiteral("Portaldan Güvenli Çıkış yapıldı..."));
    EXPECT_EQ(form->panelText(7),
              QStringLiteral("Portaldan Güvenli Çıkış yapıldı... (%1 adım yapılamadı, ayrıntılar yükleme panelinde)")
                  .arg(steps));
    EXPECT_TRUE(portal->events("created").empty());
}

TEST_F(BulkRunTest, ASlowResultIsStillRecordedAsCreatedAndLineWarningsComeWithTheirInvoice)
{
    start({{"popupDelayMs", 500}});
    // ÖZEL MATRAH lines without their amount: a warning for each line as it is read.
    queue({fiveRows()[2], fiveRows()[3], fiveRows()[4]}, false, 4);
    QStringList seen;
    dialogs->onShow = [&](const MessageRequest&) {
        seen << form->Text19->text() + u' ' + QString::number(form->ListView1->topLevelItemCount());
    };
    QStringList times;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (times.isEmpty() || times.back() != form->Label25->text())
            times << form->Label25->text();
    });
    watch.start(5);
    form->Command31->click();
    watch.stop();
    dialogs->onShow = nullptr;
    EXPECT_EQ(statuses(), (QStringList{kCreated, kCreated}));
    EXPECT_EQ(portal->events("created").size(), 2u);
    EXPECT_EQ(dialogs->texts().size(), 3) << s(dialogs->texts().join('\n'));
    EXPECT_EQ(seen, (QStringList{"Beta AŞ 1", "Gama Tic 1", "Gama Tic 2"}));
    // The seconds since the run started, as the single upload writes them.
    times.removeAll(QString());
    ASSERT_EQ(times.size(), 2) << s(times.join('\n'));
    for (const QString& t : times)
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^Yükleme Süresi: \\d+,\\d\\d Saniye$")).match(t).hasMatch()) << s(t);
}

TEST_F(BulkRunTest, ConfirmModeCreatesOnlyOnOlusturAndEndsOnSafeExitOrTheX)
{
    start();
    queue(fiveRows(), true);
    std::vector<std::vector<bool>> starters;
    runAnswering({form->Command53, form->Command41, form->Command50}, [&] { starters.push_back(browserStarters()); });
    EXPECT_EQ(answered, 3u);
    // No second portal session could start while the run held one.
    ASSERT_EQ(starters.size(), 3u);
    for (const auto& on : starters)
        EXPECT_EQ(on, std::vector<bool>(6, false));
    // "GÜVENLİ ÇIKIŞ" gave "e-Arşiv" back once the run had ended.
    EXPECT_TRUE(form->Command12->isEnabled());
    EXPECT_EQ(statuses(), (QStringList{kCreated, QStringLiteral("Vazgeçildi"), kWaiting}));
    EXPECT_EQ(portal->events("created").size(), 1u);
    EXPECT_EQ(portal->events("logout").size(), 1u);
    EXPECT_TRUE(form->karar.isEmpty());
    EXPECT_TRUE(form->Text28->toPlainText().endsWith(
        QStringLiteral("2 adet fatura yükleme sonrası Onaylandı yada Vazgeçildi...\nPortaldan Güvenli Çıkış yapıldı...")));

    // The panel's "X" while waiting ends the run the same way; with the browser shut by
    // hand meanwhile there is no logout, and none is reported.
    portal->resetEvents();
    form->Command43_Click();
    form->Check6->setChecked(true);
    ASSERT_TRUE(form->Command31->isEnabled());
    runAnswering({form->Command55}, [] { closeBrowserByHand(); });
    EXPECT_EQ(answered, 1u);
    EXPECT_EQ(statuses(), (QStringList{kWaiting, QStringLiteral("Yükleme bekliyor"), QStringLiteral("Yükleme bekliyor")}));
    EXPECT_TRUE(portal->events("created").empty());
    EXPECT_TRUE(portal->events("logout").empty());
    const QString notLoggedOut = QStringLiteral("Portaldan çıkış yapılamadı; tarayıcı kapatıldı.");
    EXPECT_TRUE(form->Text28->toPlainText().endsWith(u'\n' + notLoggedOut)) << s(form->Text28->toPlainText());
    EXPECT_EQ(form->panelText(7), notLoggedOut);
    EXPECT_TRUE(browserProcessesGone());
}

TEST_F(BulkRunTest, APageWithoutItsDateContainerTakesTheFailureRoadAndKeepsTheQueue)
{
    // Full-length pauses between the tries, so that each try's text can be seen.
    const ScopedEnv fullTime("KUVELA_TIME_SCALE", "1");
    start({{"pagesWithoutDateContainer", {2}}});
    queue(fiveRows());
    std::vector<QString> tries;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const QString text = form->panelText(7);
        if (text.endsWith(QStringLiteral(" defa denendi.")) && (tries.empty() || tries.back() != text))
            tries.push_back(text);
    });
    watch.start(10);
    form->Command31->click();
    watch.stop();

    EXPECT_EQ(dialogs->texts(), QStringList{QStringLiteral("Portalda hata oluştu daha sonra tekrar deneyiniz !")});
    // Each failed look is shown during the pause after it; the tenth gives way to the failure at once.
    ASSERT_FALSE(tries.empty());
    EXPECT_EQ(tries.back(), QStringLiteral("9 defa denendi."));
    for (size_t i = 1; i < tries.size(); ++i)
        EXPECT_LT(tries[i - 1].section(u' ', 0, 0).toInt(), tries[i].section(u' ', 0, 0).toInt());
    EXPECT_TRUE(form->Text28->toPlainText().endsWith(QStringLiteral("Portalda hata oluştu daha sonra tekrar deneyiniz ! - ")));
    EXPECT_EQ(form->panelText(7), QStringLiteral("Portalda hata oluştu.Hata Açıklaması: "));
    ASSERT_EQ(form->ListView3->topLevelItemCount(), 3);
    EXPECT_EQ(statuses(), (QStringList{kCreated, QStringLiteral("Yükleme bekliyor"), QStringLiteral("Yükleme bekliyor")}));
    EXPECT_TRUE(end->codes.empty());
    EXPECT_FALSE(form->Frame26->isHidden());
    EXPECT_TRUE(browserProcessesGone());
}

TEST_F(BulkRunTest, AWorkbookChangedAfterQueueingStopsTheRunAndLogsOut)
{
    start();
    queue(fiveRows());
    // Beta's row now belongs to Gama: the second invoice would be rows 4-6.
    std::vector<Row> changed = fiveRows();
    changed[2].vkn = kGama;
    writeRows(changed);
    form->Command31->click();
    ASSERT_EQ(dialogs->texts().size(), 1);
    EXPECT_TRUE(dialogs->texts()[0].startsWith(QStringLiteral("Excel dosyası fatura listesi hazırlandıktan sonra değişmiş !")))
        << s(dialogs->texts()[0]);
    EXPECT_EQ(statuses(), (QStringList{kCreated, QStringLiteral("Yükleme bekliyor"), QStringLiteral("Yükleme bekliyor")}));
    EXPECT_EQ(portal->events("created").size(), 1u);
    EXPECT_EQ(portal->events("logout").size(), 1u);

    // A title changed after the login: its message, then the logout.
    portal->resetEvents();
    dialogs->clear();
    writeRows(fiveRows());
    form->Command43_Click();
    writeRows(fiveRows(), QStringLiteral("Yanlış Başlık"));
    form->Check4->setChecked(true);
    form->Command31->click();
    ASSERT_EQ(dialogs->texts().size(), 1);
    EXPECT_TRUE(dialogs->texts()[0].contains(QStringLiteral("Yanlış Başlık"))) << s(dialogs->texts()[0]);
    EXPECT_TRUE(portal->events("created").empty());
    EXPECT_EQ(portal->events("logout").size(), 1u);
    EXPECT_TRUE(browserProcessesOfThisTest().empty());
}

} // namespace
