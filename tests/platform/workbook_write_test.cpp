// Writing: what openpyxl reads back, edits in place that leave the rest of the
// package alone, and saves that either complete or change nothing.
#include "platform/workbook.h"
#include "platform/workbook_testing.h"
#include "platform/workbook_zip.h"
#include "workbook_test_support.h"

#include <QJsonArray>
#include <gtest/gtest.h>

using namespace kuvela;
using namespace kuvela::testing;

namespace {

QJsonArray cellOf(const QJsonObject& read, const QString& sheet, const QString& ref)
{
    return at(read, QStringLiteral("cells"), sheet, ref).toArray();
}

QJsonArray textCell(const QString& s) { return QJsonArray{QStringLiteral("text"), s}; }
QJsonArray numberCell(double d) { return QJsonArray{QStringLiteral("number"), d}; }

} // namespace

TEST(WorkbookWrite, TypedTextAsOpenpyxlSeesIt)
{
    struct Case {
        const char* typed;
        QJsonArray seen;
        bool quoted;
    };
    const Case cases[] = {
        {"'0123", textCell("0123"), true},
        {"' 1234567890", textCell(" 1234567890"), true},
        {"12,5", numberCell(12.5), false},
        {"1.234,50", numberCell(1234.5), false},
        {"-0,5", numberCell(-0.5), false},
        {"1234567890", numberCell(1234567890), false},
        {"1.5", textCell("1.5"), false},
        {"abc", textCell("abc"), false},
        {"=1+1", textCell("=1+1"), false},
        {"=HYPERLINK(\"http://x\")", textCell("=HYPERLINK(\"http://x\")"), false},
        {"Şahin Gıda & <Ortak>", textCell("Şahin Gıda & <Ortak>"), false},
        {"  boşluk ", textCell("  boşluk "), false},
    };
    QTemporaryDir dir;
    Workbook wb = Workbook::create();
    EXPECT_EQ(wb.sheetNames(), QStringList{QStringLiteral("Sayfa1")});
    Sheet& s = wb.sheet(1);
    int row = 1;
    for (const Case& c : cases)
        s.setText(row++, 2, QString::fromUtf8(c.typed));
    // openpyxl leaves Excel's "_x000D_" escapes as they are; we read them back ourselves.
    const QString escapes[] = {QStringLiteral("_x000D_ yazı"), QStringLiteral("satır\r\nsonu"), QStringLiteral("\x01\t")};
    for (int i = 0; i < 3; ++i)
        s.setText(i + 1, 3, escapes[i]);
    const auto file = toPath(dir.filePath(QStringLiteral("yazım.xlsx")));
    wb.saveAs(file);
    EXPECT_EQ(wb.path(), file);

    const QJsonObject read = readWithOpenpyxl(file);
    row = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const QString ref = QStringLiteral("B%1").arg(row++);
        EXPECT_EQ(cellOf(read, "Sayfa1", ref), c.seen);
        EXPECT_EQ(at(read, "formats", "Sayfa1", ref, "quote").toBool(), c.quoted);
    }
    // And we read our own file the same way.
    Workbook again = Workbook::open(file);
    EXPECT_EQ(again.sheet(1).text(1, 2), QStringLiteral("0123"));
    EXPECT_EQ(again.sheet(1).text(4, 2), QStringLiteral("1234,5"));
    EXPECT_EQ(again.sheet(1).text(9, 2), QStringLiteral("=1+1"));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(again.sheet(1).text(i + 1, 3), escapes[i]);
}

TEST(WorkbookWrite, NewWorkbookWithFormats)
{
    QTemporaryDir dir;
    Workbook wb = Workbook::create();
    Sheet& s = wb.sheet(QStringLiteral("Sayfa1"));
    const QStringList titles{"s", "Mal Hizmet Türü", "Miktar", "Birim", "Birim Fiyat", "İsk%"};
    for (int c = 0; c < titles.size(); ++c)
        s.setText(1, c + 1, titles[c]);
    s.setText(2, 2, QStringLiteral("Danışmanlık Hizmeti uzun bir ad"));
    s.setNumber(2, 3, 2);
    s.setBold(QStringLiteral("A1:Z1"));
    s.setFontColor(QStringLiteral("A1:Z1"), 255);
    s.setHAlign(QStringLiteral("A1:Z1"), xlCenter);
    s.setVAlign(QStringLiteral("A1:Z1"), xlCenter);
    s.setHAlign(QStringLiteral("E:J"), xlRight);
    s.setHAlign(QStringLiteral("H2:H1000"), xlLeft);
    s.autoFit(QStringLiteral("A:Z"));
    Sheet& second = wb.addSheet(QStringLiteral("Liste"));
    second.setText(1, 1, QStringLiteral("ikinci"));
    second.setFontColor(QStringLiteral("A1"), 16711680);
    EXPECT_EQ(s.lastRow(), 2) << "formatted empty cells are no values";
    EXPECT_EQ(s.lastColumn(), 6);
    const auto file = toPath(dir.filePath(QStringLiteral("şablon.xlsx")));
    wb.saveAs(file);

    const QJsonObject read = readWithOpenpyxl(file);
    EXPECT_EQ(read["sheets"].toArray(), (QJsonArray{"Sayfa1", "Liste"}));
    const QJsonObject f = at(read, "formats", "Sayfa1").toObject();
    for (const char* ref : {"A1", "F1", "Z1"}) {
        SCOPED_TRACE(ref);
        EXPECT_TRUE(at(f, ref, "bold").toBool());
        EXPECT_EQ(at(f, ref, "color").toString(), QStringLiteral("FFFF0000"));
        EXPECT_EQ(at(f, ref, "v").toString(), QStringLiteral("center"));
    }
    EXPECT_EQ(at(f, "B1", "h").toString(), QStringLiteral("center"));
    EXPECT_EQ(at(f, "E1", "h").toString(), QStringLiteral("right")) << "the later column format wins";
    EXPECT_EQ(at(f, "H1", "h").toString(), QStringLiteral("right"));
    EXPECT_EQ(at(f, "H500", "h").toString(), QStringLiteral("left"));
    EXPECT_FALSE(at(f, "B2", "bold").toBool());
    EXPECT_EQ(at(read, "formats", "Liste", "A1", "color").toString(), QStringLiteral("FF0000FF"));
    EXPECT_EQ(cellOf(read, "Liste", "A1"), textCell("ikinci"));
    EXPECT_EQ(cellOf(read, "Sayfa1", "C2"), numberCell(2));

    const QJsonObject widths = at(read, "widths", "Sayfa1").toObject();
    EXPECT_GT(widths["B"].toDouble(), widths["D"].toDouble()) << "longest text, widest column";
    EXPECT_GT(widths["B"].toDouble(), 31);
    EXPECT_LT(widths["B"].toDouble(), 45);
    EXPECT_FALSE(widths.contains("K")) << "an empty column keeps its width";

    // Columns E to J carry the format for cells typed later.
    Workbook again = Workbook::open(file);
    again.sheet(1).setText(7, 7, QStringLiteral("sonra"));
    again.save();
    EXPECT_EQ(at(readWithOpenpyxl(file), "formats", "Sayfa1", "G7", "h").toString(), QStringLiteral("right"));
}

TEST(WorkbookWrite, EditInPlaceKeepsTheRestOfThePackage)
{
    QTemporaryDir dir;
    const auto file = makeFixture(dir, QStringLiteral("styled"));
    const QJsonObject entriesBefore = zipEntries(file);
    const QJsonObject readBefore = readWithOpenpyxl(file);

    {
        Workbook wb = Workbook::open(file);
        Sheet& s = wb.sheet(QStringLiteral("sDATA"));
        const int row = s.lastRow() + 1;
        ASSERT_EQ(row, 4);
        const QStringList typed{"P003", "Beta Yazılım", "Yazılım Lisansı", "Adet", "1000", "10", "18", "601 % 40"};
        for (int c = 0; c < typed.size(); ++c)
            s.setText(row, c + 1, typed[c]);
        // Reading the other sheets does not make them part of the save.
        EXPECT_EQ(wb.sheet(QStringLiteral("mDATA")).text(2, 7), QStringLiteral("0123456789"));
        EXPECT_EQ(wb.sheet(QStringLiteral("prgDATA")).text(5, 2), QStringLiteral("1234"));
        wb.save();
    }

    const QJsonObject entriesAfter = zipEntries(file);
    EXPECT_EQ(entriesAfter.keys(), entriesBefore.keys());
    for (const QString& name : entriesBefore.keys()) {
        if (name == QStringLiteral("xl/worksheets/sheet4.xml"))
            continue;
        EXPECT_EQ(entriesAfter[name], entriesBefore[name]) << name.toStdString();
    }
    EXPECT_NE(entriesAfter["xl/worksheets/sheet4.xml"], entriesBefore["xl/worksheets/sheet4.xml"]);

    const QJsonObject readAfter = readWithOpenpyxl(file);
    for (const QString& sheet : {"prgDATA", "mDATA", "kodDATA"}) {
        EXPECT_EQ(at(readAfter, "cells", sheet), at(readBefore, "cells", sheet)) << sheet.toStdString();
        EXPECT_EQ(at(readAfter, "formats", sheet), at(readBefore, "formats", sheet)) << sheet.toStdString();
        EXPECT_EQ(at(readAfter, "widths", sheet), at(readBefore, "widths", sheet)) << sheet.toStdString();
    }
    // The sheet we wrote keeps its old rows and formats and gains the new one.
    QJsonObject cells = at(readAfter, "cells", "sDATA").toObject();
    EXPECT_EQ(cells["A4"].toArray(), textCell("P003"));
    EXPECT_EQ(cells["E4"].toArray(), numberCell(1000));
    EXPECT_EQ(cells["H4"].toArray(), textCell("601 % 40"));
    for (const QString& ref : at(readBefore, "cells", "sDATA").toObject().keys())
        EXPECT_EQ(cells[ref], at(readBefore, "cells", "sDATA", ref)) << ref.toStdString();
    EXPECT_EQ(at(readAfter, "formats", "sDATA", "E3", "h").toString(), QStringLiteral("right"));
}

// A sheet is read when first asked for, and later saves start from the part as it was
// read or last saved: what they write must be what a fresh opening of the file writes.
TEST(WorkbookWrite, SaveAfterSaveMatchesAFreshOpening)
{
    QTemporaryDir dir;
    const auto file = makeFixture(dir, QStringLiteral("styled"));
    const auto copy = toPath(dir.filePath(QStringLiteral("kopya.xlsx")));
    const std::string part = "xl/worksheets/sheet2.xml"; // mDATA
    auto secondEdit = [](Workbook& wb) {
        Sheet& m = wb.sheet(QStringLiteral("mDATA"));
        m.setText(m.lastRow() + 1, 3, QStringLiteral("İKİNCİ MÜŞTERİ"));
        wb.save();
    };

    Workbook wb = Workbook::open(file);
    Sheet& m = wb.sheet(QStringLiteral("mDATA"));
    m.setText(4, 3, QStringLiteral("İLK MÜŞTERİ"));
    m.autoFit(QStringLiteral("A:N")); // the first save rewrites the column list
    wb.save();
    std::filesystem::copy_file(file, copy);
    const QJsonObject afterFirst = readWithOpenpyxl(file);

    secondEdit(wb);
    Workbook fresh = Workbook::open(copy);
    secondEdit(fresh);

    const std::string kept = detail::ZipReader(fileBytes(file)).read(part).str();
    EXPECT_EQ(kept, detail::ZipReader(fileBytes(copy)).read(part).str());
    EXPECT_NE(kept.find("<mergeCell ref=\"M1:N1\""), std::string::npos);
    EXPECT_NE(kept.find("E2:E1000"), std::string::npos) << "the data validation stays";
    const QJsonObject afterSecond = readWithOpenpyxl(file);
    EXPECT_EQ(at(afterSecond, "widths", "mDATA"), at(afterFirst, "widths", "mDATA"));
    EXPECT_EQ(at(afterSecond, "cells", "mDATA", "C4").toArray(), textCell("İLK MÜŞTERİ"));
    EXPECT_EQ(at(afterSecond, "cells", "mDATA", "C5").toArray(), textCell("İKİNCİ MÜŞTERİ"));
}

TEST(WorkbookWrite, OverwrittenFormulaDropsTheCalculationChain)
{
    QTemporaryDir dir;
    const auto file = makeFixture(dir, QStringLiteral("handmade"));
    {
        Workbook wb = Workbook::open(file);
        wb.sheet(1).setText(6, 1, QStringLiteral("5"));  // first cell of a shared formula
        wb.sheet(1).setText(10, 1, QStringLiteral("yeni"));
        wb.save();
    }
    const QJsonObject entries = zipEntries(file);
    EXPECT_FALSE(entries.contains("xl/calcChain.xml"));
    const detail::ZipReader package(fileBytes(file));
    EXPECT_EQ(package.read("[Content_Types].xml").view().find("calcChain"), std::string::npos);
    EXPECT_EQ(package.read("xl/_rels/workbook.xml.rels").view().find("calcChain"), std::string::npos);
    const QJsonObject read = readWithOpenpyxl(file);
    EXPECT_TRUE(read["fullCalcOnLoad"].toBool());
    EXPECT_EQ(cellOf(read, "Ham", "A6"), numberCell(5));
    EXPECT_EQ(cellOf(read, "Ham", "A10"), textCell("yeni"));
    EXPECT_EQ(cellOf(read, "Ham", "B4"), textCell("=1+1")) << "formulas not overwritten stay";
    EXPECT_EQ(cellOf(read, "Ham", "C1"), textCell("  iki boşluk"));

    Workbook wb = Workbook::open(file);
    Sheet& s = wb.sheet(1);
    EXPECT_EQ(s.text(4, 1), QStringLiteral("SATIR İÇİ"));
    EXPECT_EQ(s.text(5, 2), QStringLiteral("31.01.2024 06:00:00"));
    EXPECT_EQ(s.text(6, 1), QStringLiteral("5"));
    EXPECT_EQ(s.text(9, 27), QStringLiteral("False"));
}

TEST(WorkbookWrite, TurkishFolderAndSaveAfterSave)
{
    QTemporaryDir dir;
    const auto folder = toPath(dir.path()) / toPath(QStringLiteral("Firmalarım/Çağ Gıda"));
    std::filesystem::create_directories(folder);
    const auto file = folder / toPath(QStringLiteral("Çağ Gıda 31-01-2024 SATIŞ.xlsx"));
    {
        Workbook wb = Workbook::create();
        wb.sheet(1).setText(1, 1, QStringLiteral("ilk"));
        wb.saveAs(file);
        wb.sheet(1).setText(2, 1, QStringLiteral("ikinci"));
        wb.save();
        wb.sheet(1).clear(1, 1);
        wb.save();
    }
    EXPECT_EQ(folderEntries(folder), QStringList{QStringLiteral("Çağ Gıda 31-01-2024 SATIŞ.xlsx")});
    const QJsonObject read = readWithOpenpyxl(file);
    EXPECT_EQ(at(read, "cells", "Sayfa1").toObject().keys(), QStringList{"A2"});
    EXPECT_EQ(Workbook::open(file).sheet(1).text(2, 1), QStringLiteral("ikinci"));
}

TEST(WorkbookWrite, RefusedWhileOpenInASpreadsheetProgram)
{
    QTemporaryDir dir;
    const auto file = makeFixture(dir, QStringLiteral("styled"));
    const std::string before = fileBytes(file);
    for (const QString& lock : {QStringLiteral("~$styled.xlsx"), QStringLiteral(".~lock.styled.xlsx#")}) {
        SCOPED_TRACE(lock.toStdString());
        const auto lockFile = file.parent_path() / toPath(lock);
        writeBytes(lockFile, "kilit");
        EXPECT_TRUE(isOpenInSpreadsheet(file));
        Workbook wb = Workbook::open(file); // reading is allowed
        wb.sheet(QStringLiteral("mDATA")).setText(4, 3, QStringLiteral("Yeni Müşteri"));
        const WorkbookError e = errorOf([&] { wb.save(); });
        EXPECT_EQ(e.code(), 75);
        EXPECT_EQ(e.message(), QStringLiteral("styled.xlsx şu anda bir tablo programında açık. "
                                              "Lütfen dosyayı kapatıp yeniden deneyin."));
        EXPECT_EQ(fileBytes(file), before);
        std::filesystem::remove(lockFile);
        EXPECT_EQ(folderEntries(file.parent_path()), QStringList{"styled.xlsx"});
    }
    EXPECT_FALSE(isOpenInSpreadsheet(file));
}

TEST(WorkbookWrite, FailedSaveLeavesTheOriginal)
{
    QTemporaryDir dir;
    const auto file = makeFixture(dir, QStringLiteral("styled"));
    const std::string before = fileBytes(file);
    Workbook wb = Workbook::open(file);
    wb.sheet(QStringLiteral("mDATA")).setText(4, 3, QStringLiteral("Yeni Müşteri"));

    std::filesystem::path seenTemp;
    detail::setBeforeReplaceHookForTests([&](const std::filesystem::path& temp) {
        seenTemp = temp;
        EXPECT_EQ(temp.parent_path(), file.parent_path());
        EXPECT_TRUE(std::filesystem::file_size(temp) > 0);
        throw std::runtime_error("disk kesildi");
    });
    const WorkbookError e = errorOf([&] { wb.save(); });
    EXPECT_EQ(e.code(), 75);
    EXPECT_TRUE(e.message().startsWith(QStringLiteral("styled.xlsx kaydedilemedi"))) << e.what();
    detail::setBeforeReplaceHookForTests(nullptr);
    EXPECT_FALSE(seenTemp.empty());
    EXPECT_EQ(fileBytes(file), before);
    EXPECT_EQ(folderEntries(file.parent_path()), QStringList{"styled.xlsx"});

    // The edit is still there; the next save goes through.
    wb.save();
    EXPECT_EQ(cellOf(readWithOpenpyxl(file), "mDATA", "C4"), textCell("Yeni Müşteri"));
}

TEST(WorkbookWrite, UnsavedEditsAndBadCallsChangeNothing)
{
    QTemporaryDir dir;
    const auto file = makeFixture(dir, QStringLiteral("styled"));
    const std::string before = fileBytes(file);
    {
        Workbook wb = Workbook::open(file);
        wb.sheet(QStringLiteral("mDATA")).setText(2, 7, QStringLiteral("'9999999999"));
        wb.addSheet(QStringLiteral("Yeni"));
    } // closed without saving
    EXPECT_EQ(fileBytes(file), before);

    Workbook wb = Workbook::open(file);
    Sheet& s = wb.sheet(1);
    struct Bad {
        std::function<void()> call;
        int code;
    };
    const Bad calls[] = {
        {[&] { s.setText(0, 1, "x"); }, 1004},
        {[&] { s.setText(1, 16385, "x"); }, 1004},
        {[&] { s.setBold(QStringLiteral("A1:")); }, 1004},
        {[&] { s.setHAlign(QStringLiteral("1A"), xlLeft); }, 1004},
        {[&] { wb.addSheet(QStringLiteral("mdata")); }, 1004},
        {[&] { wb.addSheet(QStringLiteral("a/b")); }, 1004},
        {[&] { Workbook::create().save(); }, 5},
        {[&] { wb.saveAs(toPath(dir.filePath(QStringLiteral("yok/DATA.xlsx")))); }, 76},
    };
    for (const Bad& b : calls) {
        const WorkbookError e = errorOf(b.call);
        EXPECT_EQ(e.code(), b.code) << e.what();
    }
    EXPECT_EQ(fileBytes(file), before);
}
