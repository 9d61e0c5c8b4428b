#include "setup/kur_form.h"
#include "shell/program_end.h"
#include "shell/window_dialogs.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    kuvela::installWindowDialogs();
    kuvela::setup::NoComponentLayer components;
    kuvela::setup::Launcher launcher;
    kuvela::setup::SetupContext context{kuvela::setup::SetupPlaces::fromArguments(app.arguments()),
                                        kuvela::setup::SetupSettings::fromEnvironment(), &components, &launcher};
    kuvela::setup::KurForm form(std::move(context));
    form.show();
    const int code = app.exec();
    return kuvela::ProgramEnd::instance().requested() ? kuvela::ProgramEnd::instance().code() : code;
}
