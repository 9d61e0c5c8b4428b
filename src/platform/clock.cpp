#include "platform/clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace kuvela {
namespace {
std::unique_ptr<Clock>& slot()
{
    static std::unique_ptr<Clock> current;
    return current;
}
} // namespace

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
