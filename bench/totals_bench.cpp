// yekunal over a full invoice: 1,000 lines, one tax inside and one outside the VAT base.
#include "invoice/totals.h"

#include <benchmark/benchmark.h>

using namespace kuvela::invoice;

namespace {
LineGrid thousandLines()
{
    LineGrid g;
    g.layoutForType(InvoiceKind::Satis);
    g.addTaxPair(TaxColumnPair::forItem(QStringLiteral("V0071-ÖTV 1.LİSTE%")));
    g.addTaxPair(TaxColumnPair::forItem(QStringLiteral("V0021-BSMV%")));
    const char* rates[] = {"1", "8", "18"};
    for (int i = 0; i < 1000; ++i) {
        g.appendRow({QString::number(i + 1), QStringLiteral("Ürün %1").arg(i), QStringLiteral("3"),
                     QStringLiteral("Adet"), QStringLiteral("1.234,56"), QStringLiteral("5"), QStringLiteral("185,18"),
                     QStringLiteral("3.518,50"), QString::fromLatin1(rates[i % 3]), QStringLiteral("633,33"),
                     QStringLiteral("2,50"), QStringLiteral("87,96"), QStringLiteral("5,00"), QStringLiteral("175,93")});
    }
    return g;
}
} // namespace

static void BM_YekunalThousandLinesTwoTaxes(benchmark::State& state)
{
    const LineGrid grid = thousandLines();
    TotalsSettings settings;
    settings.kind = InvoiceKind::Satis;
    settings.prmMatStr = QStringLiteral("E");
    settings.prmYazStr = QStringLiteral("E");
    for (auto _ : state) {
        TotalsResult r = yekunal(grid, settings);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_YekunalThousandLinesTwoTaxes)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
