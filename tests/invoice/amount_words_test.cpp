#include "invoice/amount_words.h"

#include <gtest/gtest.h>

using namespace kuvela::invoice;

TEST(AmountWords, YaziytlTable)
{
    const struct { const char* in; const char* out; } cases[] = {
        {"1234,56", "BinikiyüzotuzdörtTLEllialtıKr."},
        {"1000", "BinTL--Kr."},
        {"1001", "BinbirTL--Kr."},
        {"101000", "YüzbirbinTL--Kr."},  // only the whole group "birbin" is shortened
        {"21.000", "YirmibirbinTL--Kr."},
        {"1.100", "BinyüzTL--Kr."},
        {"0,50", "--TLElliKr."},
        {"0", "--TL--Kr."},
        {"0,01", "--TLBirKr."},
        {"100", "YüzTL--Kr."},
        {"5500000", "BeşmilyonbeşyüzbinTL--Kr."},
        {"-15,05", "Eksi OnbeşTLBeşKr."},
        {"2,02", "İkiTLİkiKr."},  // Turkish capital İ in both parts
        {"3,30", "ÜçTLOtuzKr."},
        {"1.000.000", "BirmilyonTL--Kr."},
        {"1.001.000", "BirmilyonbinTL--Kr."},
        {"1.000.000.000", "BirmilyarTL--Kr."},
        {"1.234.567.890.123,45",
         "BirtrilyonikiyüzotuzdörtmilyarbeşyüzaltmışyedimilyonsekizyüzdoksanbinyüzyirmiüçTLKırkbeşKr."},
        {"999.999.999.999.999,99",
         "Dokuzyüzdoksandokuztrilyondokuzyüzdoksandokuzmilyardokuzyüzdoksandokuzmilyondokuzyüzdoksandokuzbin"
         "dokuzyüzdoksandokuzTLDoksandokuzKr."},
        {"1.000.000.000.000.000", "TUTAR ÇOK BÜYÜK!"},
        {"0,995", "BirTL--Kr."},   // written half away from zero before the split
        {"0,005", "--TLBirKr."},
        {"-0,004", "--TL--Kr."},   // nothing left to be negative
        {"abc", "GİRİLEN DEĞER SAYI DEĞİL!"},
        {"", "GİRİLEN DEĞER SAYI DEĞİL!"},
        {"1.5", "GİRİLEN DEĞER SAYI DEĞİL!"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(YAZIYTL(QString(c.in)), QString(c.out)) << c.in;
}

TEST(AmountWords, CevirOnDigitTexts)
{
    EXPECT_EQ(Cevir(""), "--");
    EXPECT_EQ(Cevir("000"), "--");
    EXPECT_EQ(Cevir("05"), "Beş");
    EXPECT_EQ(Cevir("1a2"), "Yüziki");  // a character that is no digit counts as 0
    EXPECT_EQ(Cevir("0000000000000000001"), "Bir");
    EXPECT_EQ(Cevir("1000000000000000"), tooLargeText());
    EXPECT_EQ(YAZIYTL(kuvela::Decimal(2000)), "İkibinTL--Kr.");
}
