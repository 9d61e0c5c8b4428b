#pragma once
// A main window on a fresh program folder (no workbook), its desktop, message boxes and
// program end recorded, browsers headless at a small time scale.
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "shell/form1.h"
#include "shell/program_end.h"
#include "support/fake_server.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>
#include <memory>

namespace kuvela::test {

class SampleWindowTest : public ::testing::Test {
protected:
    SampleWindowTest()
    {
        env.set("KUVELA_TIME_SCALE", QStringLiteral("0.05"));
        env.set("KUVELA_HEADLESS", QStringLiteral("1"));
        form = std::make_unique<Form1>();
        dialogs->clear();  // what start-up said on a folder without a workbook
    }

    ScopedEnv env;
    ProgramFolder home;
    ScopedRecordingProgramEnd end;
    ScopedRecordingDesktop desktop;
    ScopedRecordingDialogs dialogs;
    std::unique_ptr<Form1> form;
};

} // namespace kuvela::test
