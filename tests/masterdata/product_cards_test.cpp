// The product-card catalogue on a DATA.xlsx written by openpyxl, read back by openpyxl.
#include "masterdata/product_cards.h"
#include "platform/paths.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

using namespace kuvela;
using namespace kuvela::masterdata;

namespace {

QByteArray python(const QString& script, const QStringList& args)
{
    QProcess p;
    p.start("/usr/bin/python3", QStringList{"-c", script} + args);
    const bool done = p.waitForFinished(300000);
    EXPECT_TRUE(done && p.exitCode() == 0) << p.readAllStandardError().toStdString();
    return p.readAllStandardOutput();
}

// sDATA: a title row, five cards, a gap at row 7 and a card behind it (never listed).
// `extra` cards are added before the gap, from row 7 on.
const char* kMakeScript = R"PY(
import sys
from openpyxl import Workbook
out, extra = sys.argv[1], int(sys.argv[2])
wb = Workbook()
prg = wb.active; prg.title = "prgDATA"
for col, name in zip("BCDF", ["Alfa", "Beta", "Gama", "Gizli"]):
    prg[col + "2"] = name
wb.create_sheet("mDATA")
kod = wb.create_sheet("kodDATA")
for r, (code, rate) in enumerate([("624", 90), ("801", 100)], start=2):
    kod.cell(r, 2, code); kod.cell(r, 3, rate)
kod["B5"] = "999"  # behind the gap
for r, (code, name) in enumerate([("V0021", "BSMV"), ("V0071", "ÖTV 1.LİSTE")], start=2):
    kod.cell(r, 5, code); kod.cell(r, 6, name)
kod["E4"] = "V9999"  # no name: the extra-tax list ends before it
kod["M2"] = "Neden A"
for r, unit in enumerate(["Adet", "kg"], start=2):
    kod.cell(r, 15, unit)
for r, rate in enumerate([0, 1, 8, 18], start=2):
    kod.cell(r, 17, rate)
s = wb.create_sheet("sDATA")
s.append(["Kod", "Firma", "Ad", "Birim", "Fiyat", "İsk", "KDV", "Tevk", "TevkO", "V1", "V1O", "V2", "V2O",
          "GTİP", "Neden", "ÖM"])
s.append(["P1", "Alfa", "Kalem", "Adet", 12.5, 0, 18, None, None, "V0021-BSMV%", 5])
s.append(["P2", "Beta", "Silgi", "Adet", 3, 10, 8])
s.append(["P3", "Firmalarım", "Defter", "Adet", 20, 0, 18])
s.append(["P4", "Alfa", "Kalem", "kg", 13, 0, 1])
s.append(["P5", "Gama", "Cetvel", "Adet", 7, 0, 18])
for i in range(extra):
    s.append(["X%d" % i, "Alfa", "Ürün %d" % i])
s.append([])
s.append(["P9", "Alfa", "Gizli ürün"])
wb.save(out)
)PY";

const char* kReadRowScript = R"PY(
import sys, json
from openpyxl import load_workbook
ws = load_workbook(sys.argv[1], read_only=True)["sDATA"]
row = int(sys.argv[2])
values = next(ws.iter_rows(min_row=row, max_row=row, max_col=16, values_only=True))
print(json.dumps(list(values) + [None] * (16 - len(values))))
)PY";

class ProductCards : public ::testing::Test {
protected:
    void make(int extra = 0)
    {
        ASSERT_TRUE(dir.isValid());
        file = toPath(dir.filePath("DATA.xlsx"));
        python(kMakeScript, {fromPath(file), QString::number(extra)});
    }
    QJsonArray readRow(int row) { return QJsonDocument::fromJson(python(kReadRowScript, {fromPath(file), QString::number(row)})).array(); }

    QTemporaryDir dir;
    std::filesystem::path file;
};

ProductCard newCard()
{
    ProductCard c{"00123", "Alfa", {}};
    c.fields.name = "Yeni Ürün";
    c.fields.unit = "Adet";
    c.fields.unitPrice = "12,50";
    c.fields.discountRate = "0";
    c.fields.vatRate = "18";
    c.fields.withholdingItem = "624 % 90";
    c.fields.withholdingRate = "90";
    c.fields.extraTax1 = "V0021-BSMV%";
    c.fields.extraTax1Rate = "5";
    c.fields.gtip = "0101";
    c.fields.specialAmount = "0";
    return c;
}

} // namespace

TEST_F(ProductCards, LoadReadsCodeListsCompaniesAndTheCompanysCards)
{
    make();
    const ProductCatalogue alfa = loadProductCatalogue(file, "Alfa", false);
    EXPECT_EQ(alfa.codeLists.withholding, QStringList({"624 % 90", "801 % 100"}));
    EXPECT_EQ(alfa.codeLists.extraTaxes, QStringList({"V0021-BSMV%", "V0071-ÖTV 1.LİSTE%"}));
    EXPECT_EQ(alfa.codeLists.units, QStringList({"Adet", "kg"}));
    EXPECT_EQ(alfa.codeLists.vatRates, QStringList({"0", "1", "8", "18"}));
    EXPECT_EQ(alfa.codeLists.specialReasons, QStringList({"Neden A"}));
    EXPECT_TRUE(alfa.companies.isEmpty());
    EXPECT_EQ(alfa.cards.codes, QStringList({"P1", "P3", "P4"}));
    EXPECT_EQ(alfa.cards.names, QStringList({"Kalem", "Defter", "Kalem"}));

    const ProductCatalogue all = loadProductCatalogue(file, "", false);
    EXPECT_EQ(all.companies, QStringList({"Alfa", "Beta", "Gama"}));
    EXPECT_EQ(all.cards.codes, QStringList({"P1", "P2", "P3", "P4", "P5"}));
    EXPECT_EQ(loadProductCatalogue(file, "", true).companies, QStringList({"Alfa"}));
}

TEST_F(ProductCards, PickFindsTheLastMatchByNameThenCode)
{
    make();
    const auto kalem = pickProductCard(file, "Kalem", "P1");  // the name wins; the lower card wins
    ASSERT_TRUE(kalem);
    EXPECT_EQ(kalem->code, "P4");
    EXPECT_EQ(kalem->fields.unit, "kg");
    EXPECT_EQ(kalem->fields.unitPrice, "13");
    const auto p1 = pickProductCard(file, "", "P1");
    ASSERT_TRUE(p1);
    EXPECT_EQ(p1->columns().mid(0, 11),
              QStringList({"P1", "Alfa", "Kalem", "Adet", "12,5", "0", "18", "", "", "V0021-BSMV%", "5"}));
    // Both boxes empty: the first empty row after the cards, which empties every field.
    EXPECT_EQ(pickProductCard(file, "", ""), ProductCard{});
    EXPECT_FALSE(pickProductCard(file, "Gizli ürün", ""));  // behind the gap
}

TEST_F(ProductCards, SaveAppendsToTheFirstFreeRowAndKeepsTexts)
{
    make();
    const int row = saveNewProductCard(file, newCard());
    EXPECT_EQ(row, 7);
    const QJsonArray back = readRow(7);
    EXPECT_EQ(back[0].toString(), "00123");  // a code keeps its leading zeros
    EXPECT_EQ(back[2].toString(), "Yeni Ürün");
    EXPECT_DOUBLE_EQ(back[4].toDouble(), 12.5);  // numbers typed as numbers
    EXPECT_DOUBLE_EQ(back[8].toDouble(), 90);
    EXPECT_EQ(back[9].toString(), "V0021-BSMV%");
    EXPECT_EQ(back[13].toString(), "0101");
    EXPECT_TRUE(back[14].isNull());
    // The new card is listed and picked like any other.
    EXPECT_TRUE(loadProductCatalogue(file, "Alfa", false).cards.names.contains("Yeni Ürün"));
    EXPECT_EQ(pickProductCard(file, "Yeni Ürün", "")->code, "00123");
    // Row 8 holds the card that stood behind the gap, now part of the list.
    EXPECT_EQ(saveNewProductCard(file, newCard()), 9);
}

TEST_F(ProductCards, SaveIsRefusedWhileASpreadsheetHoldsTheFile)
{
    make();
    std::ifstream in(file, std::ios::binary);
    const std::string before((std::istreambuf_iterator<char>(in)), {});
    in.close();
    std::ofstream(file.parent_path() / toPath("~$DATA.xlsx")) << "x";
    try {
        saveNewProductCard(file, newCard());
        FAIL() << "save should be refused";
    } catch (const WorkbookError& e) {
        EXPECT_TRUE(e.message().contains("DATA.xlsx")) << e.message().toStdString();
    }
    std::ifstream again(file, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(again)), {}), before);
}

TEST_F(ProductCards, SheetsLongerThanASixteenBitCounter)
{
    make(33000);  // cards in rows 2 to 33006
    EXPECT_EQ(saveNewProductCard(file, newCard()), 33007);
    const auto late = pickProductCard(file, "Ürün 32990", "");
    ASSERT_TRUE(late);
    EXPECT_EQ(late->code, "X32990");
    EXPECT_EQ(readRow(33007)[2].toString(), "Yeni Ürün");
}

TEST_F(ProductCards, SaveNeverCoversARowWithoutAName)
{
    make();
    {
        // Row 7 holds a code and a price but no name: not a listed card, still someone's data.
        Workbook book = Workbook::open(file);
        book.sheet(QStringLiteral("sDATA")).setString(7, 1, QStringLiteral("P7"));
        book.sheet(QStringLiteral("sDATA")).setNumber(7, 5, 4);
        book.save();
    }
    EXPECT_EQ(saveNewProductCard(file, newCard()), 9);  // row 8 is the card behind the gap
    const QJsonArray kept = readRow(7);
    EXPECT_EQ(kept[0].toString(), "P7");
    EXPECT_TRUE(kept[2].isNull());
    EXPECT_DOUBLE_EQ(kept[4].toDouble(), 4);
    EXPECT_EQ(readRow(8)[2].toString(), "Gizli ürün");
    EXPECT_EQ(readRow(9)[2].toString(), "Yeni Ürün");
}
