#pragma once
// What the portal area keeps beside the main window's controls.
#include "platform/browser_session.h"
#include "portal/upload_queue.h"
#include "shell/form1.h"

#include <vector>

namespace kuvela {

struct PortalState {
    // An upload holds a browser session: no second one may start meanwhile.
    bool uploadRunning = false;
    // Set when the main window is closed while an upload waits for the user.
    bool windowClosing = false;
    // The steps the last upload skipped after its login (what and why, never a password).
    std::vector<SkippedStep> lastSkipped;
    // The last upload's timing: the road in seconds and the sum of its fixed waits.
    double lastUploadSeconds = 0;
    long long lastFixedWaitsMs = 0;
    portal::PanelDrag drag23, drag26;
};

template <>
inline PortalState& Form1::state<PortalState>()
{
    return AreaStateAccess::get<PortalState>(*this, AreaStateAccess::portal);
}

} // namespace kuvela
