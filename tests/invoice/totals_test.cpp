// yekunal on hand-worked invoices. dc 2, both note lines on, no company notes,
// unless a case says otherwise.
#include "invoice/totals.h"

#include <gtest/gtest.h>

using namespace kuvela::invoice;

namespace {

struct Row {
    QString label, amount;
};

struct Case {
    const char* name;
    int position;
    int dc;
    QStringList pairs;  // extra-tax items, in column order
    std::vector<QStringList> lines;
    std::vector<Row> rows;
    QString checkTotal;
    QString bases;  // "%1 | %8 | %18" of the VAT-base note, or the whole note where 10 or 20 carry a base
    QString words;
    QStringList vatCells;  // column 10 of each line afterwards
};

LineGrid gridFor(int position, const QStringList& pairs, const std::vector<QStringList>& lines)
{
    LineGrid g;
    g.temelfatura();
    g.layoutForType(invoiceKindAt(position));
    for (const QString& item : pairs)
        g.addTaxPair(TaxColumnPair::forItem(item));
    g.rows = lines;
    return g;
}

TotalsSettings settingsFor(int position, int dc)
{
    TotalsSettings s;
    s.kind = invoiceKindAt(position);
    s.dc = dc;
    s.prmMatStr = "E";
    s.prmYazStr = "E";
    return s;
}

const QString kGoods = "Mal / Hizmet Bedeli Toplamı :";
const QString kDisc = "İskontolar Toplamı :";
const QString kVat = "KDV Toplamı :";
const QString kGrand = "GENEL TOPLAM :";
const QStringList kLineA = {"1", "Ürün A", "2", "Adet", "100,00", "10", "20,00", "180,00", "18", "32,40"};

QStringList with(QStringList base, const QStringList& more) { return base << more; }

const std::vector<Case> kCases = {
    // No lines: four zero rows; the standard branch's checkTotal is the plain number.
    {"SatisEmpty", 0, 2, {}, {},
     {{kGoods, "0,00"}, {kDisc, "0,00"}, {kVat, "0,00"}, {kGrand, "0,00"}},
     "0", "0,00|0,00|0,00", "--TL--Kr.", {}},
    // 2 x 100 = 200, discount 20, VAT 32,40: G = 200 - 20 + 32,40 = 212,40, plain "212,4".
    {"SatisOneLine", 0, 2, {}, {kLineA},
     {{kGoods, "200,00"}, {kDisc, "20,00"}, {kVat, "32,40"}, {kGrand, "212,40"}},
     "212,4", "0,00|0,00|180,00", "İkiyüzonikiTLKırkKr.", {"32,40"}},
    {"IadeAsSatis", 1, 2, {}, {kLineA},
     {{kGoods, "200,00"}, {kDisc, "20,00"}, {kVat, "32,40"}, {kGrand, "212,40"}},
     "212,4", "0,00|0,00|180,00", "İkiyüzonikiTLKırkKr.", {"32,40"}},
    {"IhracKayitliAsSatis", 5, 2, {}, {kLineA},
     {{kGoods, "200,00"}, {kDisc, "20,00"}, {kVat, "32,40"}, {kGrand, "212,40"}},
     "212,4", "0,00|0,00|180,00", "İkiyüzonikiTLKırkKr.", {"32,40"}},
    // Tax outside the VAT base: 5 % of 180 = 9,00 enters G only: 200 + 9 + 32,40 - 20 = 221,40.
    {"SatisTaxOutsideVatBase", 0, 2, {"V0021-BSMV%"}, {with(kLineA, {"5,00", "9,00"})},
     {{kGoods, "200,00"}, {kDisc, "20,00"}, {kVat, "32,40"}, {"V0021-BSMV Toplamı :", "9,00"}, {kGrand, "221,40"}},
     "221,4", "0,00|0,00|180,00", "İkiyüzyirmibirTLKırkKr.", {"32,40"}},
    // Tax inside the VAT base with its full amount: 5 % of 250 = 12,50; VAT 45 + 12,50 x 18 % = 47,25;
    // G = 250 + 12,50 + 47,25 = 309,75; base18 = 250 + 12,50.
    {"SatisTaxInsideVatBaseFullAmount", 0, 2, {"V0071-ÖTV 1.LİSTE%"},
     {{"1", "Ürün B", "1", "Adet", "250,00", "0", "0,00", "250,00", "18", "45,00", "5,00", "12,50"}},
     {{kGoods, "250,00"}, {kDisc, "0,00"}, {kVat, "47,25"}, {"V0071-ÖTV 1.LİSTE Toplamı :", "12,50"}, {kGrand, "309,75"}},
     "309,75", "0,00|0,00|262,50", "ÜçyüzdokuzTLYetmişbeşKr.", {"47,25"}},
    // Rates 8 and 1, a VAT-base tax then another: VAT 12 + 3 x 8 % = 12,24 and 9,50 + 19 x 1 % = 9,69;
    // G = 1150 + (22 + 11) + 21,93 - 50 = 1154,93; bases 950 + 19 and 150 + 3.
    {"SatisTwoRatesTwoTaxes", 0, 2, {"V4071-EHTV%", "V0021-BSMV%"},
     {{"1", "A", "10", "Adet", "15,00", "0", "0,00", "150,00", "8", "12,00", "2,00", "3,00", "1,00", "1,50"},
      {"2", "B", "1", "Adet", "1.000,00", "5", "50,00", "950,00", "1", "9,50", "2,00", "19,00", "1,00", "9,50"}},
     {{kGoods, "1.150,00"}, {kDisc, "50,00"}, {kVat, "21,93"}, {"V4071-EHTV Toplamı :", "22,00"},
      {"V0021-BSMV Toplamı :", "11,00"}, {kGrand, "1.154,93"}},
     "1154,93", "969,00|153,00|0,00", "BinyüzellidörtTLDoksanüçKr.", {"12,24", "9,69"}},
    // Today's rates, the issue's own example: 5 x 10 at 10 % and 200 at 20 %: G = 250 + 5 + 40 = 295; the
    // note gains the two fields in rate order.
    {"SatisTenAndTwenty", 0, 2, {},
     {{"1", "Kitap", "5", "Adet", "10,00", "0", "0,00", "50,00", "10", "5,00"},
      {"2", "Hizmet", "1", "Adet", "200,00", "0", "0,00", "200,00", "20", "40,00"}},
     {{kGoods, "250,00"}, {kDisc, "0,00"}, {kVat, "45,00"}, {kGrand, "295,00"}},
     "295", "KDV MATRAH [%1: 0,00][%8: 0,00][%10: 50,00][%18: 0,00][%20: 200,00]", "İkiyüzdoksanbeşTL--Kr.",
     {"5,00", "40,00"}},
    // A VAT-base tax at 20 %: VAT 50 + 12,50 x 20 % = 52,50; G = 250 + 12,50 + 52,50 = 315; base20 = 262,50,
    // and no 10 % field without a 10 % base.
    {"SatisTaxInsideVatBaseAt20", 0, 2, {"V0071-ÖTV 1.LİSTE%"},
     {{"1", "Ürün B", "1", "Adet", "250,00", "0", "0,00", "250,00", "20", "50,00", "5,00", "12,50"}},
     {{kGoods, "250,00"}, {kDisc, "0,00"}, {kVat, "52,50"}, {"V0071-ÖTV 1.LİSTE Toplamı :", "12,50"}, {kGrand, "315,00"}},
     "315", "KDV MATRAH [%1: 0,00][%8: 0,00][%18: 0,00][%20: 262,50]", "ÜçyüzonbeşTL--Kr.", {"52,50"}},
    // A line added before the pair existed gets rate "0" and amount 0,00: G = 300 + 10 + 54 = 364.
    {"SatisEmptyRateCell", 0, 2, {"V0021-BSMV%"},
     {{"1", "A", "1", "Adet", "100,00", "0", "0,00", "100,00", "18", "18,00"},
      {"2", "B", "1", "Adet", "200,00", "0", "0,00", "200,00", "18", "36,00", "5,00", "10,00"}},
     {{kGoods, "300,00"}, {kDisc, "0,00"}, {kVat, "54,00"}, {"V0021-BSMV Toplamı :", "10,00"}, {kGrand, "364,00"}},
     "364", "0,00|0,00|300,00", "ÜçyüzaltmışdörtTL--Kr.", {"18,00", "36,00"}},
    // A million and more: 1000 x 1.234,56 = 1.234.560; VAT 222.220,80; G 1.456.780,80.
    {"SatisMillions", 0, 2, {},
     {{"1", "Büyük", "1000", "Adet", "1.234,56", "0", "0,00", "1.234.560,00", "18", "222.220,80"}},
     {{kGoods, "1.234.560,00"}, {kDisc, "0,00"}, {kVat, "222.220,80"}, {kGrand, "1.456.780,80"}},
     "1456780,8", "0,00|0,00|1.234.560,00", "BirmilyondörtyüzellialtıbinyediyüzseksenTLSeksenKr.", {"222.220,80"}},
    // Three lines of 0,125 x 1: each line's amount is 0,13, so the goods are 0,39 and the rows add up,
    // 0,39 + 0,06 = 0,45, as the portal adds them.
    {"HalfCasesDc2", 0, 2, {},
     {{"1", "X", "0,125", "Adet", "1,00", "0", "0,00", "0,13", "18", "0,02"},
      {"2", "X", "0,125", "Adet", "1,00", "0", "0,00", "0,13", "18", "0,02"},
      {"3", "X", "0,125", "Adet", "1,00", "0", "0,00", "0,13", "18", "0,02"}},
     {{kGoods, "0,39"}, {kDisc, "0,00"}, {kVat, "0,06"}, {kGrand, "0,45"}},
     "0,45", "0,00|0,00|0,39", "--TLKırkbeşKr.", {"0,02", "0,02", "0,02"}},
    // dc 4 gives the same sums: no running sum is cut between lines.
    {"HalfCasesDc4", 0, 4, {},
     {{"1", "X", "0,125", "Adet", "1,0000", "0", "0,00", "0,13", "18", "0,02"},
      {"2", "X", "0,125", "Adet", "1,0000", "0", "0,00", "0,13", "18", "0,02"},
      {"3", "X", "0,125", "Adet", "1,0000", "0", "0,00", "0,13", "18", "0,02"}},
     {{kGoods, "0,39"}, {kDisc, "0,00"}, {kVat, "0,06"}, {kGrand, "0,45"}},
     "0,45", "0,00|0,00|0,39", "--TLKırkbeşKr.", {"0,02", "0,02", "0,02"}},
    // The tax amount 10,50 x 5 % = 0,525 is written half away: 0,53. G = 10,50 + 0,53 + 1,89 = 12,92.
    {"TaxAmountHalfAway", 0, 2, {"V0021-BSMV%"},
     {{"1", "X", "1", "Adet", "10,50", "0", "0,00", "10,50", "18", "1,89", "5,00", "0,52"}},
     {{kGoods, "10,50"}, {kDisc, "0,00"}, {kVat, "1,89"}, {"V0021-BSMV Toplamı :", "0,53"}, {kGrand, "12,92"}},
     "12,92", "0,00|0,00|10,50", "OnikiTLDoksanikiKr.", {"1,89"}},
    // Withholding: Ödenecek = 212,40 - 29,16; checkTotal formatted, words of GENEL TOPLAM.
    {"Tevkifat", 2, 2, {}, {with(kLineA, {"624 Yük Taşımacılığı % 90", "90", "29,16"})},
     {{kGoods, "200,00"}, {kDisc, "20,00"}, {kVat, "32,40"}, {"Tevkif Edilen KDV :", "29,16"}, {kGrand, "212,40"},
      {"Ödenecek Tutar :", "183,24"}},
     "212,40", "0,00|0,00|180,00", "İkiyüzonikiTLKırkKr.", {"32,40"}},
    // VAT-base tax on a withholding invoice: VAT 32,40 + 9 x 18 % = 34,02 shown in row 3 at once;
    // G = 200 + 9 + 34,02 - 20 = 223,02; 90 % of 34,02 withheld, Ödenecek 223,02 - 30,62; the base holds the tax.
    {"TevkifatVatBaseTax", 2, 2, {"V0071-ÖTV 1.LİSTE%"},
     {with(kLineA, {"624 Yük Taşımacılığı % 90", "90", "29,16", "5,00", "9,00"})},
     {{kGoods, "200,00"}, {kDisc, "20,00"}, {kVat, "34,02"}, {"Tevkif Edilen KDV :", "30,62"},
      {"V0071-ÖTV 1.LİSTE Toplamı :", "9,00"}, {kGrand, "223,02"}, {"Ödenecek Tutar :", "192,40"}},
     "223,02", "0,00|0,00|189,00", "İkiyüzyirmiüçTLİkiKr.", {"34,02"}},
    // Exempt: the label row has no amount, no VAT, no bases; the VAT cell "0" becomes 0,00.
    {"Istisna", 3, 2, {}, {{"1", "Hizmet", "3", "Adet", "50,00", "0", "0,00", "150,00", "0", "0", "8471"}},
     {{kGoods, "150,00"}, {kDisc, "0,00"}, {"KDV'den İstisnadır.", ""}, {kGrand, "150,00"}},
     "150,00", "0,00|0,00|0,00", "YüzelliTL--Kr.", {"0,00"}},
    // Exempt with a tax outside the VAT base: 150 + 7,50.
    {"IstisnaWithTax", 3, 2, {"V0021-BSMV%"},
     {{"1", "Hizmet", "3", "Adet", "50,00", "0", "0,00", "150,00", "0", "0", "8471", "5,00", "7,50"}},
     {{kGoods, "150,00"}, {kDisc, "0,00"}, {"KDV'den İstisnadır.", ""}, {"V0021-BSMV Toplamı :", "7,50"},
      {kGrand, "157,50"}},
     "157,50", "0,00|0,00|0,00", "YüzelliyediTLElliKr.", {"0,00"}},
    // Special base 500 at 18 % = 90 VAT on a net of 180: G = 200 - 20 + 90 = 270; base18 is the special base.
    {"OzelMatrah", 4, 2, {}, {with(kLineA.mid(0, 9), {"90,00", "Neden", "500,00"})},
     {{kGoods, "200,00"}, {kDisc, "20,00"}, {kVat, "90,00"}, {"Özel Matrah Toplamı :", "500,00"}, {kGrand, "270,00"}},
     "270,00", "0,00|0,00|500,00", "İkiyüzyetmişTL--Kr.", {"90,00"}},
    // An extra tax leaves the VAT on the special base: G = 200 + 9 + 90 - 20 = 279.
    {"OzelMatrahTaxKeepsSpecialVat", 4, 2, {"V0021-BSMV%"},
     {with(kLineA.mid(0, 9), {"90,00", "Neden", "500,00", "5,00", "9,00"})},
     {{kGoods, "200,00"}, {kDisc, "20,00"}, {kVat, "90,00"}, {"Özel Matrah Toplamı :", "500,00"},
      {"V0021-BSMV Toplamı :", "9,00"}, {kGrand, "279,00"}},
     "279,00", "0,00|0,00|500,00", "İkiyüzyetmişdokuzTL--Kr.", {"90,00"}},
    // VAT-base tax on a special base: 90 + 9 x 18 % = 91,62 in row 3; G = 200 + 9 + 91,62 - 20 = 280,62.
    {"OzelMatrahVatBaseTax", 4, 2, {"V0071-ÖTV 1.LİSTE%"},
     {with(kLineA.mid(0, 9), {"90,00", "Neden", "500,00", "5,00", "9,00"})},
     {{kGoods, "200,00"}, {kDisc, "20,00"}, {kVat, "91,62"}, {"Özel Matrah Toplamı :", "500,00"},
      {"V0071-ÖTV 1.LİSTE Toplamı :", "9,00"}, {kGrand, "280,62"}},
     "280,62", "0,00|0,00|509,00", "İkiyüzseksenTLAltmışikiKr.", {"91,62"}},
    // The VAT is taken once on net and tax: 18 % of 0,06 is 0,01, where 0,01 + 0,01 would be taken apart.
    {"SatisVatOnceOnNetAndTax", 0, 2, {"V0071-ÖTV 1.LİSTE%"},
     {{"1", "X", "1", "Adet", "0,03", "0", "0,00", "0,03", "18", "0,01", "100,00", "0,03"}},
     {{kGoods, "0,03"}, {kDisc, "0,00"}, {kVat, "0,01"}, {"V0071-ÖTV 1.LİSTE Toplamı :", "0,03"}, {kGrand, "0,07"}},
     "0,07", "0,00|0,00|0,06", "--TLYediKr.", {"0,01"}},
    // An exempt invoice holds no VAT, whatever its line was given: G = 100.
    {"IstisnaLineWithVat", 3, 2, {}, {{"1", "X", "1", "Adet", "100,00", "0", "0,00", "100,00", "20", "20,00"}},
     {{kGoods, "100,00"}, {kDisc, "0,00"}, {"KDV'den İstisnadır.", ""}, {kGrand, "100,00"}}, "100,00", "0,00|0,00|0,00",
     "YüzTL--Kr.", {"0,00"}},
    // A discount amount is rounded once to kuruş: the net 9,99, G = 9,99 + 1,80.
    {"DiscountAmountToKurus", 0, 2, {}, {{"1", "X", "1", "Adet", "10,00", "0", "0,005", "9,995", "18", "1,80"}},
     {{kGoods, "10,00"}, {kDisc, "0,01"}, {kVat, "1,80"}, {kGrand, "11,79"}}, "11,79", "0,00|0,00|9,99",
     "OnbirTLYetmişdokuzKr.", {"1,80"}},
    // A rate of 18,6 takes its base at 18 with its VAT-base tax: VAT 110 x 18,6 % = 20,46.
    {"FractionalRateTakesItsTaxIntoItsBase", 0, 2, {"V0071-ÖTV 1.LİSTE%"},
     {{"1", "X", "1", "Adet", "100,00", "0", "0,00", "100,00", "18,6", "0,00", "10,00", "0,00"}},
     {{kGoods, "100,00"}, {kDisc, "0,00"}, {kVat, "20,46"}, {"V0071-ÖTV 1.LİSTE Toplamı :", "10,00"}, {kGrand, "130,46"}},
     "130,46", "0,00|0,00|110,00", "YüzotuzTLKırkaltıKr.", {"20,46"}},
    // Special-base VAT 100,25 x 18 % = 18,045 rounds half away to 18,05, as the portal rounds it.
    {"OzelMatrahHalfCase", 4, 2, {"V0021-BSMV%"},
     {{"1", "X", "1", "Adet", "100,00", "0", "0,00", "100,00", "18", "18,04", "Neden", "100,25", "1,00", "1,00"}},
     {{kGoods, "100,00"}, {kDisc, "0,00"}, {kVat, "18,05"}, {"Özel Matrah Toplamı :", "100,25"},
      {"V0021-BSMV Toplamı :", "1,00"}, {kGrand, "119,05"}},
     "119,05", "0,00|0,00|100,25", "YüzondokuzTLBeşKr.", {"18,05"}},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class TotalsTable : public ::testing::TestWithParam<Case> {};

TEST_P(TotalsTable, MatchesTheHandWorkedInvoice)
{
    const Case& c = GetParam();
    const LineGrid grid = gridFor(c.position, c.pairs, c.lines);
    const TotalsResult r = yekunal(grid, settingsFor(c.position, c.dc));
    ASSERT_FALSE(r.error.has_value());
    ASSERT_EQ(r.rows.size(), c.rows.size());
    for (size_t i = 0; i < c.rows.size(); ++i) {
        EXPECT_EQ(r.rows[i].ordinal, int(i) + 1);
        EXPECT_EQ(r.rows[i].label, c.rows[i].label) << "row " << i + 1;
        EXPECT_EQ(r.rows[i].amount, c.rows[i].amount) << "row " << i + 1 << " " << c.rows[i].label.toStdString();
    }
    EXPECT_EQ(r.checkTotal, c.checkTotal);
    const QStringList b = c.bases.split('|');
    if (b.size() == 3)
        EXPECT_EQ(r.kdvMatStr, QString("• KDV MATRAH [%1: ") + b[0] + "][%8: " + b[1] + "][%18: " + b[2] + "]");
    else
        EXPECT_EQ(r.kdvMatStr, "• " + c.bases);
    EXPECT_EQ(r.yazTopStr, "• Yalnız:" + c.words);
    EXPECT_EQ(r.text6, r.kdvMatStr + "\r\n" + r.yazTopStr);
    ASSERT_EQ(r.lines.size(), c.vatCells.size());
    for (size_t i = 0; i < c.vatCells.size(); ++i)
        EXPECT_EQ(r.lines[i][9], c.vatCells[i]) << "line " << i + 1;

    // The rewritten cells are the lines' state: a second run gives the same result.
    LineGrid again = grid;
    again.rows = r.lines;
    const TotalsResult r2 = yekunal(again, settingsFor(c.position, c.dc));
    EXPECT_EQ(r2.rows, r.rows);
    EXPECT_EQ(r2.lines, r.lines);
    EXPECT_EQ(r2.checkTotal, r.checkTotal);
}

INSTANTIATE_TEST_SUITE_P(Invoices, TotalsTable, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Totals, TaxCellsAreRewrittenAndSharesKept)
{
    // Rate cell empty on line 1 -> "0" / 0,00; the VAT-base tax of line 2 (12,50) is its share of base 18,
    // that of line 3 (2 % of 100) its share of base 10.
    LineGrid g = gridFor(0, {"V0071-ÖTV 1.LİSTE%"},
                         {{"1", "A", "1", "Adet", "100,00", "0", "0,00", "100,00", "8", "8,00"},
                          {"2", "B", "1", "Adet", "250,00", "0", "0,00", "250,00", "18", "45,00", "5,00", "9,99"},
                          {"3", "C", "1", "Adet", "100,00", "0", "0,00", "100,00", "10", "10,00", "2,00", "0,00"}});
    const TotalsResult r = yekunal(g, settingsFor(0, 2));
    EXPECT_EQ(r.lines[0].mid(10), QStringList({"0", "0,00"}));
    EXPECT_EQ(r.lines[1].mid(10), QStringList({"5,00", "12,50"}));
    EXPECT_EQ(r.lines[2].mid(9), QStringList({"10,20", "2,00", "2,00"}));
    EXPECT_EQ(r.ekmat18.toPlainString(), "12.5");
    EXPECT_EQ(r.ekmat10.toPlainString(), "2");
    EXPECT_TRUE(r.ekmat8.isZero());
    EXPECT_TRUE(r.ekmat1.isZero());
    EXPECT_TRUE(r.ekmat20.isZero());
    EXPECT_EQ(r.kdvMatStr, "• KDV MATRAH [%1: 0,00][%8: 100,00][%10: 102,00][%18: 262,50]");
}

TEST(Totals, PromptAndUnknownTypesComputeNothing)
{
    for (const int position : {-1, 6}) {
        const LineGrid g = gridFor(0, {"V0021-BSMV%"}, {with(kLineA, {"5,00", "1,00"})});
        const TotalsResult r = yekunal(g, settingsFor(position, 2));
        EXPECT_TRUE(r.rows.empty());
        EXPECT_EQ(r.lines, g.rows) << "cells untouched";
        EXPECT_EQ(r.checkTotal, "0,00");
        EXPECT_EQ(r.kdvMatStr, "• KDV MATRAH [%1: 0,00][%8: 0,00][%18: 0,00]");
        EXPECT_EQ(r.yazTopStr, "• Yalnız:--TL--Kr.");
    }
}

TEST(Totals, NoteComposition)
{
    const LineGrid g = gridFor(0, {}, {kLineA});
    TotalsSettings s = settingsFor(0, 2);
    s.userNot1 = "• Not 1\r\n";
    s.userNot3 = "• Not 3\r\n";
    s.prmMatStr = "";
    s.prmYazStr = "e";
    EXPECT_EQ(yekunal(g, s).text6, "• Not 1\r\n• Not 3\r\n\r\n• Yalnız:İkiyüzonikiTLKırkKr.");
    s = settingsFor(0, 2);
    s.prmMatStr = "e";
    s.prmYazStr = "H";
    const TotalsResult r = yekunal(g, s);
    EXPECT_EQ(r.text6, "• KDV MATRAH [%1: 0,00][%8: 0,00][%18: 180,00]\r\n");
    EXPECT_TRUE(r.yazTopStr.isEmpty());
}

TEST(Totals, CellsThatAreNoNumbers)
{
    // An empty quantity counts as 0: B = 0, G = 0 - 20 + 32,40.
    QStringList noQty = kLineA;
    noQty[2] = "";
    const TotalsResult ok = yekunal(gridFor(0, {}, {noQty}), settingsFor(0, 2));
    ASSERT_FALSE(ok.error);
    EXPECT_EQ(ok.checkTotal, "12,4");

    QStringList badPrice = kLineA;
    badPrice[4] = "abc";
    const LineGrid g = gridFor(0, {}, {kLineA, badPrice});
    const TotalsResult bad = yekunal(g, settingsFor(0, 2));
    ASSERT_TRUE(bad.error);
    EXPECT_EQ(bad.error->line, 2);
    EXPECT_EQ(bad.error->column, 5);
    EXPECT_EQ(bad.error->message(g), "Hatalı veri: Satır 2, Birim Fiyat sütunu \"abc\" sayısal değil !");
    EXPECT_TRUE(bad.rows.empty());
    EXPECT_TRUE(bad.checkTotal.isEmpty());
    EXPECT_EQ(bad.lines, g.rows);
}

TEST(Totals, OrphanRateColumnIsIgnored)
{
    LineGrid g = gridFor(0, {}, {kLineA});
    g.columns.push_back({"V0021-BSMV%", ColumnAlign::Centre, 1300});
    const TotalsResult r = yekunal(g, settingsFor(0, 2));
    ASSERT_EQ(r.rows.size(), 4u);
    EXPECT_EQ(r.rows[3].amount, "212,40");
}

} // namespace
