#include "documents/archive_search.h"

#include <gtest/gtest.h>

using namespace kuvela;

namespace {
const QStringList kNames = {
    "GIB2023000000001 19-04-2023  1234567890 ÖRNEK İNŞAAT LTD ŞTİ-SATIŞ-ABCDEFGHIJKLMN.html",
    "GIB2023000000002 03-05-2023 10000000146 AHMET YILMAZ        -SATIŞ-ABCDEFGHIJKLMN.html",
    "GIB2022000000205 19-04-2022  5555555555 BETA GIDA SAN TİC AŞ-SATIŞ-ABCDEFGHIJKLMN.html",
    "GIB2023000000003-İPTAL.txt",
    "GIB2024000000007 12-06-2024  7777777777 KAHVE DÜNYASI 😀 ŞUBE-SATIŞ-ABCDEFGHIJKLMN.html",
};

ArchiveSearchFilter filter(const QString& number, const QString& tax, const QString& title, const QString& month,
                           const QString& year)
{
    return {number, tax, title, month, year};
}
} // namespace

TEST(ArchiveSearch, ListsByTheFieldsAtTheirPositions)
{
    struct Case {
        const char* what;
        ArchiveSearchFilter f;
        std::vector<int> listed;
    } cases[] = {
        {"no filter lists nothing", filter("", "", "", "", ""), {}},
        {"month alone: any April", filter("", "", "", "04", ""), {0, 2}},
        {"year alone", filter("", "", "", "", "2023"), {0, 1}},
        {"month and year", filter("", "", "", "05", "2023"), {1}},
        {"number inside the field", filter("000001", "", "", "", ""), {0}},
        {"number typed from its first character", filter("GIB2023000000001", "", "", "", ""), {0}},
        {"prefix at character 1, Turkish lower case", filter("gıb2022", "", "", "", ""), {2}},
        {"Turkish i is not I", filter("gib2022", "", "", "", ""), {}},
        {"number field ends at 16", filter("19-04", "", "", "", ""), {}},
        {"tax number from character 29 on", filter("", "1234567890", "", "", ""), {0}},
        {"period and tax number both needed, number ignored",
         filter("000002", "1234567890", "", "04", "2023"), {0}},
        {"period and tax number that disagree", filter("", "5555555555", "", "04", "2023"), {}},
        {"title in lower case with Turkish letters", filter("", "", "inşaat", "", ""), {0}},
        {"dotless and dotted i kept apart", filter("", "", "INŞAAT", "", ""), {}},
        {"title or period", filter("", "", "beta", "05", "2023"), {1, 2}},
        {"title field only", filter("", "", "SATIŞ", "", ""), {}},
        {"title after an emoji, counted by characters", filter("", "", "şube", "", ""), {4}},
    };
    for (const Case& c : cases) {
        QStringList expected;
        for (int i : c.listed)
            expected << kNames.at(i);
        const ArchiveSearchResult r = searchArchive(kNames, c.f);
        EXPECT_EQ(r.found, expected) << c.what;
        EXPECT_EQ(r.showCheck2, !expected.isEmpty()) << c.what;
        EXPECT_EQ(r.countLabel, QString("Toplam 5 Listelenen %1").arg(expected.size())) << c.what;
    }
}

TEST(ArchiveSearch, PeriodAndClearedLabel)
{
    EXPECT_EQ(wantedPeriod(filter("", "", "", "", "")), "");
    EXPECT_EQ(wantedPeriod(filter("", "", "", "04", "")), "04-");
    EXPECT_EQ(wantedPeriod(filter("", "", "", "", "2023")), "-2023");
    EXPECT_EQ(clearedArchiveCountLabel(), "Listelenen 0");
    EXPECT_EQ(searchArchive({}, filter("1", "", "", "", "")).countLabel, "Toplam 0 Listelenen 0");
}
