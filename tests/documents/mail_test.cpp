// The mail panel: compose, send over the company's SMTP account or through the
// desktop's mail program, and every way of closing it.
#include "documents/documents_window_fixture.h"
#include "fixtures/smtp_fixture.h"

#include <QJsonArray>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <functional>

namespace kuvela {
namespace {

using test::kNameA;
using test::kNameB;

class MailTest : public test::DocumentsWindowTest {
protected:
    MailTest()
    {
        env_.set("KUVELA_PRESENCE_SCALE", QStringLiteral("0.4"));  // the desktop program's 5 s become 2 s
        for (const char* key : {"KUVELA_MAIL_HOST", "KUVELA_MAIL_PORT", "KUVELA_MAIL_CAFILE"})
            env_.unset(key);
    }

    void useServer(const test::LocalSmtpServer& server, int port = 0)
    {
        env_.set("KUVELA_MAIL_HOST", QStringLiteral("127.0.0.1"));
        env_.set("KUVELA_MAIL_PORT", QString::number(port ? port : server.port()));
        env_.set("KUVELA_MAIL_CAFILE", server.caFile());
    }

    // The archive road with A and B ticked: the panel composed for two attachments.
    void composeTwo()
    {
        tick({kNameA, kNameB});
        window_->Command40->click();
        window_->Text14->setText(QStringLiteral("alici@example.com; ikinci@example.com"));
        window_->Text15->setText(QStringLiteral("kopya@example.com"));
        dialogs_->clear();
    }

    // Whether the close step put back everything the compose step took away.
    void expectClosed(bool combo4Enabled)
    {
        Form1& w = *window_;
        EXPECT_TRUE(w.Frame7->isHidden());
        const std::initializer_list<QWidget*> shown = {w.Command1,  w.Command2,  w.Command12, w.Command15, w.Command9,
                                                       w.Command3,  w.Command11, w.Command10, w.Command20, w.Command22,
                                                       w.Label12,   w.Frame16,   w.Frame17,   w.Frame18,   w.File1};
        for (QWidget* x : shown)
            EXPECT_FALSE(x->isHidden()) << x->objectName().toStdString();
        EXPECT_EQ(w.Label18->text(), QStringLiteral("Ek"));
        EXPECT_TRUE(w.panelText(7).isEmpty());
        EXPECT_TRUE(w.whoTriggered.isEmpty());
        EXPECT_EQ(w.Combo4->isEnabled(), combo4Enabled);
    }

    // "Gönder" fails: the box that says why and the one that follows; the panel and List6 stay.
    void expectSendFails(const QString& told)
    {
        dialogs_->clear();
        window_->Command14->click();
        ASSERT_EQ(dialogs_->texts().size(), 2);
        EXPECT_TRUE(dialogs_->texts()[0].startsWith(told)) << dialogs_->texts()[0].toStdString();
        EXPECT_EQ(dialogs_->texts()[1], QStringLiteral("Öncelikle bir gönderici hesabı seçmelisiniz..!"));
        EXPECT_FALSE(window_->Frame7->isHidden());
        EXPECT_EQ(window_->List6->count(), 2);
    }

    test::ScopedEnv env_;
};

TEST_F(MailTest, SmtpSendsTheComposedMailWithItsAttachments)
{
    test::LocalSmtpServer server(QStringLiteral("firma@example.com"), QStringLiteral("gizli"));
    ASSERT_TRUE(server.ready()) << server.error().toStdString();
    useServer(server);
    Form1& w = startOnInvoices();
    w.yandexUser = QStringLiteral("firma@example.com");
    w.yandexPass = QStringLiteral("yanlış");
    composeTwo();
    w.Option1->click();
    EXPECT_EQ(w.Text13->text(), QStringLiteral("firma@example.com"));

    // Each failure told in the panel's words; the panel and its attachments stay, nothing sent.
    const struct {
        const char* what;
        std::function<void()> arrange;
        QString told;
    } failures[] = {
        {"wrong password", [] {}, QStringLiteral("Kullanıcı adı veya şifre hatalı ! \r\n")},
        {"no server to reach", [&] { useServer(server, test::closedPort()); },
         QStringLiteral(" İnternet bağlantı hatası ! \r\n")},
        {"no server named", [&] { env_.set("KUVELA_MAIL_HOST", QString()); },
         QStringLiteral("Mail gönderimi sırasında bir hata oluştu !\r\n")},
    };
    for (const auto& f : failures) {
        SCOPED_TRACE(f.what);
        f.arrange();
        expectSendFails(f.told);
        EXPECT_EQ(server.count(), 0);
    }

    dialogs_->clear();
    useServer(server);
    w.yandexPass = QStringLiteral("gizli");
    const QString subject = w.Text16->text();
    const QString body = w.Text17->toPlainText();
    w.Command14->click();
    EXPECT_EQ(dialogs_->texts(), QStringList{QStringLiteral("Mail gönderildi")});
    ASSERT_EQ(server.count(), 1);
    const QJsonObject mail = server.read(1);
    EXPECT_EQ(mail.value("from").toString(), QStringLiteral("firma@example.com"));
    EXPECT_EQ(mail.value("to").toString(), QStringLiteral("alici@example.com, ikinci@example.com"));
    EXPECT_EQ(mail.value("cc").toString(), QStringLiteral("kopya@example.com"));
    EXPECT_EQ(mail.value("subject").toString(), subject);
    EXPECT_EQ(mail.value("body").toString().replace(QStringLiteral("\r\n"), QStringLiteral("\n")).trimmed(),
              QString(body).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    const QJsonArray attached = mail.value("attachments").toArray();
    ASSERT_EQ(attached.size(), 2);
    EXPECT_EQ(attached[0].toObject().value("filename").toString(), kNameB);
    EXPECT_EQ(attached[1].toObject().value("filename").toString(), kNameA);
    EXPECT_EQ(server.envelope(1).value("rcpt_tos").toArray().size(), 3);
    EXPECT_EQ(w.List6->count(), 0);
    expectClosed(true);
    EXPECT_FALSE(w.Frame20->isHidden());

    // One picked file in single-company mode: the company box stays locked, List6 untouched.
    w.prgMOD->setText(QStringLiteral("S"));
    w.List6->addItem(QStringLiteral("kişi@example.com"));
    pick(kNameA);
    w.Command15->click();
    EXPECT_EQ(w.Text13->text(), QStringLiteral("firma@example.com"));  // the last account used
    w.Text14->setText(QStringLiteral("alici@example.com"));
    dialogs_->clear();
    w.Command14->click();
    EXPECT_EQ(dialogs_->texts(), QStringList{QStringLiteral("Mail gönderildi")});
    ASSERT_EQ(server.count(), 2);
    const QJsonArray single = server.read(2).value("attachments").toArray();
    ASSERT_EQ(single.size(), 1);
    EXPECT_EQ(single[0].toObject().value("filename").toString(), kNameA);
    EXPECT_EQ(w.List6->count(), 1);
    expectClosed(false);
}

TEST_F(MailTest, DesktopMailProgramAndTheOtherCloseRoads)
{
    Form1& w = startOnInvoices();
    // "Gönder" with no channel chosen, and "Vazgeç": closed, nothing sent, Combo4 kept disabled.
    pick(kNameA);
    w.Command15->click();
    EXPECT_FALSE(w.Frame7->isHidden());
    EXPECT_FALSE(w.Combo4->isEnabled());
    EXPECT_EQ(w.panelText(7), QStringLiteral("E-posta gönderime hazır..."));
    ASSERT_FALSE(w.Option1->isChecked() || w.Option2->isChecked());
    w.Command14->click();
    expectClosed(false);
    w.Command15->click();
    w.Command16->click();
    expectClosed(false);
    EXPECT_TRUE(dialogs_->texts().isEmpty());

    // A mail program that fails: the failure boxes, the panel and List6 stay. The
    // addresses reach it only inside one mailto: URI, bare and percent-encoded, split
    // where a name's comma or semicolon does not stand; none can pass for an option.
    test::StubProgram mailProgram(QStringLiteral("xdg-email"));
    mailProgram.behave(QStringLiteral("exit 3"));
    composeTwo();
    w.Text14->setText(QStringLiteral("\"Yılmaz, Ali\" <ali@example.com>; --help@example.com,ikinci@example.com"));
    w.Text15->setText(QStringLiteral("Kopya Kişi <kopya@example.com>; \"Soyad; Ad\" <a+b@example.com>"));
    w.Option2->click();
    expectSendFails(QStringLiteral("Mail gönderimi sırasında bir hata oluştu !\r\n"));
    EXPECT_EQ(mailProgram.arguments(),
              (QStringList{QStringLiteral("--subject"), w.Text16->text(), QStringLiteral("--body"), w.Text17->toPlainText(),
                           QStringLiteral("--attach"), fromPath(htmlFolder() / toPath(kNameB)),
                           QStringLiteral("--attach"), fromPath(htmlFolder() / toPath(kNameA)),
                           QStringLiteral("mailto:ali@example.com,--help@example.com,ikinci@example.com"
                                          "?cc=kopya@example.com,a%2Bb@example.com")}));

    // One that keeps running has the mail: handed over, no box, closed.
    dialogs_->clear();
    mailProgram.behave(QStringLiteral("exec sleep 20"));
    w.Command14->click();
    EXPECT_TRUE(dialogs_->texts().isEmpty());
    EXPECT_EQ(w.List6->count(), 0);
    expectClosed(false);

    // One that ends well at once: handed over too; an empty subject is no option of it.
    mailProgram.behave(QStringLiteral("exit 0"));
    pick(kNameA);
    w.Command15->click();
    w.Text16->clear();
    w.Command14->click();
    EXPECT_TRUE(dialogs_->texts().isEmpty());
    EXPECT_EQ(mailProgram.arguments(),
              (QStringList{QStringLiteral("--body"), w.Text17->toPlainText(), QStringLiteral("--attach"),
                           fromPath(htmlFolder() / toPath(kNameA)), QStringLiteral("mailto:")}));
    expectClosed(false);
}

} // namespace
} // namespace kuvela
