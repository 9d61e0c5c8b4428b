// Company folder trees on a real temporary disk.
#include "platform/paths.h"
#include "shell/company_tree.h"

#include <QDir>
#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

namespace kuvela {
namespace {

namespace fs = std::filesystem;

const QStringList kExpected = {
    "Çağdaş Gıda",
    "Çağdaş Gıda/Proforma",
    "Çağdaş Gıda/Proforma/SATIŞ",
    "Çağdaş Gıda/Proforma/İADE",
    "Çağdaş Gıda/Proforma/TEVKİFAT",
    "Çağdaş Gıda/Proforma/İSTİSNA",
    "Çağdaş Gıda/Proforma/ÖZEL MATRAH",
    "Çağdaş Gıda/Proforma/İHRAÇ KAYITLI",
    "Çağdaş Gıda/Alış Faturaları",
    "Çağdaş Gıda/Satış Faturaları",
    "Çağdaş Gıda/Satış Faturaları/Temp",
    "Çağdaş Gıda/Satış Faturaları/Zip",
    "Çağdaş Gıda/Satış Faturaları/Html",
    "Çağdaş Gıda/Satış Faturaları/Xml",
    "Çağdaş Gıda/Satış Faturaları/Pdf",
};

// Every folder under Firmalarım, relative to it.
QStringList foldersUnder(const fs::path& root)
{
    QStringList out;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_directory())
            out << fromPath(fs::relative(e.path(), root));
    out.sort();
    return out;
}

QStringList sorted(QStringList l)
{
    l.sort();
    return l;
}

TEST(CompanyTree, FifteenFoldersInOrderWithTurkishNames)
{
    EXPECT_EQ(companyTreeFolders(QStringLiteral("Çağdaş Gıda")), kExpected);
    EXPECT_EQ(companiesFolderName(), QStringLiteral("Firmalarım"));
}

TEST(CompanyTree, FreshProgramFolderGetsTheWholeTree)
{
    QTemporaryDir dir;
    const fs::path home = toPath(dir.path());
    const CompanyTreeResult r = makeCompanyTree(home, QStringLiteral("Çağdaş Gıda"));
    EXPECT_EQ(r.created, 16);  // Firmalarım and the fifteen
    EXPECT_TRUE(r.failure.isEmpty());
    EXPECT_EQ(foldersUnder(home / toPath(QStringLiteral("Firmalarım"))), sorted(kExpected));
    // The names are the exact UTF-8 bytes, not a look-alike.
    EXPECT_TRUE(fs::is_directory(home / u8"Firmalarım" / u8"Çağdaş Gıda" / u8"Proforma" / u8"İHRAÇ KAYITLI"));
}

TEST(CompanyTree, HalfMadeTreeIsCompletedAndItsFilesKept)
{
    QTemporaryDir dir;
    const fs::path home = toPath(dir.path());
    const fs::path proforma = home / u8"Firmalarım" / u8"Çağdaş Gıda" / u8"Proforma";
    fs::create_directories(proforma / toPath(QStringLiteral("SATIŞ")));
    const fs::path kept = proforma / toPath(QStringLiteral("SATIŞ")) / "fatura.xlsx";
    std::ofstream(kept) << "saklı";

    const CompanyTreeResult r = makeCompanyTree(home, QStringLiteral("Çağdaş Gıda"));
    EXPECT_EQ(r.created, 12);
    EXPECT_EQ(foldersUnder(home / toPath(QStringLiteral("Firmalarım"))), sorted(kExpected));
    std::ifstream in(kept);
    std::string content;
    in >> content;
    EXPECT_EQ(content, "saklı");

    EXPECT_EQ(makeCompanyTree(home, QStringLiteral("Çağdaş Gıda")).created, 0);
}

TEST(CompanyTree, NamesThatWouldLeaveFirmalarimGetNoTree)
{
    for (const QString& bad : {QString(), QStringLiteral("."), QStringLiteral(".."), QStringLiteral("../dışarı"),
                               QStringLiteral("a/b"), QStringLiteral("a\\b"), QStringLiteral("sekme\tadı")}) {
        EXPECT_FALSE(isUsableCompanyName(bad)) << bad.toStdString();
        QTemporaryDir dir;
        const CompanyTreeResult r = makeCompanyTree(toPath(dir.path()), bad);
        EXPECT_TRUE(r.refused);
        EXPECT_EQ(r.created, 0);
        EXPECT_TRUE(QDir(dir.path()).isEmpty()) << bad.toStdString();
    }
    EXPECT_TRUE(isUsableCompanyName(QStringLiteral("A.Ş. Şube 2")));
}

TEST(CompanyTree, FileNamedLikeTheCompanyGetsNoTree)
{
    QTemporaryDir dir;
    const fs::path home = toPath(dir.path());
    fs::create_directories(home / u8"Firmalarım");
    std::ofstream(home / u8"Firmalarım" / u8"Kilit") << "x";
    const CompanyTreeResult r = makeCompanyTree(home, QStringLiteral("Kilit"));
    EXPECT_TRUE(r.refused);
    EXPECT_TRUE(fs::is_regular_file(home / u8"Firmalarım" / u8"Kilit"));
}

TEST(CompanyTree, OneFailingCompanyDoesNotStopTheOthers)
{
    QTemporaryDir dir;
    const fs::path home = toPath(dir.path());
    // A file where the first company's Proforma folder belongs makes its tree fail.
    fs::create_directories(home / u8"Firmalarım" / u8"Bozuk");
    std::ofstream(home / u8"Firmalarım" / u8"Bozuk" / u8"Proforma") << "x";

    const CompanyTreesReport report = makeCompanyTrees(
        home, {QStringLiteral("Bozuk"), QStringLiteral("../kaçak"), QStringLiteral("Sağlam"), QStringLiteral("Sağlam")});
    ASSERT_EQ(report.failures.size(), 1);
    EXPECT_TRUE(report.failures.first().contains(QStringLiteral("Proforma")));
    EXPECT_EQ(report.refused, QStringList{QStringLiteral("../kaçak")});
    EXPECT_EQ(companyTreeFolders(QStringLiteral("Sağlam")).size(), 15);
    for (const QString& rel : companyTreeFolders(QStringLiteral("Sağlam")))
        EXPECT_TRUE(fs::is_directory(home / u8"Firmalarım" / toPath(rel))) << rel.toStdString();
    EXPECT_FALSE(fs::exists(home / toPath(QStringLiteral("kaçak"))));
    EXPECT_TRUE(makeCompanyTrees(home, {}).failures.isEmpty());
}

} // namespace
} // namespace kuvela
