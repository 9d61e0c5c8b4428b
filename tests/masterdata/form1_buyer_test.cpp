// Buyer pick and the two searches on the main window, over the fixture's customers.
#include "masterdata/form1_window_fixture.h"
#include "masterdata/form4.h"
#include "portal/invoice_page_map.h"
#include "support/real_input.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <functional>

namespace kuvela {
namespace {

namespace fs = std::filesystem;

class Form1BuyerTest : public test::MasterdataWindowTest {
protected:
    // A window with "Alfa Ticaret" loaded.
    Form1& startLoaded()
    {
        Form1& w = startWith(base_);
        chooseCompany(QStringLiteral("Alfa Ticaret"));
        return w;
    }

    static void pick(QListWidget* list, int row)
    {
        list->setCurrentRow(row);
    }
};

TEST_F(Form1BuyerTest, NameSearchListsNamesHoldingTheTextInAnyLetterCase)
{
    Form1& w = startLoaded();
    struct Case { const char* typed; QStringList listed; };
    const Case cases[] = {
        {"ltd", {"ABC LTD ŞTİ", "ABC LTD ŞTİ", "Kısa No Ltd"}},
        {"şah", {"Şahin Gıda"}},
        {"KISA", {"Kısa No Ltd"}},
        {"abc ltd şti", {"ABC LTD ŞTİ", "ABC LTD ŞTİ"}},
        {"·y", {"AHMET·YILMAZ"}},
        {"zzz", {}},
    };
    for (const Case& c : cases) {
        w.Text19->setText(QString::fromUtf8(c.typed));
        EXPECT_EQ(items(w.List3), c.listed) << c.typed;
        EXPECT_FALSE(w.Frame14->isHidden()) << c.typed;
        EXPECT_FALSE(w.Command23->isHidden()) << c.typed;
    }
    // Emptying the box lists everyone again and leaves the frame as it was.
    w.Text19->clear();
    EXPECT_EQ(w.List3->count(), 5);
    EXPECT_FALSE(w.Frame14->isHidden());
    w.Command23_Click();
    EXPECT_TRUE(w.Frame14->isHidden());
    EXPECT_TRUE(w.secildi.isEmpty());
}

TEST_F(Form1BuyerTest, NameWrittenRightAfterAPickOpensNoSearch)
{
    Form1& w = startLoaded();
    w.secildi = QStringLiteral("Evet");
    w.Text19->setText(QStringLiteral("ABC"));
    EXPECT_TRUE(w.Frame14->isHidden());
    EXPECT_TRUE(w.secildi.isEmpty());
    EXPECT_EQ(w.List3->count(), 2);
}

TEST_F(Form1BuyerTest, NumberSearchKeepsDigitsAndShowsAndHidesItsFrame)
{
    Form1& w = startLoaded();
    struct Case { const char* typed; const char* kept; bool frameShown; QStringList listed; };
    const Case cases[] = {
        {"0123", "0123", true, {" 0123456789 ABC LTD ŞTİ"}},
        {"12a", "12", true, {" 0123456789 ABC LTD ŞTİ", "12345678901 AHMET·YILMAZ", " 1234567890 Şahin Gıda",
                             " 123456789 Kısa No Ltd"}},
        {"1111111111", "1111111111", false, {" 1111111111 ABC LTD ŞTİ"}},  // ten digits close the frame
        {"12345678901", "12345678901", true, {"12345678901 AHMET·YILMAZ"}},
        {"123456789012", "12345678901", true, {"12345678901 AHMET·YILMAZ"}},
        {"", "", false, {" 0123456789 ABC LTD ŞTİ", "12345678901 AHMET·YILMAZ", " 1234567890 Şahin Gıda",
                         " 1111111111 ABC LTD ŞTİ", " 123456789 Kısa No Ltd"}},
    };
    for (const Case& c : cases) {
        w.Text20->setText(QString::fromUtf8(c.typed));
        EXPECT_EQ(w.Text20->text(), QString::fromUtf8(c.kept)) << c.typed;
        EXPECT_EQ(w.Text20->cursorPosition(), w.Text20->text().size()) << c.typed;
        EXPECT_EQ(!w.Frame13->isHidden(), c.frameShown) << c.typed;
        EXPECT_EQ(items(w.List5), c.listed) << c.typed;
    }
}

TEST_F(Form1BuyerTest, NumberWrittenByAPickIsNoSearch)
{
    Form1& w = startLoaded();
    for (const char* who : {"List3", "Form4"}) {
        w.Text19->setText(QStringLiteral("ltd"));
        ASSERT_EQ(w.List3->count(), 3);
        w.whoTriggered = QString::fromUtf8(who);
        w.Text20->setText(QStringLiteral("0123a"));
        EXPECT_EQ(w.whoTriggered, QStringLiteral("x")) << who;
        EXPECT_EQ(w.List3->count(), 3) << who;
        EXPECT_TRUE(w.Frame13->isHidden()) << who;
        EXPECT_EQ(w.Text20->text(), QStringLiteral("0123a")) << who;
        w.Text20->clear();
        w.Text19->clear();
    }
}

struct PickCase {
    int list5Row;        // after typing "1" into Text20
    const char* name;
    const char* text20;
    const char* text4;
    const char* address;
    const char* email;
};

TEST_F(Form1BuyerTest, PickByNumberFillsTheBoxesFromThatRow)
{
    // The two "ABC LTD ŞTİ" rows are told apart by their numbers.
    const PickCase cases[] = {
        {0, "ABC LTD ŞTİ", "0123456789", "0123456789", "Atatürk Cad. No:1 Kadıköy İstanbul", "abc@example.test"},
        {3, "ABC LTD ŞTİ", "1111111111", "1111111111", "Bağdat Cad. No:99 Maltepe İstanbul", "ikinci@example.test"},
        {2, "Şahin Gıda", "1234567890", "1234567890", "", ""},
    };
    for (const PickCase& c : cases) {
        SCOPED_TRACE(c.list5Row);
        Form1& w = startLoaded();
        w.Text20->setText(QStringLiteral("1"));
        ASSERT_EQ(w.List5->count(), 5);
        pick(w.List5, c.list5Row);
        w.List5_DblClick();
        EXPECT_EQ(w.Combo3->currentText(), QString::fromUtf8(c.name));
        EXPECT_EQ(w.Text19->text(), QString::fromUtf8(c.name));
        EXPECT_EQ(w.uunvan->text(), QString::fromUtf8(c.name));
        EXPECT_TRUE(w.aad->text().isEmpty() && w.ssoyad->text().isEmpty());
        EXPECT_EQ(w.Text20->text(), QString::fromUtf8(c.text20));
        EXPECT_EQ(w.Text4->text(), QString::fromUtf8(c.text4));
        EXPECT_EQ(w.Text2->text(), QString::fromUtf8(c.address));
        EXPECT_EQ(w.Text5->text(), QString::fromUtf8(c.email));
        EXPECT_TRUE(w.Frame13->isHidden());
        EXPECT_TRUE(w.List5->isHidden());
        EXPECT_TRUE(w.List3->isHidden());
        EXPECT_TRUE(w.Frame14->isHidden());
        EXPECT_TRUE(test::disabledItself(w.Text19));
        window_.reset();
    }
}

TEST_F(Form1BuyerTest, PickByNameSplitsPersonsAndTakesTheLastRowOfAName)
{
    Form1& w = startLoaded();
    w.Text19->setText(QStringLiteral("ahmet"));
    ASSERT_EQ(items(w.List3), QStringList{QStringLiteral("AHMET·YILMAZ")});
    pick(w.List3, 0);
    w.List3_DblClick();
    EXPECT_EQ(w.aad->text(), QStringLiteral("AHMET"));
    EXPECT_EQ(w.ssoyad->text(), QStringLiteral("YILMAZ"));
    EXPECT_TRUE(w.uunvan->text().isEmpty());
    EXPECT_EQ(w.Combo3->currentText(), QStringLiteral("AHMET·YILMAZ"));
    EXPECT_EQ(w.Text4->text(), QStringLiteral("12345678901"));
    EXPECT_EQ(w.Text20->text(), QStringLiteral("12345678901"));
    EXPECT_EQ(w.Text3->text(), QStringLiteral("Çankaya"));
    EXPECT_EQ(w.Text12->text(), QStringLiteral("Türkiye"));
    EXPECT_EQ(w.whoTriggered, QStringLiteral("x"));
    EXPECT_TRUE(w.Frame13->isHidden()) << "the number written by the pick opens no search";
    EXPECT_TRUE(test::disabledItself(w.Combo3));
    EXPECT_TRUE(test::disabledItself(w.Combo4));
    EXPECT_TRUE(test::disabledItself(w.Text19));
    EXPECT_TRUE(w.Frame14->isHidden());

    // The buyer label frees everything again, the company's customers in the list; the searches keep working.
    w.Label1_Click();
    EXPECT_EQ(w.Combo3->count(), 5);
    for (QWidget* c : std::initializer_list<QWidget*>{w.Combo3, w.Combo4, w.Text19})
        EXPECT_FALSE(test::disabledItself(c)) << c->objectName().toStdString();
    EXPECT_FALSE(w.List3->isHidden());
    for (QLineEdit* e : {w.Text2, w.Text3, w.Text4, w.Text5, w.Text12, w.Text19, w.Text20, w.aad, w.ssoyad, w.uunvan})
        EXPECT_TRUE(e->text().isEmpty()) << e->objectName().toStdString();

    // By name, of two rows called the same, the lower one fills the boxes.
    w.Text19->setText(QStringLiteral("abc"));
    pick(w.List3, 0);
    w.List3_DblClick();
    EXPECT_EQ(w.uunvan->text(), QStringLiteral("ABC LTD ŞTİ"));
    EXPECT_EQ(w.Text2->text(), QStringLiteral("Bağdat Cad. No:99 Maltepe İstanbul"));
    EXPECT_EQ(w.Text4->text(), QStringLiteral("1111111111"));
}

TEST_F(Form1BuyerTest, UnknownNameInTheBuyerBoxLocksButFillsNothing)
{
    Form1& w = startLoaded();
    w.Text2->setText(QStringLiteral("elle yazılan adres"));
    w.aad->setText(QStringLiteral("eski"));
    w.Combo3->setEditText(QStringLiteral("Bilinmeyen Alıcı"));
    w.Combo3_LostFocus();
    EXPECT_TRUE(w.aad->text().isEmpty() && w.ssoyad->text().isEmpty() && w.uunvan->text().isEmpty());
    EXPECT_EQ(w.Text2->text(), QStringLiteral("elle yazılan adres"));
    EXPECT_TRUE(test::disabledItself(w.Combo3));
    EXPECT_TRUE(test::disabledItself(w.Combo4));

    // An empty buyer box does nothing at all.
    w.Label1_Click();
    w.Combo3->setEditText(QString());
    w.Combo3_LostFocus();
    EXPECT_FALSE(test::disabledItself(w.Combo3));
}

TEST_F(Form1BuyerTest, NumberFrameClosesWithItsButton)
{
    Form1& w = startLoaded();
    w.Text20->setText(QStringLiteral("12"));
    ASSERT_FALSE(w.Frame13->isHidden());
    w.secildi = QStringLiteral("Evet");
    w.Command24->click();
    EXPECT_TRUE(w.Frame13->isHidden());
    EXPECT_TRUE(w.secildi.isEmpty());
}

// Every way to a stored or new buyer, by mouse and keyboard on the shown window right
// after the company is picked, ends with the name the upload gives the portal, and the
// next click elsewhere keeps the buyer.
TEST_F(Form1BuyerTest, EveryPickByHandGivesTheUploadTheBuyersName)
{
    using test::click;
    using test::typeInto;
    struct Road {
        const char* how;
        std::function<void(Form1&)> pick;
        portal::BuyerNames upload;  // title; given name and surname
        const char* text4;
        const char* focus;          // where the focus stands after the pick
        bool locksText19 = true;
    };
    const Road roads[] = {
        {"Alıcı drop-down, a title",
         [](Form1& w) {
             ASSERT_TRUE(test::pickFromCombo(w.Combo3, QStringLiteral("Şahin Gıda")));
             click(w.Text2);
         },
         {QStringLiteral("Şahin Gıda"), {}, {}}, "1234567890", "Text2"},
        {"Alıcı drop-down, a person",
         [](Form1& w) {
             ASSERT_TRUE(test::pickFromCombo(w.Combo3, QStringLiteral("AHMET·YILMAZ")));
             click(w.Text2);
         },
         {{}, QStringLiteral("AHMET"), QStringLiteral("YILMAZ")}, "12345678901", "Text2"},
        {"name search",
         [](Form1& w) {
             typeInto(w.Text19, QStringLiteral("şah"));
             ASSERT_EQ(w.List3->count(), 1);
             test::doubleClickRow(w.List3, 0);
         },
         {QStringLiteral("Şahin Gıda"), {}, {}}, "1234567890", "Text2"},
        {"tax-number search",
         [](Form1& w) {
             typeInto(w.Text20, QStringLiteral("111"));
             ASSERT_EQ(w.List5->count(), 1);
             test::doubleClickRow(w.List5, 0);
         },
         {QStringLiteral("ABC LTD ŞTİ"), {}, {}}, "1111111111", "Text2"},
        {"customer card, KAYDET ve Seç",
         [](Form1& w) {
             w.Command4_Click();
             Form4& card = form4(w);
             card.Option1->click();
             card.Text1->setText(QStringLiteral("YENİ KURUM A.Ş."));
             card.Text4->setPlainText(QStringLiteral("Bağdat Cad. No:5"));
             card.Text5->setText(QStringLiteral("Göztepe"));
             card.Text6->setText(QStringLiteral("0987654320"));
             card.Command4->click();
             ASSERT_FALSE(card.isVisible()) << card.panelText(2).toStdString();
             ASSERT_TRUE(test::showActive(w));
         },
         {QStringLiteral("YENİ KURUM A.Ş."), {}, {}}, "0987654320", nullptr, false},
    };
    for (const Road& road : roads) {
        SCOPED_TRACE(road.how);
        Form1& w = startWith(base_);
        ASSERT_TRUE(test::showActive(w));
        // The company as a user picks it: its name in Combo4, then on to the buyer.
        ASSERT_TRUE(test::pickFromCombo(w.Combo4, QStringLiteral("Alfa Ticaret")));
        click(w.Text5);
        ASSERT_EQ(w.Combo3->count(), 5);
        road.pick(w);
        if (road.focus)
            EXPECT_EQ(test::focusName(), QString::fromUtf8(road.focus));
        for (const QWidget* reloads : {static_cast<QWidget*>(w.Combo3), static_cast<QWidget*>(w.Combo4)})
            EXPECT_FALSE(reloads->hasFocus() || reloads->isAncestorOf(QApplication::focusWidget())) << test::focusName().toStdString();
        // The next click somewhere else is no company reload.
        click(w.Text12);
        EXPECT_EQ(w.Text4->text(), QString::fromUtf8(road.text4));
        EXPECT_EQ(portal::splitBuyerName(w.Text19->text(), w.Text20->text()), road.upload) << w.Text19->text().toStdString();
        EXPECT_EQ(w.Text20->text(), QString::fromUtf8(road.text4));
        EXPECT_EQ(test::disabledItself(w.Text19), road.locksText19);
        EXPECT_TRUE(w.Frame13->isHidden());
        EXPECT_TRUE(w.Frame14->isHidden());
        window_.reset();
    }
}

} // namespace
} // namespace kuvela
