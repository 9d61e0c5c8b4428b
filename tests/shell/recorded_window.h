#pragma once
// A main window on a fresh program folder with no workbook (its start-up stops before
// the notice step), its desktop, clock, message boxes and program end all recorded.
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "shell/form1.h"
#include "shell/program_end.h"
#include "support/fixtures.h"

#include <filesystem>
#include <memory>

namespace kuvela::test {

class RecordedWindow {
public:
    RecordedWindow()
    {
        auto desktop = std::make_unique<RecordingDesktop>();
        desktop_ = desktop.get();
        previousDesktop_ = Desktop::replace(std::move(desktop));
        previousClock_ = Clock::replace(std::make_unique<ManualClock>(QDateTime(QDate(2024, 3, 3), QTime(9, 5))));
        std::filesystem::create_directories(programFiles());
    }
    ~RecordedWindow()
    {
        current_.reset();
        Desktop::replace(std::move(previousDesktop_));
        Clock::replace(std::move(previousClock_));
    }

    // A new window in place of the last; what start-up said is forgotten.
    Form1& open()
    {
        current_.reset();
        current_ = std::make_unique<Form1>();
        dialogs_->clear();
        return *current_;
    }
    std::filesystem::path programFiles() const { return home_ / QStringLiteral("prgDosyaları"); }

    ProgramFolder home_;
    ScopedRecordingDialogs dialogs_;
    ScopedRecordingProgramEnd end_;
    RecordingDesktop* desktop_ = nullptr;

private:
    std::unique_ptr<Desktop> previousDesktop_;
    std::unique_ptr<Clock> previousClock_;
    std::unique_ptr<Form1> current_;
};

} // namespace kuvela::test
