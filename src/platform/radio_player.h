#pragma once
// The radio panel's player: an internet radio stream played by libmpv. A machine
// without a sound card or sound server plays to no output rather than failing, so the
// states below are the same everywhere; a stream that cannot be opened ends in Failed.
#include <QObject>
#include <QString>

struct mpv_handle;

namespace kuvela {

class RadioPlayer : public QObject {
    Q_OBJECT

public:
    enum class State { Stopped, Opening, Playing, Failed };

    explicit RadioPlayer(QObject* parent = nullptr);
    ~RadioPlayer() override;

    // False when the player library could not be started; then nothing plays.
    bool available() const { return mpv_ != nullptr; }
    // Takes the station, replacing the one before, and starts it.
    void play(const QString& url);
    void stop();
    const QString& url() const { return url_; }
    State state() const { return state_; }
    // Why the last stream failed, in the library's words (empty otherwise).
    const QString& failure() const { return failure_; }

signals:
    void stateChanged(kuvela::RadioPlayer::State state);

private:
    void drainEvents();
    void setState(State state);

    mpv_handle* mpv_ = nullptr;
    QString url_;
    QString failure_;
    State state_ = State::Stopped;
    qint64 entry_ = -1;     // the library's number for the station now asked for
    bool started_ = false;  // its stream was opened
};

} // namespace kuvela
