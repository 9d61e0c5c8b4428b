#pragma once
// The radio panel's player control: what the player is doing, in words, and its stop
// button. The player is started at the first station asked for.
#include "platform/radio_player.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace kuvela {

class RadioControl : public QWidget {
public:
    explicit RadioControl(QWidget* parent);

    void play(const QString& url);
    void stop();
    // The player, once a station was asked for; else nullptr.
    RadioPlayer* player() const { return player_; }
    QString stateText() const;

    static QString stateText(RadioPlayer::State state, bool available, const QString& url);

    QLabel* Label1 = nullptr;        // the player's state
    QPushButton* Command1 = nullptr; // "Durdur"

private:
    void showState();

    RadioPlayer* player_ = nullptr;
};

} // namespace kuvela
