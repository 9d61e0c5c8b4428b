// Members of the main window whose work is not built yet. Start-up steps and
// procedures do nothing; buttons and menus say so. Whoever builds one deletes its
// line here and defines it in the folder of its subsystem.
#include "shell/form1.h"

namespace kuvela {

// Invoice editor.
void Form1::temelfatura() {}
void Form1::yekunal() {}
QString Form1::Cevir(QString) { return {}; }
QString Form1::YAZIYTL(const QString&) { return {}; }
void Form1::Combo1_LostFocus() {}
void Form1::Combo2_LostFocus() {}
void Form1::Combo4_Change() {}
void Form1::Combo5_LostFocus() {}
void Form1::Combo6_LostFocus() {}
void Form1::Command3_Click() { notYetAvailable(); }
void Form1::Command7_Click() { notYetAvailable(); }
void Form1::Command9_Click() { notYetAvailable(); }


} // namespace kuvela
