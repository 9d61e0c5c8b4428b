#include "platform/radio_player.h"

namespace kuvela {

QString RadioPlayer::unavailableText()
{
    return QStringLiteral("Radyo bu bilgisayarda çalınamıyor: ses oynatıcı kurulu değil.");
}

} // namespace kuvela
