#pragma once
// The thinking of the main window's side panels: how the announcements panel grows
// and where the radio stations are.
#include <QSize>
#include <QString>
#include <vector>

namespace kuvela {

// The announcements panel's sizes (width, height in twips) as it grows: square in steps
// of 32 from 354 up to 3554, then wider only, up to 9730.
std::vector<QSize> announcementGrowth();

// The stream of "Radyo 1" to "Radyo 4": stations 1, 2 and 4 on the first server, 3 on
// port 6134 of the second. Servers are addresses with their scheme ("radio/server1",
// "radio/server2"); "" when the station's server is not set.
QString radioStream(int station, const QString& server1, const QString& server2);

} // namespace kuvela
