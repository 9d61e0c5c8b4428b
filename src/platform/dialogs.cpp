#include "platform/dialogs.h"

#include <cstdio>

namespace kuvela {
namespace {

std::unique_ptr<Dialogs>& slot()
{
    static std::unique_ptr<Dialogs> current;
    return current;
}

std::unique_ptr<Dialogs> makeDefault()
{
    const QByteArray mode = qgetenv("KUVELA_DIALOGS");
    if (mode == "stderr")
        return std::make_unique<StderrDialogs>();
    if (mode == "record")
        return std::make_unique<RecordingDialogs>();
    // The program installs its window boxes at start; a library user without
    // them still gets every message, on standard error.
    return std::make_unique<StderrDialogs>();
}

} // namespace

Dialogs& Dialogs::instance()
{
    auto& s = slot();
    if (!s)
        s = makeDefault();
    return *s;
}

std::unique_ptr<Dialogs> Dialogs::replace(std::unique_ptr<Dialogs> next)
{
    auto& s = slot();
    auto previous = std::move(s);
    s = std::move(next);
    return previous;
}

MsgResult msgBox(const QString& text, MsgIcon icon, const QString& title, MsgButtons buttons, MsgResult defaultButton)
{
    return Dialogs::instance().show({icon, title, text, buttons, defaultButton});
}

QString iconName(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Information: return QStringLiteral("information");
    case MsgIcon::Exclamation: return QStringLiteral("exclamation");
    case MsgIcon::Question: return QStringLiteral("question");
    case MsgIcon::Critical: return QStringLiteral("critical");
    case MsgIcon::None: break;
    }
    return QStringLiteral("none");
}

MsgResult RecordingDialogs::show(const MessageRequest& request)
{
    shown_.push_back(request);
    if (onShow)
        onShow(request);
    if (!answers_.empty()) {
        const MsgResult a = answers_.front();
        answers_.erase(answers_.begin());
        return a;
    }
    return request.defaultButton;
}

QStringList RecordingDialogs::texts() const
{
    QStringList out;
    for (const auto& r : shown_)
        out << r.text;
    return out;
}

MsgResult StderrDialogs::show(const MessageRequest& r)
{
    const QByteArray line = QStringLiteral("[msgbox] %1 | %2 | %3\n").arg(iconName(r.icon), r.title, r.text).toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
    return r.defaultButton;
}

ScopedRecordingDialogs::ScopedRecordingDialogs()
{
    auto rec = std::make_unique<RecordingDialogs>();
    rec_ = rec.get();
    previous_ = Dialogs::replace(std::move(rec));
}

ScopedRecordingDialogs::~ScopedRecordingDialogs()
{
    Dialogs::replace(std::move(previous_));
}

} // namespace kuvela
