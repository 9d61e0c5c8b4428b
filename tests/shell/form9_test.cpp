// The contact form on the main window, sending through a real local SMTP server.
#include "fixtures/smtp_fixture.h"
#include "shell/dialog_window.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/settings.h"
#include "shell/button_kind.h"
#include "shell/form1.h"
#include "shell/form9.h"
#include "shell/program_end.h"
#include "support/fixtures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <gtest/gtest.h>
#include <memory>

namespace kuvela {
namespace {

using test::LocalSmtpServer;

const QString kNotConfigured = QStringLiteral("E-posta gönderimi ayarlanmamış: SMTP hesabı tanımlı değil.");
const QString kSendError = QStringLiteral("Mesaj iletimi sırasında bir hata oluştu !");
const QString kSent = QStringLiteral("Mesajınız başarıyla iletildi...");
const QString kSupport = QStringLiteral("destek@kuvela.test");
const QString kAccount = QStringLiteral("gonderen@kuvela.test");
const QString kPassword = QStringLiteral("Gizli-Şifre-465");
const QColor kGreen(192, 255, 192), kGrey(192, 192, 192), kWhite(Qt::white);

class Form9Test : public ::testing::Test {
protected:
    Form9Test()
    {
        previousDesktop_ = Desktop::replace(kuvela::test::windowTestDesktop());
        previousClock_ = Clock::replace(std::make_unique<ManualClock>(QDateTime(QDate(2024, 3, 3), QTime(9, 5))));
        home_.writeData(test::standardData());
    }
    ~Form9Test() override
    {
        main_.reset();
        Desktop::replace(std::move(previousDesktop_));
        Clock::replace(std::move(previousClock_));
    }

    // The program's settings file, as the maker's set-up would write it.
    void configure(const std::vector<std::pair<QString, QVariant>>& values)
    {
        const Settings settings = Settings::forProgram();
        QDir().mkpath(QString::fromStdU16String(settings.file().parent_path().u16string()));
        QSettings ini(QString::fromStdU16String(settings.file().u16string()), QSettings::IniFormat);
        for (const auto& [key, value] : values)
            ini.setValue(key, value);
    }
    void configure(const LocalSmtpServer& server)
    {
        configure({{"support/mailbox", kSupport}, {"support/phone", "0212 000 00 00"}, {"mail/host", "127.0.0.1"},
                   {"mail/port", server.port()}, {"mail/user", kAccount}, {"mail/password", kPassword},
                   {"mail/cafile", server.caFile()}, {"mail/timeout", "20"}});
    }

    Form9& open()
    {
        if (!main_) {
            main_ = std::make_unique<Form1>();
            dialogs_->clear();  // whatever the start-up had to say
        }
        main_->help_Click();
        auto* form = main_->findChild<Form9*>(QStringLiteral("Form9"));
        EXPECT_NE(form, nullptr);
        return *form;
    }

    // A message ready to go: a subject chosen, text typed.
    static void compose(Form9& f, int subject, const QString& text)
    {
        f.Combo1->setCurrentIndex(subject);
        f.Text1->setPlainText(text);
    }

    QString panel2(Form9& f) const { return f.StatusBar1->panelText(2); }

    test::ProgramFolder home_;
    ScopedRecordingDialogs dialogs_;
    ScopedRecordingProgramEnd end_;
    std::unique_ptr<Desktop> previousDesktop_;
    std::unique_ptr<Clock> previousClock_;
    std::unique_ptr<Form1> main_;
};

TEST_F(Form9Test, OpensNotModalOnceWithItsControls)
{
    Form9& f = open();
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(f.isModal());
    EXPECT_EQ(&open(), &f) << "a second press shows the same form";
    EXPECT_EQ(main_->findChildren<Form9*>().size(), 1);

    EXPECT_EQ(f.windowTitle(), "Kuvela - Yardım");
    EXPECT_TRUE(f.Label1->text().startsWith(
        "Aşağıdaki form aracılığı ile yardım taleplerinizi, programla ilgili yaşadığınız problemleri, sorularınızı, "
        "görüş ve önerilerinizi bize iletebilirsiniz."));
    QStringList subjects;
    for (int i = 0; i < f.Combo1->count(); ++i)
        subjects << f.Combo1->itemText(i);
    EXPECT_EQ(subjects, (QStringList{"Yardım Talebi", "Hata Bildirimi", "Eleştiri", "Öneri", "Program hakkında soru",
                                     "Diğer bir konu"}));
    EXPECT_EQ(f.Combo1->currentText(), "Konu Seçiniz");
    EXPECT_EQ(f.Text1->toPlainText(), "Mesajınız:\n");
    EXPECT_EQ(f.Check1->text(), "Geri dönüş için aşağıda belirttiğim yoldan tarafıma ulaşılsın.");
    EXPECT_EQ(f.Label3->text(), "E- Posta adresim  :");
    EXPECT_EQ(f.Label4->text(), "Telefon Numaram :");
    EXPECT_EQ(f.Command1->text(), "GÖNDER");
    EXPECT_FALSE(f.Command1->isEnabled());
    EXPECT_TRUE(f.ProgressBar1->isHidden());
    EXPECT_EQ(main_->Check1->text(), "Helped");
    // No account in the settings: the form says so at once.
    EXPECT_EQ(panel2(f), kNotConfigured);
}

TEST_F(Form9Test, AnswerBoxUnlocksAndClearsTheContactFields)
{
    Form9& f = open();
    for (QLineEdit* box : {f.Text2, f.Text3}) {
        EXPECT_TRUE(box->isReadOnly());
        EXPECT_EQ(backColour(box), kGrey);
    }
    f.Check1->click();
    f.Text2->setText(QStringLiteral("kullanici@ornek.test"));
    f.Text3->setText(QStringLiteral("0555 111 22 33"));
    for (QLineEdit* box : {f.Text2, f.Text3}) {
        EXPECT_FALSE(box->isReadOnly());
        EXPECT_EQ(backColour(box), kGreen);
    }
    f.Check1->click();
    for (QLineEdit* box : {f.Text2, f.Text3}) {
        EXPECT_EQ(box->text(), "");
        EXPECT_TRUE(box->isReadOnly());
        EXPECT_EQ(backColour(box), kGrey);
    }
}

TEST_F(Form9Test, SendsNothingWithoutSubjectOrAccount)
{
    Form9& f = open();
    f.Text1->setPlainText(QStringLiteral("Merhaba"));
    EXPECT_EQ(panel2(f), "") << "a change of the text empties the message line";
    EXPECT_TRUE(f.Command1->isEnabled());
    EXPECT_EQ(backColour(f.Command1), kGreen);

    f.Command1->click();
    EXPECT_EQ(panel2(f), "Mesaj göndermeden önce lütfen bir konu seçiniz...");
    f.Combo1->setCurrentIndex(0);
    f.Command1->click();
    EXPECT_EQ(panel2(f), kNotConfigured);
    // Half an account is no account.
    configure({{"support/mailbox", kSupport}, {"mail/host", "127.0.0.1"}, {"mail/user", kAccount}});
    f.Command1->click();
    EXPECT_EQ(panel2(f), kNotConfigured);
    EXPECT_TRUE(dialogs_->shown().empty());
    EXPECT_FALSE(main_->Check1->isChecked());
}

TEST_F(Form9Test, SendsOneMessagePerRun)
{
    LocalSmtpServer server(kAccount, kPassword);
    ASSERT_TRUE(server.ready()) << server.error().toStdString();
    configure(server);
    Form9& f = open();
    EXPECT_TRUE(f.Label1->text().contains(kSupport));
    EXPECT_EQ(panel2(f), "");
    compose(f, 3, QStringLiteral("Mesajınız:\nFatura ekranı çok güzel.\nTeşekkürler"));
    f.Check1->click();
    f.Text2->setText(QStringLiteral("kullanici@ornek.test"));
    f.Text3->setText(QStringLiteral("0555 111 22 33"));
    QDir().mkpath(QStringLiteral(KUVELA_BINARY_DIR "/screenshots"));
    f.grab().save(QStringLiteral(KUVELA_BINARY_DIR "/screenshots/form9_contact.png"));
    f.Command1->click();

    ASSERT_EQ(server.count(), 1) << dialogs_->texts().join('|').toStdString();
    const QJsonObject read = server.read(1);
    EXPECT_EQ(read["from"].toString(), kAccount);
    EXPECT_EQ(read["to"].toString(), kSupport);
    EXPECT_EQ(read["cc"].toString(), "");
    EXPECT_EQ(read["subject"].toString(), "Öneri");
    EXPECT_EQ(read["body"].toString(), "Mesajınız:\r\nFatura ekranı çok güzel.\r\nTeşekkürler\r\n"
                                       "Gönderen E-postası : kullanici@ornek.test\r\n"
                                       "Gönderen Telefonu : 0555 111 22 33");
    EXPECT_EQ(server.envelope(1)["login"].toString(), kAccount);
    EXPECT_EQ(panel2(f), kSent);
    EXPECT_TRUE(main_->Check1->isChecked());
    EXPECT_FALSE(f.Command1->isEnabled());
    EXPECT_EQ(backColour(f.Command1), kWhite);
    EXPECT_TRUE(f.ProgressBar1->isHidden());
    EXPECT_EQ(f.ProgressBar1->value(), 100);
    EXPECT_TRUE(dialogs_->shown().empty());

    // A second message in the same run is refused with the notice.
    f.Text1->appendPlainText(QStringLiteral("Bir şey daha"));
    f.Command1->click();
    EXPECT_EQ(server.count(), 1);
    ASSERT_EQ(dialogs_->shown().size(), 1u);
    EXPECT_EQ(dialogs_->shown()[0].icon, MsgIcon::Information);
    EXPECT_EQ(dialogs_->shown()[0].text,
              "Kullanıcılarımıza günlük 1 adet mesaj iletme imkanı verilmiştir. İlave sorularınız için "
              "destek@kuvela.test hesabımıza mail gönderiniz. Anlayışınız için teşekkür ederiz.");
}

// A subject typed by hand goes as typed, a line break in it as a blank; empty
// contact fields go empty.
TEST_F(Form9Test, TypedSubjectWithLineBreakAddsNoHeader)
{
    LocalSmtpServer server(kAccount, kPassword);
    ASSERT_TRUE(server.ready()) << server.error().toStdString();
    configure(server);
    Form9& f = open();
    f.Text1->setPlainText(QString());
    f.Combo1->setEditText(QStringLiteral("Soru\r\nBcc: gizli@ornek.test"));
    f.Command1->click();

    ASSERT_EQ(server.count(), 1) << dialogs_->texts().join('|').toStdString();
    const QJsonObject read = server.read(1);
    EXPECT_EQ(read["subject"].toString(), "Soru Bcc: gizli@ornek.test");
    for (const QJsonValue& name : read["header_names"].toArray())
        EXPECT_NE(name.toString().toLower(), "bcc");
    EXPECT_EQ(server.envelope(1)["rcpt_tos"].toArray().size(), 1);
    EXPECT_EQ(read["body"].toString(), "\r\nGönderen E-postası : \r\nGönderen Telefonu : ");
}

TEST_F(Form9Test, FailuresAreShownAndLeaveTheNextTryOpen)
{
    LocalSmtpServer server(kAccount, kPassword);
    ASSERT_TRUE(server.ready()) << server.error().toStdString();
    struct Case {
        const char* name;
        std::vector<std::pair<QString, QVariant>> settings;
        QString reading;
    };
    const Case cases[] = {
        {"wrong password", {{"mail/password", "yanlış"}}, "Sunucu yetki hatası ! "},
        {"nothing listening", {{"mail/port", test::closedPort()}}, " İnternet bağlantı hatası ! "},
        {"server not trusted", {{"mail/cafile", ""}}, "Mesaj iletimi sırasında bir hata oluştu !"},
    };
    configure(server);
    Form9& f = open();
    for (const Case& c : cases) {
        configure(server);
        configure(c.settings);
        dialogs_->clear();
        compose(f, 1, QStringLiteral("Hata: ") + c.name);
        ASSERT_TRUE(f.Command1->isEnabled()) << c.name;
        f.Command1->click();

        EXPECT_EQ(panel2(f), kSendError) << c.name;
        EXPECT_FALSE(f.Command1->isEnabled()) << c.name;
        EXPECT_EQ(backColour(f.Command1), kWhite) << c.name;
        EXPECT_TRUE(f.ProgressBar1->isHidden()) << c.name;
        EXPECT_FALSE(main_->Check1->isChecked()) << c.name;
        ASSERT_EQ(dialogs_->shown().size(), 1u) << c.name;
        const QString box = dialogs_->shown()[0].text;
        EXPECT_TRUE(box.startsWith(c.reading + "\n")) << c.name << ": " << box.toStdString();
        EXPECT_GT(box.size(), c.reading.size() + 1) << c.name << ": the description follows";
        EXPECT_FALSE(box.contains(kPassword)) << c.name;
    }
    EXPECT_EQ(server.count(), 0);
}

} // namespace
} // namespace kuvela
