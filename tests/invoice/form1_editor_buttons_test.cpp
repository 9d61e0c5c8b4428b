// The main window's editor buttons: the dialogs they open, the deletion of a line by
// a click on it, and the upload panel's answers.
#include "editor_window_fixture.h"
#include "invoice/form2.h"
#include "invoice/form5.h"
#include "masterdata/form4.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace kuvela {
namespace {

const QStringList kA = {"1", "Ürün A", "2", "Adet", "100,00", "10", "20,00", "180,00", "18", "32,40"};
const QStringList kB = {"2", "Ürün B", "1", "Adet", "100,00", "0", "0,00", "100,00", "18", "18,00"};
const QStringList kC = {"3", "Ürün C", "3", "Adet", "10,00", "0", "0,00", "30,00", "8", "2,40"};

class EditorButtonsTest : public test::EditorWindowTest {
protected:
    // A click on line n (from 1), answered with `answer`.
    void clickLine(int n, MsgResult answer)
    {
        dialogs->queueAnswer(answer);
        QTreeWidgetItem* item = form->ListView1->topLevelItem(n - 1);
        ASSERT_NE(item, nullptr);
        form->ListView1->setCurrentItem(item);
        emit form->ListView1->itemClicked(item, 1);
    }
    QStringList line(int n) const
    {
        QStringList cells;
        const QTreeWidgetItem* item = form->ListView1->topLevelItem(n - 1);
        for (int c = 0; item && c < form->ListView1->columnCount(); ++c)
            cells << item->text(c);
        return cells;
    }
};

TEST_F(EditorButtonsTest, DeletingAMiddleLineRenumbersAndRecomputes)
{
    start();
    invoiceOf(0, {kA, kB, kC});
    // 200 + 100 + 30 - 20 + 32,40 + 18 + 2,40
    ASSERT_EQ(form->checkTotal->text(), "362,8");

    clickLine(2, MsgResult::Yes);
    ASSERT_EQ(dialogs->shown().size(), 1u);
    const MessageRequest& asked = dialogs->shown().front();
    EXPECT_EQ(asked.text, "2 nolu satırı sil !");
    EXPECT_EQ(asked.buttons, MsgButtons::YesNo);
    EXPECT_EQ(asked.icon, MsgIcon::Question);
    EXPECT_EQ(asked.defaultButton, MsgResult::No);

    ASSERT_EQ(form->ListView1->topLevelItemCount(), 2);
    EXPECT_EQ(line(1), kA);
    QStringList renumbered = kC;
    renumbered[0] = "2";
    EXPECT_EQ(line(2), renumbered);
    EXPECT_EQ(lineGrid(*form).rowCount(), 2);
    // 200 + 30 - 20 + 32,40 + 2,40
    EXPECT_EQ(form->checkTotal->text(), "244,8");
}

TEST_F(EditorButtonsTest, DeletingTheOnlyLineLeavesAnEmptyInvoice)
{
    start();
    invoiceOf(0, {kA});
    ASSERT_EQ(form->checkTotal->text(), "212,4");
    clickLine(1, MsgResult::Yes);
    EXPECT_EQ(dialogs->texts(), QStringList{"1 nolu satırı sil !"});
    EXPECT_EQ(form->ListView1->topLevelItemCount(), 0);
    EXPECT_EQ(form->ListView1->columnCount(), 10);
    EXPECT_EQ(form->checkTotal->text(), "0");
}

TEST_F(EditorButtonsTest, AnsweringNoChangesNothing)
{
    start();
    invoiceOf(0, {kA, kB, kC});
    const QString total = form->checkTotal->text();
    const auto rows = lineGrid(*form).rows;
    clickLine(3, MsgResult::No);
    EXPECT_EQ(dialogs->texts(), QStringList{"3 nolu satırı sil !"});
    EXPECT_EQ(lineGrid(*form).rows, rows);
    EXPECT_EQ(form->ListView1->topLevelItemCount(), 3);
    EXPECT_EQ(line(3), kC);
    EXPECT_EQ(form->checkTotal->text(), total);
    // Closing the box answers with its default, No.
    dialogs->clear();
    form->ListView1->setCurrentItem(form->ListView1->topLevelItem(0));
    form->ListView1_ItemClick();
    EXPECT_EQ(lineGrid(*form).rows, rows);
}

TEST_F(EditorButtonsTest, UploadPanelAnswersLeaveTheirWordAndHideThePanel)
{
    start();
    struct Case { QPushButton* Form1::*button; const char* word; };
    for (const Case c : {Case{&Form1::Command41, "VAZGEÇ"}, Case{&Form1::Command53, "OLUŞTUR"}}) {
        for (const bool waiting : {true, false}) {
            form->karar = QStringLiteral("eski");
            form->Frame26->setVisible(waiting);
            form->Command53->show();
            form->Command41->show();
            (form.get()->*c.button)->click();
            EXPECT_EQ(form->karar, QString::fromUtf8(c.word));
            EXPECT_FALSE(form->Frame26->isVisibleTo(form.get()));
            EXPECT_FALSE(form->Command53->isVisibleTo(form->Frame26));
            EXPECT_FALSE(form->Command41->isVisibleTo(form->Frame26));
        }
    }
}

TEST_F(EditorButtonsTest, ButtonsOpenTheirDialogsOnceAndTheVoucherPanelCloses)
{
    start();
    form->Command8->click();
    form->Command8->click();
    EXPECT_EQ(form->findChildren<Form5*>().size(), 1);
    EXPECT_TRUE(form5(*form).isVisible());

    form->Command5_Click();
    form->Command5_Click();
    EXPECT_EQ(form->findChildren<Form2*>().size(), 1);
    EXPECT_TRUE(form2(*form).isVisible());

    form->setPanel(7, QStringLiteral("eski mesaj"));
    form->Label25->setText(QStringLiteral("aşama"));
    form->Frame14->show();
    form->Command23->show();
    form->Command4->click();
    EXPECT_TRUE(form->panelText(7).isEmpty());
    EXPECT_TRUE(form->Label25->text().isEmpty());
    EXPECT_FALSE(form->Frame14->isVisibleTo(form.get()));
    EXPECT_FALSE(form->Command23->isVisibleTo(form.get()));
    Form4& card = form4(*form);
    EXPECT_TRUE(card.isVisible());
    form->Command4->click();
    EXPECT_EQ(&form4(*form), &card);
    EXPECT_EQ(form->findChildren<Form4*>().size(), 1);

    form->Frame19->show();
    form->Command32->click();
    EXPECT_FALSE(form->Frame19->isVisibleTo(form.get()));
}

} // namespace
} // namespace kuvela
