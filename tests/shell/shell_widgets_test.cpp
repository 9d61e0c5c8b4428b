// The folder list and the button colours that the window's roads rely on.
#include "platform/paths.h"
#include "shell/button_kind.h"
#include "shell/folder_list.h"
#include "support/fixtures.h"

#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kuvela {
namespace {

TEST(FolderList, EverySetOfThePathAnnouncesItAndAMissingFolderChangesNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Firmalarım/Işık Yazılım")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Firmalarım/Çağdaş Gıda")));
    const QString root = dir.filePath(QStringLiteral("Firmalarım"));

    FolderList list;
    int changed = 0;
    QObject::connect(&list, &FolderList::pathChanged, [&changed] { ++changed; });
    ASSERT_TRUE(list.setPath(root));
    ASSERT_TRUE(list.setPath(root));
    EXPECT_EQ(changed, 2);
    EXPECT_EQ(list.path(), root);
    QStringList shown;
    for (int i = 0; i < list.count(); ++i)
        shown << list.item(i)->text();
    EXPECT_EQ(shown, (QStringList{"..", "Çağdaş Gıda", "Işık Yazılım"}));

    EXPECT_FALSE(list.setPath(dir.filePath(QStringLiteral("Yok"))));
    EXPECT_EQ(changed, 2);
    EXPECT_EQ(list.path(), root);

    // A double click opens the folder, and ".." goes back up.
    emit list.itemDoubleClicked(list.item(2));
    EXPECT_EQ(list.path(), root + QStringLiteral("/Işık Yazılım"));
    emit list.itemDoubleClicked(list.item(0));
    EXPECT_EQ(list.path(), root);
}

TEST(ButtonKind, UsableButtonsGetTheirPastelUnusableOnesWhite)
{
    struct Case { ButtonKind kind; QColor colour; };
    const Case cases[] = {{ButtonKind::Import, {192, 255, 192}}, {ButtonKind::Save, {192, 255, 255}},
                          {ButtonKind::Delete, {255, 192, 192}}, {ButtonKind::Open, {255, 192, 255}},
                          {ButtonKind::Mail, {255, 255, 192}}, {ButtonKind::Extra, {0, 255, 255}}};
    QPushButton b;
    for (const Case& c : cases) {
        makeUnusable(&b);
        EXPECT_FALSE(b.isEnabled());
        EXPECT_EQ(backColour(&b), QColor(Qt::white));
        makeUsable(&b, c.kind);
        EXPECT_TRUE(b.isEnabled());
        EXPECT_EQ(backColour(&b), c.colour);
    }
}

} // namespace
} // namespace kuvela
