// The whole issued download of 100 invoices over 10 pages at the road's real pauses,
// against the fake portal without delays. Not part of the suite: run it by hand with
//   test_archive --gtest_also_run_disabled_tests --gtest_filter='*HundredInvoices*'
#include "archive_browser_fixture.h"

#include <QElapsedTimer>

namespace kuvela {
namespace {

class IssuedDownloadBench : public test::ArchiveBrowserTest {};

TEST_F(IssuedDownloadBench, DISABLED_HundredInvoicesOverTenPages)
{
    nlohmann::json invoices = nlohmann::json::array();
    for (int i = 1; i <= 100; ++i)
        invoices.push_back(test::invoice(QStringLiteral("GIB2023%1").arg(i, 9, 10, QChar('0')).toUtf8().constData(),
                                         QStringLiteral("%1-10-2023").arg(1 + i % 28, 2, 10, QChar('0')).toUtf8().constData()));
    startWith({{"invoices", invoices}});
    qputenv("KUVELA_TIME_SCALE", "1");
    Form3& f = issuedMonth(QStringLiteral("2023 Ekim "));
    QElapsedTimer t;
    t.start();
    f.Command2_Click();
    const double total = double(t.elapsed());
    EXPECT_EQ(filed("Xml").size(), 100);
    // Fixed pauses of the road: 40 + 30 + 20 once, 300 after each "İndir" and 1000 in each filing.
    const double fixed = 90 + 100 * 1300.0;
    std::printf("total %.1f s, per invoice %.0f ms, fixed pauses %.0f ms per invoice (%.0f%%)\n", total / 1000,
                total / 100, fixed / 100, 100 * fixed / total);
}

} // namespace
} // namespace kuvela
