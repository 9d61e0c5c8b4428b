// Members of the main window whose work is not built yet. Start-up steps and
// procedures do nothing; buttons and menus say so. Whoever builds one deletes its
// line here and defines it in the folder of its subsystem.
#include "shell/form1.h"

namespace kuvela {

// Documents, reports and e-mail.
void Form1::Command28_Click() { notYetAvailable(); }
void Form1::Command30_Click() { notYetAvailable(); }
void Form1::Command29_Click() { notYetAvailable(); }
void Form1::Command37_Click() { notYetAvailable(); }
void Form1::Command38_Click() { notYetAvailable(); }
void Form1::Command39_Click() { notYetAvailable(); }
void Form1::Command40_Click() { notYetAvailable(); }
void Form1::Command14_Click() { notYetAvailable(); }
void Form1::Command15_Click() { notYetAvailable(); }
void Form1::Command16_Click() { notYetAvailable(); }


} // namespace kuvela
