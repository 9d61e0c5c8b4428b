// A bulk template of 5,000 rows (1,000 buyers of five lines each) read from disk and
// grouped into invoices by tax number, and the grouping alone over the read sheet.
#include "portal/bulk_template.h"

#include "platform/paths.h"
#include "platform/workbook.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace kuvela;
using namespace kuvela::portal;

namespace {

constexpr int kRows = 5000;
constexpr int kLinesPerInvoice = 5;

struct Fixture {
    QTemporaryDir dir;
    QString path;
    invoice::LineGrid grid;
    BulkSettings settings;

    Fixture()
    {
        grid.layoutForType(invoice::InvoiceKind::Satis);
        grid.addTaxPair(invoice::TaxColumnPair::forItem(QStringLiteral("V0021-BSMV%")));
        settings.mode = GroupingMode::ByTaxNumber;
        settings.errorChecks = true;
        settings.invoiceDate = QStringLiteral("05/03/2024");
        settings.typeText = QStringLiteral("SATIŞ");
        settings.grid = &grid;
        settings.totals.kind = invoice::InvoiceKind::Satis;
        settings.totals.dc = 2;

        Workbook book = Workbook::create();
        Sheet& s = book.sheet(invoice::templateSheetName());
        int col = 1;
        for (const QString& t : invoice::bulkBuyerTitles())
            s.setString(1, col++, t);
        for (const auto& c : grid.columns)
            s.setString(1, col++, c.title);
        const char* rates[] = {"1", "8", "18"};
        for (int r = 2; r < kRows + 2; ++r) {
            const int buyer = (r - 2) / kLinesPerInvoice;
            s.setNumber(r, 1, 1000000000 + buyer);
            s.setString(r, 2, QStringLiteral("Kadıköy"));
            s.setString(r, 3, QStringLiteral("Alıcı %1 Ltd. Şti.").arg(buyer));
            s.setString(r, 4, QStringLiteral("Atatürk Cad. No:%1 İstanbul").arg(buyer));
            s.setString(r, 5, QStringLiteral("Türkiye"));
            s.setString(r, 6, QStringLiteral("alici%1@example.test").arg(buyer));
            s.setString(r, 8, QStringLiteral("Ürün %1").arg(r));
            s.setNumber(r, 9, 1 + r % 7);
            s.setString(r, 10, QStringLiteral("Adet"));
            s.setNumber(r, 11, 12.5 + r % 100);
            s.setNumber(r, 12, r % 3 == 0 ? 10 : 0);
            s.setText(r, 15, QString::fromLatin1(rates[r % 3]));
            s.setNumber(r, 17, 5);
        }
        path = dir.filePath(QStringLiteral("toplu.xlsx"));
        book.saveAs(toPath(path));
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

} // namespace

static void BM_BulkTemplateReadAndGroup5000Rows(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        BulkReading r = readBulkWorkbook(f.path, f.settings);
        if (r.end != BulkReading::End::Complete || r.invoices.size() != size_t(kRows / kLinesPerInvoice))
            state.SkipWithError("the bulk template was not read whole");
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_BulkTemplateReadAndGroup5000Rows)->Unit(benchmark::kMillisecond);

static void BM_BulkTemplateGroupOnly5000Rows(benchmark::State& state)
{
    Fixture& f = fixture();
    Workbook book = Workbook::open(toPath(f.path));
    const invoice::SheetView view = bulkSheetView(book.sheet(invoice::templateSheetName()));
    for (auto _ : state) {
        BulkReading r = readBulkTemplate(view, f.settings);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_BulkTemplateGroupOnly5000Rows)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
