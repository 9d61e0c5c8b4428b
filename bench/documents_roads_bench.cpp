// The documents roads on generated invoices of 3, 30 and 300 lines in real headless
// chromium: "Faturadan Al" of one invoice, and the voucher and the line export of many
// ticked invoices. Each is run with the tables read cell by cell through the driver
// (before) and in one page script per table (after). Run: bench_documents_roads
// (KUVELA_BENCH_READS=after leaves out the minutes of the reads cell by cell).
#include "documents/documents_window_fixture.h"
#include "platform/road_timing.h"
#include "platform/webdriver_tables.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QFile>
#include <QRegularExpression>
#include <QTreeWidget>
#include <cstdio>
#include <map>
#include <functional>

using namespace kuvela;
using namespace kuvela::test;

namespace {

// Invoice A with its three lines repeated up to `lines` lines.
QByteArray invoiceOf(int lines)
{
    QFile a(QStringLiteral(KUVELA_SOURCE_DIR "/tests/documents/fixtures/invoice_a.html"));
    if (!a.open(QIODevice::ReadOnly))
        return {};
    QString page = QString::fromUtf8(a.readAll());
    static const QRegularExpression line(QStringLiteral("<tr><td>[123]</td>.*?</tr>\\s*"),
                                         QRegularExpression::DotMatchesEverythingOption);
    QStringList three;
    for (auto m = line.globalMatch(page); m.hasNext();)
        three << m.next().captured(0);
    if (three.size() != 3)
        return {};
    QString all;
    for (int i = 0; i < lines; ++i)
        all += QString(three[i % 3]).replace(QRegularExpression(QStringLiteral("^<tr><td>\\d+</td>")),
                                              QStringLiteral("<tr><td>%1</td>").arg(i + 1));
    const qsizetype first = page.indexOf(three[0]);
    const qsizetype end = page.indexOf(three[2]) + three[2].size();
    page.replace(first, end - first, all);
    return page.toUtf8();
}

QString nameOf(int i)
{
    return QStringLiteral("GIB2023%1 19-04-2023  1234567890 ÖRNEK İNŞAAT LTD ŞTİ-SATIŞ-ABCDEFGHIJKLMN.html")
        .arg(i, 9, 10, QChar(u'0'));
}

struct Timed {
    qint64 us = 0;
    long long commands = 0;  // after the browser's start: its readiness polls and session left out
    qint64 startUs = 0;
    qint64 commandUs = 0;  // the same commands' time
    qint64 loadUs = 0;     // page loads among them
    std::map<std::string, RoadTiming::Kind> kinds;
};

Timed measure(const std::function<void()>& road)
{
    // What the window still has to do about the files just written is not the road's.
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    RoadTiming& t = RoadTiming::counters();
    t.reset();
    QElapsedTimer timer;
    timer.start();
    road();
    Timed r;
    r.us = timer.nsecsElapsed() / 1000;
    r.kinds = t.byKind;
    r.commands = t.commands - r.kinds["GET /status"].count - r.kinds["POST "].count;
    r.startUs = t.browserStartUs;
    r.loadUs = t.pageLoadUs;
    r.commandUs = t.commandUs - r.kinds["GET /status"].us - r.kinds["POST "].us;
    return r;
}

// Numbers as the machine writes them, whatever the locale.
QString ms(double us) { return QString::number(us / 1e3, 'f', 1); }

void say(const QString& line)
{
    std::puts(line.toUtf8().constData());
    std::fflush(stdout);
}

// Where each further invoice's commands went: the kinds of the long run less the short one.
void sayKinds(const Timed& many, const Timed& one, int further)
{
    for (const auto& [kind, k] : many.kinds) {
        const auto o = one.kinds.find(kind);
        const long long n = k.count - (o == one.kinds.end() ? 0 : o->second.count);
        const qint64 us = k.us - (o == one.kinds.end() ? 0 : o->second.us);
        if (n > 0 && kind != "GET /status" && kind != "POST ")
            say(QStringLiteral("      %1 %2 per invoice, %3 ms each")
                    .arg(QString::fromStdString(kind), -34)
                    .arg(QString::number(double(n) / further, 'f', 1), 6)
                    .arg(ms(double(us) / double(n)), 6));
    }
}

const char* readName(TableRead how) { return how == TableRead::CellByCell ? "before (cell by cell)" : "after (one script)"; }

class DocumentsRoads : public DocumentsWindowTest {
protected:
    ~DocumentsRoads() override { setTableRead(TableRead::OneScript); }

    // The Html folder holding `count` invoices of `lines` lines, shown in the file pane.
    void fileInvoices(int lines, int count)
    {
        std::filesystem::remove_all(htmlFolder());
        std::filesystem::create_directories(htmlFolder());
        const QByteArray page = invoiceOf(lines);
        ASSERT_FALSE(page.isEmpty());
        for (int i = 1; i <= count; ++i) {
            QFile f(fromPath(htmlFolder() / toPath(nameOf(i))));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(page);
        }
        window_->setDir1Path(fromPath(programFolder()));
        window_->setDir1Path(fromPath(htmlFolder()));
    }

    QStringList names(int count) const
    {
        QStringList out;
        for (int i = 1; i <= count; ++i)
            out << nameOf(i);
        return out;
    }

    // One ticked invoice, then `count`: the first one's time (browser start included) and
    // what each further invoice adds.
    void ticked(const char* road, QPushButton* button, int lines, int count, TableRead how)
    {
        tick(names(1));
        const Timed one = measure([&] { button->click(); });
        tick(names(count));
        const Timed many = measure([&] { button->click(); });
        const int further = count - 1;
        say(QStringLiteral("%1 %2 lines  %3 first invoice %4 ms (browser start %5 ms) | each further of %6: %7 ms, %8 commands")
                .arg(QString::fromLatin1(road), -14)
                .arg(lines, 3)
                .arg(QString::fromLatin1(readName(how)), -22)
                .arg(ms(double(one.us)), 8)
                .arg(ms(double(one.startUs)), 7)
                .arg(count, 2)
                .arg(ms(double(many.us - one.us) / further), 8)
                .arg(QString::number(double(many.commands - one.commands) / further, 'f', 1), 7));
        if (how == TableRead::OneScript && lines == 300)
            sayKinds(many, one, further);
    }
};

TEST_F(DocumentsRoads, BeforeAndAfter)
{
    Form1& w = startOnInvoices();
    w.prgVersiyon = 146;
    // The driver's start waits as the program's does, not on the tests' standing clock.
    Clock::replace(std::make_unique<Clock>());
    for (const TableRead how : {TableRead::CellByCell, TableRead::OneScript}) {
        if (how == TableRead::CellByCell && qgetenv("KUVELA_BENCH_READS") == "after")
            continue;
        setTableRead(how);
        for (const int lines : {3, 30, 300}) {
            // The read cell by cell of many long invoices takes minutes; fewer show its slope.
            const int count = how == TableRead::OneScript ? 50 : lines == 3 ? 50 : lines == 30 ? 10 : 3;
            fileInvoices(lines, count);
            pick(nameOf(1));
            const Timed take = measure([&] { w.Command28->click(); });
            ASSERT_EQ(w.ListView1->topLevelItemCount(), lines) << w.panelText(7).toStdString();
            say(QStringLiteral("Faturadan Al   %1 lines  %2 %3 ms (browser start %4 ms, beyond it %5 ms, of which the "
                               "page load %8 ms), %6 commands after the start in %7 ms")
                    .arg(lines, 3)
                    .arg(QString::fromLatin1(readName(how)), -22)
                    .arg(ms(double(take.us)), 8)
                    .arg(ms(double(take.startUs)), 7)
                    .arg(ms(double(take.us - take.startUs)), 7)
                    .arg(take.commands, 5)
                    .arg(ms(double(take.commandUs)), 7)
                    .arg(ms(double(take.loadUs)), 7));
            if (how == TableRead::OneScript && lines == 300)
                sayKinds(take, Timed(), 1);
            ticked("voucher", w.Command37, lines, count, how);
            ticked("line export", w.Command38, lines, count, how);
        }
    }
}

} // namespace
