#pragma once
// Every message box of the program goes through here, so tests can record them
// and answer without blocking.
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace kuvela {

enum class MsgIcon { None, Information, Exclamation, Question, Critical };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MsgResult { Ok, Cancel, Yes, No, Retry };

struct MessageRequest {
    MsgIcon icon = MsgIcon::None;
    QString title;
    QString text;
    MsgButtons buttons = MsgButtons::Ok;
    MsgResult defaultButton = MsgResult::Ok;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MsgResult show(const MessageRequest& request) = 0;

    // The program-wide instance. Chosen by KUVELA_DIALOGS: "stderr" prints and
    // answers with the default button, "record" records (tests), else real boxes.
    static Dialogs& instance();
    // Replaces the instance (tests); returns the previous one.
    static std::unique_ptr<Dialogs> replace(std::unique_ptr<Dialogs> next);
};

// Shortcut in the spirit of MsgBox(text, buttons+icon, title).
MsgResult msgBox(const QString& text, MsgIcon icon = MsgIcon::None, const QString& title = QStringLiteral("Kuvela"),
                 MsgButtons buttons = MsgButtons::Ok, MsgResult defaultButton = MsgResult::Ok);

// Answers with the default button unless a scripted answer is queued; keeps every request.
class RecordingDialogs : public Dialogs {
public:
    MsgResult show(const MessageRequest& request) override;
    void queueAnswer(MsgResult answer) { answers_.push_back(answer); }
    const std::vector<MessageRequest>& shown() const { return shown_; }
    QStringList texts() const;
    void clear() { shown_.clear(); answers_.clear(); }
    // Called as each box comes, while the caller waits for it (tests look around then).
    std::function<void(const MessageRequest&)> onShow;

private:
    std::vector<MessageRequest> shown_;
    std::vector<MsgResult> answers_;
};

// Prints icon, title and text on standard error and answers with the default button.
class StderrDialogs : public Dialogs {
public:
    MsgResult show(const MessageRequest& request) override;
};

// Installs a RecordingDialogs for the lifetime of the guard (tests).
class ScopedRecordingDialogs {
public:
    ScopedRecordingDialogs();
    ~ScopedRecordingDialogs();
    RecordingDialogs& operator*() { return *rec_; }
    RecordingDialogs* operator->() { return rec_; }

private:
    RecordingDialogs* rec_;
    std::unique_ptr<Dialogs> previous_;
};

QString iconName(MsgIcon icon);

} // namespace kuvela
