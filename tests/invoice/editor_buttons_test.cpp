#include "invoice/editor_buttons.h"
#include "invoice/totals.h"
#include "platform/dialogs.h"

#include <gtest/gtest.h>

using namespace kuvela;
using namespace kuvela::invoice;

namespace {

// Three SATIŞ lines with an extra tax; each line's net and VAT differ, so the totals
// show which lines are left.
LineGrid threeLines()
{
    LineGrid g;
    g.layoutForType(InvoiceKind::Satis);
    g.addTaxPair(TaxColumnPair::forItem("V0021-BSMV%"));
    g.appendRow({"1", "Ürün A", "1", "Adet", "100,00", "0", "0,00", "100,00", "18", "18,00", "5", "5,00"});
    g.appendRow({"2", "Ürün B", "2", "Adet", "100,00", "0", "0,00", "200,00", "18", "36,00", "5", "10,00"});
    g.appendRow({"3", "Ürün C", "3", "Adet", "100,00", "0", "0,00", "300,00", "18", "54,00", "5", "15,00"});
    return g;
}

QString grandTotal(const LineGrid& g)
{
    TotalsSettings s;
    s.kind = InvoiceKind::Satis;
    return yekunal(g, s).checkTotal;
}

} // namespace

TEST(EditorButtons, DeleteAsksAndRenumbers)
{
    ScopedRecordingDialogs dialogs;
    LineGrid g = threeLines();
    const QString before = grandTotal(g);

    dialogs->queueAnswer(MsgResult::Yes);
    ASSERT_TRUE(deleteLineAsked(g, 2));
    ASSERT_EQ(dialogs->shown().size(), 1u);
    const MessageRequest& ask = dialogs->shown().front();
    EXPECT_EQ(ask.text, "2 nolu satırı sil !");
    EXPECT_EQ(ask.buttons, MsgButtons::YesNo);
    EXPECT_EQ(ask.icon, MsgIcon::Question);
    EXPECT_EQ(ask.defaultButton, MsgResult::No);

    ASSERT_EQ(g.rowCount(), 2);
    EXPECT_EQ(g.rows[0], (QStringList{"1", "Ürün A", "1", "Adet", "100,00", "0", "0,00", "100,00", "18", "18,00", "5", "5,00"}));
    EXPECT_EQ(g.rows[1], (QStringList{"2", "Ürün C", "3", "Adet", "100,00", "0", "0,00", "300,00", "18", "54,00", "5", "15,00"}));
    EXPECT_NE(grandTotal(g), before);
    EXPECT_EQ(grandTotal(g), "492");
}

TEST(EditorButtons, NoOrOutOfRangeLeavesTheGrid)
{
    ScopedRecordingDialogs dialogs;
    LineGrid g = threeLines();
    const auto rows = g.rows;
    EXPECT_FALSE(deleteLineAsked(g, 1)); // the default answer is No
    EXPECT_EQ(g.rows, rows);
    EXPECT_FALSE(deleteLineAsked(g, 0));
    EXPECT_FALSE(deleteLineAsked(g, 4));
    EXPECT_EQ(dialogs->shown().size(), 1u);
    EXPECT_EQ(g.rows, rows);
}

TEST(EditorButtons, DeletingTheOnlyLineLeavesNoLines)
{
    ScopedRecordingDialogs dialogs;
    LineGrid g = threeLines();
    g.rows.resize(1);
    dialogs->queueAnswer(MsgResult::Yes);
    EXPECT_TRUE(deleteLineAsked(g, 1));
    EXPECT_EQ(g.rowCount(), 0);
    EXPECT_EQ(grandTotal(g), "0");
}
