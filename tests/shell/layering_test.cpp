// The folders depend one way: common <- platform <- shell <- masterdata <- invoice <-
// portal <- archive <- documents, then samples and setup, then app. Read from the
// sources' include lines, so a header pulled the wrong way fails here before it spreads.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// A folder includes only folders of a lower rank: samples and setup share one and include
// neither each other.
const QHash<QString, int> kRank = {{"common", 0},  {"platform", 1}, {"shell", 2},    {"masterdata", 3},
                                   {"invoice", 4}, {"portal", 5},   {"archive", 6},  {"documents", 7},
                                   {"samples", 8}, {"setup", 8},    {"app", 9}};

// Folder-relative file -> the project headers it includes ("platform/browser_session.h").
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

TEST(Layering, NoFolderIncludesOneAboveIt)
{
    const QDir src(QStringLiteral(KUVELA_SOURCE_DIR "/src"));
    QStringList upward;
    size_t read = 0;
    for (const QString& folder : src.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        ASSERT_TRUE(kRank.contains(folder)) << folder.toStdString() << " has no place in the order";
        const auto includes = includesUnder(folder);
        read += includes.size();
        for (const auto& [file, header] : includes) {
            const QString to = folderOf(header);
            if (to != folder && kRank.contains(to) && kRank[to] >= kRank[folder])
                upward << file + " includes " + header;
        }
    }
    ASSERT_GT(read, 500u) << "the sources were not found";
    EXPECT_TRUE(upward.isEmpty()) << "includes up the order:\n" << upward.join(u'\n').toStdString();
}

} // namespace
