// The main window's driver check: the thinking is in driver_maintenance.
#include "platform/desktop.h"
#include "shell/driver_maintenance.h"
#include "shell/form1.h"

namespace kuvela {

void Form1::checkChromeVersiyon()
{
    const DriverCheck check = maintainDriver(DriverMaintenanceConfig::fromSettings(), Desktop::instance().chromeVersion());
    driVers = check.driVers;
    tamChVer = check.tamChVer;
    if (!check.myUrl.isEmpty()) {
        myUrl = check.myUrl;
        myPath = check.myPath;
    }
    setPanel(4, tamChVer);
    setPanel(6, driVers);
}

} // namespace kuvela
