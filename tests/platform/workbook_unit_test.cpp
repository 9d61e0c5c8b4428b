// The workbook's small pieces: addresses, date formats and serials, VB texts, string
// escapes, the XML scanner, derived formats and lock files.
#include "platform/workbook.h"
#include "platform/workbook_scan.h"
#include "platform/workbook_styles.h"
#include "platform/workbook_xml.h"
#include "workbook_test_support.h"

#include <gtest/gtest.h>
#include <limits>
#include <optional>

using namespace kuvela;
using namespace kuvela::detail;
using Kind = CellValue::Kind;

TEST(WorkbookUnit, RangeAddresses)
{
    struct Case {
        const char* address;
        std::optional<CellRange> range;
    };
    const Case cases[] = {
        {"A1", CellRange{1, 1, 1, 1, false}},
        {"A1:Z1", CellRange{1, 1, 1, 26, false}},
        {"H2:H1000", CellRange{2, 8, 1000, 8, false}},
        {"$h$2:$H1000", CellRange{2, 8, 1000, 8, false}},
        {"J5:E2", CellRange{2, 5, 5, 10, false}},
        {"E:J", CellRange{1, 5, kMaxRows, 10, true}},
        {"A:K", CellRange{1, 1, kMaxRows, 11, true}},
        {"D", CellRange{1, 4, kMaxRows, 4, true}},
        {"XFD1048576", CellRange{kMaxRows, kMaxCols, kMaxRows, kMaxCols, false}},
        {"", std::nullopt},
        {"A0", std::nullopt},
        {"1A", std::nullopt},
        {"A1:", std::nullopt},
        {"A1:B", std::nullopt},
        {"XFE1", std::nullopt},
        {"A1048577", std::nullopt},
        {"A1-B2", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        const auto r = parseRange(QString::fromLatin1(c.address));
        ASSERT_EQ(r.has_value(), c.range.has_value());
        if (!r)
            continue;
        EXPECT_EQ(r->row1, c.range->row1);
        EXPECT_EQ(r->col1, c.range->col1);
        EXPECT_EQ(r->row2, c.range->row2);
        EXPECT_EQ(r->col2, c.range->col2);
        EXPECT_EQ(r->wholeColumns, c.range->wholeColumns);
    }
    for (const auto& [col, name] : {std::pair{1, "A"}, {26, "Z"}, {27, "AA"}, {52, "AZ"}, {702, "ZZ"}, {703, "AAA"}, {16384, "XFD"}}) {
        EXPECT_EQ(columnName(col), name);
        int r = 0, c = 0;
        EXPECT_TRUE(parseCellRef(cellRef(7, col), r, c));
        EXPECT_EQ(c, col);
        EXPECT_EQ(r, 7);
    }
}

TEST(WorkbookUnit, DateFormats)
{
    for (const char* date : {"dd.mm.yyyy", "d/m/yy", "[$-41F]d mmmm yyyy;@", "mmm-yy", "h:mm", "[h]:mm:ss",
                             "dd.mm.yyyy hh:mm", "yyyy\"yılı\""})
        EXPECT_TRUE(isDateFormatCode(date)) << date;
    for (const char* plain : {"General", "0", "#,##0.00", "0.00%", "0.00E+00", "#,##0.00 \"TL\"", "[Red]#,##0",
                              "0\" gün\"", "@", "_-* #,##0.00_-"})
        EXPECT_FALSE(isDateFormatCode(plain)) << plain;
}

TEST(WorkbookUnit, SerialDays)
{
    EXPECT_EQ(serialToDate(1, false), QDate(1900, 1, 1));
    EXPECT_EQ(serialToDate(59, false), QDate(1900, 2, 28));
    EXPECT_EQ(serialToDate(60, false), QDate(1900, 2, 28)); // the day that never was
    EXPECT_EQ(serialToDate(61, false), QDate(1900, 3, 1));
    EXPECT_EQ(serialToDate(45322.99, false), QDate(2024, 1, 31));
    EXPECT_EQ(serialToDate(0, true), QDate(1904, 1, 1));
    EXPECT_FALSE(serialToDate(-1, false).isValid());
    for (const double serial : {1.0, 59.0, 61.0, 45322.0, 45322.25})
        EXPECT_DOUBLE_EQ(*isoToSerial(qPrintable(QDateTime(serialToDate(serial, false), QTime(0, 0))
                                                     .addMSecs(qint64((serial - int(serial)) * 86400000))
                                                     .toString(Qt::ISODate)),
                                      false),
                         serial);
    EXPECT_FALSE(isoToSerial("31.01.2024", false));
}

TEST(WorkbookUnit, TextAsVbShowsIt)
{
    struct Case {
        CellValue value;
        const char* text;
    };
    auto number = [](double d) { return CellValue{Kind::Number, d, {}, false}; };
    auto date = [](double d) { return CellValue{Kind::Date, d, {}, false}; };
    const Case cases[] = {
        {CellValue{}, ""},
        {number(1234567890), "1234567890"},
        {number(12.5), "12,5"},
        {number(-0.425), "-0,425"},
        {number(0.1 + 0.2), "0,3"},
        {number(18), "18"},
        {CellValue{Kind::Bool, 1, {}, true}, "True"},
        {CellValue{Kind::Bool, 0, {}, false}, "False"},
        {date(45322), "31.01.2024"},
        {date(45322.75), "31.01.2024 18:00:00"},
        {date(0.5), "12:00:00"},
        {CellValue{Kind::Text, 0, QStringLiteral("İHRAÇ KAYITLI"), false}, "İHRAÇ KAYITLI"},
        {CellValue{Kind::Error, 0, QStringLiteral("#N/A"), false}, "#N/A"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.value.toText(), QString::fromUtf8(c.text));
}

TEST(WorkbookUnit, StringEscapesRoundTrip)
{
    for (const QString& s : {QStringLiteral("düz"), QStringLiteral("a\rb\nc\td"), QStringLiteral("_x000D_ ve _x005F_"),
                             QStringLiteral("<&>\"'"), QString(QChar(1)) + QStringLiteral("kontrol"), QString()}) {
        std::string xml;
        appendText(xml, s);
        EXPECT_EQ(xml.find_first_of("<>\r\x01"), std::string::npos) << xml;
        std::string scratch;
        const std::string doc = "<t>" + xml + "</t>";
        XmlCursor cur(doc.data(), doc.data() + doc.size(), "t");
        Tag t;
        ASSERT_TRUE(cur.next(t));
        EXPECT_EQ(decodeXString(cur.text(t, scratch)), s) << xml;
    }
}

TEST(WorkbookUnit, ScannerChecksWhatItReads)
{
    struct Case {
        const char* xml;
        const char* text; // nullptr: refused
    };
    const Case cases[] = {
        {"<v>12</v>", "12"},
        {"<x:t xml:space=\"preserve\"> &amp;&#305;&#x130;&lt; </x:t>", " &ıİ< "},
        {"<t>a<![CDATA[<b>]]>c<!-- not -->d</t>", "a<b>cd"},
        {"<t>a\r\nb\rc</t >", "a\nb\nc"},
        {"<t/>", ""},
        {"<t>&nbsp;</t>", nullptr},
        {"<t>a</x>", nullptr},
        {"<t>a<b/></t>", nullptr},
        {"<t>abc", nullptr},
        {"<t a=\"1>", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xml);
        const std::string doc = c.xml;
        XmlCursor cur(doc.data(), doc.data() + doc.size(), "p");
        std::string scratch;
        try {
            Tag t;
            ASSERT_TRUE(cur.next(t));
            const std::string got(cur.text(t, scratch));
            ASSERT_NE(c.text, nullptr) << "read " << got;
            EXPECT_EQ(got, c.text);
        } catch (const XmlFailure& e) {
            EXPECT_EQ(c.text, nullptr) << e.what();
        }
    }
    std::vector<QString> strings;
    scanSharedStrings("<?xml version=\"1.0\"?><sst><si><t>a</t></si><si/><si><r><t>b</t></r><rPh><t>x</t></rPh>"
                      "<r><rPr><b/></rPr><t>c</t></r></si><si><t>d&amp;</t></si></sst>",
                      "sst", strings);
    EXPECT_EQ(strings, (std::vector<QString>{"a", "", "bc", "d&"}));
    EXPECT_THROW(scanSharedStrings("<sst><si><t>a</t></sst>", "sst", strings), XmlFailure);
}

TEST(WorkbookUnit, DerivedFormatsAppendOnly)
{
    StyleBook styles;
    const int bold = styles.derive(0, {StyleChange::Kind::Bold, 1});
    EXPECT_EQ(bold, 1);
    EXPECT_EQ(styles.derive(0, {StyleChange::Kind::Bold, 1}), bold) << "one format per change";
    EXPECT_EQ(styles.derive(bold, {StyleChange::Kind::Bold, 1}), bold) << "already bold";
    EXPECT_TRUE(styles.isBold(bold));
    EXPECT_FALSE(styles.isBold(0));
    const int quoted = styles.derive(bold, {StyleChange::Kind::QuotePrefix, 1});
    EXPECT_TRUE(styles.isQuoted(quoted));
    EXPECT_TRUE(styles.isBold(quoted));
    EXPECT_EQ(styles.derive(quoted, {StyleChange::Kind::QuotePrefix, 0}), bold) << "an equal format is reused";
    EXPECT_EQ(styles.derive(0, {StyleChange::Kind::QuotePrefix, 0}), 0);
    const std::string xml = styles.print();
    // The original first format is untouched; nothing is there twice.
    EXPECT_NE(xml.find("<cellXfs count=\"3\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"),
              std::string::npos) << xml;
    EXPECT_NE(xml.find("<fonts count=\"2\">"), std::string::npos) << xml;

    // A later session asking for the same formats finds them.
    StyleBook later;
    later.load(xml, "xl/styles.xml");
    EXPECT_EQ(later.derive(0, {StyleChange::Kind::Bold, 1}), bold);
    EXPECT_EQ(later.derive(bold, {StyleChange::Kind::QuotePrefix, 1}), quoted);
    EXPECT_FALSE(later.changed());
    EXPECT_EQ(later.derive(quoted, {StyleChange::Kind::FontColor, 255}), 3);
    EXPECT_TRUE(later.changed());
}

TEST(WorkbookUnit, LockFilesBesideTheWorkbook)
{
    QTemporaryDir dir;
    const auto folder = toPath(dir.path());
    struct Case {
        const char* workbook;
        const char* lock;
        bool open;
    };
    const Case cases[] = {
        {"DATA.xlsx", "~$DATA.xlsx", true},
        {"DATA.xlsx", ".~lock.DATA.xlsx#", true},
        {"DATA.xlsx", "~$TA.xlsx", false},
        {"Çağ Gıda Şablonu.xlsx", "~$ğ Gıda Şablonu.xlsx", true},
        {"Çağ Gıda Şablonu.xlsx", ".~lock.Çağ Gıda Şablonu.xlsx#", true},
        {"DATA.xlsx", "DATA.xlsx#", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lock);
        const auto workbook = folder / toPath(QString::fromUtf8(c.workbook));
        EXPECT_FALSE(isOpenInSpreadsheet(workbook));
        const auto lock = folder / toPath(QString::fromUtf8(c.lock));
        kuvela::testing::writeBytes(lock, "x");
        EXPECT_EQ(isOpenInSpreadsheet(workbook), c.open);
        std::filesystem::remove(lock);
    }
}

TEST(WorkbookUnit, OwnRoundTripWithoutOpenpyxl)
{
    QTemporaryDir dir;
    const auto file = toPath(dir.filePath(QStringLiteral("tur.xlsx")));
    Workbook wb = Workbook::create();
    Sheet& s = wb.sheet(1);
    s.setText(1, 1, QStringLiteral("'0123456789"));
    s.setText(1, 2, QStringLiteral("1.234,50"));
    s.setNumber(2, 3, 45.5);
    s.setString(3, 30, QStringLiteral("12,5"));
    s.setText(4, 1, QStringLiteral("silinecek"));
    s.clear(4, 1);
    s.setText(5, 2, QStringLiteral("x"));
    s.setText(5, 2, QString()); // as typing nothing: the cell is emptied
    s.setNumber(6, 1, std::numeric_limits<double>::infinity());
    wb.saveAs(file);

    Workbook again = Workbook::open(file);
    Sheet& r = again.sheet(QStringLiteral("Sayfa1"));
    EXPECT_EQ(r.value(1, 1).kind, Kind::Text);
    EXPECT_EQ(r.text(1, 1), QStringLiteral("0123456789"));
    EXPECT_EQ(r.value(1, 2).number, 1234.5);
    EXPECT_EQ(r.text(2, 3), QStringLiteral("45,5"));
    EXPECT_EQ(r.value(3, 30).kind, Kind::Text);
    EXPECT_TRUE(r.value(4, 1).isEmpty());
    EXPECT_TRUE(r.value(5, 2).isEmpty());
    EXPECT_EQ(r.text(6, 1), QStringLiteral("#NUM!"));
    EXPECT_EQ(r.lastRow(), 6);
    EXPECT_EQ(r.lastColumn(), 30);
    EXPECT_EQ(again.path(), file);
}
