#include "shell/radio_control.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace kuvela {

RadioControl::RadioControl(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("WindowsMediaPlayer1"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Command1 = new QPushButton(QStringLiteral("Durdur"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setEnabled(false);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(Label1, 1);
    row->addWidget(Command1);
    connect(Command1, &QPushButton::clicked, this, [this] { stop(); });
}

void RadioControl::play(const QString& url)
{
    if (!player_) {
        player_ = new RadioPlayer(this);
        connect(player_, &RadioPlayer::stateChanged, this, [this] { showState(); });
    }
    player_->play(url);
    showState();
}

void RadioControl::stop()
{
    if (player_)
        player_->stop();
    showState();
}

QString RadioControl::stateText() const
{
    return Label1->text();
}

QString RadioControl::stateText(RadioPlayer::State state, bool available, const QString& url)
{
    if (!available)
        return QStringLiteral("Radyo bu bilgisayarda çalınamıyor: ses oynatıcı başlatılamadı.");
    switch (state) {
    case RadioPlayer::State::Opening: return QStringLiteral("Bağlanıyor...");
    case RadioPlayer::State::Playing: return QStringLiteral("Çalıyor");
    case RadioPlayer::State::Stopped: return QStringLiteral("Durduruldu");
    case RadioPlayer::State::Failed:
        return url.isEmpty() ? QStringLiteral("Bu radyonun adresi ayarlanmamış.")
                             : QStringLiteral("Radyo yayınına bağlanılamadı.");
    }
    return {};
}

void RadioControl::showState()
{
    const RadioPlayer::State state = player_ ? player_->state() : RadioPlayer::State::Stopped;
    Label1->setText(stateText(state, player_ && player_->available(), player_ ? player_->url() : QString()));
    Label1->setToolTip(player_ ? player_->failure() : QString());
    Command1->setEnabled(state == RadioPlayer::State::Opening || state == RadioPlayer::State::Playing);
}

} // namespace kuvela
