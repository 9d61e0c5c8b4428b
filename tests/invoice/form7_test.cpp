// The line-entry dialog on a main window: its lists, its refusals with their
// messages, its number boxes, and product cards saved to and picked from sDATA.
#include "form7_fixture.h"
#include "invoice/form2.h"
#include "invoice/form5.h"
#include "shell/enter_key_check.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTest>
#include <fstream>
#include <functional>

namespace kuvela {
namespace {

using test::LineSpec;

QStringList itemsOf(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

const LineSpec kValid = {"Ürün A", "2", "Adet", "100", "10", "18"};

class Form7Test : public test::LineDialogTest {
protected:
    QByteArray dataHash() const
    {
        QFile f(fromPath(home / QStringLiteral("Data/DATA.xlsx")));
        return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
                                           : QByteArray();
    }
};

TEST_F(Form7Test, LoadsTheCodeListsAndTheCompanysCards)
{
    start();
    sellerIs(QStringLiteral("Çağdaş Gıda"));
    const QByteArray before = dataHash();
    Form7& d = lineDialog();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.windowTitle(), "Kuvela Stok Kartı");
    EXPECT_EQ(itemsOf(d.Combo1), (QStringList{"Adet", "kg", "Gün", "Ay", "Koli"}));
    EXPECT_EQ(itemsOf(d.Combo2), (QStringList{"0", "1", "8", "10", "18", "20"}));
    EXPECT_EQ(itemsOf(d.Combo3), (QStringList{"601 % 40", "602 % 90", "801 % 100"}));
    const QStringList taxes = {"V0021-BSMV%", "V0059-KKDF%", "V8001-BORSA TESCİL%", "V0071-ÖTV 1.LİSTE%"};
    EXPECT_EQ(itemsOf(d.Combo4), taxes);
    EXPECT_EQ(itemsOf(d.Combo5), taxes);
    EXPECT_EQ(itemsOf(d.Combo10).size(), 2);
    EXPECT_TRUE(itemsOf(d.Combo9).isEmpty());
    // The company's cards and the cards of every company; no company list.
    EXPECT_EQ(itemsOf(d.Combo6), (QStringList{"P001", "P002"}));
    EXPECT_EQ(itemsOf(d.Combo8), (QStringList{"Danışmanlık Hizmeti", "Kargo Bedeli"}));
    EXPECT_TRUE(itemsOf(d.Combo7).isEmpty());
    EXPECT_EQ(d.Combo7->currentText(), "Çağdaş Gıda");
    EXPECT_EQ(d.Text1->text(), "Çağdaş Gıda");
    EXPECT_EQ(d.Text5->text(), "0");
    EXPECT_TRUE(d.Command3->isVisibleTo(&d));
    EXPECT_TRUE(d.Command5->isVisibleTo(&d));
    EXPECT_FALSE(d.Command2->isVisibleTo(&d));
    EXPECT_EQ(dataHash(), before);
    screenshot(&d, QStringLiteral("form7_line_dialog"));

    // An empty filter offers the companies and every card; choosing one narrows the lists.
    d.Combo7->setEditText(QString());
    tabOut(d.Combo7);
    EXPECT_EQ(itemsOf(d.Combo7), (QStringList{"Çağdaş Gıda", "Işık Yazılım"}));
    EXPECT_EQ(itemsOf(d.Combo6), (QStringList{"P001", "P002", "P003"}));
    d.Combo7->setEditText(QStringLiteral("Işık Yazılım"));
    tabOut(d.Combo7);
    EXPECT_EQ(itemsOf(d.Combo8), (QStringList{"Kargo Bedeli", "Yazılım Lisansı"}));
    EXPECT_EQ(d.Text1->text(), "Işık Yazılım");

    // Shown again while open: the same dialog as it stands; after closing: loaded afresh.
    d.Text2->setText(QStringLiteral("yarım kalan"));
    EXPECT_EQ(&lineDialog(), &d);
    EXPECT_EQ(d.Text2->text(), "yarım kalan");
    d.close();
    EXPECT_EQ(&lineDialog(), &d);
    EXPECT_TRUE(d.Text2->text().isEmpty());
    EXPECT_EQ(d.Combo7->currentText(), "Çağdaş Gıda");
    EXPECT_EQ(form->findChildren<Form7*>().size(), 1);

    // Esc closes it the same way: loaded afresh on the next showing, "Stok Kartlarına Ekle" unticked.
    d.Text2->setText(QStringLiteral("yarım kalan"));
    d.Combo7->setEditText(QStringLiteral("Işık Yazılım"));
    tabOut(d.Combo7);
    d.Check1->setChecked(true);
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(d.Text2, &esc);
    EXPECT_FALSE(d.isVisible());
    EXPECT_FALSE(d.Check1->isChecked());
    EXPECT_EQ(&lineDialog(), &d);
    EXPECT_TRUE(d.Text2->text().isEmpty());
    EXPECT_EQ(d.Combo7->currentText(), "Çağdaş Gıda");
    EXPECT_EQ(itemsOf(d.Combo8), (QStringList{"Danışmanlık Hizmeti", "Kargo Bedeli"}));
}

TEST_F(Form7Test, RefusesALineWithTheMessageOfTheFirstFailingCheck)
{
    start();
    sellerIs(QStringLiteral("Çağdaş Gıda"));
    struct Case {
        const char* type;
        std::function<void(Form7&)> change;
        QString message;
        bool inBox;  // a message box rather than the dialog's message line
        std::function<void(Form7&)> after;
    };
    auto nothing = [](Form7&) {};
    const Case cases[] = {
        // The special base is judged before the name.
        {"SATIŞ", [](Form7& d) { d.Text10->setText("5"); d.Text2->clear(); },
         "Özel Matraha tabi ürünler bu faturaya eklenemez !", false, nothing},
        {"SATIŞ", [](Form7& d) { d.Combo3->setEditText("602 % 90"); tabOut(d.Combo3); },
         "Tevkifata tabi ürünler bu faturaya eklenemez !", false, nothing},
        {"SATIŞ", [](Form7& d) { d.Text2->clear(); }, "Ürün/Hizmet Adı boş olamaz ... !", false, nothing},
        {"SATIŞ", [](Form7& d) { d.Text3->setText("iki"); }, "Miktar sayısal olmalıdır ...!", false,
         [](Form7& d) { EXPECT_EQ(d.Text3->text(), ""); }},
        {"SATIŞ", [](Form7& d) { d.Text3->setText("-2"); }, "Miktar pozitif olmalıdır ...!", false,
         [](Form7& d) { EXPECT_EQ(d.Text3->text(), ""); }},
        {"SATIŞ", [](Form7& d) { d.Combo1->setEditText(""); }, "Birim seçilmelidir... !", false, nothing},
        // The filter lets "1,2," through; the check finds it no number.
        {"SATIŞ", [](Form7& d) { d.Text4->setText("1,2,3"); }, "Birim fiyat girilmelidir...!", false,
         [](Form7& d) { EXPECT_EQ(d.Text4->text(), ""); }},
        {"SATIŞ", [](Form7& d) { d.Text4->setText("0,00"); }, "Birim fiyat pozitif olmalıdır ...!", false,
         [](Form7& d) { EXPECT_EQ(d.Text4->text(), ""); }},
        {"SATIŞ", [](Form7& d) { d.Text5->clear(); }, "İskonto oranı sayısal olmalıdır ...!", false,
         [](Form7& d) { EXPECT_EQ(d.Text5->text(), "0"); }},
        {"SATIŞ", [](Form7& d) { d.Combo2->setEditText(""); }, "KDV oranı seçilmelidir... !", false, nothing},
        // A rate typed half way is refused where it stands, never sent as another rate.
        {"SATIŞ", [](Form7& d) { d.Combo2->setEditText(""); type(d.Combo2->lineEdit(), "2"); },
         "KDV oranı seçilmelidir... !", false, [](Form7& d) { EXPECT_EQ(d.Combo2->currentText(), "2"); }},
        {"ÖZEL MATRAH", [](Form7& d) { d.Text10->setText("500"); }, "Özel Matrah Nedeni seçilmelidir...!", true,
         nothing},
        {"ÖZEL MATRAH", [](Form7& d) { pickItem(d.Combo10, d.Combo10->itemText(0)); d.Text10->setText("0"); },
         "Özel Matrah tutarı girilmelidir...!", true, nothing},
        {"SATIŞ",
         [](Form7& d) {
             pickItem(d.Combo4, "V0021-BSMV%");
             pickItem(d.Combo5, "V0021-BSMV%");
             d.Text7->setText("5");
             d.Text8->setText("5");
         },
         "Ek Vergi 1 ve 2 aynı vergi olamaz...", true, nothing},
        {"TEVKİFAT", [](Form7& d) { pickItem(d.Combo4, "V0059-KKDF%"); d.Text7->clear(); },
         "Ek Vergi-1 oranı 0 dan büyük olmalıdır...", true, [](Form7& d) { EXPECT_EQ(d.Text7->text(), "0"); }},
        {"İSTİSNA", [](Form7& d) { pickItem(d.Combo5, "V0059-KKDF%"); d.Text8->setText("0"); },
         "Ek Vergi-2 oranı 0 dan büyük olmalıdır...", true, nothing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        chooseType(QString::fromUtf8(c.type));
        Form7& d = lineDialog();
        d.Command5->click();  // "VAZGEÇ"
        fill(d, kValid);
        c.change(d);
        dialogs->clear();
        d.Command4->click();
        if (c.inBox) {
            ASSERT_EQ(dialogs->shown().size(), 1u);
            EXPECT_EQ(dialogs->shown().front().text, c.message);
            EXPECT_EQ(dialogs->shown().front().buttons, MsgButtons::Ok);
            EXPECT_TRUE(d.panelText(2).isEmpty());
        } else {
            EXPECT_TRUE(dialogs->shown().empty());
            EXPECT_EQ(d.panelText(2), c.message);
        }
        c.after(d);
        EXPECT_EQ(form->ListView1->topLevelItemCount(), 0);
        EXPECT_EQ(form->ListView2->topLevelItemCount(), 0);
    }

    // A number typed into a box clears the message at once.
    Form7& d = lineDialog();
    d.Text2->clear();
    d.Command4->click();
    EXPECT_FALSE(d.panelText(2).isEmpty());
    type(d.Text4, QStringLiteral("5"));
    EXPECT_TRUE(d.panelText(2).isEmpty());

    // An amount past the exact range is said, clicked as a user clicks; the program and the
    // invoice stay.
    fill(d, kValid);
    d.Text3->setText(QStringLiteral("99999999999999"));
    d.Text4->setText(QStringLiteral("99999999999999"));
    dialogs->clear();
    QTest::mouseClick(d.Command4, Qt::LeftButton);
    ASSERT_EQ(dialogs->shown().size(), 1u);
    EXPECT_TRUE(dialogs->shown().front().text.startsWith(QStringLiteral("Girilen miktar veya tutar")));
    EXPECT_EQ(form->ListView1->topLevelItemCount(), 0);
    fill(d, kValid);
    QTest::mouseClick(d.Command4, Qt::LeftButton);
    EXPECT_EQ(form->ListView1->topLevelItemCount(), 1);

    // Lines of 9e24 go in while the total fits, sixteen at 18 %; the one past it is said and left
    // out with the note and the total as they were, and a line that fits still goes in.
    chooseType(QStringLiteral("SATIŞ"));
    fill(d, {"Büyük", "1", "Adet", "9000000000000000000000000", "0", "18"});
    QString before;
    for (dialogs->clear(); dialogs->shown().empty() && lineGrid(*form).rowCount() < 20;) {
        before = form->Text6->toPlainText() + form->checkTotal->text();
        QTest::mouseClick(d.Command4, Qt::LeftButton);
    }
    EXPECT_TRUE(dialogs->texts().join(QString()).startsWith(QStringLiteral("Girilen miktar veya tutar")));
    EXPECT_EQ(lineGrid(*form).rowCount(), 16);
    EXPECT_EQ(form->ListView1->topLevelItemCount(), 16);
    EXPECT_EQ(form->Text6->toPlainText() + form->checkTotal->text(), before);
    fill(d, kValid);
    QTest::mouseClick(d.Command4, Qt::LeftButton);
    EXPECT_EQ(lineGrid(*form).rowCount(), 17);
}

TEST_F(Form7Test, EnterInAnyBoxOfTheEditorsDialogsPressesNoButton)
{
    start();
    sellerIs(QStringLiteral("Çağdaş Gıda"));
    Form7& d = lineDialog();
    fill(d, kValid);
    // Enter after the quantity or the price once emptied the line by "SEÇ".
    EXPECT_EQ(test::buttonsClickedByEnter(d), QStringList());
    EXPECT_EQ(d.Text2->text(), "Ürün A");
    EXPECT_EQ(d.Text3->text(), "2");
    EXPECT_EQ(d.Text4->text(), "100");
    EXPECT_EQ(form->ListView1->topLevelItemCount(), 0);

    form->Command5_Click();
    EXPECT_EQ(test::buttonsClickedByEnter(form2(*form)), QStringList());
    form->Command8_Click();
    EXPECT_EQ(test::buttonsClickedByEnter(form5(*form)), QStringList());
    EXPECT_EQ(form->ListView1->topLevelItemCount(), 0);
    EXPECT_TRUE(dialogs->shown().empty()) << dialogs->texts().join('\n').toStdString();
}

TEST_F(Form7Test, AnEarlierRefusalsMessageGoesBeforeTheChecks)
{
    start();
    sellerIs(QStringLiteral("Çağdaş Gıda"));
    chooseType(QStringLiteral("SATIŞ"));
    Form7& d = lineDialog();
    fill(d, kValid);
    d.Text2->clear();
    d.Command4->click();
    ASSERT_EQ(d.panelText(2), "Ürün/Hizmet Adı boş olamaz ... !");
    // The name comes back by a box without a filter, and the next refusal is a message box:
    // nothing else empties the line the earlier message stands on.
    d.Text2->setText(QStringLiteral("Ürün A"));
    pickItem(d.Combo4, "V0021-BSMV%");
    pickItem(d.Combo5, "V0021-BSMV%");
    ASSERT_EQ(d.panelText(2), "Ürün/Hizmet Adı boş olamaz ... !");
    d.Command4->click();
    EXPECT_EQ(dialogs->texts(), QStringList{"Ek Vergi 1 ve 2 aynı vergi olamaz..."});
    EXPECT_TRUE(d.panelText(2).isEmpty()) << d.panelText(2).toStdString();
    EXPECT_EQ(form->ListView1->topLevelItemCount(), 0);
}

TEST_F(Form7Test, BoxesKeepOnlyWhatTheirRulesAllow)
{
    start();
    Form7& d = lineDialog();
    struct Case {
        QLineEdit* Form7::*box;
        int dc;
        QString keys;
        QString kept;
    };
    const Case cases[] = {
        {&Form7::Text4, 2, "12,345", "12,34"},
        {&Form7::Text4, 3, "12,345", "12,345"},
        {&Form7::Text4, 2, "12,,", "12,"},
        {&Form7::Text4, 2, ",5", "5"},
        {&Form7::Text4, 2, "5.", "5"},
        {&Form7::Text10, 5, "1500,505", "1500,50"},
        {&Form7::Text10, 2, "3.", "3"},
        {&Form7::Text5, 2, "100", "10"},
        {&Form7::Text5, 2, "5,255", "5,25"},
        {&Form7::Text5, 2, "12,505", "12,50"},
        {&Form7::Text7, 2, "5,255", "5,255"},
        {&Form7::Text8, 2, "12,505", "12,50"},
        {&Form7::Text7, 2, "a5", "5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.keys + " dc " + QString::number(c.dc)).toStdString());
        form->dc = c.dc;
        QLineEdit* box = d.*c.box;
        box->clear();
        type(box, c.keys);
        EXPECT_EQ(box->text(), c.kept);
        EXPECT_EQ(box->cursorPosition(), box->text().size());
    }
    // Pasted or set by the program: filtered the same way.
    d.Text4->setText(QStringLiteral("abc12"));
    EXPECT_EQ(d.Text4->text(), "");

    // Units: a typed text stays only while it is a listed value; VAT rates also while it is the
    // beginning of one, so 20 and 10 can be typed.
    struct Typed {
        QComboBox* box;
        QString keys, kept;
    };
    const Typed typed[] = {{d.Combo1, "k", ""}, {d.Combo1, "g", "g"}, {d.Combo1, "gk", ""},
                           {d.Combo2, "2", "2"}, {d.Combo2, "20", "20"}, {d.Combo2, "18", "18"}, {d.Combo2, "10", "10"},
                           {d.Combo2, "12", ""}, {d.Combo2, "205", ""}};
    for (const Typed& t : typed) {
        t.box->setEditText(QString());
        type(t.box->lineEdit(), t.keys);
        EXPECT_EQ(t.box->currentText(), t.kept) << t.keys.toStdString();
    }
    pickItem(d.Combo1, "Koli");  // picking is no typing: the workbook's own unit stays
    EXPECT_EQ(d.Combo1->currentText(), "Koli");

    // The withholding rate follows the item when the box is left.
    for (const auto& [item, rate] : std::vector<std::pair<QString, QString>>{
             {"602 % 90", "90"}, {"801 % 100", "100"}, {"", ""}}) {
        d.Combo3->setEditText(item);
        tabOut(d.Combo3);
        EXPECT_EQ(d.Text6->text(), rate) << item.toStdString();
    }
}

TEST_F(Form7Test, NewCardIsStoredAndPickedBack)
{
    start();
    sellerIs(QStringLiteral("Çağdaş Gıda"));
    chooseType(QStringLiteral("SATIŞ"));
    Form7& d = lineDialog();
    d.Combo9->setEditText(QStringLiteral("0042"));
    fill(d, {"Çay 1 kg", "3", "kg", "87,5", "5", "20", "", "V0021-BSMV%", "2,5", "", "", "0902"});
    d.Command3->click();  // "KAYDET YENİ"
    EXPECT_TRUE(d.panelText(2).isEmpty()) << d.panelText(2).toStdString();
    EXPECT_TRUE(d.Text2->text().isEmpty());  // reloaded: the fields are cleared
    EXPECT_TRUE(itemsOf(d.Combo8).contains("Çay 1 kg"));
    QStringList rows = cardRows();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[3], R"(["0042", "Çağdaş Gıda", "Çay 1 kg", "kg", 87.5, 5, 20, null, null, "V0021-BSMV%", 2.5, null, )"
                       R"(null, "0902", null, null])");

    // "SEÇ" by name fills the card's fields and leaves the quantity.
    d.Text3->setText(QStringLiteral("7"));
    d.Combo8->setEditText(QStringLiteral("Çay 1 kg"));
    d.Command1->click();
    EXPECT_EQ(d.Combo9->currentText(), "0042");
    EXPECT_EQ(d.Text1->text(), "Çağdaş Gıda");
    EXPECT_EQ(d.Text2->text(), "Çay 1 kg");
    EXPECT_EQ(d.Text3->text(), "7");
    EXPECT_EQ(d.Combo1->currentText(), "kg");
    EXPECT_EQ(d.Text4->text(), "87,5");
    EXPECT_EQ(d.Text5->text(), "5");
    EXPECT_EQ(d.Combo2->currentText(), "20");  // a card at today's rate keeps it
    EXPECT_EQ(d.Combo4->currentText(), "V0021-BSMV%");
    EXPECT_EQ(d.Text7->text(), "2,5");
    EXPECT_EQ(d.Text9->text(), "0902");
    EXPECT_TRUE(d.Combo6->currentText().isEmpty());
    EXPECT_TRUE(d.Combo8->currentText().isEmpty());

    // Added with "Stok Kartlarına Ekle": the line goes in and the card is stored once more.
    d.Check1->setChecked(true);
    d.Command4->click();
    EXPECT_EQ(form->ListView1->topLevelItemCount(), 1);
    EXPECT_EQ(lineCells(0)["Mal/Hiz.Tutarı"], "581,87");  // 7 x 87,50 = 612,50 less 5 % (30,625 -> 30,63)
    EXPECT_EQ(lineCells(0)["BSMV Tutarı"], "14,55");
    EXPECT_FALSE(d.Check1->isChecked());
    EXPECT_TRUE(d.Text2->text().isEmpty());
    rows = cardRows();
    ASSERT_EQ(rows.size(), 5);
    EXPECT_TRUE(rows[4].startsWith(R"(["0042", "Çağdaş Gıda", "Çay 1 kg", "kg", 87.5, 5, 20,)")) << rows[4].toStdString();

    // The code alone finds a card too; a unit outside the unit list is not taken over.
    d.Combo6->setEditText(QStringLiteral("P002"));
    d.Command1->click();
    EXPECT_EQ(d.Text2->text(), "Kargo Bedeli");
    EXPECT_EQ(d.Combo1->currentText(), "");
    EXPECT_EQ(d.Text4->text(), "45,5");

    // Both boxes empty: the first free row is loaded, which empties the fields.
    d.Command1->click();
    EXPECT_TRUE(d.Text2->text().isEmpty());
    EXPECT_TRUE(d.Text5->text().isEmpty());
}

TEST_F(Form7Test, CardNotSavedWhileTheWorkbookIsOpenElsewhere)
{
    start();
    sellerIs(QStringLiteral("Çağdaş Gıda"));
    Form7& d = lineDialog();
    fill(d, kValid);
    const QByteArray before = dataHash();
    std::ofstream(home / QStringLiteral("Data/~$DATA.xlsx")) << "owner";
    d.Command3->click();
    EXPECT_TRUE(d.panelText(2).contains("tablo programında açık")) << d.panelText(2).toStdString();
    EXPECT_EQ(d.Text2->text(), "Ürün A");  // kept for another try
    EXPECT_EQ(dataHash(), before);
    EXPECT_TRUE(dialogs->shown().empty());
}

} // namespace
} // namespace kuvela
