// Members of the main window whose work is not built yet. Start-up steps and
// procedures do nothing; buttons and menus say so. Whoever builds one deletes its
// line here and defines it in the folder of its subsystem.
#include "shell/form1.h"

namespace kuvela {

// Side panels, about, contact.
void Form1::anouncements_Click() { notYetAvailable(); }
void Form1::Label26_Click() {}
void Form1::Command25_Click() { notYetAvailable(); }
void Form1::Frame20_MouseMove(int, int, float, float) {}
void Form1::Option1_Click() {}
void Form1::Option2_Click() {}
void Form1::Text11_Change() {}
void Form1::Form_Click() {}
void Form1::Command13_Click() { notYetAvailable(); }
void Form1::Command17_Click() { notYetAvailable(); }
void Form1::Command18_Click() { notYetAvailable(); }
void Form1::Command19_Click() { notYetAvailable(); }
void Form1::Command21_Click() { notYetAvailable(); }
void Form1::abouth_Click() { notYetAvailable(); }


} // namespace kuvela
