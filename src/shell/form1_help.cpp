#include "shell/dialog_window.h"
#include "shell/form9.h"

namespace kuvela {

// The contact form is made on first use and kept, with what was typed, for the run.
void Form1::help_Click()
{
    Form9& form = dialogOf<Form9>(*this, LoadOnCreate::Yes);
    form.show();
    form.raise();
    form.activateWindow();
}

} // namespace kuvela
