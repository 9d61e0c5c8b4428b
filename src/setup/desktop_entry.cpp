#include "setup/desktop_entry.h"

#include "platform/paths.h"

#include <QSaveFile>

namespace kuvela::setup {

namespace fs = std::filesystem;

QString desktopExecArgument(const QString& program)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : program) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted += u'"';
    QString value;
    for (const QChar c : quoted) {
        if (c == u'\\')
            value += QStringLiteral("\\\\");
        else if (c == u'\n')
            value += QStringLiteral("\\n");
        else if (c == u'\r')
            value += QStringLiteral("\\r");
        else if (c == u'\t')
            value += QStringLiteral("\\t");
        else if (c == u'%')
            value += QStringLiteral("%%");
        else
            value += c;
    }
    return value;
}

QString desktopEntryText(const QString& name, const QString& comment, const QString& program)
{
    return QStringLiteral("[Desktop Entry]\nType=Application\nVersion=1.0\nName=") + name +
           QStringLiteral("\nComment=") + comment + QStringLiteral("\nExec=") + desktopExecArgument(program) +
           QStringLiteral("\nTerminal=false\n");
}

bool writeDesktopEntry(const fs::path& file, const QString& text)
{
    QSaveFile f(fromPath(file));
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                     QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                     QFileDevice::ExeOther);
    const QByteArray bytes = text.toUtf8();
    return f.write(bytes) == bytes.size() && f.commit();
}

} // namespace kuvela::setup
