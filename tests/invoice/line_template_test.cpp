#include "invoice/line_template.h"

#include "fixtures/template_fixture.h"
#include "invoice/totals.h"
#include "platform/workbook.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

using namespace kuvela;
using namespace kuvela::invoice;
using kuvela::test::readTemplate;
using kuvela::test::writeTemplate;

namespace {

QString S(const char* utf8) { return QString::fromUtf8(utf8); }

LineGrid gridFor(int typePosition, const QStringList& taxItems = {})
{
    LineGrid g;
    g.layoutForType(invoiceKindAt(typePosition));
    for (const QString& item : taxItems)
        g.addTaxPair(TaxColumnPair::forItem(item));
    return g;
}

QJsonArray titleRow(const LineGrid& g, int offset = 0)
{
    QJsonArray row;
    for (int i = 0; i < offset; ++i)
        row.append(QJsonValue());
    for (const GridColumn& c : g.columns)
        row.append(c.title);
    return row;
}

SheetView viewOf(std::vector<QStringList> rows) { return SheetView{std::move(rows), {}}; }

QStringList titlesOf(const LineGrid& g)
{
    QStringList t;
    for (const GridColumn& c : g.columns)
        t << c.title;
    return t;
}

QJsonValue cellValue(const QJsonObject& read, const QString& ref)
{
    return read.value("cells").toObject().value(ref).toArray().at(0);
}

} // namespace

TEST(LineTemplateExport, SingleFormReadsBackInOpenpyxlWithTitlesValuesAndLook)
{
    QTemporaryDir dir;
    LineGrid g = gridFor(3, {S("V0021-BSMV%")});  // İSTİSNA: GTİP, then one tax pair
    g.appendRow({"1", S("Çay, 1 kg"), "2", "Adet", "1.234,50", "0", "0,00", "2.469,00", "0", "0,00", "010121000000",
                 "5", "123,45"});
    const TemplateExportRequest request{S("Çağdaş Gıda"), S("İSTİSNA"), "05/03/2024", "IRS7", false};
    const TemplateExportResult r = exportLineTemplate(request, g, toPath(dir.path()));
    ASSERT_TRUE(r.saved) << r.statusText.toStdString();
    EXPECT_TRUE(r.statusText.isEmpty());
    EXPECT_EQ(r.folder, toPath(dir.path() + S("/Firmalarım/Çağdaş Gıda/Proforma/İSTİSNA")));
    EXPECT_EQ(fromPath(r.file.filename()), S("Çağdaş Gıda 05-03-2024 IRS7 İSTİSNA V0021-.xlsx"));

    const QJsonObject read = readTemplate(r.file);
    EXPECT_EQ(read.value("sheets").toArray(), QJsonArray{"Sayfa1"});
    const QStringList titles = titlesOf(g);
    for (int c = 0; c < titles.size(); ++c) {
        const QString ref = QChar('A' + c) + QStringLiteral("1");
        EXPECT_EQ(cellValue(read, ref).toString(), titles[c]) << ref.toStdString();
        const QJsonObject look = read.value("titleRow").toObject().value(ref).toObject();
        EXPECT_TRUE(look.value("bold").toBool()) << ref.toStdString();
        EXPECT_EQ(look.value("colour").toString(), "FF0000FF") << ref.toStdString();
        EXPECT_EQ(look.value("horizontal").toString(), "center");
        EXPECT_EQ(look.value("vertical").toString(), "center");
    }
    // The line number is not written; numbers stay numbers, a GTİP keeps its zero.
    EXPECT_FALSE(read.value("cells").toObject().contains("A2"));
    EXPECT_EQ(cellValue(read, "B2").toString(), S("Çay, 1 kg"));
    EXPECT_EQ(cellValue(read, "C2").toDouble(), 2);
    EXPECT_EQ(cellValue(read, "E2").toDouble(), 1234.5);
    EXPECT_EQ(cellValue(read, "H2").toDouble(), 2469);
    EXPECT_EQ(cellValue(read, "K2").toString(), "010121000000");
    EXPECT_EQ(cellValue(read, "M2").toDouble(), 123.45);
}

TEST(LineTemplateExport, BulkFormPutsBuyerTitlesInFrontAndSavesIntoMulti)
{
    QTemporaryDir dir;
    LineGrid g = gridFor(0);
    g.appendRow({"1", "Kalem", "1", "Adet", "10,00", "0", "0,00", "10,00", "18", "1,80"});
    const TemplateExportRequest request{"ABC Ltd", S("SATIŞ"), "05/03/2024", "", true};
    const TemplateExportResult r = exportLineTemplate(request, g, toPath(dir.path()));
    ASSERT_TRUE(r.saved) << r.statusText.toStdString();
    EXPECT_EQ(fromPath(r.file), dir.path() + S("/Firmalarım/ABC Ltd/Proforma/SATIŞ/Multi/(m) ABC Ltd 05-03-2024  SATIŞ .xlsx"));

    const QJsonObject read = readTemplate(r.file);
    const QStringList buyer = bulkBuyerTitles();
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(cellValue(read, QChar('A' + c) + QStringLiteral("1")).toString(), buyer[c]);
    EXPECT_EQ(cellValue(read, "G1").toString(), "s");
    EXPECT_EQ(cellValue(read, "H1").toString(), S("Mal Hizmet Türü"));
    EXPECT_EQ(cellValue(read, "P1").toString(), S("KDV Tutarı"));
    for (const char* empty : {"A2", "B2", "C2", "D2", "E2", "F2", "G2"})
        EXPECT_FALSE(read.value("cells").toObject().contains(empty)) << empty;
    EXPECT_EQ(cellValue(read, "H2").toString(), "Kalem");
    EXPECT_EQ(read.value("titleRow").toObject().value("A1").toObject().value("colour").toString(), "FFFF0000");
}

TEST(LineTemplateExport, FileNames)
{
    const LineGrid plain = gridFor(0);
    const LineGrid twoTaxes = gridFor(0, {S("V4071-ÖTV%"), S("V0021-BSMV%")});
    // An amount column whose title begins with "V" gives its five characters too.
    const LineGrid vAmount = gridFor(0, {S("V0021-Vergi%")});
    struct Case {
        TemplateExportRequest request;
        const LineGrid* grid;
        QString name;
    } cases[] = {
        {{"ABC Ltd", S("SATIŞ"), "05/03/2024", "", false}, &plain, S("ABC Ltd 05-03-2024  SATIŞ .xlsx")},
        {{"ABC Ltd", S("SATIŞ"), "05/03/2024", "IRS7", true}, &plain, S("(m) ABC Ltd 05-03-2024 IRS7 SATIŞ .xlsx")},
        // What a file name cannot hold is "_", as in the filed invoices' names.
        {{"ABC Ltd", S("SATIŞ"), "05/03/2024", "IRS/7:a*b", false}, &plain, S("ABC Ltd 05-03-2024 IRS_7_a_b SATIŞ .xlsx")},
        {{"ABC Ltd", S("SATIŞ"), "05/03/2024", "", false}, &twoTaxes, S("ABC Ltd 05-03-2024  SATIŞ V4071-V0021-.xlsx")},
        {{"ABC Ltd", S("SATIŞ"), "05/03/2024", "", false}, &vAmount, S("ABC Ltd 05-03-2024  SATIŞ V0021-Vergi-.xlsx")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(templateFileName(c.request, *c.grid), c.name);
}

TEST(LineTemplateExport, RefusalsAndFailedSavesAreNeverReportedAsSuccess)
{
    const LineGrid g = gridFor(0);
    {
        QTemporaryDir dir;
        const auto r = exportLineTemplate({S("Firmalarım"), S("SATIŞ"), "05/03/2024", "", false}, g, toPath(dir.path()));
        EXPECT_FALSE(r.saved);
        EXPECT_EQ(r.statusText, noCompanyStatus());
        EXPECT_TRUE(std::filesystem::is_empty(toPath(dir.path())));
        // No folder named after the type combo's prompt.
        const auto noType = exportLineTemplate({"ABC", promptText(), "05/03/2024", "", false}, g, toPath(dir.path()));
        EXPECT_FALSE(noType.saved);
        EXPECT_FALSE(noType.statusText.isEmpty());
        EXPECT_TRUE(std::filesystem::is_empty(toPath(dir.path())));
    }
    {
        QTemporaryDir dir;  // a file stands where the company folder should be
        std::ofstream(toPath(dir.path() + S("/Firmalarım"))) << "x";
        const auto r = exportLineTemplate({"ABC", S("SATIŞ"), "05/03/2024", "", false}, g, toPath(dir.path()));
        EXPECT_FALSE(r.saved);
        EXPECT_TRUE(r.file.empty());
        EXPECT_TRUE(r.statusText.startsWith(S("Şablon kaydedilemedi: "))) << r.statusText.toStdString();
    }
    {
        QTemporaryDir dir;  // the same template is open in a spreadsheet program
        const TemplateExportRequest request{"ABC", S("SATIŞ"), "05/03/2024", "", false};
        const auto folder = templateFolder(toPath(dir.path()), "ABC", S("SATIŞ"), false);
        std::filesystem::create_directories(folder);
        std::ofstream(folder / toPath("~$" + templateFileName(request, g))) << "lock";
        const auto r = exportLineTemplate(request, g, toPath(dir.path()));
        EXPECT_FALSE(r.saved);
        EXPECT_TRUE(r.statusText.startsWith(S("Şablon kaydedilemedi: "))) << r.statusText.toStdString();
        EXPECT_FALSE(std::filesystem::exists(folder / toPath(templateFileName(request, g))));
    }
}

TEST(LineTemplateImport, OpenpyxlTemplateLoadsWithAmountsRecomputed)
{
    QTemporaryDir dir;
    const LineGrid g = gridFor(0, {S("V0021-BSMV%")});
    const auto file = toPath(dir.path() + S("/şablon.XLSX"));  // any letter case
    writeTemplate(file, {titleRow(g),
                         QJsonArray{QJsonValue(), "Kalem", 2, "Adet", 100, 10, 999, 999, 18, 999, 5, 999},
                         QJsonArray{QJsonValue(), "-5 mm vida", -0.5, "Adet", QJsonValue(), -0.5, 0, 0, 18, 0, 0, 0},
                         QJsonArray{QJsonValue(), QJsonValue(), 1, "Adet", 1, 0, 0, 0, 18, 0, 0, 0}});
    const LineImportResult r = importLineTemplate(fromPath(file), g, S("SATIŞ"), 2, false);
    ASSERT_EQ(r.outcome, LineImportResult::Outcome::Loaded) << r.message.toStdString();
    ASSERT_EQ(r.rows.size(), 2u);  // the empty name of row 4 ends the lines
    EXPECT_EQ(r.rows[0], (QStringList{"1", "Kalem", "2", "Adet", "100,00", "10", "20,00", "180,00", "18", "32,40", "5",
                                      "9,00"}));
    // Negative or empty cells become "0", text columns included, and -0,5 as well as -5.
    EXPECT_EQ(r.rows[1], (QStringList{"2", "0", "0", "Adet", "0,00", "0", "0,00", "0,00", "18", "0,00", "0", "0,00"}));

    LineGrid loaded = g;
    loaded.rows = r.rows;
    TotalsSettings settings;
    settings.kind = InvoiceKind::Satis;
    EXPECT_EQ(yekunal(loaded, settings).checkTotal, "221,4");
}

TEST(LineTemplateImport, RefusalsLeaveTheGridAlone)
{
    const LineGrid g = gridFor(0);
    QStringList titles = titlesOf(g);
    QStringList wrong = titles;
    wrong[1] = "Mal Hizmet Turu";
    const QStringList line = {"", "Kalem", "2", "Adet", "abc", "0", "", "", "18", ""};
    struct Case {
        const char* what;
        std::vector<QStringList> rows;
        LineImportResult::Outcome outcome;
        QString message;
    } cases[] = {
        {"wrong title", {wrong, line}, LineImportResult::Outcome::Refused,
         S("Mal Hizmet Turu  bu Excel Sütun Adı hatalı ! Lütfen orjinal bir Şablon kullanınız.")},
        {"one column too many", {titles + QStringList{"Fazla"}, line}, LineImportResult::Outcome::Refused,
         tooManyColumnsMessage()},
        {"price no number", {titles, line}, LineImportResult::Outcome::Failed,
         badDataMessage(2, 5, notANumberDescription("abc"))},
    };
    for (const Case& c : cases) {
        const LineImportResult r = readLineTemplate(viewOf(c.rows), g, S("SATIŞ"), 2, false);
        EXPECT_EQ(r.outcome, c.outcome) << c.what;
        EXPECT_EQ(r.message, c.message) << c.what;
        EXPECT_TRUE(r.rows.empty()) << c.what;
    }
    SheetView withError = viewOf({titles, {"", "Kalem", "#N/A", "Adet", "1", "0", "", "", "18", ""}});
    withError.errors.insert({2, 3});
    const LineImportResult r = readLineTemplate(withError, g, S("SATIŞ"), 2, false);
    EXPECT_EQ(r.outcome, LineImportResult::Outcome::Failed);
    EXPECT_TRUE(r.message.startsWith(S("Hatalı veri: Excel Satır 2 Sütun 3 "))) << r.message.toStdString();

    // A rate read by its leading number alone, and a number cell no Decimal holds (shown
    // as the spreadsheet shows it), are no numbers either.
    const LineGrid paired = gridFor(0, {S("V0021-BSMV%")});
    const QString huge = S("999999999999999999999999999");
    EXPECT_EQ(readLineTemplate(viewOf({titlesOf(paired), {"", "Kalem", "2", "Adet", "1", "0", "", "", "18", "", huge, ""}}),
                               paired, S("SATIŞ"), 2, false).message,
              badDataMessage(2, 11, notANumberDescription(huge)));
    Workbook book = Workbook::create();
    for (int c = 1; c <= titles.size(); ++c)
        book.sheet(1).setString(1, c, titles[c - 1]);
    for (int c = 2; c <= line.size(); ++c)
        book.sheet(1).setText(2, c, c == 5 ? S("1") : line[c - 1]);
    book.sheet(1).setNumber(2, 3, -1e30);
    EXPECT_EQ(readLineTemplate(readSheetView(book.sheet(1), 2), g, S("SATIŞ"), 2, false).message,
              badDataMessage(2, 3, notANumberDescription("-1E+30")));
    EXPECT_EQ(importLineTemplate("/tmp/x.xls", g, S("SATIŞ"), 2, false).statusText, notExcelStatus());
}

TEST(LineTemplateImport, TypeRulesAndTheirWarnings)
{
    struct Case {
        int type;
        QString typeText;
        QStringList extra;  // cells after "KDV Tutarı"
        QStringList expectTail;
        QStringList warnings;
        QStringList taxes = {};
    } cases[] = {
        {2, S("TEVKİFAT"), {"601", "0", "5"}, {"601", "0", "0,00"}, {S("Satır 1 tevkifat oranı 0'dan büyük olmalıdır !")}},
        {2, S("TEVKİFAT"), {"601", "90", ""}, {"601", "90", "29,16"}, {}},
        {2, S("TEVKİFAT"), {"601", "0,5", ""}, {"601", "0,5", "0,16"}, {}},  // 0,5 % of 32,40, no warning
        // ÖTV 10 % of 180,00 enters the VAT base: 18 % of 198,00 is 35,64, 90 % of it withheld.
        {2, S("TEVKİFAT"), {"601", "90", "", "10", ""}, {"601", "90", "32,08", "10", "18,00"}, {}, {S("V0071-ÖTV 1.LİSTE%")}},
        {4, S("ÖZEL MATRAH"), {"801", "500"}, {"801", "500,00"}, {}},
        {4, S("ÖZEL MATRAH"), {"801", "0,50"}, {"801", "0,50"}, {}},  // below one, still above 0
        {4, S("ÖZEL MATRAH"), {"801", ""}, {"801", "0,00"}, {S("Satır 1 Özel Matrah Tutarı 0'dan büyük olmalıdır !")}},
        {3, S("İSTİSNA"), {"0101"}, {"0101"}, {}},
    };
    for (const Case& c : cases) {
        const LineGrid g = gridFor(c.type, c.taxes);
        const LineImportResult r = readLineTemplate(
            viewOf({titlesOf(g), QStringList{"", "Kalem", "2", "Adet", "100", "10", "", "", "18", ""} + c.extra}), g,
            c.typeText, 2, false);
        ASSERT_EQ(r.outcome, LineImportResult::Outcome::Loaded) << r.message.toStdString();
        EXPECT_EQ(r.rows[0].mid(10), c.expectTail) << c.typeText.toStdString() << " " << c.extra.join('|').toStdString();
        EXPECT_EQ(r.warnings, c.warnings) << c.typeText.toStdString();
        LineGrid loaded = g;  // the totals take the line's cells as the import read them
        loaded.rows = r.rows;
        EXPECT_EQ(yekunal(loaded, TotalsSettings{invoiceKindAt(c.type)}).lines[0].mid(10), c.expectTail) << c.extra.join('|').toStdString();
        if (c.type == 4 && c.extra[1] == "500")
            EXPECT_EQ(r.rows[0][9], "90,00");
        if (c.type == 3)
            EXPECT_EQ(r.rows[0].mid(8, 2), (QStringList{"0", "0"}));
    }
}

TEST(LineTemplateImport, BulkFormReadsFromColumnGAndIgnoresTheBuyer)
{
    const LineGrid g = gridFor(0);
    const QStringList titles = bulkBuyerTitles() + titlesOf(g);
    const QStringList row = QStringList{"-1", "x", "y", "z", "-2", "w", "05.03.2024"} +
                            QStringList{"Kalem", "1", "Adet", "10", "0", "", "", "18", ""};
    const LineImportResult r = readLineTemplate(viewOf({titles, row}), g, S("SATIŞ"), 2, true);
    ASSERT_EQ(r.outcome, LineImportResult::Outcome::Loaded) << r.message.toStdString();
    EXPECT_EQ(r.rows[0], (QStringList{"1", "Kalem", "1", "Adet", "10,00", "0", "0,00", "10,00", "18", "1,80"}));
}

TEST(LineTemplateRoundTrip, ExportThenImportGivesTheSameLines)
{
    QTemporaryDir dir;
    LineGrid g = gridFor(2, {S("V0021-BSMV%")});  // TEVKİFAT with one tax
    const LineImportResult first = readLineTemplate(
        viewOf({titlesOf(g), {"", S("Danışmanlık"), "3", "Saat", "1.250,5", "5", "", "", "18", "", "602", "90", "", "5", ""},
                {"", S("Yol gideri"), "1", "Adet", "40", "0", "", "", "8", "", "602", "50", "", "0", ""}}),
        g, S("TEVKİFAT"), 2, false);
    ASSERT_EQ(first.outcome, LineImportResult::Outcome::Loaded) << first.message.toStdString();
    g.rows = first.rows;

    const auto r = exportLineTemplate({"ABC", S("TEVKİFAT"), "05/03/2024", "", false}, g, toPath(dir.path()));
    ASSERT_TRUE(r.saved) << r.statusText.toStdString();
    const LineImportResult again = importLineTemplate(fromPath(r.file), g, S("TEVKİFAT"), 2, false);
    ASSERT_EQ(again.outcome, LineImportResult::Outcome::Loaded) << again.message.toStdString();
    EXPECT_EQ(again.rows, g.rows);
}
