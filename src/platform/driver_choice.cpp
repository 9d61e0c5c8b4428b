#include "platform/driver_choice.h"

#include "platform/paths.h"
#include "platform/settings.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace kuvela {

namespace {
#ifdef Q_OS_WIN
const char* const kDefaultMember = "chromedriver.exe";
#else
const char* const kDefaultMember = "chromedriver";
#endif
} // namespace

QString versionInText(const QString& text)
{
    static const QRegularExpression version(QStringLiteral("(\\d+(?:\\.\\d+)+)"));
    const auto m = version.match(text);
    return m.hasMatch() ? m.captured(1) : QString();
}

QString installedDriverVersion(const QString& driverProgram)
{
    if (driverProgram.trimmed().isEmpty())
        return {};
    if (driverProgram.contains(u'/') && !QFileInfo(driverProgram).isExecutable())
        return {};
    QProcess p;
    p.start(driverProgram, {QStringLiteral("--version")});
    if (!p.waitForStarted(5000))
        return {};
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished(2000);
        return {};
    }
    return versionInText(QString::fromUtf8(p.readAllStandardOutput()));
}

std::filesystem::path maintainedDriverFolder()
{
    const QString folder = Settings::forProgram().value(QStringLiteral("driver/folder"));
    if (!folder.isEmpty())
        return toPath(folder);
    return toPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)) / "Kuvela-Nadrik";
}

QString driverPackageMember()
{
    return Settings::forProgram().value(QStringLiteral("driver/member"), QString::fromLatin1(kDefaultMember));
}

std::filesystem::path maintainedDriverPath()
{
    return maintainedDriverFolder() / toPath(QFileInfo(driverPackageMember()).fileName());
}

QString chooseDriver(const QString& systemDriver, const std::filesystem::path& maintained, const QString& browserVersion)
{
    const QString major = browserMajor(browserVersion.trimmed());
    if (major.isEmpty())
        return systemDriver;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(maintained, ec))
        return systemDriver;
    const QString program = fromPath(maintained);
    return browserMajor(installedDriverVersion(program)) == major ? program : systemDriver;
}

} // namespace kuvela
