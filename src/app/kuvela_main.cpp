#include "shell/form1.h"
#include "invoice/line_entry.h"
#include "shell/kuvela_application.h"
#include "shell/program_end.h"
#include "shell/window_dialogs.h"

int main(int argc, char** argv)
{
    kuvela::KuvelaApplication app(argc, argv, kuvela::invoice::tooLargeToComputeText());
    kuvela::installWindowDialogs();
    kuvela::Form1 form;
    // Start-up may already have ended the program (second copy, no connection).
    if (kuvela::ProgramEnd::instance().requested())
        return kuvela::ProgramEnd::instance().code();
    form.show();
    return app.exec();
}
