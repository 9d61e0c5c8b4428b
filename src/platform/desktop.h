#pragma once
// What the desktop does for us: open a file with its program, tell whether the
// machine is online, tell the installed browser's version.
#include <QString>
#include <QStringList>
#include <filesystem>
#include <memory>
#include <vector>

namespace kuvela {

class Desktop {
public:
    virtual ~Desktop() = default;
    // Opens the file with the desktop's program for it; false when nothing could.
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
