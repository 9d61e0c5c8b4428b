#include "shell/kuvela_application.h"

#include "platform/dialogs.h"

#include <stdexcept>

namespace kuvela {

QString tooLargeToComputeText()
{
    return QStringLiteral("Girilen miktar veya tutar hesaplanamayacak kadar büyük. Lütfen değerleri kontrol ediniz.");
}

KuvelaApplication::KuvelaApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool KuvelaApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::overflow_error&) {
        msgBox(tooLargeToComputeText(), MsgIcon::Exclamation);
        return false;
    }
}

}
