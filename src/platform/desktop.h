#pragma once
// What the desktop does for us: open a file with its program, tell whether the
// machine is online, tell the installed browser's version.
#include <QString>
#include <QStringList>
#include <filesystem>
#include <memory>
#include <vector>

namespace kuvela {

// How a desktop helper program (xdg-open, xdg-email) ended within its wait.
struct DesktopHelperRun {
    enum class Outcome { Missing, NotStarted, Failed, Done, StillRunning };
    Outcome outcome = Outcome::Missing;
    int exitCode = 0;
    QString said;  // why it did not start, or what it wrote on its error output
    // Done, or still running: then it has taken the work over.
    bool tookOver() const { return outcome == Outcome::Done || outcome == Outcome::StillRunning; }
};

// Runs the program found on PATH and waits at most waitMs (time-scaled) for it,
// keeping the windows painting. A non-zero exit or a crash is Failed; a program still
// running then goes on by itself and is reaped when it ends.
DesktopHelperRun runDesktopHelper(const QString& program, const QStringList& arguments, int waitMs);

class Desktop {
public:
    virtual ~Desktop() = default;
    // Opens the file with the desktop's program for it (xdg-open); false when xdg-open
    // is missing, or said within a few seconds that nothing could open it.
    virtual bool openFile(const std::filesystem::path& file);
    // An up, non-loopback interface with an address; KUVELA_ONLINE=0/1 decides for tests.
    virtual bool isOnline();
    // Full version of the installed Chromium/Chrome ("156.0.8078.73"), or "" when none.
    virtual QString chromeVersion();

    static Desktop& instance();
    static std::unique_ptr<Desktop> replace(std::unique_ptr<Desktop> next);
};

// Records what would be opened instead of opening it (tests).
class RecordingDesktop : public Desktop {
public:
    bool openFile(const std::filesystem::path& file) override
    {
        opened.push_back(file);
        return opens;
    }
    bool isOnline() override { return online; }
    QString chromeVersion() override { return chrome; }
    std::vector<std::filesystem::path> opened;
    bool online = true;
    bool opens = true; // what openFile answers
    QString chrome;
};

} // namespace kuvela
