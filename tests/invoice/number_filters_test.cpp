#include "invoice/number_filters.h"

#include <gtest/gtest.h>

using namespace kuvela::invoice;

namespace {
// Types the text one key at a time at the end of the box.
QString typed(NumberBox box, const QString& keys, int dc = 2)
{
    QString text;
    for (const QChar k : keys)
        text = typeIntoBox(box, text, int(text.size()), QString(k), dc).text;
    return text;
}
} // namespace

TEST(NumberFilters, Table)
{
    using B = NumberBox;
    const struct { B box; int dc; const char* keys; const char* typedResult; const char* pastedResult; } cases[] = {
        {B::UnitPrice, 2, "12,345", "12,34", "12,34"},
        {B::UnitPrice, 3, "12,345", "12,345", "12,345"},
        {B::UnitPrice, 5, "0,12345", "0,12345", "0,12345"},
        {B::UnitPrice, 2, "12,,", "12,", "12,"},
        {B::UnitPrice, 2, "1,2,3", "1,2,", "1,2,"},
        {B::UnitPrice, 2, ",5", "5", ""},
        {B::UnitPrice, 2, "0,5", "0,5", "0,5"},
        {B::UnitPrice, 2, "12.", "12", "12"},
        {B::UnitPrice, 2, "12.5", "125", "12.5"},  // a point is taken away only while it is last
        {B::UnitPrice, 2, "1.234,56", "1234,56", "1.234,56"},
        {B::UnitPrice, 2, "a12", "12", ""},
        {B::SpecialAmount, 5, "1500,505", "1500,50", "1500,50"},
        {B::Discount, 2, "5,255", "5,25", "5,25"},
        {B::ExtraTaxRate, 2, "5,255", "5,255", "5,255"},
        {B::Discount, 2, "12,505", "12,50", "12,50"},
        {B::ExtraTaxRate, 2, "12,505", "12,50", "12,50"},
        {B::Discount, 2, "100", "10", "10"},
        {B::Discount, 2, "1,2,", "1,2", "1,2"},
        {B::Discount, 2, "1,,", "1,", "1,"},
        {B::Discount, 2, "9,999", "9,99", "9,99"},
        {B::ExtraTaxRate, 2, "9,9999", "9,999", "9,999"},
        {B::Discount, 2, "12.5", "12", "12"},
        {B::ExtraTaxRate, 2, "a", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(typed(c.box, c.keys, c.dc), QString(c.typedResult)) << c.keys;
        EXPECT_EQ(filterNumberBox(c.box, c.keys, c.dc), QString(c.pastedResult)) << c.keys;
    }
}

TEST(NumberFilters, KeyInsideTheText)
{
    // The amount filter looks at the first and last characters and the commas only.
    FilteredEdit e = typeIntoBox(NumberBox::UnitPrice, "12,34", 1, "x", 2);
    EXPECT_EQ(e.text, "1x2,34");
    EXPECT_EQ(e.cursor, 6);
    // A wrong first character cuts the whole text down.
    EXPECT_EQ(typeIntoBox(NumberBox::UnitPrice, "12", 0, "a", 2).text, "");
    // The rate filter looks at every position.
    EXPECT_EQ(typeIntoBox(NumberBox::Discount, "12", 1, "x", 2).text, "1");
}
