// Filing of downloaded packages on a temporary folder tree, the already-filed test and
// the report of a cancelled invoice.
#include "archive/invoice_filing.h"
#include "platform/download_test_support.h"
#include "platform/paths.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

namespace kuvela {
namespace {

using test::makeZip;
using test::zipFile;
using test::zipLink;
namespace fs = std::filesystem;

class FilingTest : public ::testing::Test {
protected:
    FilingTest()
    {
        folders_.root = toPath(dir_.path()) / toPath(QStringLiteral("Firmalarım/Çağdaş/Satış Faturaları"));
        for (const fs::path& p : {folders_.temp(), folders_.html(), folders_.xml(), folders_.zip()})
            fs::create_directories(p);
        row_ = {"GIB2024000000001", "1234567890", "05-02-2024", "ABC LTD", "SATIŞ", "icon-ok", "----------"};
    }

    void package(const QString& name, const QJsonArray& entries = {})
    {
        const QString stem = name.chopped(4);
        makeZip(folders_.temp() / toPath(name),
                entries.isEmpty() ? QJsonArray{zipFile(stem + ".html", "<html>" + stem + "</html>"),
                                               zipFile(stem + ".xml", "<x>" + stem + "</x>")}
                                  : entries);
    }

    // A failure that kept the package in Zip as `kept`: the text gives the cause only, Temp is empty.
    void expectKeptInZip(const FilingResult& r, FilingResult::Kind kind, const QString& cause, const QString& kept)
    {
        EXPECT_EQ(r.kind, kind);
        EXPECT_EQ(filingFailureText(row_.gibFatNo, r),
                  QStringLiteral("GIB2024000000001 nolu fatura indirilemedi: ") + cause + QStringLiteral("; paket Zip klasöründe saklandı."));
        EXPECT_EQ(folderFileNames(folders_.zip()), QStringList{kept});
        EXPECT_TRUE(folderFileNames(folders_.temp()).isEmpty());
        EXPECT_FALSE(fs::exists(folders_.xml() / ".dosyalaniyor.tmp"));
    }

    static std::string read(const fs::path& p)
    {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    QTemporaryDir dir_;
    SalesFolders folders_;
    PortalInvoiceRow row_;
};

TEST_F(FilingTest, UpperCaseExtensionFiledUnderItsNames)
{
    package(QStringLiteral("E2F1C3D4A5B6C7D8E9F0.ZIP"));
    std::ofstream(folders_.temp() / "notlar.txt") << "başka bir indirme";
    std::ofstream(folders_.html() / ".dosyalaniyor.tmp") << "yarım"; // left by a filing cut short
    const FilingResult r = fileInvoicePackage(folders_, row_, FilingWindow::DownloadWindow, PackagePick::First);
    ASSERT_TRUE(r.filed()) << r.failedCopies.join("; ").toStdString();
    const QString stem = QStringLiteral("GIB2024000000001 05-02-2024  1234567890 ABC LTD             -");
    EXPECT_EQ(read(folders_.html() / toPath(stem + "SATIŞ-D4A5B6C7D8E9F0.html")), "<html>E2F1C3D4A5B6C7D8E9F0</html>");
    EXPECT_EQ(read(folders_.xml() / toPath(stem + "SATIŞ-D4A5B6C7D8E9F0.xml")), "<x>E2F1C3D4A5B6C7D8E9F0</x>");
    EXPECT_TRUE(fs::exists(folders_.zip() / toPath(stem + "SATIŞ-D4A5B6C7D8E9F0.ZIP")));
    EXPECT_TRUE(folderFileNames(folders_.temp()).isEmpty());
    // The row keeps its filed widths; filing again adds no second blank.
    EXPECT_EQ(row_.gibFatVN, QStringLiteral(" 1234567890"));
    EXPECT_EQ(row_.gibFatUn.size(), 20);
    package(QStringLiteral("E2F1C3D4A5B6C7D8E9F0.ZIP"));
    ASSERT_TRUE(fileInvoicePackage(folders_, row_, FilingWindow::DownloadWindow, PackagePick::First).filed());
    EXPECT_EQ(folderFileNames(folders_.html()).size(), 1);  // replaced, not doubled
}

TEST_F(FilingTest, FirstOrLastPackageByWindowAndTheMainWindowsTypeText)
{
    for (auto [pick, window, expected] :
         {std::tuple{PackagePick::First, FilingWindow::DownloadWindow, QStringLiteral("-SATIŞ-AAAAAAAAAAAAAA.html")},
          std::tuple{PackagePick::Last, FilingWindow::MainWindow, QStringLiteral("-----------SATIŞ-BBBBBBBBBBBBBB.html")}}) {
        package(QStringLiteral("AAAAAAAAAAAAAA.zip"));
        package(QStringLiteral("bbbbbbbbbbbbbbbb.zip").replace('b', 'B'));
        PortalInvoiceRow row = row_;
        const FilingResult r = fileInvoicePackage(folders_, row, window, pick);
        ASSERT_TRUE(r.filed());
        const QStringList html = folderFileNames(folders_.html());
        ASSERT_EQ(html.size(), 1);
        EXPECT_TRUE(html.front().endsWith(expected)) << html.front().toStdString();
        EXPECT_TRUE(folderFileNames(folders_.temp()).isEmpty());
        emptyFolder(folders_.html());
    }
}

TEST_F(FilingTest, NoPackageUnsafePackagesAndMisnamedMembers)
{
    // Nothing there: nothing filed, a partial download left alone.
    std::ofstream(folders_.temp() / "x.zip.crdownload") << "yarım";
    FilingResult r = fileInvoicePackage(folders_, row_, FilingWindow::DownloadWindow, PackagePick::First);
    EXPECT_EQ(r.kind, FilingResult::Kind::NoPackage);
    EXPECT_EQ(filingFailureText(row_.gibFatNo, r), QStringLiteral("GIB2024000000001 nolu fatura indirilemedi: paket gelmedi."));
    EXPECT_EQ(folderFileNames(folders_.temp()), QStringList{"x.zip.crdownload"});
    emptyFolder(folders_.temp());

    // Packages refused whole: an unsafe entry or an unreadable package. Each is kept in
    // Zip as "<number>-<tail>.zip" and nothing of it is unpacked.
    struct Unsafe {
        const char* name;
        QJsonArray entries; // none: not a zip at all
        const char* reason;
    };
    const char* const out = "pakette güvensiz bir girdi var (";
    for (const Unsafe& u : {Unsafe{"KOTU.zip", {zipFile("KOTU.html", "a"), zipFile("../evil.html", "kötü")}, "../evil.html)"},
                            Unsafe{"DERIN.zip", {zipFile("DERIN.html", "a"), zipFile("a/../../evil.html", "k")}, "a/../../evil.html)"},
                            Unsafe{"KOK.zip", {zipFile("KOK.html", "a"), zipFile("/evil.html", "k")}, "/evil.html)"},
                            Unsafe{"TERS.zip", {zipFile("TERS.html", "a"), zipFile("\\evil.html", "k")}, "\\evil.html)"},
                            Unsafe{"SURUCU.zip", {zipFile("SURUCU.html", "a"), zipFile("C:evil.html", "k")}, "C:evil.html)"},
                            Unsafe{"BOS.zip", {zipFile("BOS.html", "a"), zipFile("", "k")}, ")"},
                            Unsafe{"BAG.zip", {zipFile("BAG.html", "a"), zipFile("BAG.xml", "b"), zipLink("BAG.txt", "/etc/passwd")},
                                   "BAG.txt)"},
                            Unsafe{"BOZUK.zip", {}, nullptr}}) {
        SCOPED_TRACE(u.name);
        if (u.entries.isEmpty())
            std::ofstream(folders_.temp() / u.name) << "zip değil";
        else
            package(QString::fromUtf8(u.name), u.entries);
        r = fileInvoicePackage(folders_, row_, FilingWindow::DownloadWindow, PackagePick::First);
        expectKeptInZip(r, FilingResult::Kind::Unsafe,
                        u.reason ? QString::fromUtf8(out) + QString::fromUtf8(u.reason) : QStringLiteral("paket bozuk ya da eksik"),
                        QStringLiteral("GIB2024000000001-") + QString::fromUtf8(u.name));
        EXPECT_FALSE(fs::exists(folders_.root / "evil.html"));
        EXPECT_FALSE(fs::exists(folders_.temp().parent_path() / "evil.html"));
        EXPECT_TRUE(folderFileNames(folders_.html()).isEmpty());
        emptyFolder(folders_.zip());
    }

    // ".." inside a name is a name; other entries, in sub-folders too, stay in the package.
    package(QStringLiteral("fatura..zip"), {zipFile("fatura..html", "<html>ana</html>"), zipFile("fatura..xml", "<x/>"),
                                            zipFile("ekler/fatura..html", "kopya"), zipFile("ekler/not.txt", "not")});
    r = fileInvoicePackage(folders_, row_, FilingWindow::DownloadWindow, PackagePick::First);
    ASSERT_TRUE(r.filed()) << filingFailureText(row_.gibFatNo, r).toStdString();
    const QStringList html = folderFileNames(folders_.html());
    ASSERT_EQ(html.size(), 1);
    EXPECT_TRUE(html[0].endsWith("-SATIŞ-fatura..html")) << html[0].toStdString();
    EXPECT_EQ(read(folders_.html() / toPath(html[0])), "<html>ana</html>");
    EXPECT_TRUE(folderFileNames(folders_.temp()).isEmpty());
    EXPECT_FALSE(fs::exists(folders_.temp() / "ekler"));
    for (const fs::path& p : {folders_.html(), folders_.xml(), folders_.zip()})
        emptyFolder(p);

    // Members not named like the package: a failure, never a quiet success.
    package(QStringLiteral("PAKET.zip"), {zipFile("baska.html", "a"), zipFile("baska.xml", "b")});
    r = fileInvoicePackage(folders_, row_, FilingWindow::DownloadWindow, PackagePick::First);
    expectKeptInZip(r, FilingResult::Kind::CopyFailed,
                    QStringLiteral("dosyalar yazılamadı (Html: pakette PAKET.html yok, Xml: pakette PAKET.xml yok)"),
                    QStringLiteral("GIB2024000000001-PAKET.zip"));
}

// Copies that cannot be written: the package is kept, the text gives the cause only.
TEST_F(FilingTest, FailedCopiesKeepThePackageAndSayWhy)
{
    // A type text too long for any file name: every target fails, the short name holds.
    row_.gibBelTur = QStringLiteral("SATIŞ-") + QString(240, u'İ');
    package(QStringLiteral("E2F1C3D4A5B6C7D8E9F0.zip"));
    FilingResult r = fileInvoicePackage(folders_, row_, FilingWindow::MainWindow, PackagePick::Last);
    const QString kept = QStringLiteral("GIB2024000000001-D4A5B6C7D8E9F0.zip");
    expectKeptInZip(r, FilingResult::Kind::CopyFailed, QStringLiteral("dosya adı çok uzun"), kept);
    EXPECT_EQ(read(folders_.zip() / toPath(kept)).substr(0, 2), "PK");
    EXPECT_TRUE(folderFileNames(folders_.html()).isEmpty());
    EXPECT_TRUE(folderFileNames(folders_.xml()).isEmpty());
    emptyFolder(folders_.zip());

    // Html or Xml cannot take a file, or a folder sits at the Xml copy's name: that cause, no paths, nothing passing for filed.
    row_.gibBelTur = QStringLiteral("SATIŞ");
    const fs::path xmlTarget = folders_.xml() / toPath(invoiceFileName(row_, FilingWindow::DownloadWindow, "E2F1C3D4A5B6C7D8E9F0.zip", "xml"));
    for (auto [broken, other, cause] :
         {std::tuple{folders_.html(), folders_.xml(), "Html: klasör açılamadı"}, {folders_.xml(), folders_.html(), "Xml: klasör açılamadı"},
          {xmlTarget, folders_.html(), "Xml: dosya yazılamadı"}}) {
        fs::remove_all(broken);
        broken == xmlTarget ? void(fs::create_directories(broken)) : void(std::ofstream(broken) << "klasör değil");
        package(QStringLiteral("E2F1C3D4A5B6C7D8E9F0.zip"));
        r = fileInvoicePackage(folders_, row_, FilingWindow::DownloadWindow, PackagePick::First);
        expectKeptInZip(r, FilingResult::Kind::CopyFailed, QStringLiteral("dosyalar yazılamadı (%1)").arg(cause), kept);
        EXPECT_TRUE(folderFileNames(other).isEmpty());
        fs::remove(broken);
        emptyFolder(folders_.zip());
    }

    // A copy the rollback cannot take back is said, and never passes for filed: Html goes in last.
    detail::setUndoCopyForTests([](const fs::path&) { return false; });
    fs::create_directories(xmlTarget);
    package(QStringLiteral("E2F1C3D4A5B6C7D8E9F0.zip"));
    r = fileInvoicePackage(folders_, row_, FilingWindow::DownloadWindow, PackagePick::First);
    detail::setUndoCopyForTests({});
    EXPECT_TRUE(filingFailureText(row_.gibFatNo, r).contains("(Xml: dosya yazılamadı, Zip: kopya geri alınamadı)"));

    // Zip cannot take it: no copy stays, nothing is deleted, the package stays in Temp.
    fs::remove_all(folders_.zip());
    std::ofstream(folders_.zip()) << "klasör değil";
    package(QStringLiteral("E2F1C3D4A5B6C7D8E9F0.zip"));
    r = fileInvoicePackage(folders_, row_, FilingWindow::DownloadWindow, PackagePick::First);
    EXPECT_TRUE(r.keptAs.isEmpty());
    EXPECT_TRUE(folderFileNames(folders_.html()).isEmpty());
    EXPECT_TRUE(filingFailureText(row_.gibFatNo, r).endsWith("; paket Temp klasöründe bırakıldı."));
    EXPECT_TRUE(folderFileNames(folders_.temp()).contains("E2F1C3D4A5B6C7D8E9F0.zip"));

    // Emptying Temp before "İndir" keeps it in Zip under its XML's number, once Zip takes it.
    package(QStringLiteral("E2F1C3D4A5B6C7D8E9F0.zip"),
            {zipFile("E2F1C3D4A5B6C7D8E9F0.xml", "<Invoice xmlns:cbc=\"urn:b\"><cac><cbc:ID>1234567890</cbc:ID></cac>"
                                                 "<cbc:ID>GIB2024000000009</cbc:ID></Invoice>")});
    EXPECT_FALSE(emptyTempBeforeDownload(folders_));
    EXPECT_TRUE(folderFileNames(folders_.temp()).contains("E2F1C3D4A5B6C7D8E9F0.zip"));
    fs::remove(folders_.zip());
    EXPECT_TRUE(emptyTempBeforeDownload(folders_));
    EXPECT_EQ(folderFileNames(folders_.zip()), QStringList{"GIB2024000000009-D4A5B6C7D8E9F0.zip"});

    // Kept beside what Zip holds, by its XML's number or, none read, by its own name (no entries: not a zip).
    const QJsonArray second{zipFile("E2F1C3D4A5B6C7D8E9F0.xml", "<Invoice><ID>GIB2024000000009</ID><Note/></Invoice>")};
    for (auto [name, entries, filing, keptAs] :
         {std::tuple{"E2F1C3D4A5B6C7D8E9F0.zip", second, false, "GIB2024000000009-D4A5B6C7D8E9F0 (2).zip"},
          {"E2F1C3D4A5B6C7D8E9F0 (1).zip", second, false, "GIB2024000000009-B6C7D8E9F0 (1).zip"},
          {"GIB2024000000001-BOZUK.zip", QJsonArray{}, false, "GIB2024000000001-BOZUK.zip"},
          {"KIMLIKSIZ.zip", QJsonArray{zipFile("KIMLIKSIZ.xml", "<Invoice><Note/></Invoice>")}, false, "KIMLIKSIZ.zip"},
          {"BOZUK.zip", QJsonArray{zipLink("BOZUK.xml", "/etc/passwd")}, true, "GIB2024000000001-BOZUK (2).zip"}}) {
        SCOPED_TRACE(name);
        const qsizetype before = folderFileNames(folders_.zip()).size();
        entries.isEmpty() ? void(std::ofstream(folders_.temp() / name) << "zip değil") : package(QString::fromUtf8(name), entries);
        EXPECT_TRUE(filing ? fileInvoicePackage(folders_, row_, FilingWindow::DownloadWindow, PackagePick::First).keptAs == keptAs
                           : emptyTempBeforeDownload(folders_));
        EXPECT_TRUE(folderFileNames(folders_.zip()).contains(keptAs) && folderFileNames(folders_.zip()).size() == before + 1);
    }
}

TEST_F(FilingTest, AlreadyFiledByItsNumberInAnyCase)
{
    EXPECT_FALSE(isAlreadyFiled(folders_.root / "YokBöyle", "GIB2024000000001"));
    EXPECT_FALSE(isAlreadyFiled(folders_.html(), "GIB2024000000001"));
    std::ofstream(folders_.html() / "gib2024000000001 05-02-2024.html") << "x";
    std::ofstream(folders_.html() / toPath("GIB2024000000003-İPTAL.txt")) << "x";
    for (auto [no, filed] : {std::pair{"GIB2024000000001", true}, std::pair{"GIB2024000000003", true},
                             std::pair{"GIB2024000000002", false}, std::pair{"", false}})
        EXPECT_EQ(isAlreadyFiled(folders_.html(), no), filed) << no;
    EXPECT_EQ(alreadyFiledText("GIB2024000000001"), QStringLiteral("GIB2024000000001 seri nolu fatura daha önce indirilmiş..!"));
}

TEST_F(FilingTest, CancelledInvoiceReportByteExact)
{
    PortalInvoiceRow row{"GIB2024000000004", "12345678901", "14-02-2024", "ÖZTÜRK", "SATIŞ", "icon-remove", ""};
    const QString status = reportStatusText(QStringLiteral("İTİRAZ/RED"));
    EXPECT_EQ(status, QStringLiteral("İPTAL-İTİRAZ/RED"));
    EXPECT_EQ(reportStatusText(QStringLiteral("----------")), QStringLiteral("İPTAL"));
    const QString name = reportFileName(row.gibFatNo, status);
    const QByteArray report = unapprovedInvoiceReport(row, QStringLiteral("Çağdaş Gıda"), status, QStringLiteral("v1.4.6"),
                                                      QDateTime(QDate(2024, 3, 1), QTime(14, 3, 5)));
    const QByteArray dashes(85, '-');
    const QByteArray expected = "ONAYSIZ FATURA RAPORU : \r\n" + dashes + "\r\n"
        "Seri No      : GIB2024000000004\r\n"
        "Tarih        : 14-02-2024\r\n"
        + QStringLiteral("Düzenleyen   : Çağdaş Gıda\r\n"
                         "Alıcı VKNo   : 12345678901\r\n"
                         "Alıcı Ünvanı : ÖZTÜRK\r\n"
                         "Durumu       : İPTAL-İTİRAZ/RED\r\n").toUtf8()
        + dashes + "\r\n"
        + QStringLiteral("Hakkında     : Bu rapor dosyası Kuvela v1.4.6 tarafından otomatik olarak oluşturuldu.\r\n"
                         "Rapor Zamanı : 01.03.2024 14:03:05\r\n").toUtf8();
    EXPECT_EQ(report, expected);

    // The objection's "/" cannot make a folder; an older report is replaced whole.
    std::ofstream(folders_.html() / toPath("GIB2024000000004-İPTAL-İTİRAZ_RED.txt")) << std::string(5000, 'e');
    writeUnapprovedInvoiceReport(folders_, name, report);
    EXPECT_EQ(folderFileNames(folders_.html()), QStringList{"GIB2024000000004-İPTAL-İTİRAZ_RED.txt"});
    EXPECT_EQ(read(folders_.html() / toPath("GIB2024000000004-İPTAL-İTİRAZ_RED.txt")), report.toStdString());
}

} // namespace
} // namespace kuvela
