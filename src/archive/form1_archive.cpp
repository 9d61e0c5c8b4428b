// The main window's way into the download window.
#include "archive/form3.h"
#include "invoice/dialog_window.h"
#include "shell/form1.h"

namespace kuvela {

void Form1::faturaindir_Click()
{
    beginRoad();
    checkConnection();
    Form3& f = form3Of(*this);
    if (Ret == 0)
        f.setStatus(QStringLiteral("İnternete bağlı değilsiniz...!"));
    f.show();
    f.raise();
    f.activateWindow();
}

} // namespace kuvela
