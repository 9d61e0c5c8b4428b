#pragma once
// Hands a mail to the desktop's mail program (xdg-email) for the user to send there.
#include <QString>
#include <QStringList>

namespace kuvela {

struct DesktopMailItem {
    QStringList to;
    QStringList cc;
    QString subject;
    QString body;
    QStringList attachments;  // full paths
};

struct DesktopMailResult {
    bool handedOver = false;
    QString description;  // why not, when not
};

// The arguments of xdg-email for the item.
QStringList desktopMailArguments(const DesktopMailItem& item);

// Starts xdg-email from PATH and waits at most 5 s (time-scaled) for it, keeping the
// windows painting. A failed start or a non-zero exit within that time is a failure;
// a program still running then has taken the mail over.
DesktopMailResult handToDesktopMail(const DesktopMailItem& item);

} // namespace kuvela
