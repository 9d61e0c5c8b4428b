// Members of the main window whose work is not built yet. Start-up steps and
// procedures do nothing; buttons and menus say so. Whoever builds one deletes its
// line here and defines it in the folder of its subsystem.
#include "shell/form1.h"

namespace kuvela {

// Download and archive.
void Form1::Command27_Click() { notYetAvailable(); }
void Form1::ineniUnziple() {}
void Form1::checkinmismi() {}
void Form1::Command20_Click() { notYetAvailable(); }
void Form1::Command22_Click() { notYetAvailable(); }


} // namespace kuvela
