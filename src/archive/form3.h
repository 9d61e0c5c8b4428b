#pragma once
// The download window "Kuvela-eArşiv Fatura İndir": a company, a mode (received or
// issued e-Arşiv invoices) and a month are picked, and the mode's button brings that
// month back from the portals. It also lists the company's filed invoices of the mode
// and opens them. Panel 2 of its own status bar is its message line.
#include "archive/invoice_file_name.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace kuvela {

class DialogStatusBar;
class Form1;
class DownloadReportPreview;

class Form3 : public QWidget {
    Q_OBJECT

public:
    explicit Form3(Form1& main);
    ~Form3() override;

    // ---- Controls ---------------------------------------------------------------
    QGroupBox* Frame2 = nullptr;      // "Firma Seç"
    QListWidget* bList1 = nullptr;    // firm list
    QComboBox* Combo1 = nullptr;      // ledger filter, design text "Defter Türü - Hepsi"
    QCheckBox* Check1 = nullptr;      // "Tümünü Seç"
    QLabel* Label3 = nullptr;         // "Listelenen " + count
    QGroupBox* Frame5 = nullptr;      // "Fatura Türü Seç"
    QGroupBox* Frame7 = nullptr;      // the two modes
    QRadioButton* Option1 = nullptr;  // "ALINAN E-Arşiv"
    QRadioButton* Option2 = nullptr;  // "KESiLEN E-Arşiv"
    QGroupBox* Frame4 = nullptr;      // "Alınan e-Arşiv Sorgu Dönemi"
    QListWidget* cList1 = nullptr;    // months, received
    QPushButton* Command1 = nullptr;  // "Alınanları İndir"
    QPushButton* Command4 = nullptr;  // "Göster"
    QCheckBox* Check2 = nullptr;      // "Extra Diyalog Mesajı Ver"
    QLineEdit* Text3 = nullptr;       // captcha entry
    QLabel* Image1 = nullptr;         // captcha picture
    QGroupBox* Frame8 = nullptr;      // "Kesilen e-Arşiv Sorgu Dönemi"
    QListWidget* eList1 = nullptr;    // months, issued
    QPushButton* Command2 = nullptr;  // "Kesilenleri İndir"
    QCheckBox* Check3 = nullptr;      // "İndirilmişleri tekrar indirme"
    QCheckBox* Check4 = nullptr;      // "İndirilirken Excel'de göster"
    QCheckBox* Check5 = nullptr;      // "Bu Gün Tarihli Faturalar"
    QCheckBox* Check6 = nullptr;
    QLabel* Label4 = nullptr;         // "01-" + today + " arası"
    QGroupBox* Frame6 = nullptr;      // "Firma Klasörü"
    QListWidget* dList1 = nullptr;    // files of the company folder of the mode
    QPushButton* Command3 = nullptr;  // "Kapat"
    QLineEdit* Text1 = nullptr;       // scratch copy of the period
    QLineEdit* Text2 = nullptr;
    QLabel* Label1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    DialogStatusBar* StatusBar1 = nullptr;

    // ---- Module variables -----------------------------------------------------------
    int checkResult = 0;
    QString sonTarih, ayveyil, yilveay;
    QString user, pass;
    QString panel2MsgStr;
    QString msg;   // chosen firm (its folder name)
    QString msg2;  // chosen month as listed, "yyyy mmmm "
    QString kapat;
    QString exFilePath;
    PortalInvoiceRow row;  // gibFatNo … gibFatIpt
    QString rptFatName, rptStr;

    // ---- Handlers ---------------------------------------------------------------------
    void Form_Load();
    void bList1_Click();
    void Combo1_LostFocus();
    void Option1_Click();
    void Option2_Click();
    void cList1_Click();
    void eList1_Click();
    void dList1_DblClick();
    void dList1_ItemCheck();
    void Command4_Click();
    void Command1_Click();  // received invoices
    void Command2_Click();  // issued invoices of the month
    void Command3_Click();  // "Kapat"

    // ---- Procedures -------------------------------------------------------------------
    void alisDirgetir();
    void satisDirgetir();
    // The period of msg2 into ayveyil, yilveay and sonTarih; false (and a message in
    // panel 2, the three left as they were) when its month cannot be read.
    bool tarihAyarla();
    // Filing routines of this window: true when the package was filed.
    bool unzip();
    void checkinmismi();
    void textYaz();

    void setStatus(const QString& text);
    QString statusText() const;
    Form1& main() { return main_; }
    // The preview of the download report while it fills ("İndirilirken Excel'de göster").
    DownloadReportPreview* reportPreview() const { return preview_; }
    void setReportPreview(DownloadReportPreview* preview) { preview_ = preview; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void wire();
    void fileList(const QString& folder, bool onlyWorkbooks);
    void resetModeChoice();
    void chooseMode(bool received);
    void rebuildPanel2();

    Form1& main_;
    DownloadReportPreview* preview_ = nullptr;
};

// The main window's download window, made (and loaded) on first use.
Form3& form3Of(Form1& main);

} // namespace kuvela
