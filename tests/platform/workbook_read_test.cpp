// Reading workbooks written by openpyxl and by hand (prefixes, missing addresses,
// cached formula values), and refusing damaged ones.
#include "platform/workbook.h"
#include "workbook_test_support.h"

#include <gtest/gtest.h>

using namespace kuvela;
using namespace kuvela::testing;
using Kind = CellValue::Kind;

namespace {

struct Expect {
    int row, col;
    Kind kind;
    const char* text; // toText()
};

void expectCells(Sheet& s, std::initializer_list<Expect> cases)
{
    for (const Expect& e : cases) {
        const CellValue v = s.value(e.row, e.col);
        EXPECT_EQ(int(v.kind), int(e.kind)) << s.name().toStdString() << " R" << e.row << "C" << e.col;
        EXPECT_EQ(v.toText(), QString::fromUtf8(e.text)) << s.name().toStdString() << " R" << e.row << "C" << e.col;
        EXPECT_EQ(s.text(e.row, e.col), QString::fromUtf8(e.text));
    }
}

} // namespace

TEST(WorkbookRead, OpenpyxlCellKinds)
{
    QTemporaryDir dir;
    Workbook wb = Workbook::open(makeFixture(dir, QStringLiteral("cells")));
    ASSERT_EQ(wb.sheetNames(), QStringList{QStringLiteral("Hücreler")});
    Sheet& s = wb.sheet(QStringLiteral("Hücreler"));
    expectCells(s, {
        {1, 1, Kind::Text, "metin"},
        {2, 1, Kind::Text, "İHRAÇ KAYITLI"},
        {3, 1, Kind::Text, "çğıİöşü ÇĞIÖŞÜ"},
        {4, 1, Kind::Text, "  baştaki boşluklar"},
        {5, 1, Kind::Text, "iki\nsatır"},
        {1, 2, Kind::Number, "1234567890"},
        {2, 2, Kind::Number, "12,5"},
        {3, 2, Kind::Number, "45,5"},
        {4, 2, Kind::Number, "-0,425"},
        {5, 2, Kind::Number, "18"},
        {1, 3, Kind::Bool, "True"},
        {2, 3, Kind::Bool, "False"},
        {1, 4, Kind::Date, "31.01.2024"},
        {2, 4, Kind::Date, "31.01.2024"},
        {3, 4, Kind::Number, "45322"},
        {4, 4, Kind::Date, "31.01.2024 12:00:00"},
        {1, 5, Kind::Text, "0123456789"},
        {2, 5, Kind::Empty, ""},      // bold, no value
        {3, 5, Kind::Error, "#N/A"},
        {7, 28, Kind::Text, "uzak"},  // AB7
        {100, 27, Kind::Number, "7"}, // AA100
        {3, 702, Kind::Text, "çok uzak"}, // ZZ3
        {1, 6, Kind::Empty, ""},      // openpyxl keeps no cached value of its formulas
        {6, 1, Kind::Empty, ""},
        {50, 50, Kind::Empty, ""},
    });
    EXPECT_EQ(s.value(1, 4).date(), QDate(2024, 1, 31));
    EXPECT_EQ(s.lastRow(), 100);
    EXPECT_EQ(s.lastColumn(), 702);
    EXPECT_EQ(&wb.sheet(1), &s);
    EXPECT_EQ(&wb.sheet(QStringLiteral("hücreler")), &s) << "sheet names compare without case, as in Excel";
}

TEST(WorkbookRead, HandmadePackage)
{
    QTemporaryDir dir;
    Workbook wb = Workbook::open(makeFixture(dir, QStringLiteral("handmade")));
    Sheet& s = wb.sheet(QStringLiteral("Ham"));
    expectCells(s, {
        {1, 1, Kind::Text, "düz"},                 // row and cells without r
        {1, 2, Kind::Text, "Kalın ve ince"},       // rich text runs, phonetic run left out
        {1, 3, Kind::Text, "  iki boşluk"},        // xml:space
        {3, 2, Kind::Text, "satır içi"},           // inline string
        {3, 3, Kind::Text, "parça parça"},         // inline rich text, cell after B3 without r
        {3, 5, Kind::Text, "sat\rır"},             // _x000D_
        {4, 1, Kind::Text, "SATIR İÇİ"},           // cached str of a formula, row 4 without r
        {4, 2, Kind::Number, "2"},
        {4, 3, Kind::Bool, "True"},
        {4, 4, Kind::Error, "#N/A"},
        {4, 5, Kind::Error, "#DIV/0!"},
        {5, 1, Kind::Date, "31.01.2024"},          // built-in format 14
        {5, 2, Kind::Date, "31.01.2024 06:00:00"}, // custom dd/mm/yyyy
        {5, 3, Kind::Number, "1234,5"},            // #,##0.00 is no date
        {5, 4, Kind::Date, "29.02.2024"},          // t="d"
        {5, 5, Kind::Number, "1000"},
        {6, 1, Kind::Number, "45323,25"},          // shared formula, cached value
        {7, 1, Kind::Number, "45324,25"},
        {6, 3, Kind::Empty, ""},                   // styled, no value
        {6, 4, Kind::Empty, ""},                   // t="s" without a value
        {9, 27, Kind::Bool, "False"},
        {2, 1, Kind::Empty, ""},
        {8, 1, Kind::Empty, ""},
    });
    EXPECT_EQ(s.lastRow(), 9);
    EXPECT_EQ(s.lastColumn(), 27);
}

TEST(WorkbookRead, TenThousandRows)
{
    QTemporaryDir dir;
    Workbook wb = Workbook::open(makeFixture(dir, QStringLiteral("big")));
    Sheet& s = wb.sheet(1);
    EXPECT_EQ(s.name(), QStringLiteral("Büyük"));
    EXPECT_EQ(s.lastRow(), 10000);
    EXPECT_EQ(s.lastColumn(), 6);
    for (int r : {1, 2, 97, 5000, 9999, 10000}) {
        EXPECT_EQ(s.text(r, 1), QStringLiteral("Satır %1").arg(r));
        EXPECT_EQ(s.value(r, 2).number, r);
        EXPECT_EQ(s.value(r, 3).number, r * 0.5);
        EXPECT_EQ(s.text(r, 4), QStringLiteral("ç%1").arg(r % 97));
        EXPECT_TRUE(s.value(r, 5).isEmpty());
        EXPECT_EQ(s.text(r, 6), r % 1000 == 0 ? QStringLiteral("son") : QString());
    }
}

TEST(WorkbookRead, DamagedFilesAreRefusedWithTheirName)
{
    struct Case {
        const char* kind;
        int code;
        bool atOpen;     // else when the sheet is reached
        const char* words;
    };
    const Case cases[] = {
        {"notzip", 13, true, "geçerli bir Excel çalışma kitabı değil"},
        {"truncated", 13, true, "geçerli bir Excel çalışma kitabı değil"},
        {"noworkbook", 13, true, "xl/workbook.xml"},
        {"badxml", 13, false, "içeriği bozuk"},
        {"badtype", 13, false, "E5 hücresi tanınmayan değer türünde"},
        {"badshared", 13, false, "paylaşılan metin"},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        const auto file = makeFixture(dir, QString::fromLatin1(c.kind));
        const std::string before = fileBytes(file);
        const QStringList filesBefore = folderEntries(file.parent_path());
        try {
            Workbook wb = Workbook::open(file);
            ASSERT_FALSE(c.atOpen) << "opened";
            wb.sheet(1);
            ADD_FAILURE() << "sheet read";
        } catch (const WorkbookError& e) {
            EXPECT_EQ(e.code(), c.code);
            EXPECT_TRUE(e.message().contains(QString::fromLatin1(c.kind) + QStringLiteral(".xlsx"))) << e.what();
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.words))) << e.what();
        }
        EXPECT_EQ(fileBytes(file), before);
        EXPECT_EQ(folderEntries(file.parent_path()), filesBefore);
    }
}

TEST(WorkbookRead, MissingFileAndSheet)
{
    QTemporaryDir dir;
    const WorkbookError missing = errorOf([&] { Workbook::open(toPath(dir.filePath(QStringLiteral("Yok.xlsx")))); });
    EXPECT_EQ(missing.code(), 53);
    EXPECT_TRUE(missing.message().startsWith(QStringLiteral("Yok.xlsx dosyası bulunamadı"))) << missing.what();

    Workbook wb = Workbook::open(makeFixture(dir, QStringLiteral("styled")));
    for (const QString& name : {QStringLiteral("xDATA"), QString()}) {
        const WorkbookError e = errorOf([&] { wb.sheet(name); });
        EXPECT_EQ(e.code(), 9);
        EXPECT_EQ(e.message(), QStringLiteral("styled.xlsx çalışma kitabında \"%1\" adlı sayfa yok.").arg(name));
    }
    for (int position : {0, 5})
        EXPECT_EQ(errorOf([&] { wb.sheet(position); }).code(), 9);
    EXPECT_EQ(wb.sheetNames(), (QStringList{"prgDATA", "mDATA", "kodDATA", "sDATA"}));
}
