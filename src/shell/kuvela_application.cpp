#include "shell/kuvela_application.h"

#include "platform/dialogs.h"

#include <stdexcept>
#include <utility>

namespace kuvela {

KuvelaApplication::KuvelaApplication(int& argc, char** argv, QString overflowText)
    : QApplication(argc, argv), overflowText_(std::move(overflowText))
{
}

bool KuvelaApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::overflow_error&) {
        msgBox(overflowText_, MsgIcon::Exclamation);
        return false;
    }
}

}
