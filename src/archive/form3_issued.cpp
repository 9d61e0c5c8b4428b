// "Kesilenleri İndir": the issued invoices of the chosen month.
#include "archive/form3.h"

#include "platform/dialogs.h"

namespace kuvela {

void Form3::Command2_Click() { msgBox(QStringLiteral("Bu işlev henüz kullanılamıyor."), MsgIcon::Information); }

} // namespace kuvela
