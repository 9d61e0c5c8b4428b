#pragma once
// What a browser is started with: the caller's switches and preferences, in the
// caller's order, plus what the settings add (driver, browser, headless runs).
#include <QString>
#include <QStringList>
#include <nlohmann/json.hpp>
#include <vector>

namespace kuvela {

struct PrefEntry;

// A preference value: a boolean, a text, or a dictionary of further entries.
struct PrefValue {
    enum class Kind { Bool, Text, Dict };
    Kind kind = Kind::Text;
    bool boolean = false;
    QString text;
    std::vector<PrefEntry> dict;

    PrefValue() = default;
    PrefValue(bool b) : kind(Kind::Bool), boolean(b) {}
    PrefValue(QString t) : kind(Kind::Text), text(std::move(t)) {}
    PrefValue(const char* t) : kind(Kind::Text), text(QString::fromUtf8(t)) {}
    PrefValue(std::vector<PrefEntry> d);
};

struct PrefEntry {
    QString name;
    PrefValue value;
};

using Preferences = std::vector<PrefEntry>;

inline PrefValue::PrefValue(std::vector<PrefEntry> d) : kind(Kind::Dict), dict(std::move(d)) {}

struct ChromeOptions {
    QString driver;             // the driver program
    QString binary;             // the browser program
    QStringList arguments;      // repeats kept
    Preferences preferences;    // a name given twice keeps its first place and its last value
    bool headless = false;
    QString userDataDir;        // set by the driver for headless runs
    bool asRoot = false;        // the browser refuses to open a window as root inside its sandbox

    // The caller's switches and preferences with the program's settings:
    // "browser/driver" (default /usr/bin/chromedriver), "browser/binary"
    // (default /usr/bin/chromium) and "headless" ("1": a run without a window).
    static ChromeOptions fromSettings(QStringList arguments, Preferences preferences = {});
};

// Switches added to a headless run after the caller's own: no window, no sandbox
// (tests run as root), and none of the browser's own network traffic, which a closed
// network refuses.
QStringList headlessArguments(const QString& userDataDir);

// The "capabilities" object of a new session.
nlohmann::ordered_json sessionCapabilities(const ChromeOptions& options);

} // namespace kuvela
