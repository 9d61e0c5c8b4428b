#pragma once
// The setup's two roads as plain work over the folders: the component scan the window
// shows at start, and the install road behind "Devam   >>". Messages and questions go
// through the program's message boxes; every step that fails is collected and said.
#include "platform/http.h"
#include "setup/setup_layers.h"
#include "shell/driver_maintenance.h"

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace kuvela::setup {

inline const QString kCurVers = QStringLiteral("v1.4.6");
// The title of the setup's message boxes.
inline QString setupTitle() { return kCurVers + QStringLiteral("KuvelaKur "); }

// The program, its updater and the shortcut as named on this system.
inline const QString kProgramName = QStringLiteral("kuvela");
inline const QString kUpdaterName = QStringLiteral("KuvelaUpdate");
inline const QString kShortcutName = QStringLiteral("Kuvela.desktop");

// Settings of the setup. No program settings exist yet when it runs, so they come
// from the environment only (KUVELA_DRIVER_STRATEGY, KUVELA_DRIVER_STORAGE,
// KUVELA_DRIVER_PACKAGE, KUVELA_DRIVER_MEMBER, KUVELA_BROWSER_BINARY, KUVELA_BROWSER_DRIVER,
// KUVELA_SUPPORT_MAILBOX, KUVELA_HTTP_TIMEOUT, KUVELA_HTTP_CONNECT_TIMEOUT).
struct SetupSettings {
    enum class DriverStrategy {
        System,  // the system's chromedriver whose major is the browser's
        Table    // a listed build downloaded from the driver storage
    };
    DriverStrategy strategy = DriverStrategy::System;
    QString storage;       // base address; the package is storage/<build>/<package>
    QString package;       // "chromedriver_linux64.zip"
    QString member;        // the driver inside it: "chromedriver"
    QString browser;       // "" searches the usual names
    QString systemDriver;  // "" searches PATH, then /usr/bin/chromedriver
    QString supportMail;
    HttpOptions http;

    static SetupSettings fromEnvironment();
};

// The setup's own driver table: 112 down to 100 (109 is 109.0.5414.74 here).
std::vector<DriverBuild> setupDriverTable();

struct ScanResult {
    std::array<QString, 7> boxes;  // a component's name while it is missing
    QStringList missing;           // every missing one, in order
    QString text12, text13, text14;
};
ScanResult scanComponents(const ComponentLayer& components);

struct RoadResult {
    bool ended = false;        // no browser: the setup ends, nothing was made
    bool stopped = false;      // the program folder could not be made: nothing went in
    std::filesystem::path desktop; // the desktop as read again when the road began to make folders
    QString fullVersion;
    QString major;
    QString driverAddress;     // the package's address, when one was tried
    bool versionFileWritten = false;
    QStringList failed;        // one line per failed step
    QStringList absent;        // optional delivery items that were not there
    QString text12, text13, text14;
};

struct SetupContext {
    SetupPlaces places;
    SetupSettings settings;
    ComponentLayer* components = nullptr;
    Launcher* launcher = nullptr;
};

// The install road. `missing` are the components the scan found missing.
RoadResult runInstallRoad(const SetupContext& context, const QStringList& missing);

// "Kapat": starts the installed program from its folder. 0 when it started, else the
// error number, which has already been shown.
int startInstalledProgram(const SetupContext& context);

} // namespace kuvela::setup
