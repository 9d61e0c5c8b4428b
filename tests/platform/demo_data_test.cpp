// The demo program folder's DATA.xlsx, generated from demo/data at build time, must
// fit what the program does with its lists.
#include "invoice/line_entry.h"
#include "platform/paths.h"
#include "platform/workbook.h"

#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace kuvela;

namespace {

std::filesystem::path demoData()
{
    return std::filesystem::path(KUVELA_BINARY_DIR) / "demo" / "Data" / "DATA.xlsx";
}

QStringList column(Sheet& s, int col)
{
    QStringList out;
    for (int r = 2; !s.text(r, col).isEmpty(); ++r)
        out << s.text(r, col);
    return out;
}

} // namespace

TEST(DemoData, SheetsAndCodeListsFitTheProgram)
{
    Workbook wb = Workbook::open(demoData());
    EXPECT_EQ(wb.sheetNames(), (QStringList{"prgDATA", "mDATA", "kodDATA", "sDATA"}));

    Sheet& kod = wb.sheet(QStringLiteral("kodDATA"));
    const QStringList types = column(kod, 8);
    ASSERT_GE(types.size(), 6);
    EXPECT_EQ(types.mid(0, 6), (QStringList{QString::fromUtf8("SATIŞ"), QString::fromUtf8("İADE"), QString::fromUtf8("TEVKİFAT"),
                                            QString::fromUtf8("İSTİSNA"), QString::fromUtf8("ÖZEL MATRAH"),
                                            QString::fromUtf8("İHRAÇ KAYITLI")}));
    const QStringList codes = column(kod, 2);
    const QStringList rates = column(kod, 3);
    ASSERT_FALSE(codes.isEmpty());
    EXPECT_EQ(codes.size(), rates.size());
    for (const QString& c : codes)
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{3}$")).match(c).hasMatch()) << c.toStdString();
    for (const QString& r : column(kod, 13))
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{3} ")).match(r).hasMatch()) << r.toStdString();
    const QStringList units = column(kod, 15);
    EXPECT_EQ(units, invoice::UnitNames());
    // Today's rates beside the earlier ones, which returns of earlier sales still need.
    EXPECT_EQ(column(kod, 17), invoice::AllowedVatRates());
    const QStringList taxes = column(kod, 5);
    EXPECT_EQ(taxes.size(), column(kod, 6).size());
    for (const char* needed : {"V9015", "V4080", "V0071", "V0021"})
        EXPECT_TRUE(taxes.contains(QString::fromLatin1(needed))) << needed;
    EXPECT_EQ(column(kod, 12).value(0), QString::fromUtf8("Türk Lirası"));

    Sheet& prg = wb.sheet(QStringLiteral("prgDATA"));
    EXPECT_EQ(prg.text(4, 2), "demo");
    EXPECT_EQ(prg.text(5, 2), "1234");
    EXPECT_EQ(prg.text(7, 2), "0123456789");  // a tax number keeps its leading zero
    EXPECT_EQ(prg.text(2, 2), QString::fromUtf8("Çağdaş Gıda"));
    EXPECT_GE(column(wb.sheet(QStringLiteral("mDATA")), 3).size(), 12);
}

TEST(DemoData, OpenpyxlReadsTheSameSheets)
{
    QProcess py;
    py.start(QStringLiteral("/usr/bin/python3"),
             {QStringLiteral("-c"),
              QStringLiteral("import openpyxl,sys; wb=openpyxl.load_workbook(sys.argv[1]); "
                             "print(','.join(wb.sheetnames)); print(wb['prgDATA']['B2'].value); "
                             "print(wb['mDATA']['G2'].value)"),
              fromPath(demoData())});
    ASSERT_TRUE(py.waitForFinished(60000));
    const QStringList lines = QString::fromUtf8(py.readAllStandardOutput()).split(u'\n');
    ASSERT_GE(lines.size(), 3) << py.readAllStandardError().toStdString();
    EXPECT_EQ(lines[0], "prgDATA,mDATA,kodDATA,sDATA");
    EXPECT_EQ(lines[1], QString::fromUtf8("Çağdaş Gıda"));
    EXPECT_EQ(lines[2], "0123456780");
}
