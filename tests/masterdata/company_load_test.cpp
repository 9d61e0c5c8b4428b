#include "masterdata/company.h"

#include "masterdata_fixture.h"
#include "platform/workbook.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kuvela;

namespace {
class CompanyLoadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        file = testdata::makeMasterdataWorkbook(dir.path());
        ASSERT_FALSE(file.empty()) << "fixture not written";
    }
    CompanyLoad load(const QString& company)
    {
        Workbook book = Workbook::open(file);
        return loadCompany(book, company);
    }
    QTemporaryDir dir;
    std::filesystem::path file;
};

QByteArray digest(const std::filesystem::path& p)
{
    QFile f(fromPath(p));
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}
} // namespace

TEST_F(CompanyLoadTest, ReadsTheCompanyColumn)
{
    const CompanyLoad alfa = load("Alfa Ticaret");
    ASSERT_TRUE(alfa.found);
    EXPECT_EQ(alfa.column, 2);
    const CompanySettings& s = alfa.settings;
    EXPECT_EQ(s.title, "Alfa Ticaret Ltd. Şti.");
    EXPECT_EQ(s.taxNumber, "0123456789"); // leading zero kept
    EXPECT_EQ(s.portalUser, "11111111111");
    EXPECT_EQ(s.portalPass, "pw1");
    EXPECT_EQ(s.ledgerLetter, "B");
    EXPECT_EQ(s.mailUser, "alfa@example.test");
    EXPECT_EQ(s.mailPass, "mailpw1");
    EXPECT_EQ(s.note1, QString::fromUtf8("\u2022 Not 1\r\n"));
    EXPECT_EQ(s.note2, "");
    EXPECT_EQ(s.note3, QString::fromUtf8("\u2022 Not 3\r\n"));
    EXPECT_EQ(s.noteText(), QString::fromUtf8("\u2022 Not 1\r\n\u2022 Not 3\r\n"));
    EXPECT_EQ(s.vatBaseFlag, "E");
    EXPECT_EQ(s.amountInWordsFlag, "e"); // as stored; the totals compare upper-cased
    EXPECT_EQ(alfa.smmmID, "12345678901");
    EXPECT_EQ(alfa.smmmPW, "smmmpw");
    EXPECT_TRUE(alfa.message.isEmpty());

    // Numeric tax number, empty title, no notes; the leftmost of two equal names.
    const CompanyLoad beta = load("Beta Yazılım");
    EXPECT_EQ(beta.column, 3);
    EXPECT_EQ(beta.settings.taxNumber, "1234567890");
    EXPECT_EQ(beta.settings.title, "");
    EXPECT_EQ(beta.settings.ledgerLetter, "İ");
    EXPECT_EQ(beta.settings.noteText(), "");

    EXPECT_EQ(load("Gama Gıda").settings.noteText(), QString::fromUtf8("\u2022 Yalnız orta satır\r\n"));
}

TEST_F(CompanyLoadTest, UnknownCompanyCarriesNoOtherCompanysAccount)
{
    // Behind the gap in row 2, typed by hand, or only differing in letter case.
    for (const char* name : {"Delta Gizli", "Bilinmeyen", "alfa ticaret"}) {
        const CompanyLoad r = load(QString::fromUtf8(name));
        EXPECT_FALSE(r.found) << name;
        EXPECT_EQ(r.column, 0);
        EXPECT_TRUE(r.settings.portalUser.isEmpty());
        EXPECT_TRUE(r.settings.portalPass.isEmpty());
        EXPECT_TRUE(r.settings.taxNumber.isEmpty());
        EXPECT_TRUE(r.settings.mailPass.isEmpty());
        EXPECT_TRUE(r.settings.noteText().isEmpty());
        EXPECT_TRUE(r.message.contains(QString::fromUtf8(name)));
        EXPECT_EQ(r.customers.size(), 5); // the customers load all the same
    }
}

// The lists as the window shows them, and the empty customer sheet, are checked through
// the main window (Form1CompanyTest); here the row behind an entry.
TEST_F(CompanyLoadTest, CustomerEntriesKeepTheirRowAndStoredNumber)
{
    const auto before = digest(file);
    const CompanyLoad r = load("Alfa Ticaret");
    ASSERT_EQ(r.customers.size(), 5);
    EXPECT_EQ(r.customers.at(4).row, 6);
    EXPECT_EQ(r.customers.at(4).taxNumber, "123456789");
    EXPECT_EQ(digest(file), before); // the load never writes the workbook
}

TEST(CompanyNotes, BulletAndLineBreak)
{
    EXPECT_EQ(decorateNote(""), "");
    EXPECT_EQ(decorateNote(" "), QString::fromUtf8("\u2022  \r\n"));
    EXPECT_EQ(decorateNote("Ödeme 30 gün").toUtf8(), QByteArray("\xE2\x80\xA2 \xC3\x96" "deme 30 g\xC3\xBCn\r\n"));
}
