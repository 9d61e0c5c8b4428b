#include "common/regional.h"

#include <gtest/gtest.h>

using kuvela::Decimal;

namespace {
Decimal D(const char* s) { return *Decimal::parse(s); }
}

TEST(Decimal, ArithmeticIsExactInDecimal)
{
    EXPECT_EQ((D("250") + D("12.5") + D("47.16")).toPlainString(), "309.66");
    EXPECT_EQ((D("0.1") + D("0.2")).toPlainString(), "0.3");
    EXPECT_EQ((D("3") * D("1.15")).toPlainString(), "3.45");
    EXPECT_EQ((D("-2.5") * D("4")).toPlainString(), "-10");
    EXPECT_EQ((D("10") / D("3")).toFixedString(4), "3.3333");
    EXPECT_EQ((D("1") / D("8")).toPlainString(), "0.125");
    EXPECT_EQ((D("123456789.123") * D("18") / D("100")).toPlainString(), "22222222.04214");
    EXPECT_THROW(D("1") / Decimal(), std::domain_error);
}

TEST(Decimal, ExplicitRoundingGoesHalfToEven)
{
    struct { const char* in; int places; const char* out; } cases[] = {
        {"2.5", 0, "2"}, {"3.5", 0, "4"}, {"-2.5", 0, "-2"}, {"0.125", 2, "0.12"},
        {"0.135", 2, "0.14"}, {"2.675", 2, "2.68"}, {"2.665", 2, "2.66"}, {"4.5", 0, "4"},
        {"1.0051", 2, "1.01"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(D(c.in).roundHalfEven(c.places).toPlainString(), c.out) << c.in;
}

TEST(Decimal, FormattingGoesHalfAwayFromZero)
{
    EXPECT_EQ(D("2.675").roundHalfAway(2).toPlainString(), "2.68");
    EXPECT_EQ(D("2.665").roundHalfAway(2).toPlainString(), "2.67");
    EXPECT_EQ(D("-2.5").roundHalfAway(0).toPlainString(), "-3");
    EXPECT_EQ(D("1.9999").truncate(2).toPlainString(), "1.99");
}

TEST(Decimal, FromDoubleSeesWhatAPersonSees)
{
    // 2.675 is stored in binary just below 2.675; a person still rounds it up.
    EXPECT_EQ(Decimal::fromDouble(2.675).roundHalfAway(2).toPlainString(), "2.68");
    EXPECT_EQ(Decimal::fromDouble(0.1 + 0.2).toPlainString(), "0.3");
    EXPECT_EQ(Decimal::fromDouble(1234567890.0).toPlainString(), "1234567890");
    EXPECT_EQ(Decimal::fromDouble(1e-7).toPlainString(), "0.0000001");
}

TEST(Decimal, ParseRejectsNonNumbers)
{
    for (const char* s : {"", "-", ".", "1.2.3", "12a", "1,5", " 1"})
        EXPECT_FALSE(Decimal::parse(s).has_value()) << s;
    EXPECT_EQ(D("1e3").toPlainString(), "1000");
    EXPECT_EQ(D(".5").toPlainString(), "0.5");
}

TEST(Regional, ConversionReadsTheTurkishFormat)
{
    struct { const char* in; const char* out; } ok[] = {
        {"1.234,50", "1234.5"}, {"18", "18"}, {"-0,5", "-0.5"}, {" 12,25 ", "12.25"},
        {"1.000.000", "1000000"}, {"0,125", "0.125"}, {"+3", "3"}, {",5", "0.5"},
    };
    for (const auto& c : ok) {
        auto v = kuvela::regionalConvert(QString::fromUtf8(c.in));
        ASSERT_TRUE(v.has_value()) << c.in;
        EXPECT_EQ(v->toPlainString(), c.out) << c.in;
    }
    for (const char* bad : {"", "abc", "1.5", "12.34", "1,2,3", "1.234.5", ".123", "12 TL", "1234.567"})
        EXPECT_FALSE(kuvela::regionalConvert(QString::fromUtf8(bad)).has_value()) << bad;
}

TEST(Regional, LeadingNumberStopsAtTheFirstOtherCharacter)
{
    struct { const char* in; const char* out; } cases[] = {
        {"12.5abc", "12.5"}, {"1,5", "1"}, {"", "0"}, {"-5 adet", "-5"}, {"1.234,50", "1.234"},
        {"Kalem", "0"}, {"  7", "7"}, {".5", "0.5"}, {"3.", "3"}, {"-", "0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kuvela::leadingNumber(QString::fromUtf8(c.in)).toPlainString(), c.out) << c.in;
}

TEST(Regional, AmountsAreShownGroupedWithTwoDecimals)
{
    EXPECT_EQ(kuvela::formatAmount(D("1234.5")), "1.234,50");
    EXPECT_EQ(kuvela::formatAmount(D("2.675")), "2,68");
    EXPECT_EQ(kuvela::formatAmount(D("0.125")), "0,13");
    EXPECT_EQ(kuvela::formatAmount(D("0")), "0,00");
    EXPECT_EQ(kuvela::formatAmount(D("-0.004")), "0,00");
    EXPECT_EQ(kuvela::formatAmount(D("-1234567.891")), "-1.234.567,89");
    EXPECT_EQ(kuvela::formatAmount(D("1500"), 4), "1.500,0000");
    EXPECT_EQ(kuvela::formatAmount(D("999.995")), "1.000,00");
    EXPECT_EQ(kuvela::formatPlain(D("212.4")), "212,4");
    EXPECT_EQ(kuvela::formatPlain(D("364")), "364");
    EXPECT_EQ(kuvela::plainNumberText(12.5), "12,5");
    EXPECT_EQ(kuvela::plainNumberText(1234567890.0), "1234567890");
}

TEST(Regional, TurkishLetterCase)
{
    EXPECT_EQ(kuvela::turkishUpper(QString::fromUtf8("istanbul ılık çiğ")), QString::fromUtf8("İSTANBUL ILIK ÇİĞ"));
    EXPECT_EQ(kuvela::turkishLower(QString::fromUtf8("İZMİR IŞIK")), QString::fromUtf8("izmir ışık"));
    EXPECT_EQ(kuvela::shortDate(QDate(2026, 2, 3)), "03.02.2026");
}
