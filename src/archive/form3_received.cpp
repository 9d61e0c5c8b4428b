// The received-invoice list of the download window and its closing.
#include "archive/form3.h"

#include "platform/dialogs.h"

namespace kuvela {

void Form3::Command1_Click() { msgBox(QStringLiteral("Bu işlev henüz kullanılamıyor."), MsgIcon::Information); }

void Form3::Command3_Click() { msgBox(QStringLiteral("Bu işlev henüz kullanılamıyor."), MsgIcon::Information); }

} // namespace kuvela
