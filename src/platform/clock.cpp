#include "platform/clock.h"

#include "platform/settings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace kuvela {
namespace {
std::unique_ptr<Clock>& slot()
{
    static std::unique_ptr<Clock> current;
    return current;
}

int& paintingWaits()
{
    static int count = 0;
    return count;
}
} // namespace

PaintingWait::PaintingWait() { ++paintingWaits(); }

PaintingWait::~PaintingWait() { --paintingWaits(); }

bool PaintingWait::active() { return paintingWaits() > 0; }

void serveWindowsBriefly()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (app && QThread::currentThread() == app->thread())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
}

QDateTime Clock::now() const { return QDateTime::currentDateTime(); }

void Clock::waitMs(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
        const qint64 left = ms - timer.elapsed();
        if (left > 0)
            QThread::msleep(static_cast<unsigned long>(std::min<qint64>(left, 10)));
    }
}

void serveUntil(const std::function<bool()>& done)
{
    if (done())
        return;
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(25);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start();
    loop.exec();
}

double timeScale()
{
    bool ok = false;
    const double v = Settings::forProgram().value(QStringLiteral("time/scale")).trimmed().toDouble(&ok);
    return ok && v > 0 ? v : 1.0;
}

namespace {
int scaled(int ms, double scale)
{
    if (ms <= 0 || scale == 1.0)
        return ms;
    return std::max(1, int(std::lround(ms * scale)));
}
} // namespace

int scaledMs(int ms) { return scaled(ms, timeScale()); }

int presenceMs(int ms)
{
    bool ok = false;
    const double shortened = qEnvironmentVariable("KUVELA_PRESENCE_SCALE").toDouble(&ok);
    if (ok && shortened > 0)
        return scaled(ms, shortened);
    return scaled(ms, std::max(1.0, timeScale()));
}

Clock& Clock::instance()
{
    auto& s = slot();
    if (!s)
        s = std::make_unique<Clock>();
    return *s;
}

std::unique_ptr<Clock> Clock::replace(std::unique_ptr<Clock> next)
{
    auto& s = slot();
    auto previous = std::move(s);
    s = std::move(next);
    return previous;
}

} // namespace kuvela
