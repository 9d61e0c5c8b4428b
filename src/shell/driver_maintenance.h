#pragma once
// Keeps the browser driver in line with the installed browser. The driver-version file
// prgDosyaları/ChromeDriverVersiyon.txt records the browser major the driver was
// fetched for ("[112]"). The system's own driver passes without a word when its major
// is the browser's; otherwise a driver build is looked up, downloaded, unpacked and
// copied into the driver folder, and the new major recorded.
#include "platform/driver_choice.h"
#include "platform/http.h"

#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>
#include <vector>

namespace kuvela {

struct DriverBuild {
    QString major;  // three characters, as compared: "112"
    QString build;  // "112.0.5615.49"
};

// The builds known, in the order searched: 112 down to 100.
std::vector<DriverBuild> standardDriverTable();
// "112:112.0.5615.49 111:111.0.5563.19" (blanks, ";" or "," between rows, ":" or "="
// within one); nothing when a row is malformed.
std::optional<std::vector<DriverBuild>> parseDriverTable(const QString& text);
// The build for the major, or "" when the table has none.
QString driverBuildFor(const std::vector<DriverBuild>& table, const QString& major);

// Fields of a text as a sequential-input read gives them: separated by commas and
// line ends, a field in double quotes keeps its commas and loses its quotes.
QStringList inputFields(const QString& text);
// The major in a driver-version file's text: every field holding "[" gives the three
// characters after its first "["; the last one wins. "" when none does.
QString versionFileMajor(const QString& text);
// Nothing when the file is missing or cannot be read: the major is then unknown.
std::optional<QString> readVersionFile(const std::filesystem::path& file);
// Writes "[major]" and a line end through a temporary renamed over the file, so the
// old record stays whole until the new one is.
bool writeVersionFile(const std::filesystem::path& file, const QString& major);


// What is wrong with the driver a package brought: missing or not executable ("Pakette
// sürücü yok: <member>"), or its major is not the browser's. Nothing when it serves.
struct PackagedDriverFault {
    int errorNumber = 0;
    QString text;
};
std::optional<PackagedDriverFault> packagedDriverFault(const std::filesystem::path& driver, const QString& member,
                                                       const QString& browserMajor);

struct DriverMaintenanceConfig {
    std::filesystem::path programFiles;  // prgDosyaları: version file, package, unpacking
    std::filesystem::path driverFolder;  // where the maintained driver is installed
    QString systemDriver;                // the driver the browser layer starts
    QString storage;                     // base address; the package is storage/build/package
    QString package;                     // "chromedriver_linux64.zip"
    QString member;                      // the driver inside the package: "chromedriver"
    QString supportMail;
    std::vector<DriverBuild> table;
    HttpOptions http;

    // Settings: "browser/driver", "driver/folder", "driver/storage", "driver/package",
    // "driver/member", "driver/table", "support/mailbox", and the http time limits.
    static DriverMaintenanceConfig fromSettings();
    std::filesystem::path versionFile() const;
};

struct DriverCheck {
    enum class Outcome {
        UpToDate,      // the recorded major is the browser's
        SystemDriver,  // the system's driver matches the browser; the record follows it
        Updated,       // a new driver was installed and recorded
        Failed         // the failure message was shown; the old record and driver stay
    };
    Outcome outcome = Outcome::Failed;
    QString driVers;   // the recorded major ("" when unknown)
    QString tamChVer;  // the browser's full version
    QString myUrl;     // the package's address, when an update was tried
    QString myPath;    // the package's local path, when an update was tried
    int errorNumber = 0;
    QString detail;    // what went wrong, in the layer's words (logs, tests)
};

// The whole check with its message boxes; the browser version comes from the caller.
DriverCheck maintainDriver(const DriverMaintenanceConfig& config, const QString& browserVersion);

// The about window's status panels 2 and 3.
struct AboutVersionTexts {
    QString chrome;  // panel 2
    QString driver;  // panel 3
};
AboutVersionTexts aboutVersionTexts(const QString& driVers, const QString& tamChVer);

} // namespace kuvela
