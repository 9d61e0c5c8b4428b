#pragma once
// Running counts of where a browser road spends its time: driver commands, browser
// starts, page loads and fixed pauses. Plain adds on the GUI thread, cheap enough to
// stay on; the benchmark reads and resets them around each road.
#include <QtGlobal>

#include <map>
#include <string>

namespace kuvela {

struct RoadTiming {
    long long commands = 0;       // every request to the driver, the session's creation included
    long long connections = 0;    // connections opened to the driver: one while it is kept alive
    qint64 commandUs = 0;
    long long browserStarts = 0;  // driver process and session until the session answers
    qint64 browserStartUs = 0;
    long long pageLoads = 0;      // navigations, each until the page has loaded
    qint64 pageLoadUs = 0;
    long long pauses = 0;         // the roads' fixed pauses, as scaled
    qint64 pauseMs = 0;
    struct Kind {
        long long count = 0;
        qint64 us = 0;
    };
    std::map<std::string, Kind> byKind; // "POST /element/*/click": where the command time goes

    void command(const std::string& kind, qint64 us)
    {
        ++commands;
        commandUs += us;
        Kind& k = byKind[kind];
        ++k.count;
        k.us += us;
    }

    void reset() { *this = RoadTiming(); }
    static RoadTiming& counters()
    {
        static RoadTiming all;
        return all;
    }
};

} // namespace kuvela
