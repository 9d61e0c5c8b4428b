// Start-up decisions that need no window: settings, login, dates, the step runner.
#include "shell/startup.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace kuvela {
namespace {

CellValue number(double v)
{
    CellValue c;
    c.kind = CellValue::Kind::Number;
    c.number = v;
    return c;
}

CellValue text(const QString& t)
{
    CellValue c;
    c.kind = CellValue::Kind::Text;
    c.text = t;
    return c;
}

TEST(Decimals, KeepsThreeToFiveAndRoundsHalvesToEven)
{
    struct Case { CellValue cell; int dc; };
    const Case cases[] = {
        {number(3), 3}, {number(4), 4}, {number(5), 5},
        {number(2), 2}, {number(6), 2}, {number(0), 2}, {number(1), 2}, {number(-3), 2}, {number(-4), 2},
        {number(4.5), 4}, {number(4.6), 5}, {number(3.5), 4}, {number(2.5), 2}, {number(5.5), 2}, {number(4.4999), 4},
        {number(4e30), 2},
        {text(QStringLiteral("4")), 4}, {text(QStringLiteral("4,5")), 4}, {text(QStringLiteral(" 5 ")), 5},
        {text(QStringLiteral("abc")), 2}, {text(QStringLiteral("4.5")), 2}, {text(QString()), 2},
        {CellValue{}, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(decimalsSetting(c.cell), c.dc) << c.cell.toText().toStdString();

    CellValue truth;
    truth.kind = CellValue::Kind::Bool;
    truth.boolean = true;
    EXPECT_EQ(decimalsSetting(truth), 2);
}

TEST(Settings, SingleCompanyModeIsAnSInAnyCase)
{
    EXPECT_TRUE(isSingleCompanyMode(text(QStringLiteral("S"))));
    EXPECT_TRUE(isSingleCompanyMode(text(QStringLiteral("s"))));
    EXPECT_FALSE(isSingleCompanyMode(text(QStringLiteral(" s"))));
    EXPECT_FALSE(isSingleCompanyMode(text(QStringLiteral("SS"))));
    EXPECT_FALSE(isSingleCompanyMode(CellValue{}));
}

TEST(Settings, VersionShowsEachDigitWithDots)
{
    EXPECT_EQ(versionDigits(146), QStringLiteral("1.4.6"));
    EXPECT_EQ(versionDigits(kProgramVersion), QStringLiteral("1.4.6"));
    EXPECT_EQ(versionDigits(207), QStringLiteral("2.0.7"));
}

TEST(Login, ExactTextsOfAReadWorkbookOnly)
{
    const StoredLogin stored{QStringLiteral("demo"), QStringLiteral("1234"), true};
    struct Case { const char* name; const char* password; bool accepted; };
    const Case cases[] = {
        {"demo", "1234", true},
        {"Demo", "1234", false},
        {"demo ", "1234", false},
        {"demo", "1234,0", false},
        {"demo", "", false},
        {"", "", false},
        {"1234", "demo", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(loginAccepted(QString::fromUtf8(c.name), QString::fromUtf8(c.password), stored), c.accepted)
            << c.name << " / " << c.password;

    // Turkish letters compare as they are, case counting.
    const StoredLogin turkish{QStringLiteral("İlkay"), QStringLiteral("şifre"), true};
    EXPECT_TRUE(loginAccepted(QStringLiteral("İlkay"), QStringLiteral("şifre"), turkish));
    EXPECT_FALSE(loginAccepted(QStringLiteral("ilkay"), QStringLiteral("şifre"), turkish));

    // Nothing was read from a workbook: not even empty boxes get in.
    EXPECT_FALSE(loginAccepted(QString(), QString(), StoredLogin{}));
}

TEST(StepRunner, EarlyFailureIsFatalLaterFailureIsSkipped)
{
    QStringList ran;
    auto step = [&ran](const char* name, StepEnd end = StepEnd::Next, bool fail = false) {
        return StartupStep{QString::fromLatin1(name), [&ran, name, end, fail] {
                               ran << QString::fromLatin1(name);
                               if (fail)
                                   throw std::runtime_error("bozuk");
                               return end;
                           }};
    };

    const StartupRun skipped =
        runStartupSteps({step("1"), step("2"), step("3"), step("4", StepEnd::Next, true), step("5")});
    EXPECT_EQ(ran, (QStringList{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(skipped.failed, QStringList{"4"});
    EXPECT_EQ(skipped.end, StepEnd::Next);
    EXPECT_TRUE(skipped.fatal.isEmpty());

    ran.clear();
    const StartupRun fatal = runStartupSteps({step("1"), step("2", StepEnd::Next, true), step("3"), step("4")});
    EXPECT_EQ(ran, (QStringList{"1", "2"}));
    EXPECT_EQ(fatal.end, StepEnd::EndProgram);
    EXPECT_EQ(fatal.fatal, QStringLiteral("bozuk"));

    ran.clear();
    const StartupRun stopped = runStartupSteps({step("1"), step("2"), step("3"), step("4", StepEnd::Stop), step("5")});
    EXPECT_EQ(ran, (QStringList{"1", "2", "3", "4"}));
    EXPECT_EQ(stopped.ran, (QStringList{"1", "2", "3", "4"}));
    EXPECT_EQ(stopped.end, StepEnd::Stop);
}

} // namespace
} // namespace kuvela
