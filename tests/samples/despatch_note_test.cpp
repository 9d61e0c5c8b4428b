// The sample despatch note against a fake of the test portal's ExtJS page.
#include "platform/browser_session.h"
#include "samples/despatch_note.h"
#include "samples/sample_fixture.h"
#include "samples/sample_pages.h"

namespace kuvela::test {
namespace {

using json = nlohmann::json;

class DespatchNoteTest : public SampleWindowTest {
protected:
    void start(const json& scenario)
    {
        // The road's fixed pauses (1 ms for the unit list at 0.05) are too short on a loaded machine.
        env.set("KUVELA_TIME_SCALE", QStringLiteral("0.25"));
        pages = std::make_unique<SamplePages>(false, scenario);
        env.set("KUVELA_TESTPORTAL_URL", pages->baseUrl());
    }
    // What the page held when the road left the portal.
    json exitSnapshot() const
    {
        const auto exits = pages->events("exit");
        return exits.empty() ? json::object() : exits.back();
    }
    static QString field(const json& snap, const char* id)
    {
        return QString::fromStdString(snap["fields"].value(id, std::string("<yok>")));
    }
    std::unique_ptr<SamplePages> pages;
};

const char* const kDeliveryFields[] = {"teslimatSokakIrsaliye",  "teslimatBinaAdiIrsaliye", "teslimatBinaNoIrsaliye",
                                       "teslimatKapiNoIrsaliye", "teslimatKasabaIrsaliye",  "teslimatSemtIrsaliye",
                                       "teslimatSehirIrsaliye",  "teslimatPostaKoduIrsaliye", "teslimatUlkeIrsaliye"};

TEST_F(DespatchNoteTest, FillsTheNoteWithTenLinesAndAnswersTheMessageBox)
{
    const test::ScopedEnv mailbox("KUVELA_SUPPORT_MAILBOX", "destek@kuvela.test");
    start({{"messageBox", true}});
    sampleRandom().seed(77);
    std::mt19937 expected(77);
    form->ornekirsaliyeyukle();

    const json snap = exitSnapshot();
    ASSERT_TRUE(snap.value("formShown", false)) << dialogs->texts().join(u'|').toStdString();
    for (const auto& [id, value] :
         {std::pair{"senaryoIrsaliye", "Temel İrsaliye"}, {"irsaliyeTarihiIrs", "11/12/2022"}, {"irsaliyeZamani", "14:30"},
          {"irsaliyeTipi3", "SEVK"}, {"toplamTutar", "0.00"}, {"sevkZamaniIrsaliye", "14:30"}, {"aliciAraIrsaliye", ""},
          {"aliciUlkeIrsaliye", "Türkiye"}, {"aliciVknTcknIrsaliye", "9876543210"}})
        EXPECT_EQ(field(snap, id), QString::fromUtf8(value)) << id;
    // The box after the tax number was answered and the address typed after it.
    ASSERT_EQ(pages->events("box").size(), 1u);
    EXPECT_EQ(pages->events("box")[0]["button"], "Tamam");
    EXPECT_EQ(field(snap, "aliciSehirIrsaliye"), QStringLiteral("İstanbul"));
    // The portal copied the delivery address.
    EXPECT_EQ(pages->events("copy").size(), 1u);
    EXPECT_EQ(field(snap, "teslimatSokakIrsaliye"), field(snap, "aliciSokakIrsaliye"));

    EXPECT_EQ(snap["grids"]["ext-gen228"], json::array({json::array({"Mehmet", "Öztürk", "10000000146"})}));
    EXPECT_EQ(snap["grids"]["ext-gen279"], json::array({json::array({"34 DRS 872"})}));
    const json& lines = snap["grids"]["ext-gen348"];
    ASSERT_EQ(lines.size(), 10u);
    for (int n = 1; n <= 10; ++n) {
        SCOPED_TRACE(n);
        const json& row = lines[n - 1];
        EXPECT_EQ(row[1], "Örnek Ürün - " + std::to_string(n));
        EXPECT_EQ(row[2], "77");
        EXPECT_EQ(row[3], "Adet");
        EXPECT_EQ(row[4], std::to_string(ornekBirimFiyat(expected)));
    }
    const QString note = field(snap, "notIrsaliye");
    EXPECT_TRUE(note.startsWith(QStringLiteral("Bu İrsaliye test dataları ile Kuvela v1.3.6 tarafından oluşturuldu. - ")))
        << note.toStdString();
    // Three lines: the last one the support address.
    EXPECT_TRUE(note.endsWith(QStringLiteral("\nPortala irsaliye tuşlamaktan bıktıysan sende Kuvela kullan !\ndestek@kuvela.test\n")))
        << note.toStdString();

    ASSERT_EQ(dialogs->shown().size(), 1u);
    EXPECT_EQ(dialogs->shown()[0].icon, MsgIcon::Information);
    EXPECT_EQ(dialogs->shown()[0].text,
              QStringLiteral("İrsaliye başarıyla yüklendi... \r\nTamam butonu ile Portaldan GÜVENLİ ÇIKIŞ yapılacaktır..."));
    EXPECT_TRUE(browserProcessesGone());
}

TEST_F(DespatchNoteTest, AMissingElementFailsBeforeTheLinkAndIsPassedOverAfterIt)
{
    // Before the link: reported, and the session ended where it failed (no exit click).
    start({{"omit", {"plaka"}}});
    form->ornekirsaliyeyukle();
    ASSERT_EQ(dialogs->shown().size(), 1u);
    EXPECT_EQ(dialogs->shown()[0].icon, MsgIcon::Critical);
    EXPECT_TRUE(dialogs->shown()[0].text.contains(QStringLiteral("Hata No: 1111"))) << dialogs->shown()[0].text.toStdString();
    EXPECT_TRUE(pages->events("exit").empty());
    EXPECT_TRUE(browserProcessesGone());

    // After it (the link comes at the second login; no copy button; the price editor
    // never opens): each failure passed over, the editor loop ends, the road goes on.
    start({{"linkAfterLogins", 2}, {"copyButton", false}, {"stuckEditor", "ext-comp-1053"}, {"omit", {"plaka"}}});
    dialogs->clear();
    std::mt19937 random(5);
    DespatchNoteOutcome out;
    QStringList skipped;
    {
        BrowserSession session;
        out = ornekIrsaliyeDoldur(session, DespatchNoteLimits{}, random);
        for (const SkippedStep& s : session.skippedSteps())
            skipped << s.what;
    }
    EXPECT_TRUE(out.reachedForm);
    EXPECT_TRUE(out.failure.isEmpty()) << out.failure.toStdString();
    EXPECT_EQ(pages->events("login").size(), 2u);
    EXPECT_TRUE(skipped.contains(QStringLiteral("plaka alanına yazma"))) << skipped.join(u'|').toStdString();
    for (int n = 1; n <= 10; ++n)
        EXPECT_TRUE(skipped.contains(QStringLiteral("satır %1, hücre 5").arg(n))) << n;
    EXPECT_TRUE(pages->events("box").empty());

    const json snap = exitSnapshot();
    for (const char* id : kDeliveryFields)
        EXPECT_EQ(field(snap, id), QString()) << id;
    const json& lines = snap["grids"]["ext-gen348"];
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[9][1], "Örnek Ürün - 10");
    EXPECT_EQ(lines[9][4], "");
    EXPECT_EQ(field(snap, "tasiyiciUnvan"), QStringLiteral("Örnek Nakliyat Ltd. Şti."));
    ASSERT_EQ(dialogs->shown().size(), 1u);
    EXPECT_EQ(dialogs->shown()[0].icon, MsgIcon::Information);
    EXPECT_TRUE(browserProcessesGone());
}

} // namespace
} // namespace kuvela::test
