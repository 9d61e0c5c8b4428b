#pragma once
// The customer card: a new buyer entered as an institution or a person, appended to
// mDATA and, with "KAYDET ve Seç", handed to the invoice on the main window. Every
// message goes to panel 2 of its own status bar; the card never shows a message box.
// Hiding the card keeps it and what it holds.
#include "masterdata/customer_card.h"

#include <QWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace kuvela {

class DialogStatusBar;
class Form1;

class Form4 : public QWidget {
    Q_OBJECT

public:
    explicit Form4(Form1& main);

    QLabel* Label12 = nullptr;  // heading "YENİ MÜŞTERİ KARTI "
    QGroupBox* Frame2 = nullptr;  // "Alıcı Türü seçimi"
    QRadioButton* Option1 = nullptr;  // "KURUM"
    QRadioButton* Option2 = nullptr;  // "ŞAHIS"
    QGroupBox* Frame1 = nullptr;  // every field and button; usable once a type is chosen
    QLabel* Label1 = nullptr;   // "ÜNVANI"
    QLineEdit* Text1 = nullptr;
    QLabel* Label2 = nullptr;   // "ADI"
    QLineEdit* Text2 = nullptr;
    QLabel* Label3 = nullptr;   // "SOYADI"
    QLineEdit* Text3 = nullptr;
    QLabel* Label4 = nullptr;   // "ADRESİ"
    QPlainTextEdit* Text4 = nullptr;
    QLabel* Label13 = nullptr;  // "ÜLKE"
    QComboBox* Combo1 = nullptr;
    QLabel* Label5 = nullptr;   // "VERGİ DAİRESİ"
    QLineEdit* Text5 = nullptr;
    QLabel* Label6 = nullptr;   // "VK No" / "TCK No"
    QLineEdit* Text6 = nullptr;
    QLabel* Label7 = nullptr;   // "E-POSTA"
    QLineEdit* Text7 = nullptr;
    QLabel* Label8 = nullptr;   // "TELEFON"
    QLineEdit* Text8 = nullptr;
    QLabel* Label9 = nullptr;   // "FAKS"
    QLineEdit* Text9 = nullptr;
    QLabel* Label11 = nullptr;  // "YETKİLİ  KİŞİ"
    QLineEdit* Text10 = nullptr;
    QLabel* Label10 = nullptr;  // "MUH. HESAP KODU"
    QLineEdit* Text11 = nullptr;
    QGroupBox* Frame3 = nullptr;  // "Güvenlik Kodu", during the accountants' look-up only
    QLabel* Image1 = nullptr;     // captcha picture
    QLineEdit* Text12 = nullptr;  // captcha code
    QLabel* Label14 = nullptr;    // taxpayer status from the accountants' look-up
    QPushButton* Command1 = nullptr;  // "KAYDET ve Yeni"
    QPushButton* Command4 = nullptr;  // "KAYDET ve Seç"
    QPushButton* Command3 = nullptr;  // "Sorgula"
    QPushButton* Command5 = nullptr;  // "SORGULA"
    QPushButton* Command6 = nullptr;  // "Formu Temizle"
    QPushButton* Command2 = nullptr;  // "KAPAT"
    DialogStatusBar* StatusBar1 = nullptr;

    // "Devam" while a look-up runs, "Kapat" once the card was closed.
    QString karar;

    void Form_Load();
    void formuTemizle();
    void Option1_Click();
    void Option2_Click();
    void Text1_Change();
    void Text2_Change();
    void Text3_Change();
    void Text4_Change();
    void Text5_Change();
    void Text6_Change();
    void Text12_Change();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();

    // Command4_Click of the main window: shows the card, loading it on its first showing.
    void showCard();
    QString panelText(int n) const;
    CustomerCardFields fields() const;
    CustomerKind kind() const;
    // How the last save ended.
    const SaveOutcome& lastSave() const { return lastSave_; }
    // True while a look-up runs: the look-ups and the saves refuse.
    bool lookupRunning() const { return lookupRunning_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    void wire();
    void chooseKind(CustomerKind kind);
    void applyBoxChange(CardBox box);
    void setSaveButtons(bool on);
    void setAllButtons(bool on);
    // Around each look-up: the buttons it refuses stay disabled while it runs (what the
    // card's rules set meanwhile is kept for its end), and at its end the save buttons
    // are as before unless the number or the type changed meanwhile.
    // Step 1 of both look-ups; false while one runs already.
    bool lookupStep1();
    void beginLookup();
    void endLookup();
    // The card still shows the number and the type the look-up started with: only then
    // is its answer written.
    bool showsLookedUpCard() const;

    Form1& main_;
    bool loaded_ = false;
    SaveOutcome lastSave_;
    bool lookupRunning_ = false;
    bool saveButtonsBeforeLookup_ = false;
    QString lookupNumber_;
    CustomerKind lookupKind_ = CustomerKind::None;
    // The buttons as the card's rules set them while a look-up runs.
    bool saveButtonsLater_ = false;
    bool lookupButtonsLater_ = false;
};

// The main window's one customer card, made on first use (hidden).
Form4& form4(Form1& main);

} // namespace kuvela
