#pragma once
// The line-entry dialog "Kuvela Stok Kartı": one goods or service line composed and
// added to the main window's line grid, and the company's product cards from sDATA
// picked into its fields or stored from them. Modeless; it stays open between lines.
#ifndef Q_MOC_RUN
#include "invoice/line_entry.h"
#include "invoice/number_filters.h"
#endif

#include <QDialog>
#include <QString>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace kuvela {

class DialogStatusBar;
class Form1;

class Form7 : public QDialog {
    Q_OBJECT

public:
    explicit Form7(Form1& main);

    // The main window's showing: made and loaded on first use, reused while it is
    // open, loaded afresh when it was closed.
    static Form7& showFor(Form1& main);
    // The dialog when it was ever made, else nullptr.
    static Form7* existing(Form1& main);

    // ---- Catalogue (selection frame) --------------------------------------------
    QComboBox* Combo7 = nullptr;   // "FİRMA FİLTRESİ"
    QComboBox* Combo6 = nullptr;   // "ÜRÜN / HİZMET KODU"
    QComboBox* Combo8 = nullptr;   // "ÜRÜN /  HİZMET ADI"
    QPushButton* Command1 = nullptr;  // "SEÇ"

    // ---- Card and line fields ----------------------------------------------------
    QComboBox* Combo9 = nullptr;   // "Ürün / Hizmet Kodu"
    QLineEdit* Text1 = nullptr;    // "Filitre Kodu"
    QLineEdit* Text2 = nullptr;    // "Ürün / Hizmet Adı"
    QLineEdit* Text3 = nullptr;    // "Miktar" (line only)
    QComboBox* Combo1 = nullptr;   // "Birim"
    QLineEdit* Text4 = nullptr;    // "Birim Fiyat"
    QLineEdit* Text5 = nullptr;    // "İskonto Oranı %"
    QComboBox* Combo2 = nullptr;   // "KDV Oranı %"
    QComboBox* Combo3 = nullptr;   // "KDV Tevkifat Kodu"
    QLineEdit* Text6 = nullptr;    // "KDV Tevk %"
    QComboBox* Combo4 = nullptr;   // "Diğer Vergi Kodu", row "1."
    QLineEdit* Text7 = nullptr;    // "Diğer Vergi Oranı %"
    QComboBox* Combo5 = nullptr;   // row "2."
    QLineEdit* Text8 = nullptr;
    QLineEdit* Text9 = nullptr;    // "GTIP KODU"
    QComboBox* Combo10 = nullptr;  // "Özel Matrah Nedeni"
    QLineEdit* Text10 = nullptr;   // "Özel Matrah Tutarı"

    QCheckBox* Check1 = nullptr;      // "Stok Kartlarına Ekle"
    QPushButton* Command4 = nullptr;  // "FATURAYA EKLE"
    QPushButton* Command5 = nullptr;  // "VAZGEÇ"
    QPushButton* Command3 = nullptr;  // "KAYDET YENİ"
    QPushButton* Command2 = nullptr;  // "DÜZENLE", never visible
    DialogStatusBar* StatusBar1 = nullptr; // panel 2 is the dialog's message line

    QString filtertxt;  // the company filter of the card lists

    void setPanel(int n, const QString& text);
    QString panelText(int n) const;

    // ---- Handlers ------------------------------------------------------------------
    void Form_Load();
    void Combo7_LostFocus();
    void Command1_Click();  // "SEÇ"
    void Command2_Click();  // "DÜZENLE"
    void Command3_Click();  // "KAYDET YENİ"
    void Command4_Click();  // "FATURAYA EKLE"
    void Command5_Click();  // "VAZGEÇ"
    void stokKartiTemizle();
    void Combo1_Change();
    void Combo2_Change();
    void Combo3_LostFocus();
    void Text4_Change();
    void Text4_LostFocus() {}
    void Text5_Change();
    void Text7_Change();
    void Text8_Change();
    void Text10_Change();
    void reject() override;  // Esc: the dialog's own close

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    void wire();
    // Form_Load with the company filter it was given.
    void load(const QString& filter);
    // The unit and VAT boxes set by the program keep their rules.
    void setUnitText(const QString& text);
    void setVatRateText(const QString& text);
    void filterBox(QLineEdit* box, invoice::NumberBox kind);
    // The line fields as the boxes hold them, and written back after the checks.
    invoice::LineEntryFields lineFields() const;
    void setLineFields(const invoice::LineEntryFields& fields);

    Form1& main_;
    bool loaded_ = false;
};

} // namespace kuvela
