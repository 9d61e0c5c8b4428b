// Big sheets and string tables are read in pieces on several threads, and sheets only
// when first asked for: the result, the failure and the save are those of one reading
// from the start.
#include "platform/workbook.h"
#include "platform/workbook_zip.h"
#include "workbook_test_support.h"

#include <QJsonArray>
#include <functional>
#include <gtest/gtest.h>

using namespace kuvela;
using namespace kuvela::testing;

namespace {

constexpr int kRows = 20000; // a few MiB of sheet XML, 1.5 MiB of strings: read in several pieces
constexpr const char* kTail = " ile birlikte uzunca bir açıklama metni";

// Row r's cells as written: A a shared string, B a number, C an inline string, and on
// every hundredth row D a formula with its cached value.
std::string rowXml(int r, bool numbered = true, const std::string& b = {})
{
    const std::string n = std::to_string(r);
    std::string x = numbered ? "<row r=\"" + n + "\">" : std::string("<row>");
    x += "<c r=\"A" + n + "\" t=\"s\"><v>" + std::to_string(r - 1) + "</v></c>";
    x += "<c r=\"B" + n + "\"><v>" + (b.empty() ? n : b) + "</v></c>";
    x += "<c r=\"C" + n + "\" t=\"inlineStr\"><is><t>sat&#305;r " + n + "</t></is></c>";
    if (r % 100 == 0)
        x += "<c r=\"D" + n + "\"><f>B" + n + "*2</f><v>" + std::to_string(2 * r) + "</v></c>";
    return x + "</row>";
}

std::string packageWith(const std::string& rows)
{
    const std::string decl = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
    const std::string main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
    const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    std::string sst = decl + "<sst xmlns=\"" + main + "\">";
    for (int r = 1; r <= kRows; ++r)
        sst += "<si><t>De&#287;er " + std::to_string(r) + kTail + "</t></si>";
    sst += "</sst>";
    detail::ZipEdit e;
    e.put.emplace_back("[Content_Types].xml", decl +
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
        "<Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
        "<Override PartName=\"/xl/worksheets/sheet2.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>"
        "<Override PartName=\"/xl/sharedStrings.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>"
        "</Types>");
    e.put.emplace_back("_rels/.rels", decl +
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"" + rel + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>");
    e.put.emplace_back("xl/workbook.xml", decl + "<workbook xmlns=\"" + main + "\" xmlns:r=\"" + rel + "\"><sheets>"
        "<sheet name=\"Veri\" sheetId=\"1\" r:id=\"rId1\"/><sheet name=\"Dokunulmayan\" sheetId=\"2\" r:id=\"rId2\"/>"
        "</sheets></workbook>");
    e.put.emplace_back("xl/_rels/workbook.xml.rels", decl +
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"" + rel + "/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
        "<Relationship Id=\"rId2\" Type=\"" + rel + "/worksheet\" Target=\"worksheets/sheet2.xml\"/>"
        "<Relationship Id=\"rId3\" Type=\"" + rel + "/sharedStrings\" Target=\"sharedStrings.xml\"/>"
        "</Relationships>");
    e.put.emplace_back("xl/worksheets/sheet1.xml", decl + "<worksheet xmlns=\"" + main + "\"><sheetData>" + rows
                                                       + "</sheetData></worksheet>");
    e.put.emplace_back("xl/worksheets/sheet2.xml", decl + "<worksheet xmlns=\"" + main
                                                       + "\"><sheetData><row r=\"1\"><c r=\"A1\"><v>7</v></c></row>"
                                                         "</sheetData><!-- olduğu gibi kalır --></worksheet>");
    e.put.emplace_back("xl/sharedStrings.xml", sst);
    return detail::newZip(e);
}

std::string rows(const std::function<std::string(int)>& row, const std::string& tail = {})
{
    std::string x;
    for (int r = 1; r <= kRows; ++r)
        x += row(r);
    return x + tail;
}

void expectRow(const Sheet& s, int r)
{
    SCOPED_TRACE(r);
    EXPECT_EQ(s.text(r, 1), QStringLiteral("Değer %1").arg(r) + QString::fromUtf8(kTail));
    EXPECT_EQ(s.value(r, 2).number, r);
    EXPECT_EQ(s.text(r, 3), QStringLiteral("satır %1").arg(r));
    EXPECT_EQ(s.value(r, 4).number, r % 100 == 0 ? 2 * r : 0);
}

} // namespace

TEST(WorkbookPieces, BigSheetsReadAsFromTheStartAndSaveWithTheUnreadSheetUntouched)
{
    struct Case {
        const char* name;
        std::string rows;
        QString failure; // empty: the sheet reads
    };
    const std::vector<Case> cases = {
        {"in order", rows([](int r) { return rowXml(r); })},
        {"a row again at the end", rows([](int r) { return rowXml(r); }, "<row r=\"7\"><c r=\"E7\"><v>99</v></c></row>")},
        {"a row without its number", rows([](int r) { return rowXml(r, r != 15000); })},
        {"a bad number far in", rows([](int r) { return rowXml(r, true, r == 18000 ? "x" : ""); }),
         QStringLiteral("\"Veri\" sayfasının B18000 hücresi sayı değil (x)")},
        {"rows past the sheet's last", rows([](int r) { return rowXml(r); }, "<row r=\"1048577\"/>"),
         QStringLiteral("satır numarası geçersiz: 1048577")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const auto file = toPath(dir.filePath(QStringLiteral("büyük.xlsx")));
        writeBytes(file, packageWith(c.rows));
        Workbook wb = Workbook::open(file);
        if (!c.failure.isEmpty()) {
            const WorkbookError e = errorOf([&] { wb.sheet(QStringLiteral("Veri")); });
            EXPECT_EQ(e.code(), WorkbookError::kTypeMismatch);
            EXPECT_TRUE(e.message().contains(c.failure)) << e.message().toStdString();
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("büyük.xlsx dosyası okunamadı"))) << e.message().toStdString();
            continue;
        }
        Sheet& s = wb.sheet(QStringLiteral("Veri"));
        EXPECT_EQ(s.lastRow(), kRows);
        for (const int r : {1, 2, 7, 100, 9999, 10000, 15000, 15001, kRows})
            expectRow(s, r);
        EXPECT_EQ(s.value(7, 5).number, c.rows.find("E7") != std::string::npos ? 99 : 0);

        const std::string untouched = detail::ZipReader(fileBytes(file)).read("xl/worksheets/sheet2.xml").str();
        s.setText(kRows + 1, 1, QStringLiteral("yeni"));
        wb.save();
        const std::string saved = fileBytes(file);
        EXPECT_EQ(detail::ZipReader(saved).read("xl/worksheets/sheet2.xml").str(), untouched);
        Workbook again = Workbook::open(file);
        const Sheet& t = again.sheet(QStringLiteral("Veri"));
        for (const int r : {1, 7, 15000, kRows})
            expectRow(t, r);
        EXPECT_EQ(t.text(kRows + 1, 1), QStringLiteral("yeni"));
        EXPECT_EQ(again.sheet(QStringLiteral("Dokunulmayan")).value(1, 1).number, 7);
    }
}

// What openpyxl reads of a saved big sheet: the shared strings read in pieces at open,
// the sheet read in pieces when asked for, and one cell written.
TEST(WorkbookPieces, SavedBigSheetReadsBackInOpenpyxl)
{
    QTemporaryDir dir;
    const auto file = toPath(dir.filePath(QStringLiteral("büyük.xlsx")));
    writeBytes(file, packageWith(rows([](int r) { return rowXml(r); })));
    {
        Workbook wb = Workbook::open(file);
        wb.sheet(QStringLiteral("Veri")).setText(3, 2, QStringLiteral("1.234,5"));
        wb.save();
    }
    const QJsonObject read = readWithOpenpyxl(file);
    auto cell = [&](const char* ref) { return at(read, QStringLiteral("cells"), QStringLiteral("Veri"), QString::fromLatin1(ref)).toArray(); };
    EXPECT_EQ(cell("B3"), (QJsonArray{QStringLiteral("number"), 1234.5}));
    EXPECT_EQ(cell("A19999"), (QJsonArray{QStringLiteral("text"), QStringLiteral("Değer 19999") + QString::fromUtf8(kTail)}));
    EXPECT_EQ(cell("C12345"), (QJsonArray{QStringLiteral("text"), QStringLiteral("satır 12345")}));
    EXPECT_EQ(cell("B20000"), (QJsonArray{QStringLiteral("number"), 20000}));
}
