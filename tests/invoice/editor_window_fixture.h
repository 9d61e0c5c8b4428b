#pragma once
// A main window past its start-up on a temporary program folder, with message boxes,
// the desktop and the clock recorded, for the tests of the editor's dialogs.
#include "invoice/form1_editor_state.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "shell/form1.h"
#include "shell/program_end.h"
#include "support/fixtures.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

namespace kuvela::test {

// kodDATA's six invoice types and four extra taxes (a gap ends the tax list).
inline std::vector<SheetSpec> editorData()
{
    std::vector<SheetSpec> data = standardData();
    for (SheetSpec& s : data) {
        if (s.name != QStringLiteral("kodDATA"))
            continue;
        s.cells.insert(s.cells.end(), {{"H5", QStringLiteral("İSTİSNA")},
                                       {"H6", QStringLiteral("ÖZEL MATRAH")},
                                       {"H7", QStringLiteral("İHRAÇ KAYITLI")},
                                       {"E1", QStringLiteral("Vergi Kodu")},
                                       {"F1", QStringLiteral("Vergi Adı")},
                                       {"E2", QStringLiteral("V0021")},
                                       {"F2", QStringLiteral("BSMV")},
                                       {"E3", QStringLiteral("V0059")},
                                       {"F3", QStringLiteral("KKDF")},
                                       {"E4", QStringLiteral("V8001")},
                                       {"F4", QStringLiteral("BORSA TESCİL")},
                                       {"E5", QStringLiteral("V0071")},
                                       {"F5", QStringLiteral("ÖTV 1.LİSTE")},
                                       {"E7", QStringLiteral("V9999")},
                                       {"F7", QStringLiteral("after the gap")}});
    }
    return data;
}

class EditorWindowTest : public ::testing::Test {
protected:
    EditorWindowTest()
    {
        previousDesktop_ = Desktop::replace(kuvela::test::windowTestDesktop());
        previousClock_ = Clock::replace(std::unique_ptr<Clock>(clock_ = new ManualClock(QDateTime(QDate(2024, 3, 15), QTime(10, 0)))));
    }
    ~EditorWindowTest() override
    {
        form.reset();
        Desktop::replace(std::move(previousDesktop_));
        Clock::replace(std::move(previousClock_));
    }

    void start(const std::vector<SheetSpec>& data = editorData())
    {
        home.writeData(data);
        form = std::make_unique<Form1>();
        ASSERT_TRUE(dialogs->shown().empty()) << dialogs->texts().join('\n').toStdString();
        // Past the login panel, so the window's controls take clicks.
        form->Text25->setText(QStringLiteral("demo"));
        form->Text26->setText(QStringLiteral("1234"));
        form->Command51->click();
        ASSERT_TRUE(form->menusShown());
    }

    // An invoice of the type at `position` with these lines, totalled as the line dialog leaves it.
    void invoiceOf(int position, const std::vector<QStringList>& lines)
    {
        {
            // The type handler starts a new invoice; here the lines are laid in by hand.
            const QSignalBlocker quiet(form->Combo1);
            form->Combo1->setCurrentIndex(position);
        }
        invoice::LineGrid& grid = lineGrid(*form);
        grid.layoutForType(invoice::invoiceKindAt(position));
        grid.rows = lines;
        showLineGrid(*form);
        form->yekunal();
    }

    // The cells of a line of ListView1 by their headers.
    std::map<QString, QString> lineCells(int line) const
    {
        std::map<QString, QString> cells;
        const QTreeWidgetItem* item = form->ListView1->topLevelItem(line);
        for (int c = 0; c < form->ListView1->columnCount(); ++c)
            cells[form->ListView1->headerItem()->text(c)] = item ? item->text(c) : QStringLiteral("<no line>");
        return cells;
    }

    QStringList headers() const
    {
        QStringList titles;
        for (int c = 0; c < form->ListView1->columnCount(); ++c)
            titles << form->ListView1->headerItem()->text(c);
        return titles;
    }

    // ListView2 as "label=amount" texts.
    QStringList totals() const
    {
        QStringList rows;
        for (int i = 0; i < form->ListView2->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = form->ListView2->topLevelItem(i);
            rows << item->text(1) + u'=' + item->text(2);
        }
        return rows;
    }

    void screenshot(QWidget* w, const QString& name) const
    {
        QDir().mkpath(QStringLiteral(KUVELA_BINARY_DIR "/screenshots"));
        w->grab().save(QStringLiteral(KUVELA_BINARY_DIR "/screenshots/") + name + QStringLiteral(".png"));
    }

    ProgramFolder home;
    ScopedRecordingDialogs dialogs;
    ScopedRecordingProgramEnd end;
    ManualClock* clock_ = nullptr;
    std::unique_ptr<Form1> form;

private:
    std::unique_ptr<Desktop> previousDesktop_;
    std::unique_ptr<Clock> previousClock_;
};

} // namespace kuvela::test
