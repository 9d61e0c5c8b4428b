#pragma once
// Which browser driver a session starts: the one driver maintenance installed, when it
// serves the installed browser's major, else the setting's (the system's) driver.
#include <QString>
#include <filesystem>

namespace kuvela {

// A browser's major as compared: the first three characters ("99.0.1" gives "99.").
inline QString browserMajor(const QString& fullVersion) { return fullVersion.left(3); }
// The first dotted version in a text: "ChromeDriver 156.0.8078.129 (…)" gives "156.0.8078.129".
QString versionInText(const QString& text);
// What `driver --version` tells; "" when the program is missing or says nothing.
QString installedDriverVersion(const QString& driverProgram);

// The folder driver maintenance installs into: the setting "driver/folder", by default
// a folder of the user's data.
std::filesystem::path maintainedDriverFolder();
// The driver's name inside the maintenance package (setting "driver/member").
QString driverPackageMember();
// The maintained driver's path: the folder and the member's file name.
std::filesystem::path maintainedDriverPath();

// The maintained driver when it is there and its major is the browser's; otherwise the
// system's. An unknown browser version keeps the system's driver.
QString chooseDriver(const QString& systemDriver, const std::filesystem::path& maintained, const QString& browserVersion);

} // namespace kuvela
