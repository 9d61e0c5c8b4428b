#pragma once
// The thinking of the start-up road, apart from the window: settings read from the
// workbook, the login test, the date list, and the runner that walks the steps.
#include "platform/workbook.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace kuvela {

constexpr int kProgramVersion = 146;

// 146 -> "1.4.6": each digit in turn, dots between.
QString versionDigits(int version);

// prgDATA B25: its number rounded to the nearest whole (a half to the even one);
// 3, 4 and 5 are kept, anything else (empty, text, 2, 6, negative) gives 2.
int decimalsSetting(const CellValue& b25);

// prgDATA B15: "S" in any case means one fixed company.
bool isSingleCompanyMode(const CellValue& b15);

// The sheets start-up reads from DATA.xlsx.
inline const QStringList kStartupSheets = {QStringLiteral("prgDATA"), QStringLiteral("kodDATA")};

// The first of `names` the workbook has no sheet for (compared without case, as the
// workbook finds its sheets), or "" when it has them all.
QString missingSheet(const Workbook& book, const QStringList& names);

// Values of one row from `firstColumn` rightwards, up to the first empty cell.
QStringList rowUntilEmpty(const Sheet& sheet, int row, int firstColumn);
// Values of one column from `firstRow` down, up to the first empty cell.
QStringList columnUntilEmpty(const Sheet& sheet, int column, int firstRow);

// The login stored in the workbook, as the texts a person sees in the cells.
struct StoredLogin {
    QString name;
    QString password;
    bool read = false; // false while no workbook was read: then nothing is accepted
};

// Exact, case-sensitive comparison of what was typed with what is stored.
bool loginAccepted(const QString& typedName, const QString& typedPassword, const StoredLogin& stored);

// Start-up walks its steps in order. The first `firstSkippable - 1` steps may not
// fail: an exception there stops the road (fatal). From then on a step that throws
// is skipped and the road goes on.
enum class StepEnd { Next, Stop, EndProgram };

struct StartupStep {
    QString name;
    std::function<StepEnd()> run;
};

struct StartupRun {
    QStringList ran;     // names of the steps that were started, in order
    QStringList failed;  // names of the skipped (failed) steps
    StepEnd end = StepEnd::Next;
    QString fatal;       // the failure of an early step, when one failed
};

StartupRun runStartupSteps(const std::vector<StartupStep>& steps, int firstSkippable = 4);

} // namespace kuvela
