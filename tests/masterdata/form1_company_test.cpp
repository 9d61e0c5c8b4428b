// The seller company loaded into the main window from a fixture DATA.xlsx.
#include "invoice/form2.h"
#include "masterdata/form1_window_fixture.h"
#include "shell/button_kind.h"
#include "shell/company_tree.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kuvela {
namespace {

namespace fs = std::filesystem;

class Form1CompanyTest : public test::MasterdataWindowTest {
protected:
    QByteArray dataHash() const
    {
        QFile f(fromPath(home_ / QStringLiteral("Data/DATA.xlsx")));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    }
};

struct CompanyCase {
    const char* company;
    const char* label22;
    const char* vkn;
    const char* user;
    const char* pass;
    const char* ledger;
    const char* mailUser;
    const char* notes;  // Text6
    const char* vatFlag;
    const char* wordsFlag;
};

TEST_F(Form1CompanyTest, EachCompanyColumnReachesTheWindow)
{
    // Column C is the leftmost "Beta Yazılım" (E repeats the name); its tax number is
    // a number cell; D holds only the middle note line.
    const CompanyCase cases[] = {
        {"Alfa Ticaret", "Alfa Ticaret Ltd. Şti.", "0123456789", "11111111111", "pw1", "B", "alfa@example.test",
         "\u2022 Not 1\r\n\u2022 Not 3\r\n", "E", "e"},
        {"Beta Yazılım", "", "1234567890", "22222222222", "pw2", "İ", "beta@example.test", "", "h", ""},
        {"Gama Gıda", "Gama Gıda A.Ş.", "9876543210", "", "pw3", "S", "", "\u2022 Yalnız orta satır\r\n", "", ""},
    };
    Form1& w = startWith(base_);
    const QByteArray before = dataHash();
    for (const CompanyCase& c : cases) {
        SCOPED_TRACE(c.company);
        chooseCompany(QString::fromUtf8(c.company));
        EXPECT_EQ(w.Label22->text(), QString::fromUtf8(c.label22));
        EXPECT_EQ(w.firmaVKN, QString::fromUtf8(c.vkn));
        EXPECT_EQ(w.user->text(), QString::fromUtf8(c.user));
        EXPECT_EQ(w.pass->text(), QString::fromUtf8(c.pass));
        EXPECT_EQ(w.firmaMukellefiyet, QString::fromUtf8(c.ledger));
        EXPECT_EQ(w.yandexUser, QString::fromUtf8(c.mailUser));
        EXPECT_EQ(w.userNot1 + w.userNot2 + w.userNot3, QString::fromUtf8(c.notes));
        // The note box keeps its lines; it shows a line break as LF.
        EXPECT_EQ(w.Text6->toPlainText(), QString::fromUtf8(c.notes).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        EXPECT_EQ(w.prmMatStr, QString::fromUtf8(c.vatFlag));
        EXPECT_EQ(w.prmYazStr, QString::fromUtf8(c.wordsFlag));
        EXPECT_EQ(w.smmmID, QStringLiteral("12345678901"));
        EXPECT_EQ(w.smmmPW, QStringLiteral("smmmpw"));
        EXPECT_EQ(w.whoTriggered, QStringLiteral("x"));
        EXPECT_EQ(w.Dir1Path(), fromPath(home_ / (QStringLiteral("Firmalarım/") + QString::fromUtf8(c.company))));
        EXPECT_TRUE(w.panelText(7).isEmpty()) << w.panelText(7).toStdString();
    }
    EXPECT_EQ(w.userNot1, QStringLiteral("")) << "Gama's first note row is empty";
    EXPECT_EQ(w.userNot2, QString::fromUtf8("\u2022 Yalnız orta satır\r\n"));
    EXPECT_TRUE(dialogs_->shown().empty()) << dialogs_->texts().join('\n').toStdString();
    EXPECT_EQ(dataHash(), before) << "a company load never writes DATA.xlsx";
}

TEST_F(Form1CompanyTest, CustomersFillTheBuyerListsUpToTheFirstGap)
{
    Form1& w = startWith(base_);
    chooseCompany(QStringLiteral("Alfa Ticaret"));
    const QStringList names = {"ABC LTD ŞTİ", "AHMET·YILMAZ", "Şahin Gıda", "ABC LTD ŞTİ", "Kısa No Ltd"};
    EXPECT_EQ(items(w.Combo3), names);
    EXPECT_EQ(items(w.List2), names);
    EXPECT_EQ(items(w.List4), (QStringList{" 0123456789 ABC LTD ŞTİ", "12345678901 AHMET·YILMAZ", " 1234567890 Şahin Gıda",
                                          " 1111111111 ABC LTD ŞTİ", " 123456789 Kısa No Ltd"}));
    EXPECT_TRUE(w.Combo3->currentText().isEmpty());
    EXPECT_TRUE(w.List3->count() == 0 && w.List5->count() == 0);
}

TEST_F(Form1CompanyTest, EmptyCustomerSheetLeavesTheListsEmpty)
{
    Form1& w = startWith(emptyCustomers_);
    chooseCompany(QStringLiteral("Alfa Ticaret"));
    EXPECT_EQ(w.Combo3->count(), 0);
    EXPECT_EQ(w.List2->count(), 0);
    EXPECT_EQ(w.List4->count(), 0);
    EXPECT_EQ(w.user->text(), QStringLiteral("11111111111"));
}

TEST_F(Form1CompanyTest, LoadStartsANewInvoice)
{
    Form1& w = startWith(base_);
    chooseCompany(QStringLiteral("Alfa Ticaret"));
    w.Text19->setText(QStringLiteral("abc"));
    w.Text4->setText(QStringLiteral("999"));
    w.Text9->setText(QStringLiteral("10:00:00"));
    w.Combo1->setEditText(QStringLiteral("SATIŞ"));
    w.Option4->setChecked(true);
    w.Label20->setText(QStringLiteral("3"));
    w.Label20->show();
    w.kdvMatStr = QStringLiteral("eski");
    w.secildi = QStringLiteral("Evet");
    w.setPanel(7, QStringLiteral("eski mesaj"));
    Form2& refs = form2(w);
    refs.Combo1->setCurrentText(QStringLiteral("2024"));
    refs.Combo2->setCurrentText(QStringLiteral("03"));
    refs.Combo3->setCurrentText(QStringLiteral("01"));
    refs.Combo3_LostFocus();
    refs.Text1->setText(QStringLiteral("GIB2024000000014"));
    refs.Command1->click();
    ASSERT_EQ(refs.references().size(), 1) << refs.panelText(2).toStdString();

    chooseCompany(QStringLiteral("Gama Gıda"));
    EXPECT_TRUE(refs.references().isEmpty());
    EXPECT_FALSE(refs.isVisible());
    EXPECT_EQ(w.Combo1->currentText(), QStringLiteral("Fatura Türü Seçin"));
    for (QLineEdit* e : {w.Text19, w.Text20, w.Text4, w.Text9, w.Text2, w.aad, w.uunvan})
        EXPECT_TRUE(e->text().isEmpty()) << e->objectName().toStdString();
    EXPECT_TRUE(w.kdvMatStr.isEmpty());
    EXPECT_TRUE(w.secildi.isEmpty());
    EXPECT_TRUE(w.panelText(7).isEmpty());
    EXPECT_TRUE(w.Label20->isHidden());
    EXPECT_EQ(w.Label20->text(), QStringLiteral("0"));
    EXPECT_TRUE(w.Frame13->isHidden() && w.Frame14->isHidden());
    for (QRadioButton* o : {w.Option3, w.Option4, w.Option5, w.Option6, w.Option7})
        EXPECT_FALSE(o->isChecked()) << o->objectName().toStdString();
    EXPECT_TRUE(test::disabledItself(w.Option3));
    for (QPushButton* b : {w.Command27, w.Command3, w.Command7, w.Command8, w.Command9, w.Command10, w.Command11,
                           w.Command15, w.Command29, w.Command26}) {
        EXPECT_TRUE(test::disabledItself(b)) << b->objectName().toStdString();
        EXPECT_EQ(backColour(b), QColor(Qt::white)) << b->objectName().toStdString();
    }
    EXPECT_FALSE(test::disabledItself(w.Command4));
    for (QPushButton* b : {w.Command5, w.Command28, w.Command30})
        EXPECT_TRUE(b->isHidden()) << b->objectName().toStdString();
}

TEST_F(Form1CompanyTest, CompanyMissingFromTheSettingsSheetKeepsNothingOfThePreviousOne)
{
    Form1& w = startWith(base_);
    chooseCompany(QStringLiteral("Alfa Ticaret"));
    ASSERT_FALSE(w.user->text().isEmpty());
    // "Delta Gizli" stands behind the gap in row 2: not a company of the list, but its folder is there.
    ASSERT_TRUE(makeCompanyTree(home_.path(), QStringLiteral("Delta Gizli")).failure.isEmpty());

    chooseCompany(QStringLiteral("Delta Gizli"));
    for (const QString& v : {w.user->text(), w.pass->text(), w.firmaVKN, w.firmaMukellefiyet, w.yandexUser, w.yandexPass,
                             w.userNot1, w.userNot3, w.prmMatStr, w.prmYazStr, w.Label22->text(), w.Text6->toPlainText()})
        EXPECT_TRUE(v.isEmpty()) << v.toStdString();
    EXPECT_TRUE(w.panelText(7).contains(QStringLiteral("Delta Gizli"))) << w.panelText(7).toStdString();
    EXPECT_TRUE(w.panelText(7).contains(QStringLiteral("bulunamadı")));
    EXPECT_EQ(w.List2->count(), 5) << "the customers are loaded all the same";
    EXPECT_TRUE(dialogs_->shown().empty());
}

TEST_F(Form1CompanyTest, MissingCompanyFolderIsToldAndClearsTheAccount)
{
    Form1& w = startWith(base_);
    chooseCompany(QStringLiteral("Alfa Ticaret"));
    const QString shown = w.Dir1Path();
    for (const char* name : {"Olmayan Firma", "../Data", "a/b"}) {
        dialogs_->clear();
        chooseCompany(QString::fromUtf8(name));
        ASSERT_EQ(dialogs_->texts(), QStringList{QStringLiteral("Kullanıcı klasörü bulunamadı...")}) << name;
        EXPECT_EQ(dialogs_->shown().front().icon, MsgIcon::Exclamation);
        EXPECT_EQ(w.Dir1Path(), shown) << name;
        EXPECT_TRUE(w.user->text().isEmpty() && w.pass->text().isEmpty() && w.firmaVKN.isEmpty()) << name;
    }
}

TEST_F(Form1CompanyTest, NoCompanyChosenDoesNothing)
{
    Form1& w = startWith(base_);
    chooseCompany(QStringLiteral("Alfa Ticaret"));
    w.Combo4->setEditText(QStringLiteral("Firmalarım"));
    w.Text19->setText(QStringLiteral("kalsın"));
    w.Combo4_LostFocus();
    EXPECT_EQ(w.user->text(), QStringLiteral("11111111111"));
    EXPECT_EQ(w.Text19->text(), QStringLiteral("kalsın"));
    EXPECT_TRUE(dialogs_->shown().empty());
    // Typed into the box, even the loaded company's name again loads it afresh: the typing emptied its note.
    chooseCompany(QStringLiteral("Alfa Ticaret"));
    EXPECT_EQ(w.Text6->toPlainText(), QStringLiteral("• Not 1\n• Not 3\n"));
}

TEST_F(Form1CompanyTest, SellerLabelResetsBulkModeBuyerAndCompany)
{
    Form1& w = startWith(base_);
    chooseCompany(QStringLiteral("Alfa Ticaret"));
    w.Combo3->setEditText(QStringLiteral("AHMET·YILMAZ"));
    w.Combo3_LostFocus();
    ASSERT_TRUE(test::disabledItself(w.Combo4));
    w.Check5->setEnabled(true);
    w.Check5->setChecked(true);
    w.Text19->setEnabled(false);
    w.Combo1->setEditText(QStringLiteral("SATIŞ"));

    w.Label19_Click();
    EXPECT_EQ(w.Combo1->currentText(), QStringLiteral("Fatura Türü Seçin")) << "the same company, a new invoice";
    EXPECT_FALSE(w.Check5->isChecked());
    EXPECT_TRUE(test::disabledItself(w.Check5));
    EXPECT_FALSE(test::disabledItself(w.Combo4));
    EXPECT_FALSE(test::disabledItself(w.Combo3));
    EXPECT_FALSE(test::disabledItself(w.Text19));
    EXPECT_TRUE(w.Text2->text().isEmpty());
    EXPECT_EQ(w.List2->count(), 5) << "the company was loaded again";
    EXPECT_EQ(w.user->text(), QStringLiteral("11111111111"));
}

TEST_F(Form1CompanyTest, SingleCompanyModeLoadsTheCompanyOnAFreshFolder)
{
    home_.writeData(test::standardData({{QStringLiteral("B15"), QStringLiteral("S")},
                                        {QStringLiteral("B2"), QStringLiteral("Tek Şirket")},
                                        {QStringLiteral("B7"), QStringLiteral("0011223344")},
                                        {QStringLiteral("B8"), QStringLiteral("tekuser")},
                                        {QStringLiteral("B9"), QStringLiteral("tekpw")}}));
    ASSERT_FALSE(fs::exists(home_ / QStringLiteral("Firmalarım")));
    Form1& w = start();
    EXPECT_EQ(w.user->text(), QStringLiteral("tekuser"));
    EXPECT_EQ(w.pass->text(), QStringLiteral("tekpw"));
    EXPECT_EQ(w.firmaVKN, QStringLiteral("0011223344"));
    EXPECT_EQ(w.Dir1Path(), fromPath(home_ / QStringLiteral("Firmalarım/Tek Şirket")));
    for (const QString& rel : companyTreeFolders(QStringLiteral("Tek Şirket")))
        EXPECT_TRUE(fs::is_directory(home_ / (QStringLiteral("Firmalarım/") + rel))) << rel.toStdString();

    // The one company stays chosen: neither buyer nor seller label unlocks it.
    w.Label1_Click();
    EXPECT_TRUE(test::disabledItself(w.Combo4));
    w.Label19_Click();
    EXPECT_TRUE(test::disabledItself(w.Combo4));
    EXPECT_EQ(w.user->text(), QStringLiteral("tekuser"));
}

} // namespace
} // namespace kuvela
