// The received-invoice list of the download window ("Alınanları İndir") and its closing
// ("Kapat"). The road itself lives in received_list_road; here the window lends it its
// message line, progress bar, captcha picture and code box.
#include "archive/form3.h"

#include "archive/received_list_road.h"
#include "shell/dialog_window.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/paths.h"
#include "shell/form1.h"
#include "shell/program_end.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <set>

namespace kuvela {

namespace {

const QString kYes = QStringLiteral("Yes");

// Windows whose received-invoice run is in progress: "Kapat" then asks that run to end.
std::set<const Form3*>& runningWindows()
{
    static std::set<const Form3*> running;
    return running;
}

// Notices the window being closed while the road waits for the code.
class CloseRequest : public QObject {
public:
    explicit CloseRequest(QWidget& w) : w_(w) { w_.installEventFilter(this); }
    ~CloseRequest() override { w_.removeEventFilter(this); }
    bool requested = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &w_ && event->type() == QEvent::Close)
            requested = true;
        return false;
    }

private:
    QWidget& w_;
};

// While the run lasts, the choices it was started with cannot be changed under it.
class LockedChoices {
public:
    explicit LockedChoices(Form3& f)
    {
        for (QWidget* w : std::initializer_list<QWidget*>{f.Command1, f.Command2, f.Command4, f.bList1, f.Combo1,
                                                          f.Frame7, f.cList1, f.eList1}) {
            saved_.push_back({w, w->isEnabled()});
            w->setEnabled(false);
        }
    }
    ~LockedChoices()
    {
        for (const auto& [w, enabled] : saved_)
            if (w)
                w->setEnabled(enabled);
    }

private:
    std::vector<std::pair<QPointer<QWidget>, bool>> saved_;
};

class WindowView : public ReceivedListView {
public:
    explicit WindowView(Form3& f) : f_(f) {}

    void status(const QString& text) override
    {
        f_.setStatus(text);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    void progress(int value) override
    {
        f_.ProgressBar1->show();
        f_.ProgressBar1->setValue(value);
    }
    void showCaptcha(const std::filesystem::path& picture) override
    {
        if (picture.empty())
            f_.Image1->clear();
        else
            f_.Image1->setPixmap(QPixmap(fromPath(picture)));
        f_.Image1->show();
    }
    void showCaptchaEntry() override
    {
        f_.Check2->show();
        f_.Text3->show();
    }
    std::optional<QString> waitForCaptcha() override
    {
        const CloseRequest close(f_);
        auto closed = [&] { return f_.kapat == kYes || close.requested || ProgramEnd::instance().requested(); };
        auto done = [&] { return f_.Text3->text().size() == 6 || closed(); };
        // "Kapat" is the way out while the road waits for the user.
        f_.Command3->setEnabled(true);
        f_.Text3->setFocus();
        serveUntil(done);
        f_.Command3->setEnabled(false);
        // Once the program ends every event loop returns at once: whatever the box holds
        // then is no code, and the road must not log in with it.
        if (closed() || f_.Text3->text().size() != 6)
            return std::nullopt;
        return f_.Text3->text();
    }
    void clearCaptchaEntry() override { f_.Text3->clear(); }
    bool extraDialogs() const override { return f_.Check2->isChecked(); }

private:
    Form3& f_;
};

// The window goes, and with it its choices; the next use loads it anew.
void unload(Form3& f)
{
    f.close();
    f.deleteLater();
}

} // namespace

void Form3::Command1_Click()
{
    if (runningWindows().count(this))
        return;
    Command3->setEnabled(false);
    ProgressBar1->show();
    ProgressBar1->setValue(2);
    // Every ending leaves "Kapat" usable and the bar hidden.
    auto ended = [this] {
        Command3->setEnabled(true);
        ProgressBar1->hide();
    };

    if (!Desktop::instance().isOnline()) {
        setStatus(QString());
        setStatus(received_text::kOffline);
        ended();
        return;
    }
    main().setPanel(8, QStringLiteral("ON"));
    if (kapat == kYes) {
        unload(*this);
        return;
    }
    if (!tarihAyarla()) {
        ended();
        return;
    }

    ReceivedRun run;
    {
        const LockedChoices locked(*this);
        runningWindows().insert(this);
        WindowView view(*this);
        // The run keeps its own copies: the lists may not change what it saves where.
        run = runReceivedList(view, {msg, {ayveyil, yilveay, sonTarih}, programFolder()});
        runningWindows().erase(this);
    }
    if (run.outcome != ReceivedOutcome::NoAccount) {
        user = run.user;
        pass = run.pass;
    }

    if (run.outcome == ReceivedOutcome::Closed) {
        unload(*this);
        return;
    }
    Image1->clear();
    Text3->clear();
    if (run.outcome == ReceivedOutcome::Saved || run.outcome == ReceivedOutcome::Incomplete) {
        exFilePath = fromPath(run.file);
        alisDirgetir();
        ProgressBar1->setValue(100);
        main().show();
        show();
        Command4->show();
        Check2->hide();
        Check2->setChecked(false);
        Text3->hide();
    }
    ended();
}

void Form3::Command3_Click()
{
    kapat = kYes;
    Image1->clear();
    Text3->clear();
    Command4->hide();
    setStatus(QString());
    hide();
    // A run waiting for its code ends itself through the close path; otherwise the
    // window goes now, offline too.
    if (!runningWindows().count(this))
        unload(*this);
}

} // namespace kuvela
