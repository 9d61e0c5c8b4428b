#include "shell/startup.h"

#include "common/decimal.h"
#include "common/regional.h"

#include <exception>

namespace kuvela {

QString versionDigits(int version)
{
    const QString digits = QString::number(version);
    QStringList parts;
    for (const QChar c : digits)
        parts << QString(c);
    return parts.join(QLatin1Char('.'));
}

int decimalsSetting(const CellValue& b25)
{
    std::optional<Decimal> value;
    switch (b25.kind) {
    case CellValue::Kind::Number: value = Decimal::tryFromDouble(b25.number); break;
    case CellValue::Kind::Text: value = regionalConvert(b25.text); break;
    default: break;
    }
    if (!value)
        return 2;
    const Decimal whole = value->roundHalfEven(0);
    for (const int kept : {3, 4, 5})
        if (whole == Decimal(kept))
            return kept;
    return 2;
}

bool isSingleCompanyMode(const CellValue& b15)
{
    return turkishUpper(b15.toText()) == QLatin1String("S");
}

namespace {
// Cell values from (row, column) onwards in one direction, up to the first empty cell.
QStringList untilEmpty(const Sheet& sheet, int row, int column, int rowStep, int columnStep)
{
    QStringList out;
    for (;; row += rowStep, column += columnStep) {
        const QString t = sheet.text(row, column);
        if (t.isEmpty())
            return out;
        out << t;
    }
}
} // namespace

QStringList rowUntilEmpty(const Sheet& sheet, int row, int firstColumn)
{
    return untilEmpty(sheet, row, firstColumn, 0, 1);
}

QStringList columnUntilEmpty(const Sheet& sheet, int column, int firstRow)
{
    return untilEmpty(sheet, firstRow, column, 1, 0);
}

QString missingSheet(const Workbook& book, const QStringList& names)
{
    const QStringList present = book.sheetNames();
    for (const QString& name : names)
        if (!present.contains(name, Qt::CaseInsensitive))
            return name;
    return {};
}

bool loginAccepted(const QString& typedName, const QString& typedPassword, const StoredLogin& stored)
{
    return stored.read && typedName == stored.name && typedPassword == stored.password;
}

StartupRun runStartupSteps(const std::vector<StartupStep>& steps, int firstSkippable)
{
    StartupRun run;
    for (size_t i = 0; i < steps.size(); ++i) {
        const StartupStep& step = steps[i];
        run.ran << step.name;
        const bool skippable = int(i) + 1 >= firstSkippable;
        StepEnd end = StepEnd::Next;
        try {
            end = step.run();
        } catch (const WorkbookError& e) {
            if (!skippable) {
                run.fatal = e.message();
                run.end = StepEnd::EndProgram;
                return run;
            }
            run.failed << step.name;
            continue;
        } catch (const std::exception& e) {
            if (!skippable) {
                run.fatal = QString::fromLocal8Bit(e.what());
                run.end = StepEnd::EndProgram;
                return run;
            }
            run.failed << step.name;
            continue;
        }
        if (end != StepEnd::Next) {
            run.end = end;
            return run;
        }
    }
    return run;
}

} // namespace kuvela
