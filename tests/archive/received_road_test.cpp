// The received-invoice road in headless chromium against the fake tax office site, with
// a window stand-in that reads the captcha off the site as a user reads the picture.
#include "archive/received_list_road.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "received_taxoffice_site.h"
#include "support/fixtures.h"

#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <gtest/gtest.h>

using namespace kuvela;
using namespace kuvela::test;
using nlohmann::json;

namespace {

class ScriptedView : public ReceivedListView {
public:
    explicit ScriptedView(const FakeTaxOffice& site) : site_(site) {}

    void status(const QString& text) override { statuses.push_back(text); }
    void progress(int value) override { progresses.push_back(value); }
    void showCaptcha(const std::filesystem::path& picture) override
    {
        QFile f(fromPath(picture));
        pictures.push_back(f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
    }
    void showCaptchaEntry() override {}
    std::optional<QString> waitForCaptcha() override
    {
        processesAtWait.push_back(browserProcessesOfThisTest());
        if (closeAtWait == int(processesAtWait.size()))
            return std::nullopt;
        if (!codes.empty()) {
            const QString c = codes.front();
            codes.erase(codes.begin());
            return c;
        }
        return site_.currentCode();
    }
    void clearCaptchaEntry() override { ++cleared; }
    bool extraDialogs() const override { return extra; }

    std::vector<QString> statuses;
    std::vector<int> progresses;
    std::vector<QByteArray> pictures;
    std::vector<std::vector<qint64>> processesAtWait;
    std::vector<QString> codes; // typed before the site's own
    int closeAtWait = 0;
    int cleared = 0;
    bool extra = false;

private:
    const FakeTaxOffice& site_;
};

QJsonObject openpyxlRead(const std::filesystem::path& file)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"),
            {QStringLiteral(KUVELA_SOURCE_DIR "/tests/fixtures/workbook_fixtures.py"), QStringLiteral("read"), fromPath(file)});
    EXPECT_TRUE(p.waitForFinished(60000) && p.exitCode() == 0) << p.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

QStringList column(const QJsonObject& cells, QChar col, int from, int to)
{
    QStringList out;
    for (int r = from; r <= to; ++r)
        out << cells.value(col + QString::number(r)).toArray().at(1).toString();
    return out;
}

class ReceivedRoad : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("KUVELA_TIME_SCALE", "0.1");
        // Two columns named ACME: the later one's account is the one used.
        home.writeData({{QStringLiteral("prgDATA"),
                         {{"B2", "ACME"}, {"B8", "999"}, {"B9", "eski"},
                          {"C2", "BETA"}, {"C8", "222"}, {"C9", "b"},
                          {"D2", "ACME"}, {"D8", "1111111"}, {"D9", "abc123"}}}});
        std::filesystem::create_directories(home / QStringLiteral("Firmalarım/ACME/Alış Faturaları"));
    }
    void TearDown() override { qunsetenv("KUVELA_TIME_SCALE"); }

    ReceivedListJob job(const QString& company = QStringLiteral("ACME")) const
    {
        return {company, {QStringLiteral("02-2024"), QStringLiteral("2024-02"), QStringLiteral("29-02-2024")}, home.path()};
    }

    ProgramFolder home;
    ScopedRecordingDialogs dialogs;
};

json invoices(int from, int count, const QString& date)
{
    json rows = json::array();
    for (int n = from; n < from + count; ++n)
        rows.push_back(siteInvoice(n, date));
    return rows;
}

json concat(std::initializer_list<json> parts)
{
    json all = json::array();
    for (const json& p : parts)
        for (const json& r : p)
            all.push_back(r);
    return all;
}

} // namespace

// A whole month: a wrong code first, 3 + 25 + 0 + 2 invoices, page 2 of the busy window
// renumbered and late, the leap day in the last window, the extra dialogs ticked.
TEST_F(ReceivedRoad, MonthOfFourWindowsSavedAsTheList)
{
    FakeTaxOffice site({{"pageSize", 10},
                        {"pagingInfo", "total"},
                        {"renumberLaterPages", true},
                        {"renderDelayMs", 150},
                        {"invoices", concat({invoices(1, 3, "05-02-2024"), invoices(10, 25, "12-02-2024"),
                                             invoices(50, 1, "25-02-2024"), invoices(60, 1, "29-02-2024")})}});
    ScriptedView view(site);
    view.codes = {QStringLiteral("YANLIŞ")};
    view.extra = true;
    const ReceivedRun run = runReceivedList(view, job());

    ASSERT_EQ(run.outcome, ReceivedOutcome::Saved) << view.statuses.back().toStdString();
    EXPECT_EQ(run.invoices, 30);
    EXPECT_EQ(view.statuses.back(), QStringLiteral("Fatura listesi indirildi ve kaydedildi."));
    const auto file = home / QStringLiteral("Firmalarım/ACME/Alış Faturaları/ACME 2024-02 eArşivFat.xlsx");
    EXPECT_EQ(run.file, file);

    // The wrong code: the site's words, its "Tamam", a new picture, one browser throughout.
    const auto logins = site.events("login");
    ASSERT_EQ(logins.size(), 2u);
    EXPECT_FALSE(logins[0]["ok"].get<bool>());
    EXPECT_TRUE(logins[1]["ok"].get<bool>());
    EXPECT_EQ(logins[1]["user"], "1111111") << "the later ACME column";
    EXPECT_EQ(logins[1]["pass"], "abc123");
    EXPECT_NE(std::find(view.statuses.begin(), view.statuses.end(), QStringLiteral("Güvenlik kodu hatalı.")),
              view.statuses.end());
    EXPECT_EQ(site.events("tamam").size(), 2u) << "the login's box and the empty window's";
    ASSERT_EQ(view.pictures.size(), 2u);
    EXPECT_TRUE(view.pictures[0].startsWith("\x89PNG"));
    EXPECT_NE(view.pictures[0], view.pictures[1]);
    EXPECT_EQ(view.cleared, 1);
    ASSERT_EQ(view.processesAtWait.size(), 2u);
    EXPECT_FALSE(view.processesAtWait[0].empty());
    EXPECT_EQ(view.processesAtWait[0], view.processesAtWait[1]) << "the retry reuses the browser";

    // Four windows; the empty third is followed by a fourth typed right.
    const auto queries = site.events("query");
    ASSERT_EQ(queries.size(), 4u);
    const std::vector<std::pair<std::string, std::string>> dates{
        {"01-02-2024", "08-02-2024"}, {"09-02-2024", "16-02-2024"}, {"17-02-2024", "24-02-2024"}, {"25-02-2024", "29-02-2024"}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(queries[i]["start"], dates[i].first);
        EXPECT_EQ(queries[i]["end"], dates[i].second);
    }
    EXPECT_EQ(site.events("page").size(), 2u) << "25 invoices on pages of 10";
    // While a page is read, every cell of it in turn.
    const auto shownFrom = std::find(view.statuses.begin(), view.statuses.end(),
                                     QStringLiteral("01-02-2024 - 08-02-2024 arası sorgulanıyor..: SATICI 1 A.Ş."));
    ASSERT_NE(shownFrom, view.statuses.end());
    std::vector<QString> firstRow(shownFrom, shownFrom + 11);
    QStringList cells;
    for (const json& c : siteInvoice(1, "05-02-2024"))
        cells << QStringLiteral("01-02-2024 - 08-02-2024 arası sorgulanıyor..: ") + QString::fromStdString(c.get<std::string>());
    EXPECT_EQ(QStringList(firstRow.begin(), firstRow.end()), cells);
    EXPECT_EQ(site.events("yeni_sorgu").size(), 3u) << "not after the window without invoices";
    EXPECT_EQ(dialogs->texts(),
              (QStringList{"01-02-2024 / 08-02-2024 tarih aralığında 1 sayfa içerisinde 3 adet fatura bulunuyor.",
                           "09-02-2024 / 16-02-2024 tarih aralığında 3 sayfa içerisinde 25 adet fatura bulunuyor.",
                           "Bu sorgu döneminin 2. sayfasını indirmek için tıklayın...",
                           "Bu sorgu döneminin 3. sayfasını indirmek için tıklayın...",
                           "25-02-2024 / 29-02-2024 tarih aralığında 1 sayfa içerisinde 2 adet fatura bulunuyor."}));
    EXPECT_EQ(view.progresses.back(), 100);
    EXPECT_TRUE(browserProcessesGone());

    const QJsonObject read = openpyxlRead(file);
    const QJsonArray sheets = read["sheets"].toArray();
    ASSERT_EQ(sheets.size(), 2);
    const QJsonObject list = read["cells"].toObject()[sheets[0].toString()].toObject();
    EXPECT_EQ(list.value("C1").toArray().at(1).toString(), QStringLiteral("Fatura No"));
    EXPECT_EQ(list.value("A1").toArray().at(1).toString(), QStringLiteral("Firma"));
    QStringList numbers;
    for (int n : {1, 2, 3, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 50, 60})
        numbers << QStringLiteral("GIB2024%1").arg(100000000 + n);
    EXPECT_EQ(column(list, u'C', 2, 31), numbers) << "windows and pages one after another, none twice";
    EXPECT_FALSE(list.contains("C32"));
    EXPECT_EQ(list.value("B2").toArray(), (QJsonArray{"text", "0012345601"}));
    EXPECT_EQ(list.value("D31").toArray(), (QJsonArray{"text", "29-02-2024"}));
    EXPECT_EQ(list.value("F2").toArray(), (QJsonArray{"text", "2.234,56"}));
    // Sheet 2: every table row of the five result pages, header rows included.
    const QJsonObject raw = read["cells"].toObject()[sheets[1].toString()].toObject();
    int rows = 0, headers = 0;
    while (raw.contains(QStringLiteral("A%1").arg(rows + 1)) || raw.contains(QStringLiteral("C%1").arg(rows + 1))) {
        ++rows;
        headers += raw.value(QStringLiteral("A%1").arg(rows)).toArray().at(1).toString() == QStringLiteral("Firma");
    }
    EXPECT_EQ(headers, 5);
    EXPECT_EQ(rows, 30 + 5);
}

// "Sayfa 1 / 12" is twelve pages; paging information counted per page; another site
// message marks its window failed and the list incomplete; no dialogs when unticked.
TEST_F(ReceivedRoad, TwelvePagesAndAFailedWindow)
{
    FakeTaxOffice site({{"pageSize", 2},
                        {"pagingInfo", "page"},
                        {"queryMessages", {{"09-02-2024", "Sorgulama servisi geçici olarak hizmet dışı."}}},
                        {"invoices", concat({invoices(1, 23, "03-02-2024"), invoices(40, 2, "10-02-2024"),
                                             invoices(60, 1, "20-02-2024")})}});
    ScriptedView view(site);
    const ReceivedRun run = runReceivedList(view, job());

    EXPECT_EQ(run.outcome, ReceivedOutcome::Incomplete);
    EXPECT_EQ(run.failedWindows, 1);
    EXPECT_EQ(run.invoices, 24);
    EXPECT_EQ(view.statuses.back(), QStringLiteral("Fatura listesi eksik kaydedildi: 1 dönem hatalı."));
    EXPECT_NE(std::find(view.statuses.begin(), view.statuses.end(),
                        QStringLiteral("Sorgulama servisi geçici olarak hizmet dışı.")),
              view.statuses.end());
    EXPECT_EQ(site.events("page").size(), 11u);
    EXPECT_TRUE(dialogs->shown().empty());
    EXPECT_TRUE(std::filesystem::exists(run.file));
    EXPECT_EQ(site.events("query").size(), 4u) << "the run goes on after the failed window";
}

// Endings: no account, a landing that fails, a run-time failure, a close during the
// captcha wait, each without a list; and pages of one supplier, each beginning with the
// same seller in the same cell ids, listed whole. None leaves a browser.
TEST_F(ReceivedRoad, Endings)
{
    struct Row {
        const char* what;
        json scenario;
        QString company;
        int closeAtWait;
        ReceivedOutcome outcome;
        std::vector<QString> statuses; // the last ones shown, in order
        std::vector<MsgIcon> dialogIcons;
        size_t captchasServed, pictures; // pictures: those shown in the window
        int listed = -1;                 // invoices in the saved list; -1: no list
        bool nothingComes = false;       // the run ends waiting for what is never to come
    };
    const json two = invoices(1, 2, "05-02-2024");
    const Row rows[] = {
        {"pages beginning with the same seller",
         {{"invoices", invoices(1, 25, "05-02-2024")}, {"pageSize", 10}, {"sameSellerFirst", true}, {"renderDelayMs", 150}},
         "ACME", 0, ReceivedOutcome::Saved, {"Fatura listesi indirildi ve kaydedildi."}, {}, 2, 1, 25},
        // No browser for a company not in the workbook.
        {"no account", {{"invoices", two}}, "YOK FİRMA", 0, ReceivedOutcome::NoAccount,
         {"Tanımlar bölümüne Portal kullanıcı adı/şifresi girilmelidir..!"}, {}, 0, 0},
        {"landing fails", {{"landingFails", true}}, "ACME", 0, ReceivedOutcome::LoginFailed,
         {"İnteraktif VD'ne giriş yapılamadı...!"}, {MsgIcon::Exclamation}, 2, 1, -1, true},
        {"cells without ids", {{"invoices", two}, {"cellsWithoutIds", {"01-02-2024"}}}, "ACME", 0, ReceivedOutcome::Failed,
         {" Bir hata oluştu !  Hata No: 1111"}, {}, 2, 1},
        // No refresh control, no new picture.
        {"closed at the wait", {{"noRefresh", true}}, "ACME", 1, ReceivedOutcome::Closed, {}, {}, 1, 0, -1, true},
    };
    const auto file = home / QStringLiteral("Firmalarım/ACME/Alış Faturaları/ACME 2024-02 eArşivFat.xlsx");
    FakeTaxOffice site;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        site.setScenario(r.scenario);
        dialogs->clear();
        const size_t servedBefore = site.events("captcha_served").size();
        ScriptedView view(site);
        view.closeAtWait = r.closeAtWait;
        std::optional<test::NothingComes> shortWaits;
        if (r.nothingComes)
            shortWaits.emplace();
        const ReceivedRun run = runReceivedList(view, job(r.company));
        shortWaits.reset();
        EXPECT_EQ(run.outcome, r.outcome);
        ASSERT_GE(view.statuses.size(), r.statuses.size());
        EXPECT_EQ(std::vector<QString>(view.statuses.end() - long(r.statuses.size()), view.statuses.end()), r.statuses);
        std::vector<MsgIcon> icons;
        for (const auto& d : dialogs->shown())
            icons.push_back(d.icon);
        EXPECT_EQ(icons, r.dialogIcons);
        EXPECT_EQ(site.events("captcha_served").size() - servedBefore, r.captchasServed);
        EXPECT_EQ(view.pictures.size(), r.pictures);
        EXPECT_TRUE(browserProcessesGone());
        EXPECT_EQ(std::filesystem::exists(file), r.listed >= 0);
        if (r.listed >= 0 && std::filesystem::exists(file)) {
            EXPECT_EQ(run.invoices, r.listed);
            EXPECT_EQ(site.events("page").size(), 2u);
            const QJsonObject read = openpyxlRead(file);
            const QJsonObject list = read["cells"].toObject()[read["sheets"].toArray()[0].toString()].toObject();
            QStringList numbers;
            for (int n = 1; n <= r.listed; ++n)
                numbers << QStringLiteral("GIB2024%1").arg(100000000 + n);
            EXPECT_EQ(column(list, u'C', 2, r.listed + 1), numbers) << "every page once";
            EXPECT_EQ(column(list, u'A', 12, 12), QStringList{"SATICI 1 A.Ş."}) << "page 2 begins with page 1's seller";
            std::filesystem::remove(file);
        }
    }
}
