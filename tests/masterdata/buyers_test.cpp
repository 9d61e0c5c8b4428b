#include "masterdata/buyers.h"

#include "masterdata/company.h"
#include "masterdata_fixture.h"
#include "platform/workbook.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kuvela;

namespace {
CustomerList sample()
{
    return CustomerList({{2, "ABC LTD ŞTİ", "0123456789"},
                         {3, "AHMET·YILMAZ", "12345678901"},
                         {4, "Şahin Gıda", "1234567890"},
                         {5, "İSTANBUL İNŞAAT", "9876543210"},
                         {6, "Kısa No Ltd", "123456789"}});
}

QStringList namesAt(const CustomerList& list, const std::vector<int>& at)
{
    QStringList out;
    for (int i : at)
        out << list.at(i).name;
    return out;
}
} // namespace

TEST(BuyerName, SplitsAtTheFirstMiddleDot)
{
    struct { const char* in; const char* aad; const char* ssoyad; const char* uunvan; } cases[] = {
        {"AHMET·YILMAZ", "AHMET", "YILMAZ", ""},
        {"ABC LTD ŞTİ ", "", "", "ABC LTD ŞTİ "},
        {"A·B·C", "A", "B·C", ""},
        {"·SOYAD", "", "SOYAD", ""},
    };
    for (const auto& c : cases) {
        const NameParts p = splitBuyerName(QString::fromUtf8(c.in));
        EXPECT_EQ(p.aad, QString::fromUtf8(c.aad)) << c.in;
        EXPECT_EQ(p.ssoyad, QString::fromUtf8(c.ssoyad)) << c.in;
        EXPECT_EQ(p.uunvan, QString::fromUtf8(c.uunvan)) << c.in;
    }
}

TEST(BuyerNameSearch, ListsNamesContainingTheTextInTurkishCase)
{
    const CustomerList list = sample();
    struct { const char* typed; QStringList listed; } cases[] = {
        {"ltd", {"ABC LTD ŞTİ", "Kısa No Ltd"}},
        {"şah", {"Şahin Gıda"}},
        {"istanbul", {"İSTANBUL İNŞAAT"}},
        {"ISTANBUL", {}},          // dotless I is another letter
        {"kısa", {"Kısa No Ltd"}},
        {"·y", {"AHMET·YILMAZ"}},
        {"", list.names()},       // empty matches every entry
    };
    for (const auto& c : cases)
        EXPECT_EQ(namesAt(list, text19Change(list, QString::fromUtf8(c.typed), "").matches), c.listed) << c.typed;
}

TEST(BuyerNameSearch, FrameOpensOnlyForTypedText)
{
    const CustomerList list = sample();
    NameSearch s = text19Change(list, "ab", "");
    EXPECT_TRUE(s.showFrame14);
    EXPECT_TRUE(s.secildi.isEmpty());
    // A pick writes Text19: the frame stays as it is and the flag is spent.
    s = text19Change(list, "ABC LTD ŞTİ", "Evet");
    EXPECT_FALSE(s.showFrame14);
    EXPECT_TRUE(s.secildi.isEmpty());
    EXPECT_FALSE(text19Change(list, "", "").showFrame14);
}

TEST(BuyerNumberSearch, FiltersCleansAndOpensOrClosesTheFrame)
{
    const CustomerList list = sample();
    struct {
        const char* typed;
        const char* who;
        const char* text;
        FrameChange frame;
        int listed;
    } cases[] = {
        {"0123", "x", "0123", FrameChange::Show, 1},
        {"12", "x", "12", FrameChange::Show, 4},
        {"12a", "x", "12", FrameChange::Show, 4},        // a letter goes at once
        {"1a2b3", "x", "123", FrameChange::Show, 4},     // pasted: every rejected character goes
        {"0123456789", "x", "0123456789", FrameChange::Hide, 1},  // exactly 10 closes
        {"123456789012", "x", "12345678901", FrameChange::Show, 1}, // a 12th digit is cut
        {"", "x", "", FrameChange::Hide, 5},
        {" 98", "", " 98", FrameChange::Keep, 1},        // the frame opens only after a load
        {"9876543210", "command3", "9876543210", FrameChange::Hide, 1},
    };
    for (const auto& c : cases) {
        const NumberSearch s = text20Change(list, QString::fromUtf8(c.typed), QString::fromUtf8(c.who));
        EXPECT_FALSE(s.skipped) << c.typed;
        EXPECT_TRUE(s.clearList3);
        EXPECT_EQ(s.text, QString::fromUtf8(c.text)) << c.typed;
        EXPECT_EQ(s.frame13, c.frame) << c.typed;
        EXPECT_EQ(int(s.matches.size()), c.listed) << c.typed;
        EXPECT_EQ(s.showList5, QString::fromUtf8(c.who) == "x");
        EXPECT_EQ(s.whoTriggered, QString::fromUtf8(c.who));
    }
    for (const char* who : {"List3", "Form4"}) {
        const NumberSearch s = text20Change(list, "0123456789", who);
        EXPECT_TRUE(s.skipped);
        EXPECT_EQ(s.whoTriggered, "x");
        EXPECT_FALSE(s.clearList3);
        EXPECT_EQ(s.frame13, FrameChange::Keep);
        EXPECT_TRUE(s.matches.empty());
    }
}

TEST(BuyerNumberSearch, PickGivesTheStoredNumberWithoutShifting)
{
    const CustomerList list = sample();
    EXPECT_EQ(list.numberEntries().at(0), " 0123456789 ABC LTD ŞTİ");
    const NumberPick ten = list5Pick(list.at(0));
    EXPECT_EQ(ten.displayName, "ABC LTD ŞTİ");
    EXPECT_EQ(ten.text20, "0123456789");
    // Nine digits would cut the name's first letter if the entry were sliced by position.
    const NumberPick nine = list5Pick(list.at(4));
    EXPECT_EQ(nine.displayName, "Kısa No Ltd");
    EXPECT_EQ(nine.text20, "123456789");
}

TEST(BuyerRead, FillsTheBuyerBoxesFromTheSheet)
{
    QTemporaryDir dir;
    const auto file = testdata::makeMasterdataWorkbook(dir.path());
    ASSERT_FALSE(file.empty());
    Workbook book = Workbook::open(file);

    // Two rows named alike: the read by name takes the one further down.
    auto byName = readBuyerByName(book, "ABC LTD ŞTİ");
    ASSERT_TRUE(byName);
    EXPECT_EQ(byName->row, 5);
    EXPECT_EQ(byName->parts.uunvan, "ABC LTD ŞTİ");
    EXPECT_EQ(byName->address, "Bağdat Cad. No:99 Maltepe İstanbul");
    EXPECT_EQ(byName->taxNumber, "1111111111");
    EXPECT_EQ(byName->email, "ikinci@example.test");

    // The read by number takes the row of the picked number.
    const CompanyLoad load = loadCompany(book, "Alfa Ticaret");
    const NumberPick pick = list5Pick(load.customers.at(0));
    auto byNumber = readBuyerByTaxNumber(book, load.customers.at(0).taxNumber);
    ASSERT_TRUE(byNumber);
    EXPECT_EQ(byNumber->row, 2);
    EXPECT_EQ(pick.text20, "0123456789");
    EXPECT_EQ(byNumber->taxNumber, "0123456789"); // Text4: the stored value
    EXPECT_EQ(byNumber->address, "Atatürk Cad. No:1 Kadıköy İstanbul");
    EXPECT_EQ(byNumber->country, "Türkiye");
    EXPECT_EQ(byNumber->taxOffice, "Kadıköy");
    EXPECT_EQ(byNumber->email, "abc@example.test");

    auto person = readBuyerByName(book, "AHMET·YILMAZ");
    ASSERT_TRUE(person);
    EXPECT_EQ(person->parts.aad, "AHMET");
    EXPECT_EQ(person->parts.ssoyad, "YILMAZ");
    EXPECT_EQ(person->parts.uunvan, "");
    EXPECT_EQ(person->taxOffice, "Çankaya");

    // A numeric cell reads as its digits.
    auto numeric = readBuyerByTaxNumber(book, "1234567890");
    ASSERT_TRUE(numeric);
    EXPECT_EQ(numeric->name, "Şahin Gıda");

    // Row 7 has only column 1: the read by name goes on past it, the read by number stops.
    EXPECT_TRUE(readBuyerByName(book, "Gap Sonrası"));
    EXPECT_FALSE(readBuyerByTaxNumber(book, "2222222222"));
    EXPECT_FALSE(readBuyerByName(book, "Yok Böyle Biri"));
    EXPECT_FALSE(readBuyerByName(book, ""));
}
