// Members of the main window whose work is not built yet. Start-up steps and
// procedures do nothing; buttons and menus say so. Whoever builds one deletes its
// line here and defines it in the folder of its subsystem.
#include "shell/form1.h"

namespace kuvela {

// Master data.
void Form1::Combo4_LostFocus() {}
void Form1::Label19_Click() {}
void Form1::alanlariTemizle() {}
void Form1::Label1_Click() {}
void Form1::Combo3_LostFocus() {}
void Form1::Text19_Change() {}
void Form1::Text20_Change() {}
void Form1::List3_DblClick() {}
void Form1::List5_DblClick() {}
void Form1::Command23_Click() { notYetAvailable(); }
void Form1::Command24_Click() { notYetAvailable(); }
void Form1::Label8_Click() {}
void Form1::Label9_Click() {}
void Form1::Label10_Click() {}
void Form1::Label14_Click() {}
void Form1::Command1_Click() {}
void Form1::parameters_Click() { notYetAvailable(); }
void Form1::dbOpen() {}


} // namespace kuvela
