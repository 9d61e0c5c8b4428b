#pragma once
// The extra-tax dialog: adds the two columns of an extra tax to the main window's
// line grid, or removes a pair added during the same opening. Modeless; closing it
// unloads it, and the next opening reads the workbook's taxes afresh.
#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

namespace kuvela {

class DialogStatusBar;
class Form1;

class Form5 : public QWidget {
    Q_OBJECT

public:
    explicit Form5(Form1& main);

    QLabel* Label1 = nullptr;  // heading "VERGİ EKLE / ÇIKAR"
    QLabel* Label2 = nullptr;  // "EKLENEBİLİR VERGİLER"
    QLabel* Label3 = nullptr;  // "EKLENEN VERGİLER"
    QListWidget* List1 = nullptr;  // taxes that can be added: code "-" name
    QListWidget* List2 = nullptr;  // taxes added during this opening
    QListWidget* List3 = nullptr;  // working copy of the grid's headers (hidden)
    QPushButton* Command1 = nullptr;  // ">"
    QPushButton* Command2 = nullptr;  // "<"
    DialogStatusBar* StatusBar1 = nullptr;

    void Form_Load();
    void Form_Unload();
    void List1_Click();
    void List2_Click();
    void List1_DblClick();
    void List2_DblClick();
    void Command1_Click();
    void Command2_Click();

    // Command8_Click of the main window: loads the dialog when it is not loaded, then shows it.
    void showDialog();
    bool loaded() const { return loaded_; }
    QString panelText(int n) const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void addTax(const QString& entry);
    void removeTax(const QString& entry);
    void copyHeaders();

    Form1& main_;
    bool loaded_ = false;
};

// The main window's one extra-tax dialog, made on first use.
Form5& form5(Form1& main);

} // namespace kuvela
