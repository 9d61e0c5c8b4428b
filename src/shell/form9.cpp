#include "shell/form9.h"

#include "shell/dialog_window.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/mailer.h"
#include "platform/settings.h"
#include "shell/button_kind.h"
#include "shell/form1.h"
#include "shell/twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace kuvela {
namespace {

const QString kNoSubject = QStringLiteral("Konu Seçiniz");
const QString kNotConfigured = QStringLiteral("E-posta gönderimi ayarlanmamış: SMTP hesabı tanımlı değil.");
const QColor kLightGrey(192, 192, 192);

QString introduction()
{
    QString text = QStringLiteral("Aşağıdaki form aracılığı ile yardım taleplerinizi, programla ilgili yaşadığınız "
                                  "problemleri, sorularınızı, görüş ve önerilerinizi bize iletebilirsiniz.");
    const QString mailbox = supportMailbox();
    const QString phone = Settings::forProgram().value(QStringLiteral("support/phone")).trimmed();
    QStringList contact;
    if (!mailbox.isEmpty())
        contact << QStringLiteral("E-posta: ") + mailbox;
    if (!phone.isEmpty())
        contact << QStringLiteral("Telefon: ") + phone;
    if (!contact.isEmpty())
        text += QStringLiteral("\n") + contact.join(QStringLiteral("    "));
    return text;
}

bool sendingConfigured()
{
    return MailAccount::fromSettings().configured() && !supportMailbox().isEmpty();
}

} // namespace

QString supportMailbox() { return Settings::forProgram().value(QStringLiteral("support/mailbox")).trimmed(); }

QString contactBody(const QString& text, const QString& email, const QString& phone)
{
    return text + QStringLiteral("\r\nGönderen E-postası : ") + email + QStringLiteral("\r\nGönderen Telefonu : ")
           + phone;
}

Form9::Form9(Form1& main)
    : QWidget(&main, Qt::Window)
    , main_(main)
{
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(QStringLiteral("Kuvela - Yardım"));
    build();
    wire();
}

void Form9::build()
{
    Label1 = named(new QLabel(introduction(), this), "Label1");
    Label1->setWordWrap(true);
    Combo1 = named(new QComboBox(this), "Combo1");
    Combo1->setEditable(true);
    Combo1->setEditText(kNoSubject);
    Text1 = named(new QPlainTextEdit(QStringLiteral("Mesajınız:\n"), this), "Text1");
    Check1 = named(new QCheckBox(QStringLiteral("Geri dönüş için aşağıda belirttiğim yoldan tarafıma ulaşılsın."), this),
                   "Check1");
    Label3 = named(new QLabel(QStringLiteral("E- Posta adresim  :"), this), "Label3");
    Text2 = named(new QLineEdit(this), "Text2");
    Label4 = named(new QLabel(QStringLiteral("Telefon Numaram :"), this), "Label4");
    Text3 = named(new QLineEdit(this), "Text3");
    for (QLineEdit* box : {Text2, Text3}) {
        box->setReadOnly(true);
        setBackColour(box, kLightGrey);
    }
    Command1 = named(new QPushButton(QStringLiteral("GÖNDER"), this), "Command1");
    // Usable from the first change of the message.
    makeUnusable(Command1);
    ProgressBar1 = named(new QProgressBar(this), "ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    StatusBar1 = new DialogStatusBar(this);

    auto* contact = new QGridLayout;
    contact->addWidget(Label3, 0, 0);
    contact->addWidget(Text2, 0, 1);
    contact->addWidget(Label4, 1, 0);
    contact->addWidget(Text3, 1, 1);
    contact->addWidget(Command1, 0, 2, 2, 1);
    contact->setColumnStretch(1, 1);
    auto* column = new QVBoxLayout(this);
    column->addWidget(Label1);
    column->addWidget(Combo1);
    column->addWidget(Text1, 1);
    column->addWidget(Check1);
    column->addLayout(contact);
    column->addWidget(ProgressBar1);
    column->addWidget(StatusBar1);
    resize(twipsToPixels(8400), twipsToPixels(7200));
}

void Form9::wire()
{
    connect(Check1, &QCheckBox::toggled, this, [this] { Check1_Click(); });
    connect(Text1, &QPlainTextEdit::textChanged, this, [this] { Text1_Change(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
}

void Form9::Form_Load()
{
    ProgressBar1->hide();
    Combo1->addItems({QStringLiteral("Yardım Talebi"), QStringLiteral("Hata Bildirimi"), QStringLiteral("Eleştiri"),
                      QStringLiteral("Öneri"), QStringLiteral("Program hakkında soru"),
                      QStringLiteral("Diğer bir konu")});
    // Adding the first entry selects it; the box keeps showing its design text.
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(kNoSubject);
    if (!sendingConfigured())
        StatusBar1->setPanel(2, kNotConfigured);
}

void Form9::Check1_Click()
{
    const bool wanted = Check1->isChecked();
    for (QLineEdit* box : {Text2, Text3}) {
        if (!wanted)
            box->clear();
        box->setReadOnly(!wanted);
        setBackColour(box, wanted ? buttonColour(ButtonKind::Import) : kLightGrey);
    }
}

void Form9::Text1_Change()
{
    StatusBar1->setPanel(2, QString());
    makeUsable(Command1, ButtonKind::Import);
}

void Form9::dots()
{
    for (int i = 0; i < 5; ++i) {
        StatusBar1->setPanel(2, QStringLiteral(".."));
        waitMs(20);
        StatusBar1->setPanel(2, QString());
        waitMs(20);
    }
}

void Form9::Command1_Click()
{
    if (main_.Check1->isChecked()) {
        msgBox(QStringLiteral("Kullanıcılarımıza günlük 1 adet mesaj iletme imkanı verilmiştir. İlave sorularınız için ")
                   + supportMailbox()
                   + QStringLiteral(" hesabımıza mail gönderiniz. Anlayışınız için teşekkür ederiz."),
               MsgIcon::Information);
        return;
    }
    StatusBar1->setPanel(2, QString());
    if (Combo1->currentText() == kNoSubject) {
        StatusBar1->setPanel(2, QStringLiteral("Mesaj göndermeden önce lütfen bir konu seçiniz..."));
        return;
    }
    const MailAccount account = MailAccount::fromSettings();
    const QString mailbox = supportMailbox();
    if (!account.configured() || mailbox.isEmpty()) {
        StatusBar1->setPanel(2, kNotConfigured);
        return;
    }

    MailMessage message;
    message.from = account.user;
    message.to = mailbox;
    message.subject = Combo1->currentText();
    message.body = contactBody(Text1->toPlainText(), Text2->text(), Text3->text());
    const MailResult sent = Mailer::send(account, message);
    if (!sent.ok()) {
        StatusBar1->setPanel(2, QStringLiteral("Mesaj iletimi sırasında bir hata oluştu !"));
        ProgressBar1->hide();
        makeUnusable(Command1);
        msgBox(sent.reading() + QStringLiteral("\n") + sent.description);
        return;
    }

    ProgressBar1->show();
    for (int value = 10; value <= 100; value += 10) {
        ProgressBar1->setValue(value);
        dots();
    }
    ProgressBar1->hide();
    StatusBar1->setPanel(2, QStringLiteral("Mesajınız başarıyla iletildi..."));
    main_.Check1->setChecked(true);
    makeUnusable(Command1);
}

} // namespace kuvela
