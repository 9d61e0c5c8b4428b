#include "platform/radio_player.h"

#ifdef KUVELA_HAVE_MULTIMEDIA
#include <QAudioOutput>
#include <QMediaPlayer>
#include <QUrl>
#endif

namespace kuvela {

#ifdef KUVELA_HAVE_MULTIMEDIA
struct RadioPlayer::Engine {
    QAudioOutput output;
    QMediaPlayer player;
    Engine() { player.setAudioOutput(&output); }
};
#else
struct RadioPlayer::Engine {};
#endif

RadioPlayer::RadioPlayer() = default;
RadioPlayer::~RadioPlayer() = default;

bool RadioPlayer::available() const
{
#ifdef KUVELA_HAVE_MULTIMEDIA
    return true;
#else
    return false;
#endif
}

void RadioPlayer::play(const QString& url)
{
    url_ = url;
#ifdef KUVELA_HAVE_MULTIMEDIA
    // Made on the first station only, so a window that never plays opens no audio device.
    if (!engine_)
        engine_ = std::make_unique<Engine>();
    engine_->player.stop();
    if (url.isEmpty())
        return;
    engine_->player.setSource(QUrl(url));
    engine_->player.play();
#endif
}

QString RadioPlayer::unavailableText()
{
    return QStringLiteral("Radyo bu bilgisayarda çalınamıyor: ses oynatıcı kurulu değil.");
}

} // namespace kuvela
