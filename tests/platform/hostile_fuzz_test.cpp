// A seeded mutation loop over workbooks and archives. A short run with a fixed seed is
// part of every test run; a developer runs it longer with
//   KUVELA_FUZZ_SECONDS=600 KUVELA_FUZZ_SEED=$RANDOM ./test_platform --gtest_filter='HostileFuzz.*'
// (KUVELA_FUZZ_CASES sets the number of cases of a run without a time). What must hold
// for every mutant: the reader and the unpacker fail only with their own errors; a
// workbook that opens and is saved opens again; a refused archive leaves the target as
// it was, and one that is accepted lands whole inside it.
#include "platform/paths.h"
#include "platform/workbook.h"
#include "platform/workbook_zip.h"
#include "platform/zip_archive.h"
#include "workbook_test_support.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <gtest/gtest.h>
#include <random>
#include <zip.h>

namespace kuvela {
namespace {

namespace fs = std::filesystem;
using Entries = std::vector<std::pair<std::string, std::string>>;

// How long a run lasts: a number of cases, or a time when one is set.
struct FuzzRun {
    unsigned seed;
    int cases = qEnvironmentVariableIsSet("KUVELA_FUZZ_CASES") ? qEnvironmentVariableIntValue("KUVELA_FUZZ_CASES") : 300;
    qint64 ms = qEnvironmentVariableIntValue("KUVELA_FUZZ_SECONDS") * 1000LL;
    QElapsedTimer timer;
    int done = 0;

    explicit FuzzRun(unsigned fixedSeed)
        : seed(qEnvironmentVariableIsSet("KUVELA_FUZZ_SEED") ? unsigned(qEnvironmentVariableIntValue("KUVELA_FUZZ_SEED")) : fixedSeed)
    {
        timer.start();
    }
    bool more() { return ms > 0 ? timer.elapsed() < ms : done++ < cases; }
};

Entries entriesOf(const std::string& bytes)
{
    Entries out;
    zip_error_t err;
    zip_error_init(&err);
    zip_source_t* src = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &err);
    zip_t* za = src ? zip_open_from_source(src, ZIP_RDONLY, &err) : nullptr;
    zip_error_fini(&err);
    if (!za) {
        if (src)
            zip_source_free(src);
        return out;
    }
    for (zip_int64_t i = 0; i < zip_get_num_entries(za, 0); ++i) {
        zip_stat_t st;
        zip_file_t* f = zip_fopen_index(za, zip_uint64_t(i), 0);
        if (!f || zip_stat_index(za, zip_uint64_t(i), 0, &st) != 0) {
            if (f)
                zip_fclose(f);
            continue;
        }
        std::string data(size_t(st.size), '\0');
        zip_fread(f, data.data(), st.size);
        zip_fclose(f);
        out.emplace_back(st.name, std::move(data));
    }
    zip_discard(za);
    return out;
}

std::string zipOf(const Entries& entries)
{
    detail::ZipEdit edit;
    edit.put = entries;
    return detail::newZip(edit);
}

// Pieces that steer a mutant toward the reader's edges.
const std::vector<std::string> kTokens = {
    "<row>", "</row>", "<row r=\"1048576\">", "<c>", "</c>", "<c r=\"XFD1\">", "<c r=\"XFE1\">", " r=\"",
    "<sheetData>", "</sheetData>", "<sheetData/>", " t=\"s\"", " t=\"inlineStr\"", "<v>4294967296</v>", "<v>-1</v>",
    "&amp;", "&#x10FFFF;", "&#0;", "&bogus;", "<!DOCTYPE x [<!ENTITY a \"b\">]>", "<![CDATA[", "]]>", "<!--", "-->",
    "<si><t>x</t></si>", "<is><t>y</t></is>", "_x000D_", "\"", "'", ">", "<", "/>", std::string(1, '\0'), "\xff\xfe",
    "<f>SUM(A1:A2)</f>", " s=\"99999\"", "<col min=\"1\" max=\"16385\"/>", "<x><x><x><x>", "</x></x>",
};

void mutateText(std::string& s, std::mt19937& rng)
{
    auto at = [&](size_t extra = 0) { return s.empty() ? 0 : size_t(rng() % (s.size() + extra)); };
    const int steps = 1 + int(rng() % 3);
    for (int i = 0; i < steps; ++i) {
        switch (rng() % 6) {
        case 0:
            if (!s.empty())
                s[at()] = char(rng());
            break;
        case 1: { // delete a span
            const size_t from = at(), n = std::min<size_t>(s.size() - from, rng() % 64);
            s.erase(from, n);
            break;
        }
        case 2: { // repeat a span
            const size_t from = at(), n = std::min<size_t>(s.size() - from, 1 + rng() % 256);
            const std::string piece = s.substr(from, n);
            for (unsigned k = rng() % 8; k > 0; --k)
                s.insert(from, piece);
            break;
        }
        default:
            s.insert(at(1), kTokens[rng() % kTokens.size()]);
        }
    }
}

void mutateBytes(std::string& s, std::mt19937& rng)
{
    for (int i = 1 + int(rng() % 8); i > 0 && !s.empty(); --i)
        s[rng() % s.size()] = char(rng());
    if (rng() % 4 == 0)
        s.resize(rng() % (s.size() + 1));
}

// Reads what a caller would; returns the sheets' last rows joined.
std::string readSome(Workbook& wb)
{
    std::string seen;
    for (const QString& name : wb.sheetNames()) {
        Sheet& s = wb.sheet(name);
        const int rows = s.lastRow(), cols = s.lastColumn();
        for (int r = std::max(1, rows - 3); r <= rows; ++r)
            for (int c = std::max(1, cols - 3); c <= cols; ++c)
                seen += s.text(r, c).toStdString();
        seen += std::to_string(rows) + ";";
    }
    return seen;
}

class HostileFuzz : public ::testing::Test {
protected:
    void SetUp() override { qputenv("KUVELA_WORKBOOK_MEMORYLIMITMIB", "64"); }
    void TearDown() override { qunsetenv("KUVELA_WORKBOOK_MEMORYLIMITMIB"); }
    QTemporaryDir dir_;
};

TEST_F(HostileFuzz, WorkbookReaderFailsOnlyWithItsOwnErrorAndWhatItSavesReopens)
{
    std::vector<Entries> seeds;
    {
        Workbook wb = Workbook::create();
        Sheet& s = wb.sheet(1);
        for (int r = 1; r <= 30; ++r) {
            s.setText(r, 1, QStringLiteral("Müşteri %1").arg(r));
            s.setNumber(r, 2, r * 1.5);
            s.setText(r, 3, QStringLiteral("'0%1").arg(r));
        }
        s.setBold(QStringLiteral("A1:C1"));
        wb.addSheet(QStringLiteral("İkinci")).setText(2, 2, QStringLiteral("=1+1"));
        wb.saveAs(toPath(dir_.filePath(QStringLiteral("kendi.xlsx"))));
        seeds.push_back(entriesOf(testing::fileBytes(toPath(dir_.filePath(QStringLiteral("kendi.xlsx"))))));
    }
    for (const char* kind : {"cells", "handmade", "styled"})
        seeds.push_back(entriesOf(testing::fileBytes(testing::makeFixture(dir_, QString::fromLatin1(kind)))));
    QProcess hostile;
    hostile.start(QStringLiteral("/usr/bin/python3"),
                  {QStringLiteral(KUVELA_SOURCE_DIR "/tests/fixtures/make_hostile.py"), dir_.path(),
                   "two_sheetdata_full.xlsx", "rows_past_limit.xlsx", "huge_shared_index.xlsx", "entities_in_strings.xlsx"});
    ASSERT_TRUE(hostile.waitForFinished(60000) && hostile.exitCode() == 0);
    for (const char* name : {"two_sheetdata_full.xlsx", "rows_past_limit.xlsx", "huge_shared_index.xlsx", "entities_in_strings.xlsx"})
        seeds.push_back(entriesOf(testing::fileBytes(toPath(dir_.path()) / name)));
    for (const Entries& e : seeds)
        ASSERT_FALSE(e.empty());

    FuzzRun run(19);
    std::mt19937 rng(run.seed);
    const fs::path mutant = toPath(dir_.path()) / "değişik.xlsx", saved = toPath(dir_.path()) / "kaydedilen.xlsx";
    int opened = 0, refused = 0;
    while (run.more()) {
        Entries entries = seeds[rng() % seeds.size()];
        std::string bytes;
        if (rng() % 6 == 0) {
            bytes = zipOf(entries);
            mutateBytes(bytes, rng);
        } else {
            for (int k = 1 + int(rng() % 2); k > 0; --k)
                mutateText(entries[rng() % entries.size()].second, rng);
            bytes = zipOf(entries);
        }
        testing::writeBytes(mutant, bytes);
        SCOPED_TRACE("seed " + std::to_string(run.seed) + ", case " + std::to_string(opened + refused));
        try {
            Workbook wb = Workbook::open(mutant);
            readSome(wb);
            Sheet& first = wb.sheet(1);
            first.setText(std::min(first.lastRow() + 1, 1048576), 1, QStringLiteral("eklenen"));
            wb.saveAs(saved);
            ++opened;
        } catch (const WorkbookError& e) {
            EXPECT_FALSE(e.message().isEmpty());
            ++refused;
            continue;
        } catch (const std::exception& e) {
            ADD_FAILURE() << "escaped: " << e.what();
            testing::writeBytes(toPath(dir_.path()) / "kacan.xlsx", bytes);
            continue;
        }
        try {
            Workbook again = Workbook::open(saved);
            readSome(again);
        } catch (const std::exception& e) {
            ADD_FAILURE() << "a workbook we saved does not reopen: " << e.what();
        }
    }
    EXPECT_GT(opened, 0);
    EXPECT_GT(refused, 0);
}

// Every file and folder under `folder` with its bytes.
std::map<QString, QByteArray> contents(const fs::path& folder)
{
    std::map<QString, QByteArray> out;
    QDirIterator it(fromPath(folder), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
        QFile f(p);
        out[QDir(fromPath(folder)).relativeFilePath(p)] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("/");
    }
    return out;
}

TEST_F(HostileFuzz, UnpackingIsAllOrNothing)
{
    const std::vector<std::string> names = {
        "a.txt", "./a.txt", "d/a.txt", "d//a.txt", "d\\a.txt", "d/", "x", "x/", "x/y", "../kaçak", "Şirket/ü.txt",
        "/mutlak", "C:/x", "a/./b", "k/l/m.txt", "k", ".", "d/a.txt/",
    };
    FuzzRun run(1919);
    std::mt19937 rng(run.seed);
    const fs::path base = toPath(dir_.path()), target = base / "hedef", archive = base / "paket.zip";
    int accepted = 0, refused = 0;
    while (run.more()) {
        Entries entries;
        for (int n = 1 + int(rng() % 5); n > 0; --n) {
            const std::string& name = names[rng() % names.size()];
            if (std::none_of(entries.begin(), entries.end(), [&](const auto& e) { return e.first == name; }))
                entries.emplace_back(name, name.back() == '/' ? std::string() : "içerik " + std::to_string(rng() % 100));
        }
        std::string bytes = zipOf(entries);
        if (rng() % 5 == 0)
            mutateBytes(bytes, rng);
        testing::writeBytes(archive, bytes);
        fs::remove_all(target);
        for (const char* old : {"a.txt", "d/a.txt", "k/l/m.txt"}) {
            fs::create_directories((target / old).parent_path());
            testing::writeBytes(target / old, std::string("eski ") + old);
        }
        const auto before = contents(target);
        SCOPED_TRACE("seed " + std::to_string(run.seed) + ", case " + std::to_string(accepted + refused));
        try {
            const auto written = Zip::extractAll(archive, target);
            ++accepted;
            for (const fs::path& rel : written)
                EXPECT_TRUE(fs::is_regular_file(target / rel)) << rel;
        } catch (const ZipError& e) {
            ++refused;
            EXPECT_EQ(contents(target), before) << e.what();
        } catch (const std::exception& e) {
            ADD_FAILURE() << "escaped: " << e.what();
        }
        // Nothing lands beside the target.
        EXPECT_EQ(testing::folderEntries(base), (QStringList{"hedef", "paket.zip"}));
    }
    EXPECT_GT(accepted, 0);
    EXPECT_GT(refused, 0);
}

} // namespace
} // namespace kuvela
