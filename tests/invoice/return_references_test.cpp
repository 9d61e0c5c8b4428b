#include "invoice/return_references.h"

#include <gtest/gtest.h>

using namespace kuvela::invoice;

TEST(ReturnReferences, FormLoadLists)
{
    const DatePickers p = formLoad(QDate(2024, 3, 15));
    EXPECT_EQ(p.years, (QStringList{"2020", "2021", "2022", "2023", "2024"}));
    EXPECT_EQ(p.year, "2024");
    EXPECT_EQ(p.months.size(), 12);
    EXPECT_EQ(p.months.first(), "01");
    EXPECT_EQ(p.month, "03");
    EXPECT_EQ(p.days.size(), 31);
    EXPECT_EQ(p.days.last(), "31");
    EXPECT_EQ(p.panel2, "Önce tarih seçiniz...");
}

TEST(ReturnReferences, DayCountsFollowTheCalendar)
{
    const struct { const char* month; const char* year; int days; } cases[] = {
        {"02", "2024", 29}, {"02", "2023", 28}, {"02", "2032", 29}, {"02", "2100", 28},
        {"02", "2000", 29}, {"02", "", 28},     {"04", "2023", 30}, {"12", "2023", 31},
        {"08", "2023", 31}, {"13", "2023", 0},  {"2", "2024", 0},   {"", "2024", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(daysInMonth(c.month, c.year), c.days) << c.month << " " << c.year;
        EXPECT_EQ(dayList(c.month, c.year).size(), c.days);
    }
}

TEST(ReturnReferences, YearChangeNeverLeavesAnImpossibleDay)
{
    const struct { const char* day; const char* month; const char* year; const char* kept; int days; } cases[] = {
        {"29", "02", "2023", "", 28},   {"29", "02", "2028", "29", 29}, {"28", "02", "2023", "28", 28},
        {"31", "03", "2023", "31", 31}, {"", "02", "2024", "", 29},
    };
    for (const auto& c : cases) {
        const YearChange y = yearChange(c.month, c.year, c.day);
        EXPECT_EQ(y.day, QString(c.kept)) << c.day << "/" << c.month << "/" << c.year;
        EXPECT_EQ(y.days.size(), c.days);
    }
}

TEST(ReturnReferences, SerialTyping)
{
    const struct { const char* typed; const char* text; const char* panel; } cases[] = {
        {"/", "", "Seri no bir harf yada rakam ile başlamalıdır..."},
        {"ĞÜ-12", "12", ""},
        {"abc/1 ", "abc/1", ""},
        {"GIB2023.000000001", "GIB2023000000001", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        const SerialChange s = text1Change(QString::fromUtf8(c.typed));
        EXPECT_EQ(s.text, QString::fromUtf8(c.text)) << c.typed;
        EXPECT_EQ(s.panel2, QString::fromUtf8(c.panel)) << c.typed;
        EXPECT_TRUE(s.ekleEnabled);
    }
    EXPECT_EQ(serialTemplate("2023"), "GIB2023000000000");
    EXPECT_EQ(serialUpper("gib2023abcxyz"), "GIB2023ABCXYZ");
}

TEST(ReturnReferences, AddChecksWithTheirMessages)
{
    const struct { const char* serial; const char* day; const char* month; const char* year; const char* panel; const char* entry; } cases[] = {
        {"GIB2023000000000", "05", "03", "2023", "Bu seri no Şablondur, eklemeden önce düzenleyiniz...", nullptr},
        {"gib2023000000000", "05", "03", "2023", "Bu seri no Şablondur, eklemeden önce düzenleyiniz...", nullptr},
        {"GIB20230000000012", "05", "03", "2023", "eArşiv seri no 16 hane olmalıdır..!  (1) hane fazla..", nullptr},
        {"GIB202300000001", "05", "03", "2023", "eArşiv seri no 16 hane olmalıdır..!  (1) hane noksan..", nullptr},
        {"gib20230001", "05", "03", "2023", "eArşiv seri no 16 hane olmalıdır..!  (5) hane noksan..", nullptr},
        {"GIB/5", "05", "03", "2023", "eArşiv seri no 16 hane olmalıdır..!  (11) hane noksan..", nullptr},
        {"GIB2023000000001", "05", "03", "2023", "Eklenen : 1", "GIB2023000000001---05/03/2023"},
        {"gib2023000000007", "05", "03", "2023", "Eklenen : 1", "GIB2023000000007---05/03/2023"},
        {"ABC/12", "05", "03", "2023", "Eklenen : 1", "ABC2023000000012---05/03/2023"},
        {"abc/1", "05", "03", "2023", "Eklenen : 1", "ABC2023000000001---05/03/2023"},
        {"ABCDEFGHIJKL/1", "05", "03", "2023", "Eklenen : 1", "ABCDEFGHIJKL20231---05/03/2023"},
        {"XYZ123", "29", "02", "2024", "Eklenen : 1", "XYZ123---29/02/2024"},
        // Nothing and no message: no day, no serial, an impossible date.
        {"XYZ123", "", "02", "2024", "", nullptr},
        {"", "05", "03", "2023", "", nullptr},
        {"XYZ123", "29", "02", "2023", "", nullptr},
        {"XYZ123", "31", "04", "2023", "", nullptr},
    };
    for (const auto& c : cases) {
        ReturnReferences refs;
        const ReferenceResult r = refs.add(c.serial, c.day, c.month, c.year);
        EXPECT_EQ(r.panel2, QString::fromUtf8(c.panel)) << c.serial;
        EXPECT_EQ(r.changed, c.entry != nullptr) << c.serial;
        if (c.entry) {
            ASSERT_EQ(refs.aList1(), QStringList{c.entry});
            EXPECT_EQ(r.label20, "1");
            EXPECT_EQ(r.text100 + "---" + r.text200, QString(c.entry));
            EXPECT_TRUE(r.clearText1 && r.clearText2 && r.tamamEnabled);
        } else {
            EXPECT_TRUE(refs.aList1().isEmpty()) << c.serial;
            EXPECT_TRUE(r.label20.isEmpty());
        }
    }
}

TEST(ReturnReferences, DuplicatesAndCounting)
{
    ReturnReferences refs;
    EXPECT_TRUE(refs.add("GIB2023000000001", "05", "03", "2023").changed);
    EXPECT_EQ(refs.add("gib2023000000001", "05", "03", "2023").panel2, "Bu fatura zaten eklenmiş...!");
    EXPECT_EQ(refs.add("GIB2023000000001", "06", "04", "2023").panel2, "Bu serino zaten eklenmiş...!");
    const ReferenceResult other = refs.add("GIB2023000000001", "06", "04", "2024");
    EXPECT_TRUE(other.changed);
    EXPECT_EQ(other.panel2, "Eklenen : 2");
    EXPECT_EQ(other.label20, "2");
    EXPECT_EQ(refs.aList1(), (QStringList{"GIB2023000000001---05/03/2023", "GIB2023000000001---06/04/2024"}));

    EXPECT_EQ(refs.serialOf(1), "GIB2023000000001");
    const ReferenceResult removed = refs.remove(0);
    EXPECT_EQ(removed.panel2, "Eklenen : 1");
    EXPECT_EQ(removed.label20, "1");
    EXPECT_TRUE(removed.clearText1);
    EXPECT_EQ(refs.aList1(), QStringList{"GIB2023000000001---06/04/2024"});
    EXPECT_EQ(referenceDate(refs.aList1().first()), "06/04/2024");

    const ReferenceResult ok = refs.tamam();
    EXPECT_EQ(ok.panel2, "Eklenen : 1");
    EXPECT_EQ(refs.count(), 1);
    EXPECT_EQ(refs.clear().label20, "0");
    EXPECT_EQ(refs.count(), 0);
}
