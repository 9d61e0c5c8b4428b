// The header's small handlers, the contact list and the workbook opened for editing.
#include "masterdata/form1_window_fixture.h"
#include "masterdata/header_dates.h"
#include "support/real_input.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <fstream>

namespace kuvela {
namespace {

namespace fs = std::filesystem;

class Form1HeaderTest : public test::WindowTest {
protected:
    Form1& startStandard()
    {
        home_.writeData(test::standardData());
        return start();
    }
};

TEST_F(Form1HeaderTest, IssueTimeIsTheClocksTimeInTwentyFourHours)
{
    Form1& w = startStandard();
    struct Case { QTime now; const char* shown; };
    for (const Case& c : {Case{QTime(9, 5, 7), "09:05:07"}, Case{QTime(21, 5, 0), "21:05:00"}, Case{QTime(0, 0, 9), "00:00:09"}}) {
        clock_->set(QDateTime(QDate(2024, 3, 3), c.now));
        w.Label9_Click();
        EXPECT_EQ(w.Text9->text(), QString::fromUtf8(c.shown));
    }
}

TEST_F(Form1HeaderTest, DateLabelsBringTheirListsBack)
{
    Form1& w = startStandard();
    w.Combo5->hide();
    w.Combo6->hide();
    w.Label8_Click();
    EXPECT_FALSE(w.Combo5->isHidden());
    EXPECT_TRUE(w.Text8->isHidden());
    w.Label10_Click();
    EXPECT_FALSE(w.Combo6->isHidden());
    EXPECT_TRUE(w.Text10->isHidden());
    EXPECT_EQ(w.Combo6->count(), 0) << "no invoice date was chosen yet";
}

TEST_F(Form1HeaderTest, ContactsComeFromTheVCardFileOncePerClick)
{
    Form1& w = startStandard();
    w.List6->addItem(QStringLiteral("önceki"));
    w.Label14_Click();
    EXPECT_EQ(items(w.List6), QStringList{QStringLiteral("önceki")}) << "no file: the list stays";
    EXPECT_TRUE(w.panelText(7).contains(QStringLiteral("Kişiler.vcf"))) << w.panelText(7).toStdString();

    std::ofstream(home_ / QStringLiteral("Data/Kişiler.vcf"), std::ios::binary)
        << "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ali Veli\r\nEMAIL;TYPE=INTERNET:ali@example.test\r\nEND:VCARD\r\n"
           "BEGIN:VCARD\r\nVERSION:4.0\r\nKIND:group\r\nFN:Muhasebe Grubu\r\nEND:VCARD\r\n"
           "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ayşe Kaya\r\nTEL:123\r\nEND:VCARD\r\n";
    for (int click = 0; click < 2; ++click) {
        w.Label14_Click();
        EXPECT_EQ(items(w.List6), (QStringList{QStringLiteral("ali@example.test\tAli Veli"), QStringLiteral("\tAyşe Kaya")}));
    }
}

TEST_F(Form1HeaderTest, DefinitionsMenuOpensTheWorkbookWithTheDesktopsProgram)
{
    Form1& w = startStandard();
    w.setPanel(7, QStringLiteral("eski"));
    w.parameters->trigger();
    ASSERT_EQ(desktop_->opened.size(), 1u);
    EXPECT_EQ(desktop_->opened.front(), home_ / QStringLiteral("Data/DATA.xlsx"));
    EXPECT_TRUE(w.panelText(7).isEmpty());
    EXPECT_TRUE(dialogs_->shown().empty());
}

// By mouse: the type picked from its list, then one click on the invoice-date list opens it.
TEST_F(Form1HeaderTest, InvoiceDateListOpensOnTheFirstClickAfterTheTypePick)
{
    Form1& w = startStandard();
    ASSERT_TRUE(test::showActive(w));
    ASSERT_TRUE(test::pickFromCombo(w.Combo4, QStringLiteral("Çağdaş Gıda")));
    test::click(w.Text5);
    ASSERT_TRUE(test::pickFromCombo(w.Combo1, QStringLiteral("SATIŞ")));
    ASSERT_GT(w.Combo5->count(), 1);
    const QPoint timeBox = w.Text9->mapTo(&w, QPoint(w.Text9->width() - 4, w.Text9->height() / 2));
    QTest::mouseClick(w.Combo5, Qt::LeftButton, {}, QPoint(w.Combo5->width() - 6, w.Combo5->height() / 2));
    EXPECT_TRUE(w.Combo5->view()->isVisible());
    EXPECT_TRUE(w.Combo5->isVisible());
    EXPECT_NE(test::focusName(), QStringLiteral("Text9"));
    // Picked from the open list and left, the list gives way to the date.
    const QString picked = w.Combo5->itemText(1);
    QTest::qWait(QApplication::doubleClickInterval() + 50);  // the list takes no click that quick after opening
    QAbstractItemView* list = w.Combo5->view();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(1, 0)).center());
    ASSERT_EQ(w.Combo5->currentText(), picked);
    test::click(w.Text5);
    EXPECT_TRUE(w.Combo5->isHidden());
    EXPECT_EQ(w.Text8->text(), slashDate(picked));

    // Typed where the time box stood before the pick, once the row has settled.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QWidget* there = w.childAt(timeBox);
    ASSERT_TRUE(there);
    QTest::mouseClick(there, Qt::LeftButton, {}, there->mapFrom(&w, timeBox));
    test::typeKeys(QApplication::focusWidget(), QStringLiteral("10:20:00"));
    EXPECT_EQ(w.Text9->text(), QStringLiteral("10:20:00"));
    // The list shown again takes no typed text as a date.
    test::click(w.Label8);
    QTest::keyClick(w.Text9, Qt::Key_Backtab);
    ASSERT_EQ(test::focusName(), QStringLiteral("Combo5"));
    test::typeKeys(w.Combo5, QStringLiteral("abc"));
    test::click(w.Text5);
    EXPECT_EQ(w.Text8->text(), slashDate(picked));
    // Nor does the despatch-date list.
    test::click(w.Text9);
    QTest::keyClick(w.Text9, Qt::Key_Tab);
    ASSERT_EQ(test::focusName(), QStringLiteral("Combo6"));
    test::typeKeys(w.Combo6, QStringLiteral("abc"));
    test::click(w.Text5);
    EXPECT_EQ(w.Text10->text(), QString());
}

} // namespace
} // namespace kuvela
