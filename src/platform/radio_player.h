#pragma once
// The radio panel's player. Where Qt Multimedia is built in it plays the stream;
// elsewhere it keeps the station's address, plays nothing, and says so.
#include <QString>
#include <memory>

namespace kuvela {

class RadioPlayer {
public:
    RadioPlayer();
    ~RadioPlayer();
    RadioPlayer(const RadioPlayer&) = delete;
    RadioPlayer& operator=(const RadioPlayer&) = delete;

    bool available() const;
    // Plays the station, replacing the one before; an empty address plays nothing.
    void play(const QString& url);
    const QString& url() const { return url_; }
    // What the panel shows where nothing can play.
    static QString unavailableText();

private:
    struct Engine;
    QString url_;
    std::unique_ptr<Engine> engine_;
};

} // namespace kuvela
