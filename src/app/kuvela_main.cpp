#include "shell/window_dialogs.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    kuvela::installWindowDialogs();
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("Kuvela"));
    w.show();
    return app.exec();
}
