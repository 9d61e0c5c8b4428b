// The two upload roads against the fake portal in real headless chromium at full time:
// the single upload of a two-line invoice and a bulk run of 20 invoices. Prints, per
// road, where its time went. Run: bench_portal_roads (no arguments needed).
#include "platform/road_timing.h"
#include "portal/bulk_run_fixture.h"

#include <QElapsedTimer>
#include <cstdio>

using namespace kuvela;
using namespace kuvela::test;

namespace {

constexpr int kBulkInvoices = 20;

void report(const char* road, qint64 totalUs, int invoices)
{
    const RoadTiming& t = RoadTiming::counters();
    std::printf("%-22s total %8.3f s | fixed pauses %7.3f s (%lld) | browser start %6.3f s (%lld) | "
                "page loads %6.3f s (%lld) | WebDriver commands %5lld in %7.3f s over %lld connection(s)",
                road, totalUs / 1e6, t.pauseMs / 1e3, t.pauses, t.browserStartUs / 1e6, t.browserStarts,
                t.pageLoadUs / 1e6, t.pageLoads, t.commands, t.commandUs / 1e6, t.connections);
    if (invoices > 1)
        std::printf(" | beyond pauses+start %.3f s", (totalUs - t.pauseMs * 1000 - t.browserStartUs) / 1e6);
    std::printf("\n");
    for (const auto& [kind, k] : t.byKind)
        std::printf("    %-40s %5lld in %7.3f s (%.1f ms each)\n", kind.c_str(), k.count, k.us / 1e6,
                    k.us / 1e3 / double(k.count));
    std::fflush(stdout);
}

class PortalRoads : public BulkRunFixture {
protected:
    PortalRoads() { qputenv("KUVELA_TIME_SCALE", "1"); }
};

TEST_F(PortalRoads, SingleUploadOfATwoLineInvoice)
{
    start();
    invoice(0, {QStringLiteral("9876543210"), QStringLiteral("Deniz Ticaret A.Ş.")});
    line(satisLine(QStringLiteral("Vida"), "2", QStringLiteral("Adet"), "100", "10", "18"));
    line(satisLine(QStringLiteral("Somun"), "3", QStringLiteral("Kutu"), "7,5", "0", "8"));
    RoadTiming::counters().reset();
    QElapsedTimer timer;
    timer.start();
    upload([this] { safeExit(); });
    const qint64 us = timer.nsecsElapsed() / 1000;
    ASSERT_TRUE(waited) << form->panelText(7).toStdString();
    ASSERT_EQ(portal->events("rowAdded").size(), 2u);
    ASSERT_EQ(portal->events("logout").size(), 1u);
    report("single upload (2 lines)", us, 1);
}

TEST_F(PortalRoads, BulkRunOfTwentyInvoices)
{
    start();
    std::vector<Row> rows;
    for (int i = 0; i < kBulkInvoices; ++i)
        rows.push_back({QStringLiteral("%1").arg(1000000001LL + i), QStringLiteral("Alıcı %1").arg(i + 1),
                        QStringLiteral("Kalem %1").arg(i + 1), 1 + i % 3, 10 * (i + 1)});
    queue(rows);
    RoadTiming::counters().reset();
    QElapsedTimer timer;
    timer.start();
    form->Command31->click();
    const qint64 us = timer.nsecsElapsed() / 1000;
    ASSERT_EQ(portal->events("created").size(), size_t(kBulkInvoices)) << form->Text28->toPlainText().toStdString();
    report("bulk run (20 invoices)", us, kBulkInvoices);
}

} // namespace
