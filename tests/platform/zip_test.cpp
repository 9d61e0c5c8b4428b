// Unpacking downloaded archives: unsafe entries and damaged archives write nothing.
#include "platform/download_test_support.h"
#include "platform/error_numbers.h"
#include "platform/paths.h"
#include "platform/zip_archive.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kuvela {
namespace {

namespace fs = std::filesystem;
using test::makeZip;
using test::zipFile;
using test::zipLink;

QByteArray readAll(const fs::path& p)
{
    QFile f(fromPath(p));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<yok>");
}

// Every file and folder under `folder`, relative, sorted.
QStringList tree(const fs::path& folder)
{
    QStringList out;
    const QDir base(fromPath(folder));
    QDirIterator it(base.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        out << base.relativeFilePath(it.next());
    out.sort();
    return out;
}

class ZipTest : public ::testing::Test {
protected:
    fs::path base() const { return toPath(dir_.path()); }
    fs::path archive() const { return base() / "paket.zip"; }
    fs::path target() const { return base() / "hedef"; }

    QTemporaryDir dir_;
};

TEST_F(ZipTest, ExtractAllKeepsFoldersTurkishNamesAndTheExecutableBit)
{
    makeZip(archive(), {zipFile("chromedriver", "#!/bin/sh\n", 0755), zipFile("Belgeler/Şükrü Öğün.xml", "<a>ı</a>"),
                        QJsonObject{{"name", "boş klasör/"}}, zipFile("./LICENSE", "lisans")});
    fs::create_directories(target());
    QFile old(fromPath(target() / "LICENSE"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("eski");
    old.close();

    const auto written = Zip::extractAll(archive(), target());
    EXPECT_EQ(written.size(), 3u);
    EXPECT_EQ(tree(target()), (QStringList{"Belgeler", QStringLiteral("Belgeler/Şükrü Öğün.xml"), "LICENSE",
                                           QStringLiteral("boş klasör"), "chromedriver"}));
    EXPECT_EQ(readAll(target() / toPath(QStringLiteral("Belgeler/Şükrü Öğün.xml"))), QByteArray("<a>ı</a>"));
    EXPECT_EQ(readAll(target() / "LICENSE"), QByteArray("lisans"));
    EXPECT_NE(fs::status(target() / "chromedriver").permissions() & fs::perms::owner_exec, fs::perms::none);
    EXPECT_EQ(fs::status(target() / "LICENSE").permissions() & fs::perms::owner_exec, fs::perms::none);
    EXPECT_EQ(Zip::entryNames(archive()).at(1), QStringLiteral("Belgeler/Şükrü Öğün.xml"));
}

// One unsafe entry refuses the whole archive: not even the good entries are written.
TEST_F(ZipTest, EntriesLeavingTheTargetRefuseTheArchive)
{
    struct Case {
        const char* what;
        QJsonObject bad;
        QString shownName;
    };
    const std::vector<Case> cases = {
        {"parent", zipFile("../evil", "x"), "../evil"},
        {"deep parent", zipFile("a/../../evil", "x"), "a/../../evil"},
        {"backslash parent", zipFile("..\\evil", "x"), "..\\evil"},
        {"absolute", zipFile("/tmp/evil", "x"), "/tmp/evil"},
        {"drive", zipFile("C:/evil", "x"), "C:/evil"},
        {"symlink", zipLink("link", "/etc/passwd"), "link"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(target());
        fs::remove(base() / "evil");
        makeZip(archive(), {zipFile("iyi.txt", "iyi"), c.bad});
        try {
            Zip::extractAll(archive(), target());
            ADD_FAILURE() << "not refused";
        } catch (const ZipError& e) {
            EXPECT_EQ(e.code(), error_no::ArchiveUnsafeEntry);
            EXPECT_TRUE(e.message().contains(c.shownName)) << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(fromPath(archive()))) << e.message().toStdString();
        }
        EXPECT_TRUE(tree(target()).isEmpty()) << tree(target()).join(' ').toStdString();
        EXPECT_FALSE(fs::exists(base() / "evil"));
        EXPECT_THROW(Zip::extractOne(archive(), QStringLiteral("iyi.txt"), base() / "tek.txt"), ZipError);
        EXPECT_FALSE(fs::exists(base() / "tek.txt"));
    }
}

TEST_F(ZipTest, AFolderLinkInsideTheTargetCannotLeadOut)
{
    fs::create_directories(target());
    fs::create_directories(base() / "dışarı");
    fs::create_directory_symlink(base() / "dışarı", target() / "alt");
    makeZip(archive(), {zipFile("alt/evil", "x")});
    EXPECT_THROW(Zip::extractAll(archive(), target()), ZipError);
    EXPECT_TRUE(tree(base() / "dışarı").isEmpty());
}

TEST_F(ZipTest, DamagedArchivesAreRefusedNamingTheFile)
{
    makeZip(archive(), {zipFile("bir.txt", QString(4000, u'a')), zipFile("iki.txt", QString(4000, u'b'))});
    QFile f(fromPath(archive()));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray whole = f.readAll();
    f.close();
    // Compressed data of the second entry damaged; the central directory intact.
    QByteArray badData = whole;
    const int second = int(badData.indexOf("iki.txt")) + 7;
    for (int i = second + 4; i < second + 12; ++i)
        badData[i] = char(badData[i] ^ 0x5a);

    struct Case {
        const char* what;
        QByteArray bytes;
        int code;
    };
    const std::vector<Case> cases = {
        {"truncated", whole.left(whole.size() / 2), error_no::ArchiveDamaged},
        {"tail cut", whole.left(whole.size() - 10), error_no::ArchiveDamaged},
        {"no zip", QByteArray("bu bir zip değil"), error_no::ArchiveDamaged},
        {"empty", QByteArray(), error_no::ArchiveDamaged},
        {"damaged entry", badData, error_no::ArchiveDamaged},
    };
    const fs::path bad = base() / toPath(QStringLiteral("bozuk paket ğ.zip"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(target());
        fs::create_directories(target());
        QFile out(fromPath(bad));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(c.bytes);
        out.close();
        try {
            Zip::extractAll(bad, target());
            ADD_FAILURE() << "not refused";
        } catch (const ZipError& e) {
            EXPECT_EQ(e.code(), c.code);
            EXPECT_TRUE(e.message().contains(fromPath(bad))) << e.message().toStdString();
        }
        EXPECT_TRUE(tree(target()).isEmpty()) << tree(target()).join(' ').toStdString();
    }
    try {
        Zip::extractAll(base() / "yok.zip", target());
        ADD_FAILURE() << "not refused";
    } catch (const ZipError& e) {
        EXPECT_EQ(e.code(), error_no::FileNotFound);
    }
}

TEST_F(ZipTest, ExtractOneWritesOnlyTheNamedMember)
{
    makeZip(archive(), {zipFile("chromedriver-linux64/LICENSE", "l"), zipFile("chromedriver-linux64/chromedriver", "sürücü", 0755)});
    const fs::path out = base() / "sürücüler" / "chromedriver";
    Zip::extractOne(archive(), QStringLiteral("chromedriver-linux64/chromedriver"), out);
    EXPECT_EQ(readAll(out), QString("sürücü").toUtf8());
    EXPECT_NE(fs::status(out).permissions() & fs::perms::owner_exec, fs::perms::none);
    EXPECT_EQ(tree(out.parent_path()), QStringList{"chromedriver"});

    try {
        Zip::extractOne(archive(), QStringLiteral("chromedriver"), out);
        ADD_FAILURE() << "not refused";
    } catch (const ZipError& e) {
        EXPECT_EQ(e.code(), error_no::FileNotFound);
        EXPECT_TRUE(e.message().contains(QStringLiteral("\"chromedriver\""))) << e.message().toStdString();
    }
    EXPECT_EQ(readAll(out), QString("sürücü").toUtf8());
}

} // namespace
} // namespace kuvela
