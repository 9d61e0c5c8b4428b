#pragma once
// Hands a mail to the desktop's mail program (xdg-email) for the user to send there.
#include <QString>
#include <QStringList>

namespace kuvela {

struct DesktopMailItem {
    QStringList to;  // addresses as typed, a name beside each allowed ("Ad <a@b.c>")
    QStringList cc;
    QString subject;
    QString body;
    QStringList attachments;  // full paths
};

struct DesktopMailResult {
    bool handedOver = false;
    QString description;  // why not, when not
};

// The arguments of xdg-email for the item: the texts and files as options, then the
// addresses as one mailto: URI.
QStringList desktopMailArguments(const DesktopMailItem& item);

// Runs xdg-email from PATH and waits at most 5 s (time-scaled) for it. A failed start
// or a non-zero exit within that time is a failure; a program still running then has
// taken the mail over.
DesktopMailResult handToDesktopMail(const DesktopMailItem& item);

} // namespace kuvela
