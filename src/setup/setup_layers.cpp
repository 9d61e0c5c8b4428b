#include "setup/setup_layers.h"

#include "platform/error_numbers.h"
#include "platform/paths.h"
#include "shell/driver_maintenance.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace kuvela::setup {

namespace fs = std::filesystem;

fs::path SetupPlaces::programFolder() const { return desktop / "Kuvela"; }
fs::path SetupPlaces::programFiles() const { return programFolder() / toPath(QStringLiteral("prgDosyaları")); }
fs::path SetupPlaces::driverFolder() const { return delivery / "Kuvela-Nadrik"; }
fs::path SetupPlaces::componentsFolder() const { return delivery / toPath(QStringLiteral("Kuvela Bileşenleri")); }

void SetupPlaces::readDesktopAgain()
{
    if (readDesktop)
        desktop = readDesktop();
}

SetupPlaces SetupPlaces::fromArguments(const QStringList& arguments)
{
    SetupPlaces p;
    p.readDesktop = [] { return toPath(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation)); };
    p.desktop = p.readDesktop();
    p.delivery = toPath(QCoreApplication::applicationDirPath());
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--desktop")) {
            p.desktop = toPath(arguments[++i]);
            p.readDesktop = nullptr;
        } else if (arguments[i] == QLatin1String("--from")) {
            p.delivery = toPath(arguments[++i]);
        }
    }
    return p;
}

QString browserVersion(const QString& browser)
{
    QStringList candidates;
    if (!browser.trimmed().isEmpty())
        candidates << browser.trimmed();
    else
        for (const char* name : {"chromium", "chromium-browser", "google-chrome"}) {
            const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
            if (!found.isEmpty())
                candidates << found;
        }
    for (const QString& program : candidates) {
        QProcess p;
        p.setProcessChannelMode(QProcess::SeparateChannels);
        p.start(program, {QStringLiteral("--version")});
        if (!p.waitForStarted(5000))
            continue;
        if (!p.waitForFinished(15000)) {
            p.kill();
            p.waitForFinished(2000);
            continue;
        }
        const QString version = versionInText(QString::fromUtf8(p.readAllStandardOutput()));
        if (!version.isEmpty())
            return version;
    }
    return {};
}

const QStringList& componentNames()
{
    static const QStringList names = {
        QStringLiteral("msvbvm60.dll"), QStringLiteral("MSSTDFMT.DLL"), QStringLiteral("shell32.dll"),
        QStringLiteral("MSCOMCTL.OCX"), QStringLiteral("MSCOMCTL.DEP"), QStringLiteral("MSCOMCTL.SRG"),
        QStringLiteral("wmp.dll"),
    };
    return names;
}

int Launcher::startDetached(const QString& program, const QStringList& arguments, const fs::path& workingFolder)
{
    const bool isPath = program.contains(u'/');
    if (isPath ? !QFileInfo::exists(program) : QStandardPaths::findExecutable(program).isEmpty())
        return error_no::FileNotFound;
    QProcess p;
    p.setProgram(program);
    p.setArguments(arguments);
    p.setWorkingDirectory(fromPath(workingFolder));
    p.setStandardInputFile(QProcess::nullDevice());
    return p.startDetached() ? 0 : error_no::PathFileAccess;
}

} // namespace kuvela::setup
