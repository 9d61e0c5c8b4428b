// One keystroke in the buyer searches over 10,000 customers.
#include "masterdata/buyers.h"

#include <benchmark/benchmark.h>

using namespace kuvela;

namespace {
CustomerList customers(int count)
{
    static const char* const words[] = {"ŞAHİN", "Yılmaz", "İNŞAAT", "Gıda", "Öztürk", "TİCARET", "Çelik",
                                        "Lojistik", "ığdır", "Ünlü"};
    std::vector<CustomerEntry> entries;
    entries.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        const QString name = QString::fromUtf8(words[i % 10]) + u' ' + QString::fromUtf8(words[(i / 10) % 10])
            + QStringLiteral(" LTD ŞTİ ") + QString::number(i);
        const QString number = QString::number(1000000000LL + i * 7919LL).rightJustified(i % 3 ? 10 : 11, u'0');
        entries.push_back({i + 2, name, number});
    }
    return CustomerList(std::move(entries));
}

void BM_NameKeystroke(benchmark::State& state)
{
    const CustomerList list = customers(int(state.range(0)));
    const QString typed = QStringLiteral("inş");
    for (auto _ : state) {
        NameSearch s = text19Change(list, typed, QString());
        benchmark::DoNotOptimize(s.matches.data());
    }
}

void BM_NumberKeystroke(benchmark::State& state)
{
    const CustomerList list = customers(int(state.range(0)));
    const QString typed = QStringLiteral("1000");
    for (auto _ : state) {
        NumberSearch s = text20Change(list, typed, QStringLiteral("x"));
        benchmark::DoNotOptimize(s.matches.data());
    }
}
} // namespace

BENCHMARK(BM_NameKeystroke)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NumberKeystroke)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
