#pragma once
// A started main window on a temporary program folder, with the desktop, the clock,
// the message boxes and the program's end recorded.
#include "masterdata/masterdata_fixture.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "shell/form1.h"
#include "shell/program_end.h"
#include "support/fixtures.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QListWidget>
#include <gtest/gtest.h>
#include <memory>

namespace kuvela::test {

class WindowTest : public ::testing::Test {
protected:
    WindowTest()
    {
        auto desktop = kuvela::test::windowTestDesktop();
        desktop_ = desktop.get();
        previousDesktop_ = Desktop::replace(std::move(desktop));
        auto clock = std::make_unique<ManualClock>(QDateTime(QDate(2024, 3, 3), QTime(9, 5, 7)));
        clock_ = clock.get();
        previousClock_ = Clock::replace(std::move(clock));
    }
    ~WindowTest() override
    {
        window_.reset();
        Desktop::replace(std::move(previousDesktop_));
        Clock::replace(std::move(previousClock_));
    }

    // Starts the window and logs in with the workbook's own login, so that the
    // work area is usable; what start-up said is forgotten.
    Form1& start()
    {
        window_ = std::make_unique<Form1>();
        window_->Text25->setText(window_->prgUserName);
        window_->Text26->setText(window_->prgUserPass);
        window_->Command51->click();
        dialogs_->clear();
        return *window_;
    }

    // Chooses a company as the user does: its name in Combo4, then the focus leaves.
    void chooseCompany(const QString& name)
    {
        window_->Combo4->setEditText(name);
        window_->Combo4_LostFocus();
    }

    static QStringList items(const QListWidget* list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }

    static QStringList items(const QComboBox* box)
    {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }

    ProgramFolder home_;
    ScopedRecordingDialogs dialogs_;
    ScopedRecordingProgramEnd end_;
    RecordingDesktop* desktop_ = nullptr;
    ManualClock* clock_ = nullptr;
    std::unique_ptr<Form1> window_;

private:
    std::unique_ptr<Desktop> previousDesktop_;
    std::unique_ptr<Clock> previousClock_;
};

// The window over the master-data fixture workbook (make_masterdata.py), written
// once per test suite.
class MasterdataWindowTest : public WindowTest {
protected:
    static void SetUpTestSuite()
    {
        workbooks_ = new QTemporaryDir;
        base_ = testdata::makeMasterdataWorkbook(workbooks_->path());
        emptyCustomers_ = testdata::makeMasterdataWorkbook(workbooks_->path(), QStringLiteral("empty-customers"));
    }
    static void TearDownTestSuite() { delete workbooks_; }

    Form1& startWith(const std::filesystem::path& workbook)
    {
        EXPECT_FALSE(workbook.empty()) << "fixture workbook not written";
        std::filesystem::create_directories(home_ / QStringLiteral("Data"));
        std::filesystem::copy_file(workbook, home_ / QStringLiteral("Data/DATA.xlsx"),
                                   std::filesystem::copy_options::overwrite_existing);
        return start();
    }

    static inline QTemporaryDir* workbooks_ = nullptr;
    static inline std::filesystem::path base_, emptyCustomers_;
};

} // namespace kuvela::test
