// The mail panel: compose ("e-Mail"), send ("Gönder") over the company's SMTP
// account or through the desktop's mail program, and close ("Vazgeç").
#include "documents/mail_compose.h"
#include "platform/desktop_mail.h"
#include "platform/dialogs.h"
#include "platform/mailer.h"
#include "platform/paths.h"
#include "shell/form1.h"
#include "shell/form1_filepane.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <vector>

namespace kuvela {

using namespace documents;

namespace {

// What the compose step hides and the close step shows again.
std::vector<QWidget*> composeHidden(Form1& f)
{
    return {f.Command1, f.Command2, f.Command12, f.Command15, f.Command9, f.Command3,  f.Command11,
            f.Command10, f.Command20, f.Command22, f.Label12, f.Frame16, f.Frame17};
}

QStringList attachmentPaths(const Form1& f)
{
    if (f.whoTriggered != kArchiveRoad)
        return {f.seciliDosya};
    QStringList paths;
    for (int i = 0; i < f.List6->count(); ++i)
        paths << f.List6->item(i)->text();
    return paths;
}

void reportSendFailure(const QString& reading, const QString& description)
{
    msgBox(reading + QStringLiteral("\r\n") + description);
    msgBox(kChooseSenderText);
}

} // namespace

void Form1::Command15_Click()
{
    beginRoad();
    Combo4->setEnabled(false);
    Frame7->show();
    Frame7->raise();
    // "e-Mail" goes away under the focus; the recipient is what the user fills in next.
    Text14->setFocus(Qt::OtherFocusReason);
    File1->hide();
    Frame18->hide();

    ComposeInput in;
    in.mailTitle = Label22->text();
    in.companyName = Combo4->currentText();
    in.buyerName = Combo3->currentText();
    in.buyerMail = Text5->text();
    in.senderID = senderID;
    in.whoTriggered = whoTriggered;
    in.attachmentCount = List6->count();
    in.pickedName = seciliDosyaAdi;
    in.attachmentNames = Text18->text();
    in.view = currentPaneView(*this);
    const ComposedMail m = composeMail(in);
    Text13->setText(m.sender);
    Text14->setText(m.to);
    Text15->clear();
    Text18->setText(m.attachments);
    Text16->setText(m.subject);
    Text17->setPlainText(m.message);

    for (QWidget* w : composeHidden(*this))
        w->hide();
    setPanel(7, QStringLiteral("E-posta gönderime hazır..."));
}

void Form1::Command14_Click()
{
    const bool archiveRoad = whoTriggered == kArchiveRoad;
    if (Option1->isChecked()) {
        senderID = yandexUser;
        senderPW = yandexPass;
        MailAccount account = MailAccount::fromSettings();
        account.user = senderID;
        account.password = senderPW;
        MailMessage message;
        message.from = headerField(Text13->text());
        message.to = headerField(Text14->text());
        message.cc = headerField(Text15->text());
        message.subject = headerField(Text16->text());
        message.body = Text17->toPlainText();
        for (const QString& path : attachmentPaths(*this))
            message.attachments.push_back({toPath(path), {}});
        setPanel(7, QStringLiteral("E-posta gönderiliyor..."));
        const MailResult sent = Mailer::send(account, message);
        setPanel(7, QString());
        if (!sent.ok()) {
            reportSendFailure(sent.reading(mailPanelReadings()), sent.description);
            return;
        }
        msgBox(QStringLiteral("Mail gönderildi"), MsgIcon::Information);
        // The close step below hides the panel once the file pane holds the focus.
        Combo4->setEnabled(prgMOD->text() != QStringLiteral("S"));
        if (archiveRoad)
            List6->clear();
        Command16_Click();
    } else if (Option2->isChecked()) {
        DesktopMailItem item;
        item.to = splitAddresses(Text14->text());
        item.cc = splitAddresses(Text15->text());
        item.subject = headerField(Text16->text());
        item.body = Text17->toPlainText();
        item.attachments = attachmentPaths(*this);
        const DesktopMailResult handed = handToDesktopMail(item);
        if (!handed.handedOver) {
            reportSendFailure(mailPanelReadings().other, handed.description);
            return;
        }
        if (archiveRoad)
            List6->clear();
        Command16_Click();
    } else {
        Command16_Click();
    }
}

void Form1::Command16_Click()
{
    for (QWidget* w : composeHidden(*this))
        w->show();
    Frame18->show();
    File1->show();
    if (whoTriggered == kArchiveRoad)
        Frame20->show();
    // The panel goes away under the focus, often while a message box holds the window:
    // the file list takes it, never the seller box the send has just enabled.
    File1->setFocus(Qt::OtherFocusReason);
    Frame7->hide();
    setPanel(7, QString());
    Label18->setText(QStringLiteral("Ek"));
    File1_Click();
    whoTriggered.clear();
}

} // namespace kuvela
