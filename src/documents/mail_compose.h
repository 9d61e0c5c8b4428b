#pragma once
// The texts of a new mail in the mail panel, worked out from the window's state.
#include "platform/mailer.h"
#include "shell/file_pane_logic.h"

#include <QString>

namespace kuvela::documents {

inline const QString kArchiveRoad = QStringLiteral("command40");

struct ComposeInput {
    QString mailTitle;      // Label22
    QString companyName;    // Combo4
    QString buyerName;      // Combo3
    QString buyerMail;      // Text5
    QString senderID;
    QString whoTriggered;
    int attachmentCount = 0;  // List6's items in the archive road
    QString pickedName;       // seciliDosyaAdi
    QString attachmentNames;  // Text18 as the archive road left it
    PaneView view = PaneView::None;
};

struct ComposedMail {
    QString sender;       // Text13
    QString to;           // Text14
    QString subject;      // Text16
    QString message;      // Text17
    QString attachments;  // Text18
};

ComposedMail composeMail(const ComposeInput& in);

// The three readings of a failed send, in the mail panel's words.
MailReadings mailPanelReadings();
// The second box after a failure.
inline const QString kChooseSenderText = QStringLiteral("Öncelikle bir gönderici hesabı seçmelisiniz..!");

// A header field as typed, with line breaks taken out.
QString headerField(const QString& typed);

// Addresses typed with ";" or "," between them (not inside quotes or angle brackets),
// each trimmed, empties dropped.
QStringList splitAddresses(const QString& typed);

} // namespace kuvela::documents
