// The return-references dialog on a main window: date lists, the serial checks with
// their messages, the list and its count on the main window.
#include "editor_window_fixture.h"
#include "invoice/form2.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace kuvela {
namespace {

QStringList items(const QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

QStringList entries(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

class Form2Test : public test::EditorWindowTest {
protected:
    Form2& dialog()
    {
        form->Command5_Click();
        return form2(*form);
    }
    // The date as the user picks it, then the serial typed and "Ekle".
    void date(Form2& d, const QString& day, const QString& month, const QString& year)
    {
        d.Combo1->setCurrentText(year);
        d.Combo2->setCurrentText(month);
        d.Combo3->setCurrentText(day);
        d.Combo3_LostFocus();
    }
    QString add(Form2& d, const QString& serial, const QString& day, const QString& month, const QString& year)
    {
        date(d, day, month, year);
        d.Text1->setText(serial);
        d.Command1->click();
        return d.panelText(2);
    }
};

TEST_F(Form2Test, OpensOnTodaysMonthWithNoDayChosen)
{
    start();
    Form2& d = dialog();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.windowTitle(), "Kuvela-Alış Fatura Bilgi Girişi");
    EXPECT_EQ(d.Label3->text(), "İADE EDİLECEK ÜRÜN VEYA HİZMET'İN ALIŞ FATURASINA İLİŞKİN BİLGİLER");
    EXPECT_EQ(d.panelText(2), "Önce tarih seçiniz...");
    EXPECT_EQ(items(d.Combo1), (QStringList{"2020", "2021", "2022", "2023", "2024"}));
    EXPECT_EQ(d.Combo1->currentText(), "2024");
    EXPECT_EQ(items(d.Combo2).size(), 12);
    EXPECT_EQ(d.Combo2->currentText(), "03");
    EXPECT_EQ(items(d.Combo3).size(), 31);
    EXPECT_EQ(d.Combo3->currentIndex(), -1);
    EXPECT_FALSE(d.Text1->isEnabled());
    EXPECT_FALSE(d.Command1->isEnabled());
    screenshot(&d, QStringLiteral("form2"));

    d.Combo3->setCurrentText("05");
    d.Combo3_LostFocus();
    EXPECT_TRUE(d.Text1->isEnabled());
    EXPECT_TRUE(d.panelText(2).isEmpty());
    emit d.Combo1->currentIndexChanged(d.Combo1->currentIndex());
    d.Label1_Click();
    EXPECT_EQ(d.Text1->text(), "GIB2024000000000");
    EXPECT_TRUE(d.Command1->isEnabled());
}

TEST_F(Form2Test, TabWalksTheDateBoxesInTheirOrderOnTheScreen)
{
    start();
    Form2& d = dialog();
    // Day, month, year from left to right.
    EXPECT_LT(d.Combo3->geometry().x(), d.Combo2->geometry().x());
    EXPECT_LT(d.Combo2->geometry().x(), d.Combo1->geometry().x());
    d.Combo3->setFocus(Qt::MouseFocusReason);
    QStringList walked{d.focusWidget()->objectName()};
    for (int i = 0; i < 2; ++i) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(d.focusWidget(), &tab);
        walked << d.focusWidget()->objectName();
    }
    EXPECT_EQ(walked, (QStringList{"Combo3", "Combo2", "Combo1"}));
}

TEST_F(Form2Test, FebruaryFollowsTheCalendarAndAYearChangeDropsAnImpossibleDay)
{
    start();
    Form2& d = dialog();
    struct Case { const char* year; int days; };
    for (const Case c : {Case{"2020", 29}, Case{"2021", 28}, Case{"2023", 28}, Case{"2024", 29}}) {
        d.Combo1->setCurrentText(c.year);
        d.Combo2->setCurrentText("02");
        EXPECT_EQ(d.Combo3->count(), c.days) << c.year;
    }
    // 29/02/2024 stays 29 in another leap year and goes in a common one.
    d.Combo3->setCurrentText("29");
    d.Combo1->setCurrentText("2020");
    EXPECT_EQ(d.Combo3->currentText(), "29");
    d.Combo1->setCurrentText("2023");
    EXPECT_EQ(d.Combo3->count(), 28);
    EXPECT_EQ(d.Combo3->currentIndex(), -1);
    // A day kept by the new year stays chosen; a month change always asks for the day again.
    d.Combo3->setCurrentText("28");
    d.Combo1->setCurrentText("2022");
    EXPECT_EQ(d.Combo3->currentText(), "28");
    d.Combo2->setCurrentText("04");
    EXPECT_EQ(d.Combo3->count(), 30);
    EXPECT_EQ(d.Combo3->currentIndex(), -1);

    EXPECT_EQ(add(d, "ABC/1", "29", "02", "2024"), "Eklenen : 1");
    EXPECT_EQ(entries(d.aList1), QStringList{"ABC2024000000001---29/02/2024"});
    // No 29th in February 2023 to pick: nothing is added and nothing said.
    EXPECT_EQ(add(d, "ABC/2", "29", "02", "2023"), "");
    EXPECT_EQ(d.aList1->count(), 1);
}

TEST_F(Form2Test, LeapYearsBeyondTheNearOnes)
{
    clock_->set(QDateTime(QDate(2033, 1, 10), QTime(9, 0)));
    start();
    Form2& d = dialog();
    EXPECT_EQ(items(d.Combo1), (QStringList{"2029", "2030", "2031", "2032", "2033"}));
    d.Combo2->setCurrentText("02");
    d.Combo1->setCurrentText("2032");
    EXPECT_EQ(d.Combo3->count(), 29);
    d.Combo1->setCurrentText("2033");
    EXPECT_EQ(d.Combo3->count(), 28);
    EXPECT_EQ(add(d, "GIB2032000000077", "29", "02", "2032"), "Eklenen : 1");
}

TEST_F(Form2Test, SerialChecksWithTheirMessages)
{
    start();
    Form2& d = dialog();
    struct Case { const char* serial; const char* day; const char* year; const char* panel; const char* entry; };
    const Case cases[] = {
        {"GIB2023000000000", "05", "2023", "Bu seri no Şablondur, eklemeden önce düzenleyiniz...", nullptr},
        {"gib2023000000000", "05", "2023", "Bu seri no Şablondur, eklemeden önce düzenleyiniz...", nullptr},
        {"GIB20230000000012", "05", "2023", "eArşiv seri no 16 hane olmalıdır..!  (1) hane fazla..", nullptr},
        {"GIB202300000001", "05", "2023", "eArşiv seri no 16 hane olmalıdır..!  (1) hane noksan..", nullptr},
        {"gib20230000001", "05", "2023", "eArşiv seri no 16 hane olmalıdır..!  (2) hane noksan..", nullptr},
        {"GIB2023000000001", "05", "2023", "Eklenen : 1", "GIB2023000000001---05/03/2023"},
        {"GIB2023000000001", "05", "2023", "Bu fatura zaten eklenmiş...!", nullptr},
        {"gib2023000000001", "06", "2023", "Bu serino zaten eklenmiş...!", nullptr},
        {"GIB2023000000001", "05", "2022", "Eklenen : 2", "GIB2023000000001---05/03/2022"},
        {"abc/12", "07", "2023", "Eklenen : 3", "ABC2023000000012---07/03/2023"},
        {"ABCDEFGHIJKL/1", "07", "2023", "Eklenen : 4", "ABCDEFGHIJKL20231---07/03/2023"},
        {"GIB2023000000002", "", "2023", "", nullptr},
    };
    QStringList expected;
    for (const Case& c : cases) {
        d.Combo3->setCurrentIndex(-1);
        EXPECT_EQ(add(d, c.serial, c.day, "03", c.year), QString::fromUtf8(c.panel)) << c.serial << " " << c.year;
        if (c.entry) {
            expected << c.entry;
            EXPECT_TRUE(d.Text1->text().isEmpty());
            EXPECT_TRUE(d.Text2->text().isEmpty());
            EXPECT_EQ(form->Text100->text(), QString(c.entry).section("---", 0, 0));
            EXPECT_EQ(form->Text200->text(), QString(c.entry).section("---", 1));
            EXPECT_TRUE(d.Command3->isEnabled());
        }
        EXPECT_EQ(entries(d.aList1), expected) << c.serial;
        EXPECT_EQ(form->Label20->text(), QString::number(expected.size()));
    }
    EXPECT_TRUE(dialogs->shown().empty());
}

TEST_F(Form2Test, TypingKeepsOnlyLettersDigitsAndTheSlash)
{
    start();
    Form2& d = dialog();
    date(d, "01", "03", "2024");
    struct Case { const char* typed; const char* kept; const char* panel; };
    const Case cases[] = {{"ĞÜ-12", "12", ""}, {"ab c/1", "abc/1", ""}, {"/", "", "Seri no bir harf yada rakam ile başlamalıdır..."}};
    for (const Case& c : cases) {
        d.Text1->setText(QString::fromUtf8(c.typed));
        EXPECT_EQ(d.Text1->text(), QString::fromUtf8(c.kept)) << c.typed;
        EXPECT_EQ(d.Text1->cursorPosition(), d.Text1->text().size());
        EXPECT_EQ(d.panelText(2), QString::fromUtf8(c.panel)) << c.typed;
    }
    // An empty serial adds nothing and says nothing.
    d.Command1->click();
    EXPECT_TRUE(d.panelText(2).isEmpty());
    EXPECT_EQ(d.aList1->count(), 0);
}

TEST_F(Form2Test, RemovingTamamAndClosing)
{
    start();
    Form2& d = dialog();
    add(d, "GIB2024000000011", "01", "03", "2024");
    add(d, "GIB2024000000012", "02", "03", "2024");
    add(d, "GIB2024000000013", "03", "03", "2024");
    ASSERT_EQ(form->Label20->text(), "3");

    d.aList1->setCurrentRow(1);
    emit d.aList1->itemClicked(d.aList1->currentItem());
    EXPECT_EQ(d.Text1->text(), "GIB2024000000012");
    EXPECT_TRUE(d.Command2->isEnabled());
    d.Command2->click();
    EXPECT_EQ(entries(d.aList1), (QStringList{"GIB2024000000011---01/03/2024", "GIB2024000000013---03/03/2024"}));
    EXPECT_EQ(d.panelText(2), "Eklenen : 2");
    EXPECT_EQ(form->Label20->text(), "2");
    EXPECT_TRUE(d.Text1->text().isEmpty());
    EXPECT_FALSE(d.Command2->isEnabled());

    // "Tamam" hides the dialog with its list; the button opens the same one again.
    d.Command3->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.panelText(2), "Eklenen : 2");
    EXPECT_EQ(&dialog(), &d);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.references(), entries(d.aList1));
    EXPECT_EQ(d.aList1->count(), 2);

    // Closing the window drops the list; the next opening starts afresh.
    d.close();
    EXPECT_EQ(form->Label20->text(), "0");
    dialog();
    EXPECT_EQ(d.aList1->count(), 0);
    EXPECT_EQ(d.panelText(2), "Önce tarih seçiniz...");
    EXPECT_FALSE(d.Text1->isEnabled());

    // Another company's load empties the list and the count.
    add(d, "GIB2024000000014", "04", "03", "2024");
    d.emptyReferences();
    EXPECT_TRUE(d.references().isEmpty());
    EXPECT_EQ(form->Label20->text(), "0");
}

} // namespace
} // namespace kuvela
