#pragma once
#include <QApplication>

namespace kuvela {

// The program's application object. Amounts past the exact decimal range throw rather
// than wrap; a handler that meets one ends with a message instead of taking the program
// (and the invoice being composed) down with it.
class KuvelaApplication : public QApplication {
public:
    // overflowText: what the user is told when an amount is past that range.
    KuvelaApplication(int& argc, char** argv, QString overflowText);
    bool notify(QObject* receiver, QEvent* event) override;

private:
    QString overflowText_;
};

}
