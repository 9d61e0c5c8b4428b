// The desktop shortcut's Exec value, quoted by the Desktop Entry rules.
#include "setup/desktop_entry.h"
#include "support/fixtures.h"

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

TEST(DesktopEntry, TextHasTheNameCommentAndNothingElseToStart)
{
    EXPECT_EQ(desktopEntryText(QStringLiteral("Kuvela"), QStringLiteral("eBelge Movraanı"), QStringLiteral("/d/Kuvela/kuvela")),
              QStringLiteral("[Desktop Entry]\nType=Application\nVersion=1.0\nName=Kuvela\nComment=eBelge Movraanı\n"
                             "Exec=\"/d/Kuvela/kuvela\"\nTerminal=false\n"));
}

} // namespace
} // namespace kuvela::setup
