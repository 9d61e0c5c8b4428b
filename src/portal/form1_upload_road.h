#pragma once
// What the single and the bulk upload share around the browser: the invoice on the
// window as the page fill takes it, the download folder, and guards for the wait.
#include "portal/invoice_page_fill.h"
#include "shell/form1.h"

#include <QObject>
#include <QPointer>
#include <vector>

class QAction;

namespace kuvela {

// The word "GÜVENLİ ÇIKIŞ" leaves in `karar`.
inline const QString kKararQuit = QStringLiteral("QUIT");

// Keeps the window usable until the upload panel is hidden, "GÜVENLİ ÇIKIŞ" is
// pressed or the window is being closed (which sets `windowClosing`).
void waitForUploadAnswer(Form1& f, bool& windowClosing);

// The window's header, buyer and lines as the page fill types them (no return references).
portal::InvoicePageInput windowInvoice(Form1& f);

// The company's download folder of the portal roads: Satış Faturaları/Temp.
QString uploadDownloadFolder(const Form1& f);

// What both uploads ask before a browser starts: the portal user and password, the
// connection, then the driver for the browser. False when the upload may not start.
bool uploadMayStart(Form1& f);

// Notices the main window being closed while a road waits for the user.
class CloseWatch : public QObject {
public:
    CloseWatch(Form1& f, bool& closing);
    ~CloseWatch() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Form1& form_;
    bool& closing_;
};

// While an upload holds the portal session, nothing else may open one: the buttons and
// the menu entry that start a portal browser stay disabled. What a handler asks of them
// meanwhile ("GÜVENLİ ÇIKIŞ" enabling "e-Arşiv") is kept and given at the end.
class BrowserButtonsLock : public QObject {
public:
    explicit BrowserButtonsLock(Form1& f);
    ~BrowserButtonsLock() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Held {
        QPointer<QWidget> widget;
        bool wanted;
    };
    std::vector<Held> widgets_;
    QPointer<QAction> action_;
    bool actionWanted_ = true;
    bool applying_ = false;
};

// True for as long as a road runs.
struct RunningFlag {
    explicit RunningFlag(bool& f) : flag(f) { flag = true; }
    ~RunningFlag() { flag = false; }
    RunningFlag(const RunningFlag&) = delete;
    RunningFlag& operator=(const RunningFlag&) = delete;
    bool& flag;
};

} // namespace kuvela
