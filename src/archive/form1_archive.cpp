// The main window's way into the download window.
#include "archive/form3.h"
#include "shell/dialog_window.h"
#include "shell/form1.h"

#include <QLineEdit>
#include <QListWidget>

namespace kuvela {

void Form1::faturaindir_Click()
{
    beginRoad();
    checkConnection();
    Form3& f = form3Of(*this);
    // The download refreshes the file pane behind the window; its list keeps the focus
    // for when the user comes back, or the recipient's box while a mail hides the list.
    (File1->isHidden() ? static_cast<QWidget*>(Text14) : File1)->setFocus(Qt::OtherFocusReason);
    if (Ret == 0)
        f.setStatus(QStringLiteral("İnternete bağlı değilsiniz...!"));
    f.show();
    f.raise();
    f.activateWindow();
}

} // namespace kuvela
