#pragma once
// The about window: the program's version, and in its status bar the browser's and
// the driver's versions as the last driver check left them. It reads, never fetches.
#include <QWidget>

class QLabel;
class QLineEdit;

namespace kuvela {

class DialogStatusBar;
class Form1;

class Form6 : public QWidget {
    Q_OBJECT

public:
    explicit Form6(Form1& main);

    QLabel* Label1 = nullptr;     // "Kuvela"
    QLabel* Label2 = nullptr;     // "Versiyon"
    QLineEdit* Text1 = nullptr;   // the version, "1.4.6"
    DialogStatusBar* StatusBar1 = nullptr;  // 2 browser version, 3 driver version

    // Runs at every showing: the versions may have changed since the last one.
    void Form_Load();

private:
    Form1& main_;
};

} // namespace kuvela
