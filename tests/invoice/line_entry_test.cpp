#include "invoice/line_entry.h"
#include "invoice/totals.h"

#include <gtest/gtest.h>

using namespace kuvela::invoice;

namespace {
const QString kSatis = "SATIŞ", kTevkifat = "TEVKİFAT", kIstisna = "İSTİSNA", kOzel = "ÖZEL MATRAH";

// The dialog's worked line: 2 x 100, discount 10 %, VAT 18.
LineEntryFields workedLine()
{
    LineEntryFields f;
    f.name = "Ürün A";
    f.quantity = "2";
    f.unit = "Adet";
    f.unitPrice = "100";
    f.discountRate = "10";
    f.vatRate = "18";
    f.specialAmount = "0";
    return f;
}

LineGrid gridFor(const QString& type)
{
    LineGrid g;
    const InvoiceKind kind = invoiceKindByText(type);
    g.layoutForType(invoiceTypeOf(kind) ? kind : InvoiceKind::Satis);
    return g;
}
} // namespace

TEST(LineEntry, ChecksRunInOrderWithTheirMessages)
{
    using P = MessagePlace;
    struct Case {
        QString type;
        std::function<void(LineEntryFields&)> change;
        int check;
        QString message;
        P place;
        std::function<void(const LineEntryFields&)> after;
    };
    auto none = [](const LineEntryFields&) {};
    const std::vector<Case> cases = {
        // The special amount is judged before the name is looked at.
        {kSatis, [](auto& f) { f.specialAmount = "5"; f.name = ""; }, 1,
         "Özel Matraha tabi ürünler bu faturaya eklenemez !", P::StatusPanel, none},
        {kSatis, [](auto& f) { f.withholdingRate = "90"; }, 2, "Tevkifata tabi ürünler bu faturaya eklenemez !",
         P::StatusPanel, none},
        {kSatis, [](auto& f) { f.name = ""; }, 3, "Ürün/Hizmet Adı boş olamaz ... !", P::StatusPanel, none},
        {kSatis, [](auto& f) { f.quantity = "1.5"; }, 4, "Miktar sayısal olmalıdır ...!", P::StatusPanel,
         [](const auto& f) { EXPECT_EQ(f.quantity, ""); }},
        {kSatis, [](auto& f) { f.quantity = "0"; }, 5, "Miktar pozitif olmalıdır ...!", P::StatusPanel,
         [](const auto& f) { EXPECT_EQ(f.quantity, ""); }},
        {kSatis, [](auto& f) { f.unit = ""; }, 6, "Birim seçilmelidir... !", P::StatusPanel, none},
        {kSatis, [](auto& f) { f.unitPrice = "1,2,"; }, 7, "Birim fiyat girilmelidir...!", P::StatusPanel,
         [](const auto& f) { EXPECT_EQ(f.unitPrice, ""); }},
        {kSatis, [](auto& f) { f.unitPrice = "0"; }, 8, "Birim fiyat pozitif olmalıdır ...!", P::StatusPanel,
         [](const auto& f) { EXPECT_EQ(f.unitPrice, ""); }},
        {kSatis, [](auto& f) { f.discountRate = ""; }, 9, "İskonto oranı sayısal olmalıdır ...!", P::StatusPanel,
         [](const auto& f) { EXPECT_EQ(f.discountRate, "0"); }},
        {kSatis, [](auto& f) { f.discountRate = "-1"; }, 10, "İskonto oranı >0 veya = 0 olmalıdır ...!",
         P::StatusPanel, [](const auto& f) { EXPECT_EQ(f.discountRate, "0"); }},
        {kSatis, [](auto& f) { f.vatRate = ""; }, 11, "KDV oranı seçilmelidir... !", P::StatusPanel, none},
        // A rate typed part of the way is refused, never taken as another rate.
        {kSatis, [](auto& f) { f.vatRate = "2"; }, 11, "KDV oranı seçilmelidir... !", P::StatusPanel,
         [](const auto& f) { EXPECT_EQ(f.vatRate, "2"); }},
        {kOzel, [](auto& f) { f.specialAmount = "500"; }, 12, "Özel Matrah Nedeni seçilmelidir...!", P::MessageBox,
         none},
        {kOzel, [](auto& f) { f.specialReason = "Neden"; f.specialAmount = ""; }, 13,
         "Özel Matrah tutarı girilmelidir...!", P::MessageBox, none},
        {kSatis, [](auto& f) { f.extraTax1 = f.extraTax2 = "V0021-BSMV%"; }, 14,
         "Ek Vergi 1 ve 2 aynı vergi olamaz...", P::MessageBox, none},
        // An empty rate becomes "0" first, so the missing rate is caught here.
        {kSatis, [](auto& f) { f.extraTax1 = "V0021-BSMV%"; }, 15, "Ek Vergi-1 oranı 0 dan büyük olmalıdır...",
         P::MessageBox, [](const auto& f) { EXPECT_EQ(f.extraTax1Rate, "0"); }},
        {kSatis, [](auto& f) { f.extraTax2 = "V0021-BSMV%"; f.extraTax2Rate = "0,00"; }, 16,
         "Ek Vergi-2 oranı 0 dan büyük olmalıdır...", P::MessageBox, none},
    };
    for (const Case& c : cases) {
        LineEntryFields f = workedLine();
        c.change(f);
        LineGrid g = gridFor(c.type);
        const auto refusal = faturayaEkle(f, c.type, 2, g);
        ASSERT_TRUE(refusal) << "check " << c.check;
        EXPECT_EQ(refusal->check, c.check);
        EXPECT_EQ(refusal->message, c.message);
        EXPECT_EQ(refusal->place, c.place);
        EXPECT_EQ(g.rowCount(), 0) << "nothing written on a refusal";
        c.after(f);
    }
}

TEST(LineEntry, WorkedLineWithAnExtraTax)
{
    LineEntryFields f = workedLine();
    f.extraTax1 = "V0021-BSMV%";
    f.extraTax1Rate = "5";
    LineGrid g = gridFor(kSatis);
    ASSERT_FALSE(faturayaEkle(f, kSatis, 2, g));
    EXPECT_EQ(g.rows[0], QStringList({"1", "Ürün A", "2", "Adet", "100,00", "10", "20,00", "180,00", "18", "32,40",
                                      "5,00", "9,00"}));
    EXPECT_EQ(g.title(11), "V0021-BSMV%");
    EXPECT_EQ(g.title(12), "BSMV Tutarı");
    EXPECT_EQ(f.extraTax2Rate, "0");

    // On a withholding invoice the same line withholds 180 x 18 % x 90 % = 29,16.
    LineEntryFields w = workedLine();
    w.withholdingItem = "624 Yük Taşımacılığı % 90";
    w.withholdingRate = withholdingRateFromItem(w.withholdingItem);
    LineGrid t = gridFor(kTevkifat);
    ASSERT_FALSE(faturayaEkle(w, kTevkifat, 2, t));
    EXPECT_EQ(t.rows[0].mid(10), QStringList({"624 Yük Taşımacılığı % 90", "90", "29,16"}));

    // No withholding item: empty code, rate "0", amount 0,00.
    LineEntryFields n = workedLine();
    ASSERT_FALSE(faturayaEkle(n, kTevkifat, 2, t));
    EXPECT_EQ(t.rows[1].mid(10), QStringList({"", "0", "0,00"}));
}

TEST(LineEntry, LineAmounts)
{
    const struct {
        const char* type; int dc; const char* qty; const char* price; const char* disc; const char* vat;
        const char* special; QStringList cells5to10; QStringList typeCells;
    } cases[] = {
        // 0,25 x 10 % = 0,025 rounds half away to 0,03, as the portal does; net 0,22; VAT 0,0396 shows 0,04.
        {"SATIŞ", 2, "1", "0,25", "10", "18", "0", {"0,25", "10", "0,03", "0,22", "18", "0,04"}, {}},
        // dc 3 keeps the price's third decimal: 2 x 12,345 = 24,69; VAT 4,4442.
        {"SATIŞ", 3, "2", "12,345", "0", "18", "0", {"12,345", "0", "0,00", "24,69", "18", "4,44"}, {}},
        {"SATIŞ", 4, "1.000", "1.500", "0", "8", "0", {"1.500,0000", "0", "0,00", "1.500.000,00", "8", "120.000,00"}, {}},
        // Today's rates: 3 x 33,33 = 99,99 at 20 % is 19,998, shown 20,00; 25 less 5 % = 23,75 at 10 % is
        // 2,375, shown half away as 2,38.
        {"SATIŞ", 2, "3", "33,33", "0", "20", "0", {"33,33", "0", "0,00", "99,99", "20", "20,00"}, {}},
        {"SATIŞ", 2, "2", "12,5", "5", "10", "0", {"12,50", "5", "1,25", "23,75", "10", "2,38"}, {}},
        // Exempt: a VAT rate must be chosen, the line shows 0 and 0.
        {"İSTİSNA", 2, "3", "50", "0", "18", "0", {"50,00", "0", "0,00", "150,00", "0", "0"}, {"8471"}},
        // Special base: VAT 18 % of 500, not of the net 180.
        {"ÖZEL MATRAH", 2, "2", "100", "10", "18", "500", {"100,00", "10", "20,00", "180,00", "18", "90,00"},
         {"Neden", "500,00"}},
        {"ÖZEL MATRAH", 2, "1", "100", "0", "18", "1500,50", {"100,00", "0", "0,00", "100,00", "18", "270,09"},
         {"Neden", "1.500,50"}},
        // 100,25 x 18 % = 18,045 rounds half away to 18,05.
        {"ÖZEL MATRAH", 2, "1", "100", "0", "18", "100,25", {"100,00", "0", "0,00", "100,00", "18", "18,05"},
         {"Neden", "100,25"}},
    };
    for (const auto& c : cases) {
        LineEntryFields f = workedLine();
        f.quantity = c.qty;
        f.unitPrice = c.price;
        f.discountRate = c.disc;
        f.vatRate = c.vat;
        f.specialAmount = c.special;
        f.specialReason = "Neden";
        f.gtip = "8471";
        LineGrid g = gridFor(c.type);
        ASSERT_FALSE(faturayaEkle(f, c.type, c.dc, g)) << c.price;
        EXPECT_EQ(g.rows[0].mid(4, 6), c.cells5to10) << c.type << " " << c.price;
        EXPECT_EQ(g.rows[0].mid(10), c.typeCells) << c.type;
    }
}

TEST(LineEntry, TaxPairsAreFoundOrAdded)
{
    LineGrid g = gridFor(kSatis);
    g.addTaxPair(TaxColumnPair::forEntry("V0021-BSMV"));  // from the tax dialog
    LineEntryFields f = workedLine();
    ASSERT_FALSE(faturayaEkle(f, kSatis, 2, g));  // a line without taxes

    f.extraTax1 = "V0021-BSMV%";
    f.extraTax1Rate = "5";
    f.extraTax2 = "V0071-ÖTV 1.LİSTE%";
    f.extraTax2Rate = "2,5";
    BuiltLine line = buildLine(f, kSatis, 2, g.rowCount());
    const auto missing = missingTaxPairs(g, line);
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_EQ(missing[0].amount.title, "ÖTV 1.LİSTE Tutarı");
    appendLine(g, line);
    ASSERT_EQ(g.columnCount(), 14);
    EXPECT_EQ(g.rows[1].mid(10), QStringList({"5,00", "9,00", "2,50", "4,50"}));
    EXPECT_EQ(g.rows[0].size(), 10) << "older rows keep empty cells under new pairs";

    // A third line reuses both pairs and leaves the earlier lines alone.
    f.extraTax1Rate = "1";
    ASSERT_FALSE(faturayaEkle(f, kSatis, 2, g));
    EXPECT_EQ(g.columnCount(), 14);
    EXPECT_EQ(g.rows[1].mid(10), QStringList({"5,00", "9,00", "2,50", "4,50"}));
    EXPECT_EQ(g.rows[2].mid(10), QStringList({"1,00", "1,80", "2,50", "4,50"}));
    EXPECT_EQ(g.rows[2][0], "3");
}

TEST(LineEntry, TaxAmountHalfAwayAsTheTotalsWriteIt)
{
    // 10,50 x 5 % = 0,525: the line and the totals both write 0,53.
    LineEntryFields f = workedLine();
    f.quantity = "1";
    f.unitPrice = "10,50";
    f.discountRate = "0";
    f.extraTax1 = "V0021-BSMV%";
    f.extraTax1Rate = "5";
    LineGrid g = gridFor(kSatis);
    ASSERT_FALSE(faturayaEkle(f, kSatis, 2, g));
    EXPECT_EQ(g.cell(0, 12), "0,53");
    TotalsSettings s;
    s.kind = InvoiceKind::Satis;
    const TotalsResult r = yekunal(g, s);
    EXPECT_EQ(r.lines[0][11], "0,53");
    EXPECT_EQ(r.checkTotal, "12,92");  // 10,50 + 0,53 + 1,89
}

TEST(LineEntry, CodeLists)
{
    EXPECT_EQ(UnitNames().size(), 49);
    EXPECT_EQ(UnitNames().last(), "ha");
    EXPECT_TRUE(UnitNames().contains("CM³"));
    EXPECT_EQ(keepUnitText("k"), "");
    EXPECT_EQ(keepUnitText("kg"), "kg");
    EXPECT_EQ(keepUnitText("KG"), "");
    EXPECT_EQ(keepVatRateText("1"), "1");
    EXPECT_EQ(keepVatRateText("18"), "18");
    EXPECT_EQ(keepVatRateText("10"), "10");
    EXPECT_EQ(keepVatRateText("2"), "2");
    EXPECT_EQ(keepVatRateText("20"), "20");
    EXPECT_EQ(keepVatRateText("12"), "");
    EXPECT_EQ(keepVatRateText("200"), "");
    EXPECT_EQ(keepVatRateText("00"), "");
    EXPECT_EQ(withholdingItem("624", "90"), "624 % 90");
    EXPECT_EQ(withholdingRateFromItem("624 Yük Taşımacılığı % 90"), "90");
    EXPECT_EQ(withholdingRateFromItem("801 Yapım İşleri % 100"), "100");
    EXPECT_EQ(withholdingRateFromItem(""), "");
}
