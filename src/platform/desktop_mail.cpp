#include "platform/desktop_mail.h"

#include "platform/clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>

namespace kuvela {

QStringList desktopMailArguments(const DesktopMailItem& item)
{
    QStringList args;
    for (const QString& cc : item.cc)
        args << QStringLiteral("--cc") << cc;
    args << QStringLiteral("--subject") << item.subject << QStringLiteral("--body") << item.body;
    for (const QString& file : item.attachments)
        args << QStringLiteral("--attach") << file;
    args << item.to;
    return args;
}

DesktopMailResult handToDesktopMail(const DesktopMailItem& item)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (program.isEmpty())
        return {false, QStringLiteral("Masaüstü e-posta programı (xdg-email) bulunamadı.")};
    // Owned by the application, so that a mail program still running when we stop
    // waiting goes on and is reaped when it ends.
    auto* running = new QProcess(QCoreApplication::instance());
    QProcess& process = *running;
    process.setProgram(program);
    process.setArguments(desktopMailArguments(item));
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start();
    if (!process.waitForStarted(5000)) {
        const QString why = process.errorString();
        running->deleteLater();
        return {false, QStringLiteral("xdg-email başlatılamadı: ") + why};
    }

    QElapsedTimer waited;
    waited.start();
    const int limit = scaledMs(5000);
    while (process.state() != QProcess::NotRunning && waited.elapsed() < limit) {
        process.waitForFinished(50);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    if (process.state() != QProcess::NotRunning) {
        QObject::connect(running, &QProcess::finished, running, &QObject::deleteLater);
        return {true, {}};
    }
    running->deleteLater();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString said = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        return {false, QStringLiteral("xdg-email çıkış kodu %1%2")
                           .arg(process.exitCode())
                           .arg(said.isEmpty() ? QString() : QStringLiteral(": ") + said)};
    }
    return {true, {}};
}

} // namespace kuvela
