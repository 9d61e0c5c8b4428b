#include "masterdata/header_dates.h"

#include <gtest/gtest.h>

using namespace kuvela;

TEST(HeaderDates, InvoiceListIsTodayAndTheSevenDaysBefore)
{
    const QStringList list = invoiceDateList(QDate(2024, 3, 2));
    ASSERT_EQ(list.size(), 8);
    EXPECT_EQ(list.first(), "02.03.2024");
    EXPECT_EQ(list.at(2), "29.02.2024"); // leap day
    EXPECT_EQ(list.last(), "24.02.2024");
}

TEST(HeaderDates, DespatchListStartsAtTheChosenInvoiceDate)
{
    const QDate today(2024, 1, 3);
    EXPECT_EQ(despatchDateList(today, 0), invoiceDateList(today));
    EXPECT_EQ(despatchDateList(today, 7), QStringList{"27.12.2023"});
    EXPECT_EQ(despatchDateList(today, 5), (QStringList{"29.12.2023", "28.12.2023", "27.12.2023"}));
    // Nothing picked from the list: tomorrow first.
    const QStringList none = despatchDateList(today, -1);
    ASSERT_EQ(none.size(), 9);
    EXPECT_EQ(none.first(), "04.01.2024");
    // Before any invoice date the list is empty.
    EXPECT_TRUE(despatchDateList(today, 0, 0).isEmpty());
}

TEST(HeaderDates, SlashDateAndTimeText)
{
    EXPECT_EQ(slashDate("05.02.2024"), "05/02/2024");
    EXPECT_EQ(slashDate("5.2.2024"), "05/02/2024");
    EXPECT_EQ(slashDate("tarih"), "tarih");
    EXPECT_EQ(slashDate(""), "");
    EXPECT_EQ(issueTimeText(QTime(9, 5, 7)), "09:05:07");
    EXPECT_EQ(issueTimeText(QTime(21, 5, 0)), "21:05:00");
}
