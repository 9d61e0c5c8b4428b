// Members of the main window whose work is not built yet. Start-up steps and
// procedures do nothing; buttons and menus say so. Whoever builds one deletes its
// line here and defines it in the folder of its subsystem.
#include "shell/form1.h"

namespace kuvela {

} // namespace kuvela
