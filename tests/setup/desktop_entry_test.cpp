// The desktop shortcut's Exec value, quoted by the Desktop Entry rules, and where the
// desktop and the delivery are.
#include "platform/paths.h"
#include "setup/desktop_entry.h"
#include "setup/setup_layers.h"
#include "support/fixtures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kuvela::setup {
namespace {

TEST(DesktopEntry, ExecQuotesThePathAsOneArgument)
{
    const std::vector<std::pair<QString, QString>> cases = {
        {"/home/u/Desktop/Kuvela/kuvela", "\"/home/u/Desktop/Kuvela/kuvela\""},
        {"/home/u/Masa üstü/Kuvela/kuvela", "\"/home/u/Masa üstü/Kuvela/kuvela\""},
        {"/home/u/%50 indirim/kuvela", "\"/home/u/%%50 indirim/kuvela\""},
        {"/a\"b/kuvela", "\"/a\\\\\"b/kuvela\""},         // '"' escaped, then the backslash doubled
        {"/a$HOME`x`/kuvela", "\"/a\\\\$HOME\\\\`x\\\\`/kuvela\""},
        {"/a\\b/kuvela", "\"/a\\\\\\\\b/kuvela\""},       // one backslash becomes four
        {"/a\nb/kuvela", "\"/a\\nb/kuvela\""},
    };
    for (const auto& [path, exec] : cases)
        EXPECT_EQ(desktopExecArgument(path), exec) << path.toStdString();
}

TEST(SetupPlaces, DesktopFromTheUserFoldersDeliveryFromTheSetupUnlessGiven)
{
    QTemporaryDir config;
    QFile dirs(config.filePath(QStringLiteral("user-dirs.dirs")));
    ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
    dirs.write("XDG_DESKTOP_DIR=\"$HOME/Masa\xc3\xbcst\xc3\xbc Deneme\"\n");
    dirs.close();
    kuvela::test::ScopedEnv env;
    env.set("XDG_CONFIG_HOME", config.path());

    const SetupPlaces plain = SetupPlaces::fromArguments({QStringLiteral("kuvelakur")});
    EXPECT_EQ(fromPath(plain.desktop), QDir::homePath() + QStringLiteral("/Masaüstü Deneme"));
    EXPECT_EQ(fromPath(plain.delivery), QCoreApplication::applicationDirPath());
    EXPECT_EQ(fromPath(plain.programFolder()), QDir::homePath() + QStringLiteral("/Masaüstü Deneme/Kuvela"));

    const SetupPlaces given = SetupPlaces::fromArguments(
        {QStringLiteral("kuvelakur"), QStringLiteral("--from"), QStringLiteral("/t/teslim"), QStringLiteral("--desktop"),
         QStringLiteral("/t/Masa üstü")});
    EXPECT_EQ(fromPath(given.desktop), QStringLiteral("/t/Masa üstü"));
    EXPECT_EQ(fromPath(given.driverFolder()), QStringLiteral("/t/teslim/Kuvela-Nadrik"));
    EXPECT_EQ(fromPath(given.componentsFolder()), QStringLiteral("/t/teslim/Kuvela Bileşenleri"));
}

} // namespace
} // namespace kuvela::setup
