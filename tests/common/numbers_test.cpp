#include "common/regional.h"

#include "platform/workbook.h"

#include <QTemporaryDir>
#include <clocale>
#include <functional>
#include <gtest/gtest.h>
#include <string>

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
    // Near the edge of the range results stay exact; the long division's remainder
    // there is too big to be multiplied by ten in 128 bits.
    EXPECT_EQ((D("10000000000000") * D("10000000000000")).toPlainString(), "100000000000000000000000000");
    EXPECT_EQ((D("1.5e26") / D("9e25")).toPlainString(), "1.666666666667");
    EXPECT_EQ((D("1") / D("1e26")).toPlainString(), "0");
    // A tie below the last place goes to the even last place of the whole product.
    EXPECT_EQ((D("1.5") * D("0.000000000001")).toPlainString(), "0.000000000002");
    EXPECT_EQ((D("-2.5") * D("0.000000000001")).toPlainString(), "-0.000000000002");
}

TEST(Decimal, PastTheRangeThrowsRatherThanWraps)
{
    const Decimal top = Decimal::fromRaw(~(__int128(1) << 127));
    const Decimal tiny = D("0.000000000001");
    struct { const char* what; std::function<Decimal()> f; } cases[] = {
        {"quantity x price", [] { return D("99999999999999999999") * D("9999999"); }},
        {"whole parts", [] { return D("100000000000000000000000") * D("-10000"); }},
        {"sum", [&] { return top + tiny; }},
        {"difference", [&] { return -top - tiny; }},
        {"running sum", [&] { Decimal s = top; s += tiny; return s; }},
        {"quotient", [] { return D("100000000000000000000") / D("0.0000001"); }},
        {"halving the divisor", [&] { return top / D("0.5"); }},
        {"rounding up", [&] { return top.roundHalfAway(0); }},
        {"rounding even", [&] { return (-top).roundHalfEven(2); }},
        {"a double", [] { return Decimal::fromDouble(1e30); }},
        {"a leading number", [] { return kuvela::leadingNumber(QStringLiteral("999999999999999999999999999 adet")); }},
    };
    for (const auto& c : cases)
        EXPECT_THROW(c.f(), std::overflow_error) << c.what;
    EXPECT_THROW(kuvela::formatAmount(top), std::overflow_error);
    // Up to the edge a number reads exactly in every form; past it, at any exponent, it is none.
    struct { const char* text; const char* value; } edge[] = {
        {"0.000000000001e36", "1000000000000000000000000"}, {"0.000000000001e37", "10000000000000000000000000"},
        {"0.000000000001e38", "100000000000000000000000000"}, {"0.000000000001e39", "none"}, {"0.000000000001e40", "none"},
        {"0.000000000001e41", "none"}, {"0.000000000001e42", "none"}, {"0.000000000001e43", "none"}, {"0.000000000001e44", "none"},
        {"0.000000000001e45", "none"}, {"1e40", "none"}, {"1e99999999999", "none"}, {"1e-99999999999", "0"}, {"0e99", "0"},
        {"99999999999999999999999999999", "none"}, {"5e25", "50000000000000000000000000"},
        {"50000000000000000000000000", "50000000000000000000000000"}, {"000000000000000000000000000000005e25", "50000000000000000000000000"},
        {"170141183460469231731687303.715884105727", "170141183460469231731687303.715884105727"},
        {"170141183460469231731687303.7158841057275", "none"},
    };
    for (const auto& e : edge) {
        const auto v = Decimal::parse(e.text);
        EXPECT_EQ(v ? v->toPlainString() : "none", e.value) << e.text;
    }
    EXPECT_EQ((top - top).toPlainString(), "0");
    EXPECT_EQ(D("1e25").toPlainString(), "10000000000000000000000000");
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
    // Written "1.23456789012346e+15": the exponent brings its digits into the whole.
    EXPECT_EQ(Decimal::fromDouble(1234567890123456.0).toPlainString(), "1234567890123460");
    EXPECT_EQ(D("1.0000000000005e13").toPlainString(), "10000000000005");
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
        {"50000000000000000000000000 adet", "50000000000000000000000000"},
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


// Every conversion between numbers and text gives the same under the C library's locales
// the program meets: a decimal comma there must never leak into machine text or back.
TEST(Conversions, SameUnderEveryLocale)
{
    struct Row { const char* what; std::function<QString()> f; const char* expected; };
    const Row rows[] = {
        {"fromDouble rounds as a person", [] { return QString::fromStdString(Decimal::fromDouble(2.675).roundHalfAway(2).toPlainString()); }, "2.68"},
        {"fromDouble keeps the fraction", [] { return QString::fromStdString(Decimal::fromDouble(87.5).toPlainString()); }, "87.5"},
        {"fromDouble small", [] { return QString::fromStdString(Decimal::fromDouble(1e-7).toPlainString()); }, "0.0000001"},
        {"fromDouble negative", [] { return QString::fromStdString(Decimal::fromDouble(-210.5).toPlainString()); }, "-210.5"},
        {"toDouble", [] { return QString::number(D("87.5").toDouble() == 87.5 && D("-0.125").toDouble() == -0.125); }, "1"},
        {"toFixedString", [] { return QString::fromStdString(D("1234.565").toFixedString(2)); }, "1234.57"},
        {"parse", [] { return QString::number(D("210.50") == D("210.5") && !Decimal::parse("210,50")); }, "1"},
        {"regional reading", [] { return QString::fromStdString(kuvela::regionalConvert(QStringLiteral("1.234,50"))->toPlainString()); }, "1234.5"},
        {"leading number", [] { return QString::fromStdString(kuvela::leadingNumber(QStringLiteral("12.5 adet")).toPlainString()); }, "12.5"},
        {"amount", [] { return kuvela::formatAmount(D("1234.5")); }, "1.234,50"},
        {"plain", [] { return kuvela::formatPlain(D("-0.425")); }, "-0,425"},
        {"stored double", [] { return kuvela::plainNumberText(210.5); }, "210,5"},
        {"number cell", [] { return kuvela::CellValue{kuvela::CellValue::Kind::Number, 87.5}.toText(); }, "87,5"},
        {"number cell past the range", [] { return kuvela::CellValue{kuvela::CellValue::Kind::Number, -1.5e30}.toText(); }, "-1,5E+30"},
        {"typed number through a saved workbook", [] {
             QTemporaryDir dir;
             const auto file = std::filesystem::path(dir.path().toStdString()) / "sayılar.xlsx";
             {
                 kuvela::Workbook book = kuvela::Workbook::create();
                 book.sheet(1).setText(1, 1, QStringLiteral("210,50"));
                 book.sheet(1).setNumber(1, 2, 0.1 + 0.2);
                 book.saveAs(file);
             }
             kuvela::Workbook back = kuvela::Workbook::open(file);
             const kuvela::CellValue a = back.sheet(1).value(1, 1);
             return (a.kind == kuvela::CellValue::Kind::Number ? QStringLiteral("number ") : QStringLiteral("text "))
                    + a.toText() + u' ' + back.sheet(1).text(1, 2);
         }, "number 210,5 0,3"},
    };
    const std::string before = std::setlocale(LC_ALL, nullptr);
    struct Restore {
        const std::string& name;
        ~Restore() { std::setlocale(LC_ALL, name.c_str()); }
    } restore{before};
    for (const char* locale : {"C", "de_DE.UTF-8", "tr_TR.UTF-8"}) {
        ASSERT_NE(std::setlocale(LC_ALL, locale), nullptr)
            << locale << " is not available on this machine; scripts/deps.sh generates it";
        for (const Row& r : rows)
            EXPECT_EQ(r.f(), QString::fromUtf8(r.expected)) << r.what << " under " << locale;
    }
}
