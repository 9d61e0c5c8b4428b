#include "shell/side_panels.h"

namespace kuvela {

std::vector<QSize> announcementGrowth()
{
    constexpr int step = 32;
    std::vector<QSize> sizes;
    int s = 354;
    for (; s <= 3584; s += step)
        sizes.emplace_back(s, s);
    const int height = sizes.back().height();
    for (int w = s; w <= 9750; w += step)
        sizes.emplace_back(w, height);
    return sizes;
}

QString radioStream(int station, const QString& server1, const QString& server2)
{
    auto on = [](QString server, const char* path) {
        while (server.endsWith(u'/'))
            server.chop(1);
        return server.isEmpty() ? QString() : server + QLatin1String(path);
    };
    switch (station) {
    case 1: return on(server1, "/stream/30/");
    case 2: return on(server1, "/stream/29/");
    case 3: return on(server2, ":6134/");
    case 4: return on(server1, "/stream/166/");
    default: return {};
    }
}

} // namespace kuvela
