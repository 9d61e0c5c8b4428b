// Members of the main window whose work is not built yet. Start-up steps and
// procedures do nothing; buttons and menus say so. Whoever builds one deletes its
// line here and defines it in the folder of its subsystem.
#include "shell/form1.h"

namespace kuvela {

// File pane.
void Form1::dirgetir() {}
void Form1::Dir1_Change() {}
void Form1::Dir1_Click() {}
void Form1::File1_DblClick() {}
void Form1::List1_Click() {}
void Form1::List1_DblClick() {}
void Form1::Command10_Click() { notYetAvailable(); }
void Form1::Command11_Click() { notYetAvailable(); }
void Form1::Option3_Click() {}
void Form1::Option4_Click() { setPanel(7, QStringLiteral("Bu işlev henüz kullanılamıyor.")); }
void Form1::Option5_Click() { setPanel(7, QStringLiteral("Bu işlev henüz kullanılamıyor.")); }
void Form1::Option6_Click() { setPanel(7, QStringLiteral("Bu işlev henüz kullanılamıyor.")); }
void Form1::Option7_Click() { setPanel(7, QStringLiteral("Bu işlev henüz kullanılamıyor.")); }
void Form1::Check2_Click() {}
void Form1::List7_ItemCheck() {}


} // namespace kuvela
