#pragma once
// The return-references dialog: the purchase invoices an İADE invoice returns, as
// serial "---" date entries in aList1, which the single upload types into the portal.
// "Tamam" hides it with its list; closing the window unloads it and the list is gone.
#include "invoice/return_references.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kuvela {

class DialogStatusBar;
class Form1;

class Form2 : public QWidget {
    Q_OBJECT

public:
    explicit Form2(Form1& main);

    QLabel* Label3 = nullptr;     // title line
    QComboBox* Combo1 = nullptr;  // year
    QComboBox* Combo2 = nullptr;  // month
    QComboBox* Combo3 = nullptr;  // day
    QLabel* Label1 = nullptr;     // "Fatura Seri No"; a click gives the e-Arşiv serial template
    QLineEdit* Text1 = nullptr;   // serial
    QLabel* Label2 = nullptr;     // "Fatura Tarihi"
    QLineEdit* Text2 = nullptr;   // date of the entry being added
    QListWidget* aList1 = nullptr;
    QPushButton* Command1 = nullptr;  // "Ekle"
    QPushButton* Command2 = nullptr;  // "Çıkar"
    QPushButton* Command3 = nullptr;  // "Tamam"
    DialogStatusBar* StatusBar1 = nullptr;

    void Form_Load();
    void Form_Unload();
    void Combo1_Click();
    void Combo2_Click();
    void Combo3_LostFocus();
    void Label1_Click();
    void Text1_Change();
    void Command1_Click();
    void aList1_Click();
    void Command2_Click();
    void Command3_Click();

    // Command5_Click of the main window: loads the dialog when it is not loaded, then shows it.
    void showDialog();
    bool loaded() const { return loaded_; }
    QString panelText(int n) const;
    // The entries, in the order they were added (the upload's reading).
    QStringList references() const { return refs_.aList1(); }
    // The company load: another company's invoice never gets these references.
    void emptyReferences();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyCount(const invoice::ReferenceResult& r);
    void showEntries();
    void setDays(const QStringList& days, const QString& chosen);

    Form1& main_;
    invoice::ReturnReferences refs_;
    bool loaded_ = false;
};

// The main window's one return-references dialog, made and loaded on first use.
Form2& form2(Form1& main);

} // namespace kuvela
