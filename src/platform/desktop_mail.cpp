#include "platform/desktop_mail.h"

#include "platform/desktop.h"
#include "platform/mailer.h"

#include <QUrl>

namespace kuvela {

namespace {

// "mailto:a@b.c,d@e.f?cc=g@h.i".
QString mailtoAddress(const QStringList& to, const QStringList& cc)
{
    // Bare mailboxes only, percent-encoded, so no address is ever read as an option
    // or splits the address.
    auto encoded = [](const QStringList& addresses) {
        QStringList out;
        for (const QString& address : addresses) {
            const QString mailbox = bareMailbox(address);
            if (!mailbox.isEmpty())
                out << QString::fromLatin1(QUrl::toPercentEncoding(mailbox, "@"));
        }
        return out.join(u',');
    };
    QString uri = QStringLiteral("mailto:") + encoded(to);
    const QString copies = encoded(cc);
    if (!copies.isEmpty())
        uri += QStringLiteral("?cc=") + copies;
    return uri;
}

} // namespace

QStringList desktopMailArguments(const DesktopMailItem& item)
{
    // xdg-email refuses an option with an empty text.
    QStringList args;
    if (!item.subject.isEmpty())
        args << QStringLiteral("--subject") << item.subject;
    if (!item.body.isEmpty())
        args << QStringLiteral("--body") << item.body;
    for (const QString& file : item.attachments)
        args << QStringLiteral("--attach") << file;
    args << mailtoAddress(item.to, item.cc);
    return args;
}

DesktopMailResult handToDesktopMail(const DesktopMailItem& item)
{
    const DesktopHelperRun run = runDesktopHelper(QStringLiteral("xdg-email"), desktopMailArguments(item), 5000);
    switch (run.outcome) {
    case DesktopHelperRun::Outcome::Missing:
        return {false, QStringLiteral("Masaüstü e-posta programı (xdg-email) bulunamadı.")};
    case DesktopHelperRun::Outcome::NotStarted:
        return {false, QStringLiteral("xdg-email başlatılamadı: ") + run.said};
    case DesktopHelperRun::Outcome::Failed:
        return {false, QStringLiteral("xdg-email çıkış kodu %1%2")
                           .arg(run.exitCode)
                           .arg(run.said.isEmpty() ? QString() : QStringLiteral(": ") + run.said)};
    default:
        return {true, {}};
    }
}

} // namespace kuvela
