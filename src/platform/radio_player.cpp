#include "platform/radio_player.h"

#include <QMetaObject>
#include <clocale>
#include <mpv/client.h>

namespace kuvela {

namespace {

void setOption(mpv_handle* mpv, const char* name, const char* value)
{
    // An option this build of the library lacks is not worth failing for.
    mpv_set_option_string(mpv, name, value);
}

} // namespace

RadioPlayer::RadioPlayer(QObject* parent)
    : QObject(parent)
{
    // The library refuses to start under a locale whose numbers are not written the C way.
    std::setlocale(LC_NUMERIC, "C");
    mpv_ = mpv_create();
    if (!mpv_)
        return;
    setOption(mpv_, "config", "no");
    setOption(mpv_, "terminal", "no");
    setOption(mpv_, "input-default-bindings", "no");
    setOption(mpv_, "video", "no");
    setOption(mpv_, "vo", "null");
    setOption(mpv_, "ytdl", "no");
    setOption(mpv_, "idle", "yes");
    setOption(mpv_, "network-timeout", "20");
    // No sound card or sound server: play to nothing instead of giving up the stream.
    setOption(mpv_, "audio-fallback-to-null", "yes");
    if (mpv_initialize(mpv_) < 0) {
        mpv_terminate_destroy(mpv_);
        mpv_ = nullptr;
        return;
    }
    mpv_observe_property(mpv_, 0, "core-idle", MPV_FORMAT_FLAG);
    // The library wakes us from its own thread; the events are read on ours.
    mpv_set_wakeup_callback(
        mpv_,
        [](void* self) {
            auto* player = static_cast<RadioPlayer*>(self);
            QMetaObject::invokeMethod(player, [player] { player->drainEvents(); }, Qt::QueuedConnection);
        },
        this);
}

RadioPlayer::~RadioPlayer()
{
    if (mpv_) {
        mpv_set_wakeup_callback(mpv_, nullptr, nullptr);
        mpv_terminate_destroy(mpv_);
    }
}

void RadioPlayer::play(const QString& url)
{
    url_ = url;
    failure_.clear();
    if (!mpv_)
        return;
    // Events of the station before belong to it, not to this one.
    entry_ = -1;
    started_ = false;
    const QByteArray address = url.toUtf8();
    const char* command[] = {"loadfile", address.constData(), "replace", nullptr};
    mpv_node result{};
    const int error = url.isEmpty() ? MPV_ERROR_INVALID_PARAMETER : mpv_command_ret(mpv_, command, &result);
    if (error < 0) {
        // The station before does not go on in its place.
        const char* stop[] = {"stop", nullptr};
        mpv_command(mpv_, stop);
        failure_ = QString::fromUtf8(mpv_error_string(error));
        setState(State::Failed);
        return;
    }
    if (result.format == MPV_FORMAT_NODE_MAP)
        for (int i = 0; i < result.u.list->num; ++i)
            if (qstrcmp(result.u.list->keys[i], "playlist_entry_id") == 0
                && result.u.list->values[i].format == MPV_FORMAT_INT64)
                entry_ = result.u.list->values[i].u.int64;
    mpv_free_node_contents(&result);
    setState(State::Opening);
}

void RadioPlayer::stop()
{
    if (!mpv_)
        return;
    const char* command[] = {"stop", nullptr};
    mpv_command(mpv_, command);
    setState(State::Stopped);
}

void RadioPlayer::drainEvents()
{
    while (mpv_) {
        mpv_event* event = mpv_wait_event(mpv_, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        switch (event->event_id) {
        case MPV_EVENT_START_FILE:
            started_ = entry_ < 0 || static_cast<mpv_event_start_file*>(event->data)->playlist_entry_id == entry_;
            break;
        case MPV_EVENT_PLAYBACK_RESTART:
            if (started_ && state_ == State::Opening)
                setState(State::Playing);
            break;
        case MPV_EVENT_PROPERTY_CHANGE: {
            // Not idle while a stream is open: its samples are being played.
            const auto* property = static_cast<mpv_event_property*>(event->data);
            if (started_ && property->format == MPV_FORMAT_FLAG && state_ == State::Opening
                && *static_cast<int*>(property->data) == 0)
                setState(State::Playing);
            break;
        }
        case MPV_EVENT_END_FILE: {
            const auto* end = static_cast<mpv_event_end_file*>(event->data);
            if (entry_ >= 0 && end->playlist_entry_id != entry_)
                break;
            started_ = false;
            if (end->reason == MPV_END_FILE_REASON_ERROR) {
                failure_ = QString::fromUtf8(mpv_error_string(end->error));
                setState(State::Failed);
            } else if (end->reason == MPV_END_FILE_REASON_EOF && state_ != State::Stopped) {
                // A station's stream has no end: when it ends, the station went away.
                failure_ = QStringLiteral("end of stream");
                setState(state_ == State::Opening ? State::Failed : State::Stopped);
            }
            break;
        }
        default:
            break;
        }
    }
}

void RadioPlayer::setState(State state)
{
    if (state == state_)
        return;
    state_ = state;
    emit stateChanged(state);
}

} // namespace kuvela
