#pragma once
// A main window on a fresh program folder (no workbook), its desktop, message boxes and
// program end recorded, browsers headless at a small time scale.
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/webdriver_process.h"
#include "shell/form1.h"
#include "shell/program_end.h"
#include "support/fixtures.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace kuvela::test {

// Browser and driver processes below this test process.
inline int browsersOfThisTest()
{
    int n = 0;
    for (const qint64 pid : descendantProcesses(QCoreApplication::applicationPid())) {
        QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
        if (processAlive(pid) && comm.open(QIODevice::ReadOnly) && comm.readAll().contains("chrom"))
            ++n;
    }
    return n;
}

inline bool browsersGone()
{
    QElapsedTimer waited;
    waited.start();
    while (browsersOfThisTest() > 0) {
        if (waited.elapsed() > 5000)
            return false;
        QThread::msleep(50);
    }
    return true;
}

// Records every box and runs a look at the world while the box is up.
class WatchingDialogs : public RecordingDialogs {
public:
    std::function<void(const MessageRequest&)> onShow;
    MsgResult show(const MessageRequest& request) override
    {
        if (onShow)
            onShow(request);
        return RecordingDialogs::show(request);
    }
};

class SampleWindowTest : public ::testing::Test {
protected:
    SampleWindowTest()
    {
        env.set("KUVELA_TIME_SCALE", QStringLiteral("0.05"));
        env.set("KUVELA_HEADLESS", QStringLiteral("1"));
        auto desktop = std::make_unique<RecordingDesktop>();
        this->desktop = desktop.get();
        previousDesktop_ = Desktop::replace(std::move(desktop));
        form = std::make_unique<Form1>();
        auto d = std::make_unique<WatchingDialogs>();
        dialogs = d.get();
        previousDialogs_ = Dialogs::replace(std::move(d));
    }
    ~SampleWindowTest() override
    {
        form.reset();
        Dialogs::replace(std::move(previousDialogs_));
        Desktop::replace(std::move(previousDesktop_));
    }

    ScopedEnv env;
    ProgramFolder home;
    ScopedRecordingProgramEnd end;
    RecordingDesktop* desktop = nullptr;
    WatchingDialogs* dialogs = nullptr;
    std::unique_ptr<Form1> form;

private:
    std::unique_ptr<Desktop> previousDesktop_;
    std::unique_ptr<Dialogs> previousDialogs_;
};

} // namespace kuvela::test
