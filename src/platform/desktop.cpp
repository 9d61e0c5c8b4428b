#include "platform/desktop.h"

#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/settings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QNetworkInterface>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace kuvela {
namespace {
std::unique_ptr<Desktop>& slot()
{
    static std::unique_ptr<Desktop> current;
    return current;
}
} // namespace

DesktopHelperRun runDesktopHelper(const QString& program, const QStringList& arguments, int waitMs)
{
    DesktopHelperRun run;
    const QString found = QStandardPaths::findExecutable(program);
    if (found.isEmpty())
        return run;
    // Owned by the application, so that a helper still running when we stop waiting
    // goes on and is reaped when it ends.
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProgram(found);
    process->setArguments(arguments);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->start();
    if (!process->waitForStarted(5000)) {
        run.outcome = DesktopHelperRun::Outcome::NotStarted;
        run.said = process->errorString();
        process->deleteLater();
        return run;
    }
    QElapsedTimer waited;
    waited.start();
    const int limit = presenceMs(waitMs);
    while (process->state() != QProcess::NotRunning && waited.elapsed() < limit) {
        process->waitForFinished(50);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    if (process->state() != QProcess::NotRunning) {
        QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
        run.outcome = DesktopHelperRun::Outcome::StillRunning;
        return run;
    }
    process->deleteLater();
    run.exitCode = process->exitCode();
    run.said = QString::fromLocal8Bit(process->readAllStandardError()).trimmed();
    const bool failed = process->exitStatus() != QProcess::NormalExit || run.exitCode != 0;
    run.outcome = failed ? DesktopHelperRun::Outcome::Failed : DesktopHelperRun::Outcome::Done;
    return run;
}

bool Desktop::openFile(const std::filesystem::path& file)
{
    // xdg-open tells by its exit status whether a program took the file; one that
    // runs the program in the foreground has taken it when it is still running.
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(file, ec);
    return runDesktopHelper(QStringLiteral("xdg-open"), {fromPath(ec ? file : absolute)}, 3000).tookOver();
}

bool Desktop::isOnline()
{
    const QByteArray forced = qgetenv("KUVELA_ONLINE");
    if (forced == "0")
        return false;
    if (forced == "1")
        return true;
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& i : interfaces) {
        const auto f = i.flags();
        if (!(f & QNetworkInterface::IsUp) || !(f & QNetworkInterface::IsRunning) || (f & QNetworkInterface::IsLoopBack))
            continue;
        if (!i.addressEntries().isEmpty())
            return true;
    }
    return false;
}

QString Desktop::chromeVersion()
{
    QStringList candidates;
    const QString configured = Settings::forProgram().value(QStringLiteral("browser/binary"));
    if (!configured.isEmpty())
        candidates << configured;
    candidates << QStringLiteral("chromium") << QStringLiteral("google-chrome") << QStringLiteral("chromium-browser");
    for (const QString& program : candidates) {
        QProcess p;
        p.start(program, {QStringLiteral("--version")});
        if (!p.waitForStarted(3000))
            continue;
        p.waitForFinished(10000);
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        const auto m = QRegularExpression(QStringLiteral("(\\d+(?:\\.\\d+){1,3})")).match(out);
        if (m.hasMatch())
            return m.captured(1);
    }
    return {};
}

Desktop& Desktop::instance()
{
    auto& s = slot();
    if (!s)
        s = std::make_unique<Desktop>();
    return *s;
}

std::unique_ptr<Desktop> Desktop::replace(std::unique_ptr<Desktop> next)
{
    auto& s = slot();
    auto previous = std::move(s);
    s = std::move(next);
    return previous;
}

} // namespace kuvela
