// The folders depend one way: platform <- shell <- subsystems. Read from the sources'
// include lines, so a header pulled the wrong way fails here before it spreads.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace {

const QStringList kSubsystems = {"invoice", "portal", "masterdata", "archive", "documents", "samples"};

// Folder-relative file -> the project headers it includes ("portal/browser_session.h").
std::vector<std::pair<QString, QString>> includesUnder(const QString& folder)
{
    std::vector<std::pair<QString, QString>> found;
    const QDir src(QStringLiteral(KUVELA_SOURCE_DIR "/src"));
    static const QRegularExpression include(QStringLiteral(R"re(^\s*#\s*include\s+"([^"]+)")re"),
                                            QRegularExpression::MultilineOption);
    QDirIterator it(src.filePath(folder), {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        const QString text = QString::fromUtf8(f.readAll());
        for (auto m = include.globalMatch(text); m.hasNext();)
            found.emplace_back(src.relativeFilePath(path), m.next().captured(1));
    }
    return found;
}

QString folderOf(const QString& header)
{
    return header.section(u'/', 0, 0);
}

TEST(Layering, PlatformAndCommonIncludeNothingAboveThem)
{
    for (const QString& folder : {QStringLiteral("platform"), QStringLiteral("common")})
        for (const auto& [file, header] : includesUnder(folder)) {
            const QString from = folderOf(header);
            EXPECT_TRUE(from == "platform" || from == "common" || !header.contains(u'/'))
                << file.toStdString() << " includes " << header.toStdString();
        }
}

TEST(Layering, ShellIncludesNoSubsystem)
{
    const auto includes = includesUnder(QStringLiteral("shell"));
    ASSERT_GT(includes.size(), 50u) << "the shell's sources were not found";
    for (const auto& [file, header] : includes) {
        EXPECT_FALSE(kSubsystems.contains(folderOf(header))) << file.toStdString() << " includes " << header.toStdString();
    }
}

} // namespace
