#include "invoice/line_grid.h"

#include <gtest/gtest.h>

using namespace kuvela::invoice;

namespace {
// Each cell names its column, so a cell that slid under another header shows.
void fillRow(LineGrid& g, int row)
{
    for (int c = 1; c <= g.columnCount(); ++c)
        if (g.cell(row, c).isEmpty())
            g.setCell(row, c, g.title(c) + "#" + QString::number(row));
}

void expectCellsUnderTheirHeaders(const LineGrid& g)
{
    for (int r = 0; r < g.rowCount(); ++r) {
        EXPECT_LE(g.rows[size_t(r)].size(), g.columnCount()) << "row " << r;
        for (int c = 1; c <= g.columnCount(); ++c) {
            const QString cell = g.cell(r, c);
            EXPECT_TRUE(cell.isEmpty() || cell.startsWith(g.title(c) + "#"))
                << "row " << r << " column " << c << ": " << cell.toStdString();
        }
    }
}
} // namespace

TEST(LineGrid, TemelfaturaLeavesTheTenBaseColumns)
{
    LineGrid g;
    g.layoutForType(InvoiceKind::Tevkifat);
    g.addTaxPair(TaxColumnPair::forEntry("V0021-BSMV"));
    g.appendRow({"1", "x"});
    g.temelfatura();
    g.temelfatura();
    ASSERT_EQ(g.columnCount(), 10);
    EXPECT_EQ(g.columns[0], (GridColumn{"s", ColumnAlign::Left, 300}));
    EXPECT_EQ(g.columns[3], (GridColumn{"Birim", ColumnAlign::Centre, 900}));
    EXPECT_EQ(g.columns[9], (GridColumn{"KDV Tutarı", ColumnAlign::Right, 1100}));
    EXPECT_EQ(g.textColour, kColourBlack);
    EXPECT_EQ(g.rowCount(), 1);
}

TEST(LineGrid, LayoutPerType)
{
    const struct { int position; int columns; const char* last; long colour; const char* portal; } cases[] = {
        {0, 10, "KDV Tutarı", kColourBlack, "SATIS"},          {1, 10, "KDV Tutarı", kColourRed, "IADE"},
        {2, 13, "Tevkifat Tutarı", kColourBlue, "TEVKIFAT"},   {3, 11, "GTİP", kColourBlack, "ISTISNA"},
        {4, 12, "Özel Matrah Tutarı", kColourBlack, "OZELMATRAH"}, {5, 10, "KDV Tutarı", kColourBlack, "IHRACKAYITLI"},
    };
    for (const auto& c : cases) {
        LineGrid g;
        g.layoutForType(invoiceKindAt(c.position));
        EXPECT_EQ(g.columnCount(), c.columns);
        EXPECT_EQ(g.title(g.columnCount()), QString(c.last));
        EXPECT_EQ(g.textColour, c.colour);
        const InvoiceType* type = invoiceTypeOf(invoiceKindAt(c.position));
        EXPECT_EQ(type->columns.firstTax, c.columns + 1);
        EXPECT_EQ(portalValueOf(invoiceKindByText(type->displayText)), QString(c.portal));
    }
    // The prompt and later list entries leave the columns as they were.
    LineGrid g;
    g.layoutForType(InvoiceKind::Tevkifat);
    g.layoutForType(invoiceKindAt(-1));
    g.layoutForType(invoiceKindAt(6));
    EXPECT_EQ(g.columnCount(), 13);
    EXPECT_TRUE(portalValueOf(invoiceKindByText("KONAKLAMA VERGİSİ")).isEmpty());
}

TEST(LineGrid, VatBaseCodesAreExact)
{
    EXPECT_TRUE(isVatBaseTaxCode("V0071-ÖTV 1.LİSTE%"));
    EXPECT_TRUE(isVatBaseTaxCode("V9944-X%"));
    EXPECT_FALSE(isVatBaseTaxCode("v0071-x%"));
    EXPECT_FALSE(isVatBaseTaxCode("V007%"));
    EXPECT_FALSE(isVatBaseTaxCode("V0021-BSMV%"));
    EXPECT_EQ(vatBaseTaxCodes().size(), 14);
}

TEST(LineGrid, TaxPairTitles)
{
    const TaxColumnPair p = TaxColumnPair::forItem("V0021-BSMV%");
    EXPECT_EQ(p.rate, (GridColumn{"V0021-BSMV%", ColumnAlign::Centre, 1300}));
    EXPECT_EQ(p.amount, (GridColumn{"BSMV Tutarı", ColumnAlign::Right, 900}));
    EXPECT_EQ(TaxColumnPair::forEntry("V0071-ÖTV 1.LİSTE").amount.title, "ÖTV 1.LİSTE Tutarı");
    EXPECT_EQ(extraTaxItem("V0021", "BSMV"), "V0021-BSMV%");
}

TEST(LineGrid, RemovingAPairKeepsEveryCellUnderItsHeader)
{
    LineGrid g;
    g.layoutForType(InvoiceKind::Tevkifat);  // pairs from column 14
    g.addTaxPair(TaxColumnPair::forEntry("V0021-BSMV"));
    g.appendRow({});
    fillRow(g, 0);
    g.addTaxPair(TaxColumnPair::forEntry("V0071-ÖTV 1.LİSTE"));  // added meanwhile, e.g. by the line dialog
    g.appendRow({});
    fillRow(g, 1);
    g.addTaxPair(TaxColumnPair::forEntry("V4071-EHTV"));
    g.appendRow({});
    fillRow(g, 2);
    expectCellsUnderTheirHeaders(g);
    EXPECT_TRUE(g.hasTaxPair("V0071-ÖTV 1.LİSTE%"));

    ASSERT_TRUE(g.removeTaxPair("V0021-BSMV%"));
    expectCellsUnderTheirHeaders(g);
    ASSERT_EQ(g.columnCount(), 17);
    EXPECT_EQ(g.title(14), "V0071-ÖTV 1.LİSTE%");
    EXPECT_EQ(g.cell(2, 17), "EHTV Tutarı#2");
    // The rebuilt header row gives each column the width and alignment of its position.
    EXPECT_EQ(g.columns[0].widthTwips, 290);
    EXPECT_EQ(g.columns[10], (GridColumn{"Tevkifat Kodu", ColumnAlign::Right, 1300}));
    EXPECT_EQ(g.columns[12].widthTwips, 1400);
    EXPECT_EQ(g.columns[13], (GridColumn{"V0071-ÖTV 1.LİSTE%", ColumnAlign::Right, 1300}));

    ASSERT_TRUE(g.removeTaxPair("V4071-EHTV%"));
    expectCellsUnderTheirHeaders(g);
    EXPECT_EQ(g.columnCount(), 15);
    EXPECT_FALSE(g.removeTaxPair("V4071-EHTV%"));
    EXPECT_FALSE(g.hasTaxPair("V4071-EHTV%"));
}

TEST(LineGrid, DeleteRowRenumbers)
{
    LineGrid g;
    g.layoutForType(InvoiceKind::Satis);
    for (int i = 0; i < 3; ++i)
        g.appendRow({QString::number(i + 1), QString("L%1").arg(i + 1)});
    g.deleteRow(1);
    ASSERT_EQ(g.rowCount(), 2);
    EXPECT_EQ(g.rows[1], QStringList({"2", "L3"}));
    EXPECT_EQ(g.cell(1, 7), "");
}
