#pragma once
// The contact form: one message per run to the maker's support mailbox, over the
// program's own SMTP account. Mailbox, host and account are settings ("support/mailbox",
// "mail/host", "mail/port", "mail/user", "mail/password"); without them the form says
// that sending is not configured. It reports in panel 2 of its own status bar.
#include <QString>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace kuvela {

class DialogStatusBar;
class Form1;

// The message body: the text, then the sender's e-mail and telephone on lines of their own.
QString contactBody(const QString& text, const QString& email, const QString& phone);

class Form9 : public QWidget {
    Q_OBJECT

public:
    // Form_Load runs when the main window makes the form (dialogOf).
    explicit Form9(Form1& main);

    QLabel* Label1 = nullptr;        // introduction and the maker's contact details
    QComboBox* Combo1 = nullptr;     // subject, "Konu Seçiniz" until one is chosen
    QPlainTextEdit* Text1 = nullptr; // the message
    QCheckBox* Check1 = nullptr;     // an answer is wanted
    QLabel* Label3 = nullptr;        // "E- Posta adresim  :"
    QLineEdit* Text2 = nullptr;
    QLabel* Label4 = nullptr;        // "Telefon Numaram :"
    QLineEdit* Text3 = nullptr;
    QPushButton* Command1 = nullptr; // "GÖNDER"
    QProgressBar* ProgressBar1 = nullptr;
    DialogStatusBar* StatusBar1 = nullptr;

    void Form_Load();
    void Check1_Click();
    void Text1_Change();
    void Command1_Click();

private:
    void build();
    void wire();
    // Panel 2 shows ".." and is emptied, five times over.
    void dots();

    Form1& main_;
};

// The program's support address ("support/mailbox"); empty when not set.
QString supportMailbox();

} // namespace kuvela
