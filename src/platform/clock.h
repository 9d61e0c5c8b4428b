#pragma once
// Time and waits go through one replaceable clock, so tests neither sleep nor
// depend on today's date.
#include "platform/road_timing.h"

#include <QDateTime>
#include <functional>
#include <memory>

namespace kuvela {

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const;
    // A pause that keeps the windows painting but takes no user input.
    virtual void waitMs(int ms);

    static Clock& instance();
    static std::unique_ptr<Clock> replace(std::unique_ptr<Clock> next);
};

// A clock that stands still until told, and whose waits only move it on.
class ManualClock : public Clock {
public:
    explicit ManualClock(QDateTime start) : now_(std::move(start)) {}
    QDateTime now() const override { return now_; }
    void waitMs(int ms) override { now_ = now_.addMSecs(ms); waited_ += ms; }
    void set(QDateTime t) { now_ = std::move(t); }
    long long waitedMs() const { return waited_; }

private:
    QDateTime now_;
    long long waited_ = 0;
};

inline void waitMs(int ms) { Clock::instance().waitMs(ms); }

// While one lives, the browser's requests wait as waitMs does: the windows keep painting
// and user input waits. Roads that read or print through the browser hold one.
class PaintingWait {
public:
    PaintingWait();
    ~PaintingWait();
    PaintingWait(const PaintingWait&) = delete;
    PaintingWait& operator=(const PaintingWait&) = delete;
    static bool active();
};

// One slice of the painting wait: what is due for the windows, user input left waiting.
// Nothing off the windows' thread.
void serveWindowsBriefly();

// Serves the windows, user input included, until done() holds: the roads' waits for
// the user (a captcha typed, an answer on a panel). done() is asked every 25 ms.
void serveUntil(const std::function<bool()>& done);

// The roads' fixed pauses pass through one scale, the setting "time/scale"
// (KUVELA_TIME_SCALE, default 1): tests run the roads at a small scale.
double timeScale();
// ms times the scale, rounded, never below 1 for a positive ms.
int scaledMs(int ms);
// A bound that waits for something to appear: the road's own time, longer at a scale
// above 1 and never shorter, for a busy machine shows a page late. Only a test whose
// element is never to come shortens it, by KUVELA_PRESENCE_SCALE around that step.
int presenceMs(int ms);
// A road's fixed pause, scaled.
inline void pauseMs(int ms)
{
    const int scaled = scaledMs(ms);
    RoadTiming& t = RoadTiming::counters();
    ++t.pauses;
    t.pauseMs += scaled;
    waitMs(scaled);
}

} // namespace kuvela
