// The invoice page's ids, the values as the page takes them, and the line walk as a
// plan over element lists, without a browser.
#include "invoice/line_grid.h"
#include "portal/invoice_page_map.h"

#include <gtest/gtest.h>

using namespace kuvela;
using namespace kuvela::portal;
using K = WalkAction::Kind;

namespace {

LineElement input(int id, const QString& value = {}) { return {"input", "gen__" + QString::number(id), "text", {}, value, {}}; }
LineElement select(int id) { return {"select", "gen__" + QString::number(id), "select-one", {}, {}, {}}; }
LineElement ro(int id, const QString& text = {}) { return {"span", "gen__" + QString::number(id), {}, "csc-rospan", {}, text}; }
LineElement button(int id) { return {"input", "gen__" + QString::number(id), "button", {}, "Sil", {}}; }

enum class Extra { None, Withholding, Exempt, SpecialBase };

// One row as the portal lays it out: the nine base cells, the type's cells, a rate and
// an amount per extra tax, the delete button last; ids from `next` on.
std::vector<LineElement> portalRow(int& next, Extra extra, int taxes)
{
    std::vector<LineElement> row = {input(next), input(next + 1), select(next + 2), input(next + 3), input(next + 4),
                                    input(next + 5), ro(next + 6), select(next + 7), ro(next + 8)};
    next += 9;
    if (extra == Extra::Withholding) {
        row.insert(row.end(), {select(next), ro(next + 1), ro(next + 2)});
        next += 3;
    } else if (extra == Extra::Exempt) {
        row.push_back(input(next++));
    } else if (extra == Extra::SpecialBase) {
        row.insert(row.end(), {select(next), input(next + 1)});
        next += 2;
    }
    for (int t = 0; t < taxes; ++t) {
        row.insert(row.end(), {input(next), ro(next + 1)});
        next += 2;
    }
    row.push_back(button(next++));
    return row;
}

invoice::LineGrid gridOf(int typePosition, const std::vector<QStringList>& rows, int taxes = 0)
{
    invoice::LineGrid g;
    g.layoutForType(invoice::invoiceKindAt(typePosition));
    for (int t = 0; t < taxes; ++t)
        g.addTaxPair(invoice::TaxColumnPair::forItem(QStringLiteral("V4080-Özel İletişim Vergisi%")));
    g.rows = rows;
    return g;
}

// The plan without its pauses, as "kind id text" lines.
QStringList steps(const std::vector<WalkAction>& plan)
{
    QStringList out;
    for (const WalkAction& a : plan) {
        switch (a.kind) {
        case K::Wait:
            continue;
        case K::Click: out << "click " + a.id; break;
        case K::Type: out << "type " + a.id + " " + a.text; break;
        case K::SelectText: out << "text " + a.id + " " + a.text; break;
        case K::SelectValue: out << "value " + a.id + " " + a.text; break;
        case K::ClickConfirm: out << "confirm"; break;
        case K::Tab: out << "tab"; break;
        }
    }
    return out;
}

int waits(const std::vector<WalkAction>& plan)
{
    int ms = 0;
    for (const WalkAction& a : plan)
        ms += a.kind == K::Wait ? a.ms : 0;
    return ms;
}

} // namespace

TEST(PageMap, IdsFollowTheBaseAndNumbersAreReadWhole)
{
    const PageMap fresh;
    EXPECT_EQ(fresh.gen(offset::Ettn), "gen__1024");
    EXPECT_EQ(fresh.dateGen(offset::InvoiceDate), "date-gen__1026");
    EXPECT_EQ(fresh.gen(offset::TaxChoice), "gen__1067");
    EXPECT_EQ(fresh.gen(offset::AddLine), "gen__1089");
    EXPECT_EQ(fresh.gen(offset::Note), "gen__1105");
    EXPECT_EQ(fresh.lineTable(), "gen__1069-b");
    // The return rows the fixed page gives: 1145 + 2j and 1146 + 2j.
    EXPECT_EQ(fresh.returnNumber(0), "gen__1145");
    EXPECT_EQ(fresh.returnDate(0), "date-gen__1146");
    EXPECT_EQ(fresh.returnDate(1), "date-gen__1148");
    const PageMap later{1126};
    EXPECT_EQ(later.returnNumber(0), "gen__1245");
    EXPECT_EQ(later.dateGen(offset::DespatchDate), "date-gen__1146");

    struct Row {
        const char* id;
        std::optional<long long> number;
    } const rows[] = {{"gen__1026", 1026},      {"gen__10026", 10026}, {"gen__9999", 9999}, {"date-gen__1046", 1046},
                      {"gen__1069-b", 1069},    {"gen__", std::nullopt}, {"irsaltrId", std::nullopt},
                      {"gen__x12", std::nullopt}, {"gen__123456789012", 123456789012LL}};
    for (const Row& r : rows)
        EXPECT_EQ(genNumber(QString::fromUtf8(r.id)), r.number) << r.id;

    EXPECT_EQ(baseIdOr1026(std::nullopt), 1026);
    EXPECT_EQ(baseIdOr1026(QStringLiteral("gen__1126")), 1126);
    EXPECT_EQ(baseIdOr1026(QStringLiteral("gen__10026")), 10026);  // not 26 from its last four characters
    EXPECT_EQ(baseIdOr1026(QStringLiteral("takvim")), 1026);
    // Both uploads read N so: every digit, across 9999 -> 10000 and far past it.
    struct Base {
        const char* id;
        std::optional<int> n;
    };
    for (const Base& b : {Base{"gen__1033", 1033}, Base{"gen__9999", 9999}, Base{"gen__10000", 10000},
                          Base{"gen__10026", 10026}, Base{"gen__123456", 123456}, Base{"gen__", std::nullopt},
                          Base{"gen__0", std::nullopt}, Base{"tarih", std::nullopt}})
        EXPECT_EQ(baseIdOf(QString::fromUtf8(b.id)), b.n) << b.id;
}

TEST(PageMap, BuyerNamesAsThePortalWantsThem)
{
    struct Row {
        QString text19, text20;
        BuyerNames expected;
    } const rows[] = {
        {"Ahmet Can Yılmaz", "12345678901", {"", "Ahmet Can", "Yılmaz"}},
        {"Ayşe·Nur Demir", "12345678901", {"", "Ayşe·Nur", "Demir"}},
        {"Ayşe Nur·Demir", "12345678901", {"", "Ayşe Nur", "Demir"}},
        {"  Ali Veli  ", "12345678901", {"", "Ali", "Veli"}},
        {"Madonna", "12345678901", {"", "Madonna", ""}},
        {"Çağdaş Gıda Ltd. Şti.", "1234567890", {"Çağdaş Gıda Ltd. Şti.", "", ""}},
        {" Işık Yazılım ", "123", {"Işık Yazılım", "", ""}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(splitBuyerName(r.text19, r.text20), r.expected) << r.text19.toStdString();
}

TEST(PageMap, DatesAndTaxCodes)
{
    EXPECT_EQ(portalDate(QDate(2024, 2, 1)), "01/02/2024");

    invoice::LineGrid g = gridOf(2, {});  // TEVKİFAT: its own columns start no tax
    g.addTaxPair(invoice::TaxColumnPair::forItem(QStringLiteral("V4080-Özel İletişim Vergisi%")));
    // A tax whose name starts with "V" gives an amount title starting with "V": no code.
    g.addTaxPair(invoice::TaxColumnPair::forItem(QStringLiteral("V0021-Vakıf Payı%")));
    EXPECT_EQ(extraTaxCodes(g), (QStringList{"V4080", "V0021"}));
}

TEST(LineWalk, ElementsAreOrderedByTheirNumberNotTheirText)
{
    std::vector<LineElement> found = {input(10001), ro(9999), select(10000), {"span", "irsaltrId", {}, {}, {}, {}},
                                      input(9998), {"input", "genel", "text", {}, {}, {}}};
    const std::vector<LineElement> sorted = sortedLineElements(found);
    QStringList ids;
    for (const LineElement& e : sorted)
        ids << e.id;
    EXPECT_EQ(ids, (QStringList{"gen__9998", "gen__9999", "gen__10000", "gen__10001"}));

    // Kinds come from type and class only; what a cell holds cannot change them.
    EXPECT_EQ(cellKind(input(1, "select text")), CellKind::Input);
    EXPECT_EQ(cellKind(ro(2, "button")), CellKind::ReadOnly);
    EXPECT_EQ(cellKind({"span", "gen__3", {}, "etiket", {}, "rospan text"}), CellKind::Other);
    EXPECT_EQ(cellKind({"input", "gen__4", "checkbox", {}, {}, {}}), CellKind::Other);
    EXPECT_EQ(cellKind(button(5)), CellKind::Button);
}

TEST(LineWalk, TwoSatisLinesWithATaxPairEveryCellWithItsColumn)
{
    int next = 1145;
    std::vector<LineElement> page = portalRow(next, Extra::None, 1);
    const auto second = portalRow(next, Extra::None, 1);
    page.insert(page.end(), second.begin(), second.end());
    const invoice::LineGrid g =
        gridOf(0,
               {{"1", "Vida", "2", "Adet", "100,00", "10", "20,00", "180,00", "18", "32,40", "5,00", "9,00"},
                {"2", "Somun", "3", "Kutu", "7,50", "0", "0,00", "22,50", "8", "1,80", "5,00", "1,13"}},
               1);
    const auto plan = planLineWalk(sortedLineElements(page), g, invoice::InvoiceKind::Satis);
    EXPECT_EQ(steps(plan), (QStringList{"click gen__1145", "type gen__1145 Vida", "click gen__1146", "type gen__1146 2",
                                        "text gen__1147 Adet", "click gen__1148", "type gen__1148 100,00",
                                        "click gen__1149", "type gen__1149 10", "click gen__1150",
                                        "text gen__1152 18", "click gen__1154", "type gen__1154 5,00",
                                        // the read-only net, VAT and tax amounts and the delete button are passed
                                        "click gen__1157", "type gen__1157 Somun", "click gen__1158",
                                        "type gen__1158 3", "text gen__1159 Kutu", "click gen__1160",
                                        "type gen__1160 7,50", "click gen__1161", "type gen__1161 0",
                                        "click gen__1162", "text gen__1164 8", "click gen__1166",
                                        "type gen__1166 5,00"}));
    // 1 ms after each typed cell and before each choice: 5 typed and 2 chosen per line.
    EXPECT_EQ(waits(plan), 14);
    EXPECT_EQ(plan.back().line, 2);
    EXPECT_EQ(plan.back().column, 10);
}

TEST(LineWalk, WithholdingAndSpecialBaseAreChosenByValueWithTheirPopUps)
{
    int next = 2000;
    std::vector<LineElement> page = portalRow(next, Extra::Withholding, 0);
    const auto second = portalRow(next, Extra::Withholding, 0);
    page.insert(page.end(), second.begin(), second.end());
    const invoice::LineGrid tevkifat =
        gridOf(2, {{"1", "Danışmanlık", "1", "Adet", "100,00", "0", "0,00", "100,00", "18", "18,00", "801 % 100", "100", "18,00"},
                   {"2", "Temizlik", "1", "Adet", "50,00", "0", "0,00", "50,00", "18", "9,00", "602 % 90", "90", "8,10"}});
    const QStringList t = steps(planLineWalk(sortedLineElements(page), tevkifat, invoice::InvoiceKind::Tevkifat));
    // 801: a full withholding, so its pop-up is confirmed; 602 only moves on.
    EXPECT_EQ(t.mid(10, 4), (QStringList{"text gen__2007 18", "value gen__2009 801", "confirm", "tab"}));
    EXPECT_EQ(t.mid(t.size() - 3), (QStringList{"text gen__2020 18", "value gen__2022 602", "tab"}));
    const auto plan = planLineWalk(sortedLineElements(page), tevkifat, invoice::InvoiceKind::Tevkifat);
    EXPECT_EQ(waits(plan), 2 * (4 + 3) + 2 + 3);

    next = 3000;
    const std::vector<LineElement> special = portalRow(next, Extra::SpecialBase, 0);
    const invoice::LineGrid ozel =
        gridOf(4, {{"1", "Bilet", "1", "Adet", "100,00", "0", "0,00", "100,00", "18", "9,00", "801 Milli Piyango", "50,00"}});
    EXPECT_EQ(steps(planLineWalk(sortedLineElements(special), ozel, invoice::InvoiceKind::OzelMatrah)).mid(10),
              (QStringList{"text gen__3007 18", "value gen__3009 801", "confirm", "click gen__3009",
                           "type gen__3009 50,00", "tab", "click gen__3010", "type gen__3010 50,00"}));
}

TEST(LineWalk, ExtraRowsAndShortListsAreSafe)
{
    const invoice::LineGrid g = gridOf(3, {{"1", "Makine", "1", "Adet", "10,00", "0", "0,00", "10,00", "0", "0,00", "8471"}});
    // A page that made one row too many: the walk stops after the grid's lines.
    int next = 1145;
    std::vector<LineElement> page = portalRow(next, Extra::Exempt, 0);
    const auto spare = portalRow(next, Extra::Exempt, 0);
    page.insert(page.end(), spare.begin(), spare.end());
    const QStringList s = steps(planLineWalk(sortedLineElements(page), g, invoice::InvoiceKind::Istisna));
    EXPECT_EQ(s.back(), "type gen__1154 8471");
    EXPECT_EQ(s.filter("gen__1156").size(), 0);

    // Elements that run out mid-line end the walk instead of reaching past the list.
    page.resize(4);
    EXPECT_EQ(steps(planLineWalk(sortedLineElements(page), g, invoice::InvoiceKind::Istisna)),
              (QStringList{"click gen__1145", "type gen__1145 Makine", "click gen__1146", "type gen__1146 1",
                           "text gen__1147 Adet", "click gen__1148", "type gen__1148 10,00"}));
    EXPECT_TRUE(planLineWalk({}, g, invoice::InvoiceKind::Istisna).empty());
}

TEST(LineWalk, AButtonTakesNoColumnAndAnUnknownElementActsAsTheOneBefore)
{
    const invoice::LineGrid g = gridOf(0, {{"1", "Vida", "2", "Adet", "1,00", "0", "0,00", "2,00", "18", "0,36"}});
    int next = 100;
    std::vector<LineElement> page = portalRow(next, Extra::None, 0);
    // A help button before the quantity, and a quantity field of a type the walk does not know.
    page.insert(page.begin() + 1, button(100 * 1000));
    page[1].id = "gen__100";
    page[0].id = "gen__99";
    page[2].type = "tel";
    const QStringList s = steps(planLineWalk(sortedLineElements(page), g, invoice::InvoiceKind::Satis));
    EXPECT_EQ(s.mid(0, 5), (QStringList{"click gen__99", "type gen__99 Vida", "click gen__101", "type gen__101 2",
                                        "text gen__102 Adet"}));
}

TEST(LineWalk, AddLineClicksAreBounded)
{
    EXPECT_EQ(extraAddLineClicks(1), 3);
    EXPECT_EQ(extraAddLineClicks(5), 7);
}
