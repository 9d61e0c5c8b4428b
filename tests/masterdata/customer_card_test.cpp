#include "masterdata/customer_card.h"
#include "masterdata/masterdata_fixture.h"
#include "platform/paths.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kuvela;

namespace {

using kuvela::testdata::runCustomerFixture;

class CustomerCardFile : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file;

    std::filesystem::path make(const QString& variant)
    {
        file = dir.path() + QStringLiteral("/DATA.xlsx");
        QFile::remove(file);
        runCustomerFixture({QStringLiteral("make"), file, variant});
        return toPath(file);
    }
    QJsonArray readRow(int row)
    {
        return QJsonDocument::fromJson(runCustomerFixture({QStringLiteral("read"), file, QString::number(row)})).array();
    }
    QByteArray bytes()
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

CustomerCardFields institution(const QString& number = QStringLiteral("0987654320"))
{
    CustomerCardFields c;
    c.title = QStringLiteral("YENİ KURUM A.Ş.");
    c.address = QStringLiteral("Bağdat Cad. No:5 Kadıköy");
    c.country = QStringLiteral("Türkiye");
    c.taxOffice = QStringLiteral("Göztepe");
    c.taxNumber = number;
    c.email = QStringLiteral("kurum@example.test");
    c.phone = QStringLiteral("02161234567");
    c.fax = QStringLiteral("120.001");
    c.contact = QStringLiteral("Ali Veli");
    c.accountCode = QStringLiteral("120.01.001");
    return c;
}

CustomerCardFields person()
{
    CustomerCardFields c;
    c.givenName = QStringLiteral("AYŞE");
    c.surname = QStringLiteral("KAYA");
    c.address = QStringLiteral("Çiçek Sok. No:7 Üsküdar");
    c.country = QStringLiteral("Türkiye");
    c.taxOffice = QStringLiteral("Üsküdar");
    c.taxNumber = QStringLiteral("10000000146");
    return c;
}

QString value(const QJsonArray& row, int col)
{
    return row.at(col - 1).toObject().value(QStringLiteral("value")).toString();
}
QString type(const QJsonArray& row, int col)
{
    return row.at(col - 1).toObject().value(QStringLiteral("type")).toString();
}

} // namespace

TEST(CustomerCard, NumberFilterAndButtons)
{
    const QString msg = QStringLiteral("Vergi/TCK No için sayısal veri bekleniyor..!");
    const struct { const char* typed; CustomerKind kind; const char* text; std::optional<QString> panel; bool enabled; } cases[] = {
        {"12a45", CustomerKind::Kurum, "12", msg, false},
        {"a", CustomerKind::Sahis, "", msg, false},
        {"12٣4", CustomerKind::Kurum, "12", msg, false}, // an Arabic-Indic digit is no digit here
        {"", CustomerKind::Kurum, "", std::nullopt, false},
        {"0123456789", CustomerKind::Kurum, "0123456789", QString(), true},
        {"012345678", CustomerKind::Kurum, "012345678", QString(), false},
        {"0123456789", CustomerKind::Sahis, "0123456789", QString(), false},
        {"10000000146", CustomerKind::Sahis, "10000000146", QString(), true},
        {"10000000146", CustomerKind::None, "10000000146", QString(), true},
        {"10000000146", CustomerKind::Kurum, "10000000146", QString(), false},
    };
    for (const auto& c : cases) {
        const NumberChange r = text6Change(QString::fromUtf8(c.typed), c.kind);
        EXPECT_EQ(r.text, QString(c.text)) << c.typed;
        EXPECT_EQ(r.panel2, c.panel) << c.typed;
        EXPECT_EQ(r.buttonsEnabled, c.enabled) << c.typed;
    }
}

TEST(CustomerCard, ChecksInOrderWithTheirMessages)
{
    auto with = [](auto change) {
        CustomerCardFields c = person();
        change(c);
        return checkCard(c);
    };
    const struct { std::optional<QString> got; std::optional<QString> want; } cases[] = {
        {with([](auto& c) { c.givenName.clear(); c.surname.clear(); c.address.clear(); }),
         QStringLiteral("Ünvan yada isim/soyad girilmelidir...!")},
        {with([](auto& c) { c.givenName.clear(); }), QStringLiteral("İsim girilmelidir...!")},
        {with([](auto& c) { c.surname.clear(); }), QStringLiteral("Soyad girilmelidir...!")},
        {with([](auto& c) { c.address = QStringLiteral("Çiçek Sok No:7"); }), QStringLiteral("Adres çok kısa ....!")},
        {with([](auto& c) { c.address = QStringLiteral("Çiçek Sok. No:7"); }), std::nullopt},
        {with([](auto& c) { c.taxOffice.clear(); }), QStringLiteral("Vergi Dairesi girilmelidir...!")},
        {with([](auto& c) { c.taxOffice = QStringLiteral("ab"); }), QStringLiteral("Vergi Dairesi adı çok kısa...!")},
        {with([](auto& c) { c.taxOffice = QStringLiteral("abc"); }), std::nullopt},
        {with([](auto& c) { c.taxNumber.clear(); }), QStringLiteral("Vergi no alanı boş bırakılamaz..!")},
        // A title alone is an institution: no name needed.
        {with([](auto& c) { c.givenName.clear(); c.surname.clear(); c.title = QStringLiteral("X"); }), std::nullopt},
        {checkCard(institution()), std::nullopt},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].got, cases[i].want) << "case " << i;
}

TEST(CustomerCard, RowAndHandOver)
{
    const QStringList row = customerRow(person());
    ASSERT_EQ(row.size(), 10);
    EXPECT_EQ(row[0], QString::fromUtf8("AYŞE·KAYA"));
    EXPECT_EQ(row[4], "'10000000146");
    EXPECT_EQ(customerRow(institution())[0], "YENİ KURUM A.Ş.");

    const HandOver kurum = handOver(institution());
    EXPECT_EQ(kurum.combo3, "YENİ KURUM A.Ş. ");
    EXPECT_EQ(kurum.text19, kurum.combo3);
    EXPECT_EQ(kurum.text2, "Bağdat Cad. No:5 Kadıköy");
    EXPECT_EQ(kurum.text3, "Göztepe");
    EXPECT_EQ(kurum.text4, "0987654320");
    EXPECT_EQ(kurum.text20, "0987654320");
    EXPECT_EQ(kurum.text5, "kurum@example.test");
    EXPECT_EQ(kurum.text12, "Türkiye");
    EXPECT_EQ(handOver(person()).text19, "AYŞE KAYA");
}

TEST_F(CustomerCardFile, InstitutionAppendedToTheFirstTrulyEmptyRow)
{
    const auto path = make(QStringLiteral("base"));
    const SaveOutcome out = saveCustomer(path, institution());
    ASSERT_EQ(out.result, SaveOutcome::Result::Saved) << out.panel2.toStdString();
    EXPECT_EQ(out.panel2, "Kaydedildi....");
    EXPECT_TRUE(out.resetCard());
    // Row 4 has no number, row 6 holds only column 1: neither is free.
    EXPECT_EQ(out.row, 7);
    EXPECT_EQ(out.uunvan, "YENİ KURUM A.Ş.");
    EXPECT_TRUE(out.aad.isEmpty() && out.ssoyad.isEmpty());

    const QJsonArray row = readRow(7);
    ASSERT_EQ(row.size(), 12);
    EXPECT_EQ(type(row, 1), "NoneType");
    EXPECT_EQ(type(row, 2), "NoneType");
    const QStringList want = customerRow(institution());
    for (int col = 3; col <= 12; ++col) {
        EXPECT_EQ(type(row, col), "str") << col;
        if (col != 7)
            EXPECT_EQ(value(row, col), want[col - 3]) << col;
    }
    EXPECT_EQ(value(row, 7), "0987654320");
    EXPECT_TRUE(row.at(6).toObject().value(QStringLiteral("quotePrefix")).toBool());

    // The neighbours are untouched.
    EXPECT_EQ(value(readRow(4), 3), "NUMARASIZ TİCARET");
    EXPECT_EQ(readRow(6).at(0).toObject().value(QStringLiteral("value")).toInt(), 6);
    EXPECT_EQ(value(readRow(8), 3), "SIFIRSIZ LTD");

    // The next customer goes past the last one, not over it.
    CustomerCardFields next = person();
    const SaveOutcome second = saveCustomer(path, next);
    ASSERT_EQ(second.result, SaveOutcome::Result::Saved);
    EXPECT_EQ(second.row, 9);
    const QJsonArray p = readRow(9);
    EXPECT_EQ(value(p, 3), QString::fromUtf8("AYŞE·KAYA"));
    EXPECT_EQ(value(p, 7), "10000000146");
    EXPECT_EQ(type(p, 8), "NoneType"); // empty boxes leave empty cells
    EXPECT_EQ(second.aad, "AYŞE");
    EXPECT_EQ(second.ssoyad, "KAYA");
    EXPECT_TRUE(second.uunvan.isEmpty());
}

TEST_F(CustomerCardFile, DuplicateRefusedWhateverTheStoredForm)
{
    const auto path = make(QStringLiteral("base"));
    const QByteArray before = bytes();
    const struct { const char* number; int row; } cases[] = {
        {"0123456789", 2},  // quoted text
        {"12345678901", 3}, // a plain number
        {"5555555555", 5},  // "' "-padded text
        {"0987654321", 8},  // a number that lost its leading zero
    };
    for (const auto& c : cases) {
        const SaveOutcome out = saveCustomer(path, institution(QString(c.number)));
        EXPECT_EQ(out.result, SaveOutcome::Result::Duplicate) << c.number;
        EXPECT_EQ(out.panel2, "Bu Vergi Kimlik No daha önce kaydedilmiş..!");
        EXPECT_EQ(out.row, c.row);
        EXPECT_FALSE(out.resetCard()) << "the card stays as typed";
    }
    EXPECT_EQ(bytes(), before);
}

TEST_F(CustomerCardFile, NeverOverwritesAStoredCustomer)
{
    // An empty number is refused by "KAYDET ve Yeni" too.
    auto path = make(QStringLiteral("base"));
    const QByteArray before = bytes();
    const SaveOutcome empty = saveCustomer(path, institution(QString()));
    EXPECT_EQ(empty.result, SaveOutcome::Result::Refused);
    EXPECT_EQ(empty.panel2, "Vergi no alanı boş bırakılamaz..!");
    EXPECT_FALSE(empty.resetCard());
    EXPECT_EQ(bytes(), before);

    // A customer without a number (row 4) neither ends the duplicate scan nor takes the new row.
    EXPECT_EQ(saveCustomer(path, institution(QStringLiteral("0987654321"))).result, SaveOutcome::Result::Duplicate);
    EXPECT_EQ(saveCustomer(path, institution()).row, 7);
    EXPECT_EQ(value(readRow(4), 3), "NUMARASIZ TİCARET");
    EXPECT_EQ(type(readRow(4), 7), "NoneType");

    // Row 1 without its column-7 title: rows 2 and 3 stay.
    path = make(QStringLiteral("notitle"));
    const SaveOutcome out = saveCustomer(path, institution());
    ASSERT_EQ(out.result, SaveOutcome::Result::Saved);
    EXPECT_EQ(out.row, 4);
    EXPECT_EQ(value(readRow(2), 7), "1111111111");
    EXPECT_EQ(value(readRow(3), 7), "2222222222");
    EXPECT_EQ(type(readRow(1), 3), "NoneType");

    path = make(QStringLiteral("titles"));
    EXPECT_EQ(saveCustomer(path, institution()).row, 2);
    EXPECT_EQ(value(readRow(1), 7), "VKN/TCKN");
}

TEST_F(CustomerCardFile, WorkbookFailuresKeepTheFileAndTheCard)
{
    const auto path = make(QStringLiteral("base"));
    const QByteArray before = bytes();
    QFile lock(dir.path() + QStringLiteral("/~$DATA.xlsx"));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.close();
    const SaveOutcome open = saveCustomer(path, institution());
    EXPECT_EQ(open.result, SaveOutcome::Result::Failed);
    EXPECT_TRUE(open.panel2.contains(QStringLiteral("DATA.xlsx"))) << open.panel2.toStdString();
    EXPECT_FALSE(open.resetCard());
    EXPECT_EQ(bytes(), before);
    lock.remove();

    const SaveOutcome missing = saveCustomer(toPath(dir.path() + QStringLiteral("/YOK.xlsx")), institution());
    EXPECT_EQ(missing.result, SaveOutcome::Result::Failed);
    EXPECT_FALSE(missing.panel2.isEmpty());
}

TEST_F(CustomerCardFile, HandOverThenSave)
{
    const auto path = make(QStringLiteral("base"));
    CustomerCardFields bad = institution();
    bad.taxOffice = QStringLiteral("ab");
    const Command4Result refused = handOverAndSave(path, bad);
    EXPECT_EQ(refused.whoTriggered, "Form4");
    EXPECT_EQ(refused.failedCheck, QStringLiteral("Vergi Dairesi adı çok kısa...!"));
    EXPECT_FALSE(refused.handOver);
    EXPECT_EQ(refused.save.result, SaveOutcome::Result::Refused);

    // A number stored for someone else: nothing written and nothing handed over.
    const QByteArray before = bytes();
    const Command4Result dup = handOverAndSave(path, institution(QStringLiteral("0123456789")));
    EXPECT_EQ(dup.whoTriggered, "Form4");
    EXPECT_FALSE(dup.handOver);
    EXPECT_EQ(dup.save.result, SaveOutcome::Result::Duplicate);
    EXPECT_EQ(bytes(), before);

    const Command4Result saved = handOverAndSave(path, person());
    ASSERT_TRUE(saved.handOver);
    EXPECT_EQ(saved.handOver->combo3, "AYŞE KAYA");
    EXPECT_EQ(saved.save.result, SaveOutcome::Result::Saved);
    EXPECT_EQ(value(readRow(saved.save.row), 7), "10000000146");
}
