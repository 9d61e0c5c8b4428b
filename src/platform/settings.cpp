#include "platform/settings.h"

#include "platform/paths.h"

#include <QCoreApplication>
#include <QSettings>

namespace kuvela {

std::filesystem::path programFolder()
{
    const QString home = qEnvironmentVariable("KUVELA_HOME");
    if (!home.isEmpty())
        return toPath(home);
    return toPath(QCoreApplication::applicationDirPath());
}

Settings::Settings(std::filesystem::path iniFile) : file_(std::move(iniFile)) {}

Settings Settings::forProgram()
{
    return Settings(programFolder() / toPath(QStringLiteral("prgDosyaları")) / "Kuvela.ini");
}

QString Settings::environmentName(const QString& key)
{
    QString name = key.toUpper();
    for (QChar& c : name)
        if (!c.isLetterOrNumber())
            c = u'_';
    return QStringLiteral("KUVELA_") + name;
}

QString Settings::value(const QString& key, const QString& fallback) const
{
    const QByteArray env = environmentName(key).toLatin1();
    if (qEnvironmentVariableIsSet(env.constData()))
        return qEnvironmentVariable(env.constData());
    if (!std::filesystem::exists(file_))
        return fallback;
    QSettings ini(fromPath(file_), QSettings::IniFormat);
    return ini.value(key, fallback).toString();
}

int Settings::intValue(const QString& key, int fallback) const
{
    bool ok = false;
    const int v = value(key).toInt(&ok);
    return ok ? v : fallback;
}

} // namespace kuvela
