#pragma once
// What the setup needs from the machine: where the desktop and the delivery are, the
// installed browser's version, the runtime components and detached program starts.
#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>

namespace kuvela::setup {

// The folders of one run. The desktop comes from the XDG user folders, the delivery
// is the setup's own folder; both can be given on the command line.
struct SetupPlaces {
    std::filesystem::path desktop;
    std::filesystem::path delivery;
    // Reads the desktop folder anew; empty when it was given on the command line.
    std::function<std::filesystem::path()> readDesktop;

    // The install road reads the desktop again before it makes the program folder.
    void readDesktopAgain();

    std::filesystem::path programFolder() const;     // <desktop>/Kuvela
    std::filesystem::path programFiles() const;      // <desktop>/Kuvela/prgDosyaları
    std::filesystem::path driverFolder() const;      // <delivery>/Kuvela-Nadrik
    std::filesystem::path componentsFolder() const;  // <delivery>/Kuvela Bileşenleri

    // "--desktop DIR" and "--from DIR" override the defaults.
    static SetupPlaces fromArguments(const QStringList& arguments);
};

// The full version of the browser, read from `<browser> --version` (standard output
// only); "" when no browser answers. An empty `browser` tries chromium,
// chromium-browser and google-chrome in that order.
QString browserVersion(const QString& browser);

// The runtime components the program needs from the system. On Linux the program
// needs none of them: every one is present and nothing is ever registered.
class ComponentLayer {
public:
    virtual ~ComponentLayer() = default;
    virtual QString systemFolderName() const = 0;
    virtual bool isPresent(const QString& name) const = 0;
    // Whether the installed components are copied and registered in the system at all.
    virtual bool registers() const = 0;
    virtual bool copyToSystem(const std::filesystem::path& file) = 0;
    // Starts the registration of a component already copied; false when it could not.
    virtual bool registerComponent(const QString& name) = 0;
};

class NoComponentLayer : public ComponentLayer {
public:
    QString systemFolderName() const override { return {}; }
    bool isPresent(const QString&) const override { return true; }
    bool registers() const override { return false; }
    bool copyToSystem(const std::filesystem::path&) override { return true; }
    bool registerComponent(const QString&) override { return true; }
};

// The seven components looked for, index 0 to 6.
const QStringList& componentNames();

// Starts programs without waiting for them.
class Launcher {
public:
    virtual ~Launcher() = default;
    // 0 when started, else the " Hata No: " number: 53 when the program is missing,
    // 75 when it would not start.
    virtual int startDetached(const QString& program, const QStringList& arguments,
                              const std::filesystem::path& workingFolder);
};

} // namespace kuvela::setup
