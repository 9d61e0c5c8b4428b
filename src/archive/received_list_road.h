#pragma once
// The received-invoice road on the interactive tax office site: the company's account,
// the captcha the user reads off the window, four query windows of the month with their
// pages, and the list saved as a workbook. The window it runs in is reached only through
// ReceivedListView, so the road knows no widget.
#include "archive/received_list.h"

#include <QString>
#include <filesystem>
#include <optional>

namespace kuvela {

class ReceivedListView {
public:
    virtual ~ReceivedListView() = default;
    // The window's message line (status bar panel 2).
    virtual void status(const QString& text) = 0;
    virtual void progress(int value) = 0;
    // The captcha picture in `Image1`; an empty path clears it.
    virtual void showCaptcha(const std::filesystem::path& picture) = 0;
    // `Check2` and `Text3` visible.
    virtual void showCaptchaEntry() = 0;
    // Lets the user type until `Text3` holds exactly six characters, and gives them;
    // nullopt when the user closed the window or pressed "Kapat" meanwhile, or the
    // program is ending.
    virtual std::optional<QString> waitForCaptcha() = 0;
    virtual void clearCaptchaEntry() = 0;
    // "Extra Diyalog Mesajı Ver" ticked.
    virtual bool extraDialogs() const = 0;
};

struct ReceivedListJob {
    QString company; // `msg`, also the company's folder name
    ReceivedPeriod period;
    std::filesystem::path programFolder;
};

enum class ReceivedOutcome { Saved, Incomplete, NoAccount, LoginFailed, Closed, Failed };

struct ReceivedRun {
    ReceivedOutcome outcome = ReceivedOutcome::Failed;
    int invoices = 0;
    int failedWindows = 0;
    int errorNo = 0;
    std::filesystem::path file; // set once saved (`exFilePath`)
    QString user, pass;         // the account used (`user`, `pass`)
};

// The tax office site's address, setting "taxoffice/url" (KUVELA_TAXOFFICE_URL).
QString taxOfficeUrl();

// Runs the road from the account look-up to the saved list. Texts go to view.status;
// the browser is quit and an unsaved list dropped whatever way the road ends.
ReceivedRun runReceivedList(ReceivedListView& view, const ReceivedListJob& job);

} // namespace kuvela
