#include "platform/desktop.h"

#include "platform/paths.h"
#include "platform/settings.h"

#include <QDesktopServices>
#include <QNetworkInterface>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

namespace kuvela {
namespace {
std::unique_ptr<Desktop>& slot()
{
    static std::unique_ptr<Desktop> current;
    return current;
}
} // namespace

bool Desktop::openFile(const std::filesystem::path& file)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(fromPath(file)));
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
