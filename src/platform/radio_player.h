#pragma once
// The radio panel's player. This build has no sound library: the player takes the
// station's address, plays nothing, and says it is not available.
#include <QString>

namespace kuvela {

class RadioPlayer {
public:
    bool available() const { return false; }
    // Takes the station, replacing the one before.
    void play(const QString& url) { url_ = url; }
    const QString& url() const { return url_; }
    // What the panel shows where nothing can play.
    static QString unavailableText();

private:
    QString url_;
};

} // namespace kuvela
