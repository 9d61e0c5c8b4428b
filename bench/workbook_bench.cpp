// DATA.xlsx at full size: 10,000 customers (12 columns), 5,000 product cards
// (16 columns), settings and code lists. Made once by openpyxl, as a spreadsheet
// program would write it (shared strings); our own writer stands in without it.
#include "platform/paths.h"
#include "platform/workbook.h"

#include <QString>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <iterator>

using namespace kuvela;

namespace {

std::filesystem::path folder()
{
    static const std::filesystem::path dir = [] {
        auto d = std::filesystem::temp_directory_path() / "kuvela-bench-workbook";
        std::filesystem::create_directories(d);
        return d;
    }();
    return dir;
}

void writeOurOwn(const std::filesystem::path& file)
{
    Workbook wb = Workbook::create();
    Sheet& prg = wb.sheet(1);
    for (int r = 2; r <= 25; ++r)
        for (int c = 2; c <= 11; ++c)
            prg.setString(r, c, QStringLiteral("Değer %1/%2").arg(r).arg(c));
    Sheet& m = wb.addSheet(QStringLiteral("mDATA"));
    for (int r = 1; r <= 10001; ++r) {
        m.setNumber(r, 1, r);
        m.setString(r, 3, QStringLiteral("MÜŞTERİ %1 TİCARET LTD. ŞTİ.").arg(r));
        m.setString(r, 4, QStringLiteral("Atatürk Cad. No:%1 Kadıköy İstanbul").arg(r));
        m.setString(r, 5, QStringLiteral("Türkiye"));
        m.setText(r, 7, QStringLiteral("'%1").arg(1000000000 + r));
        for (int c = 8; c <= 12; ++c)
            m.setString(r, c, QStringLiteral("alan %1").arg(r));
    }
    Sheet& k = wb.addSheet(QStringLiteral("kodDATA"));
    for (int r = 1; r <= 60; ++r)
        for (int c = 2; c <= 17; c += 2)
            k.setString(r, c, QStringLiteral("Kod %1").arg(r));
    Sheet& s = wb.addSheet(QStringLiteral("sDATA"));
    for (int r = 1; r <= 5001; ++r)
        for (int c = 1; c <= 16; ++c)
            s.setString(r, c, QStringLiteral("Ürün %1 %2").arg(r).arg(c));
    wb.saveAs(file);
}

const std::filesystem::path& dataFile()
{
    static const std::filesystem::path file = [] {
        const auto f = folder() / "DATA.xlsx";
        if (!std::filesystem::exists(f)) {
            const std::string cmd = "/usr/bin/python3 '" KUVELA_SOURCE_DIR "/tests/fixtures/workbook_fixtures.py' make data '"
                                    + f.string() + "'";
            if (std::system(cmd.c_str()) != 0 || !std::filesystem::exists(f))
                writeOurOwn(f);
        }
        return f;
    }();
    return file;
}

void readAll(Workbook& wb, benchmark::State& state)
{
    long long chars = 0;
    for (const QString& name : wb.sheetNames()) {
        Sheet& s = wb.sheet(name);
        const int rows = s.lastRow(), cols = s.lastColumn();
        for (int r = 1; r <= rows; ++r)
            for (int c = 1; c <= cols; ++c)
                chars += s.text(r, c).size();
    }
    benchmark::DoNotOptimize(chars);
    state.counters["chars"] = double(chars);
}

void appendCustomer(Workbook& wb)
{
    Sheet& m = wb.sheet(QStringLiteral("mDATA"));
    const int row = m.lastRow() + 1;
    m.setText(row, 3, QStringLiteral("YENİ MÜŞTERİ A.Ş."));
    m.setText(row, 4, QStringLiteral("Bağdat Cad. No:99 Maltepe İstanbul"));
    m.setText(row, 5, QStringLiteral("Türkiye"));
    m.setText(row, 6, QStringLiteral("Maltepe"));
    m.setText(row, 7, QStringLiteral("'0123456789"));
    m.setText(row, 8, QStringLiteral("yeni@example.test"));
}

// Open DATA.xlsx and read every cell of its four sheets.
void BM_LoadAllCells(benchmark::State& state)
{
    const auto file = dataFile();
    for (auto _ : state) {
        Workbook wb = Workbook::open(file);
        readAll(wb, state);
    }
}
BENCHMARK(BM_LoadAllCells)->Unit(benchmark::kMillisecond);

// The customer card's save: append one row to mDATA of an open workbook and save it.
void BM_AppendRowAndSave(benchmark::State& state)
{
    const auto file = folder() / "DATA-append.xlsx";
    std::filesystem::copy_file(dataFile(), file, std::filesystem::copy_options::overwrite_existing);
    for (auto _ : state) {
        state.PauseTiming();
        Workbook wb = Workbook::open(file);
        wb.sheet(QStringLiteral("mDATA"));
        state.ResumeTiming();
        appendCustomer(wb);
        wb.save();
    }
}
BENCHMARK(BM_AppendRowAndSave)->Unit(benchmark::kMillisecond);

// The whole access as the card runs it: open, find the end, append, save.
void BM_OpenAppendSave(benchmark::State& state)
{
    const auto file = folder() / "DATA-append.xlsx";
    std::filesystem::copy_file(dataFile(), file, std::filesystem::copy_options::overwrite_existing);
    for (auto _ : state) {
        Workbook wb = Workbook::open(file);
        appendCustomer(wb);
        wb.save();
    }
}
BENCHMARK(BM_OpenAppendSave)->Unit(benchmark::kMillisecond);

// The refusal of a hostile workbook, for the costliest of tests/fixtures/make_hostile.py:
// the limit tests bound only its processor time.
const char* const kHostile[] = {"cell_bomb.xlsx", "string_bomb.xlsx", "tag_bomb.xlsx", "row_bomb.xlsx",
                                "deflate_bomb.xlsx", "deep_in_cell.xlsx", "entities_in_sheet.xlsx"};

void BM_RefuseHostileWorkbook(benchmark::State& state)
{
    const char* name = kHostile[state.range(0)];
    const auto file = folder() / "hostile" / name;
    if (!std::filesystem::exists(file)) {
        const std::string cmd = "/usr/bin/python3 '" KUVELA_SOURCE_DIR "/tests/fixtures/make_hostile.py' '"
                                + (folder() / "hostile").string() + "' " + name;
        if (std::system(cmd.c_str()) != 0) {
            state.SkipWithError("make_hostile.py failed");
            return;
        }
    }
    state.SetLabel(name);
    for (auto _ : state) {
        try {
            Workbook wb = Workbook::open(file);
            for (const QString& sheet : wb.sheetNames())
                benchmark::DoNotOptimize(wb.sheet(sheet).lastRow());
            state.SkipWithError("the workbook was not refused");
            return;
        } catch (const WorkbookError&) {
        }
    }
}
BENCHMARK(BM_RefuseHostileWorkbook)->DenseRange(0, int(std::size(kHostile)) - 1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
