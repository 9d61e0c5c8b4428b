// The customer card on a main window and a fixture DATA.xlsx: the two kinds, every
// check's message in its own panel 2, the append read back with openpyxl, the
// duplicate refusal, no stored customer ever overwritten, and the hand-over.
#include "invoice/editor_window_fixture.h"
#include "masterdata/form4.h"
#include "masterdata/masterdata_fixture.h"
#include "platform/paths.h"
#include "shell/enter_key_check.h"

#include <QCryptographicHash>
#include <QFile>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>

namespace kuvela {
namespace {

// A customer as typed into the card.
struct Typed {
    CustomerKind kind = CustomerKind::Kurum;
    QString title, name, surname, address, country, office, number, email;
};

Typed institution()
{
    return {CustomerKind::Kurum, "YENİ KURUM A.Ş.", "", "", "Bağdat Cad. No:5 Kadıköy", "Almanya", "Göztepe",
            "0987654320", "kurum@example.test"};
}

Typed person()
{
    return {CustomerKind::Sahis, "", "AYŞE", "KAYA", "Çiçek Sok. No:7 Üsküdar", "Türkiye", "Üsküdar", "10000000146", ""};
}

class Form4Test : public test::EditorWindowTest {
protected:
    // The main window, then mDATA of the fixture variant as the workbook.
    Form4& card(const QString& variant = QStringLiteral("base"))
    {
        start();
        data = fromPath(home / QStringLiteral("Data/DATA.xlsx"));
        QFile::remove(data);
        python({QStringLiteral("make"), data, variant});
        form->Command4_Click();
        return form4(*form);
    }
    static QByteArray python(const QStringList& args) { return testdata::runCustomerFixture(args); }
    // mDATA's row through openpyxl: columns 1 to 12 as text, "-" for an empty cell.
    QStringList row(int r)
    {
        QStringList cells;
        for (const QJsonValue& cell : QJsonDocument::fromJson(python({QStringLiteral("read"), data, QString::number(r)})).array()) {
            const QJsonValue v = cell.toObject().value(QStringLiteral("value"));
            cells << (v.isNull() ? QStringLiteral("-") : v.isString() ? v.toString() : QString::number(v.toDouble(), 'f', 0));
        }
        return cells;
    }
    bool quoted(int r, int col)
    {
        const QJsonArray cells = QJsonDocument::fromJson(python({QStringLiteral("read"), data, QString::number(r)})).array();
        return cells.at(col - 1).toObject().value(QStringLiteral("quotePrefix")).toBool();
    }
    QByteArray hash() const
    {
        QFile f(data);
        return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
    }
    static void type(Form4& c, const Typed& t)
    {
        (t.kind == CustomerKind::Kurum ? c.Option1 : c.Option2)->click();
        // A title and a name empty each other, so the one typed comes last.
        if (t.title.isEmpty()) {
            c.Text1->clear();
            c.Text2->setText(t.name);
            c.Text3->setText(t.surname);
        } else {
            c.Text2->clear();
            c.Text3->clear();
            c.Text1->setText(t.title);
        }
        c.Text4->setPlainText(t.address);
        c.Combo1->setEditText(t.country);
        c.Text5->setText(t.office);
        c.Text6->setText(t.number);
        c.Text7->setText(t.email);
    }

    QString data;
};

TEST_F(Form4Test, KindsLayTheCardOutAndTheNumberRuleDrivesTheButtons)
{
    Form4& c = card();
    EXPECT_TRUE(c.isVisible());
    EXPECT_EQ(c.windowTitle(), "Kuvela-Yeni Müşteri Kartı");
    EXPECT_EQ(c.Label12->text(), "YENİ MÜŞTERİ KARTI ");
    EXPECT_EQ(c.Frame2->title(), "Alıcı Türü seçimi");
    EXPECT_FALSE(c.Frame1->isEnabled());
    EXPECT_FALSE(c.Option1->isChecked() || c.Option2->isChecked());
    EXPECT_EQ(c.Combo1->currentText(), "Türkiye");
    EXPECT_EQ(c.Combo1->count(), 2);  // start-up's country list
    for (QPushButton* b : {c.Command1, c.Command3, c.Command4, c.Command5})
        EXPECT_TRUE(test::disabledItself(b)) << b->text().toStdString();
    EXPECT_FALSE(test::disabledItself(c.Command6));
    EXPECT_FALSE(test::disabledItself(c.Command2));
    EXPECT_FALSE(c.Frame3->isVisibleTo(&c));

    struct Case { QRadioButton* Form4::*option; const char* label6; int max; bool title; const char* number; };
    const Case cases[] = {{&Form4::Option1, "VK No", 10, true, "0123456789"},
                          {&Form4::Option2, "TCK No", 11, false, "10000000146"}};
    c.Text4->setPlainText("Bir adres satırı burada");
    for (const Case& k : cases) {
        c.Text6->setText("123");
        (c.*k.option)->click();
        EXPECT_TRUE(c.Frame1->isEnabled());
        EXPECT_EQ(c.Label6->text(), QString::fromUtf8(k.label6));
        EXPECT_EQ(c.Text6->maxLength(), k.max);
        EXPECT_TRUE(c.Text6->text().isEmpty());
        EXPECT_EQ(c.Text1->isVisibleTo(&c), k.title);
        EXPECT_EQ(c.Text2->isVisibleTo(&c), !k.title);
        EXPECT_EQ(c.Text3->isVisibleTo(&c), !k.title);
        EXPECT_EQ(c.Label1->text(), k.title ? "ÜNVANI" : "");
        EXPECT_EQ(c.Label2->text(), k.title ? "" : "ADI");
        EXPECT_EQ(c.Label3->text(), k.title ? "" : "SOYADI");
        EXPECT_EQ(c.Text4->toPlainText(), "Bir adres satırı burada");
        // Right after the choice the saves work, the look-ups do not.
        EXPECT_TRUE(c.Command1->isEnabled() && c.Command4->isEnabled());
        EXPECT_FALSE(c.Command3->isEnabled() || c.Command5->isEnabled());
        c.Text6->setText("1");
        EXPECT_FALSE(c.Command1->isEnabled() || c.Command4->isEnabled());
        c.Text6->setText(QString::fromUtf8(k.number));
        for (QPushButton* b : {c.Command1, c.Command3, c.Command4, c.Command5})
            EXPECT_TRUE(b->isEnabled()) << k.label6;
        // One more character does not fit the box.
        c.Text6->setText(QString::fromUtf8(k.number) + "9");
        EXPECT_EQ(c.Text6->text(), QString::fromUtf8(k.number).left(k.max));
    }
    // An 11-digit number is no tax number of an institution.
    c.Option1->click();
    c.Text6->setText("1000000014");
    c.Option2->click();
    c.Text6->setText("1000000014");
    EXPECT_FALSE(c.Command1->isEnabled());

    c.Text6->setText("12a45");
    EXPECT_EQ(c.Text6->text(), "12");
    EXPECT_EQ(c.panelText(2), "Vergi/TCK No için sayısal veri bekleniyor..!");
    c.Text6->setText("124");
    EXPECT_TRUE(c.panelText(2).isEmpty());

    // The captcha code is upper-cased the Turkish way.
    c.Text12->setText("ab1xiı");
    EXPECT_EQ(c.Text12->text(), "AB1XİI");
    screenshot(&c, QStringLiteral("form4"));
    EXPECT_TRUE(dialogs->shown().empty());
}

TEST_F(Form4Test, TitleAndNameExcludeEachOther)
{
    Form4& c = card();
    c.Option2->click();
    c.Text2->setText("ALİ");
    c.Text3->setText("VELİ");
    c.Option1->click();
    // The first character empties the names, whose handlers empty the title again.
    c.Text1->setText("X");
    EXPECT_TRUE(c.Text1->text().isEmpty());
    EXPECT_TRUE(c.Text2->text().isEmpty() && c.Text3->text().isEmpty());
    c.Text1->setText("Y");
    EXPECT_EQ(c.Text1->text(), "Y");
    c.Text2->setText("A");
    EXPECT_TRUE(c.Text1->text().isEmpty());
}

TEST_F(Form4Test, EveryCheckSpeaksInPanelTwoAndWritesNothing)
{
    Form4& c = card();
    const QByteArray before = hash();
    struct Case { const char* name; void (*edit)(Typed&); const char* panel; };
    const Case cases[] = {
        {"nothing", [](Typed& t) { t.name.clear(); t.surname.clear(); }, "Ünvan yada isim/soyad girilmelidir...!"},
        {"surname only", [](Typed& t) { t.name.clear(); }, "İsim girilmelidir...!"},
        {"name only", [](Typed& t) { t.surname.clear(); }, "Soyad girilmelidir...!"},
        {"14 letters", [](Typed& t) { t.address = "Çiçek Sok No:7"; }, "Adres çok kısa ....!"},
        {"no office", [](Typed& t) { t.office.clear(); }, "Vergi Dairesi girilmelidir...!"},
        {"ab", [](Typed& t) { t.office = "ab"; }, "Vergi Dairesi adı çok kısa...!"},
        {"no number", [](Typed& t) { t.number.clear(); }, "Vergi no alanı boş bırakılamaz..!"},
        // Refused by the workbook: the number is stored for another customer.
        {"stored number", [](Typed& t) { t.number = "12345678901"; }, "Bu Vergi Kimlik No daha önce kaydedilmiş..!"},
    };
    for (QPushButton* Form4::*save : {&Form4::Command1, &Form4::Command4}) {
        for (const Case& k : cases) {
            Typed t = person();
            k.edit(t);
            type(c, t);
            (c.*save)->setEnabled(true);
            (c.*save)->click();
            EXPECT_EQ(c.panelText(2), QString::fromUtf8(k.panel)) << k.name;
            // The card keeps what was typed.
            EXPECT_EQ(c.Text4->toPlainText(), t.address) << k.name;
            EXPECT_EQ(c.Text5->text(), t.office) << k.name;
            EXPECT_TRUE(c.isVisible()) << k.name;
        }
    }
    EXPECT_EQ(form->whoTriggered, "Form4");  // set before the checks
    EXPECT_TRUE(form->Combo3->currentText().isEmpty());
    EXPECT_EQ(hash(), before);
    EXPECT_TRUE(dialogs->shown().empty());
}

TEST_F(Form4Test, SavesAppendToTheFirstFreeRowAndResetTheCard)
{
    Form4& c = card();
    type(c, institution());
    c.Command1->click();
    EXPECT_EQ(c.lastSave().result, SaveOutcome::Result::Saved);
    EXPECT_EQ(c.panelText(2), "Kaydedildi....") << "shown after the reset";
    // Row 4 has a customer without a number, row 6 only column 1: both are kept.
    EXPECT_EQ(c.lastSave().row, 7);
    EXPECT_EQ(row(7), (QStringList{"-", "-", "YENİ KURUM A.Ş.", "Bağdat Cad. No:5 Kadıköy", "Almanya", "Göztepe",
                                   "0987654320", "kurum@example.test", "-", "-", "-", "-"}));
    EXPECT_TRUE(quoted(7, 7));
    EXPECT_EQ(row(4)[2], "NUMARASIZ TİCARET");
    EXPECT_EQ(row(6)[0], "6");
    EXPECT_EQ(row(8)[2], "SIFIRSIZ LTD");
    EXPECT_EQ(form->uunvan->text(), "YENİ KURUM A.Ş.");
    EXPECT_TRUE(form->aad->text().isEmpty());

    // Reset for the next one: no kind, empty boxes, no buttons; the country stays.
    EXPECT_FALSE(c.Option1->isChecked() || c.Option2->isChecked());
    EXPECT_TRUE(c.Frame1->isEnabled());
    for (QLineEdit* box : {c.Text1, c.Text2, c.Text3, c.Text5, c.Text6, c.Text7})
        EXPECT_TRUE(box->text().isEmpty());
    EXPECT_TRUE(c.Text4->toPlainText().isEmpty());
    EXPECT_EQ(c.Combo1->currentText(), "Almanya");
    for (QPushButton* b : {c.Command1, c.Command3, c.Command4, c.Command5})
        EXPECT_FALSE(b->isEnabled());

    type(c, person());
    c.Command1->click();
    EXPECT_EQ(c.lastSave().row, 9);
    EXPECT_EQ(row(9)[2], "AYŞE·KAYA");
    EXPECT_EQ(row(9)[6], "10000000146");
    EXPECT_EQ(form->aad->text(), "AYŞE");
    EXPECT_EQ(form->ssoyad->text(), "KAYA");
    EXPECT_TRUE(form->uunvan->text().isEmpty());

    // A number already stored, whether as quoted text or as a plain number: nothing
    // written, the card kept as typed with the warning.
    for (const char* stored : {"0123456789", "12345678901", "0987654320"}) {
        const QByteArray before = hash();
        Typed t = QString(stored).size() == 11 ? person() : institution();
        t.number = stored;
        type(c, t);
        const CustomerCardFields typed = c.fields();
        c.Command1->click();
        EXPECT_EQ(c.lastSave().result, SaveOutcome::Result::Duplicate) << stored;
        EXPECT_EQ(c.panelText(2), "Bu Vergi Kimlik No daha önce kaydedilmiş..!") << stored;
        EXPECT_EQ(hash(), before) << stored;
        EXPECT_EQ(customerRow(c.fields()), customerRow(typed)) << stored;
        EXPECT_EQ(c.kind(), QString(stored).size() == 11 ? CustomerKind::Sahis : CustomerKind::Kurum) << stored;
        EXPECT_TRUE(c.Command1->isEnabled()) << stored;
        c.Command6->click();
    }
    EXPECT_TRUE(dialogs->shown().empty());
}

TEST_F(Form4Test, EnterInAnyBoxPressesNoButton)
{
    Form4& c = card();
    const QByteArray before = hash();
    type(c, institution());
    ASSERT_TRUE(c.Command1->isEnabled());
    EXPECT_EQ(test::buttonsClickedByEnter(c), QStringList());
    EXPECT_EQ(hash(), before);
    EXPECT_EQ(c.Text6->text(), institution().number);
}

TEST_F(Form4Test, AnEmptyTitleRowIsNoFreeRow)
{
    Form4& c = card(QStringLiteral("notitle"));
    type(c, institution());
    c.Command1->click();
    EXPECT_EQ(c.lastSave().row, 4);
    EXPECT_EQ(row(2)[2], "İLK MÜŞTERİ");
    EXPECT_EQ(row(3)[2], "İKİNCİ MÜŞTERİ");
    EXPECT_EQ(row(4)[6], "0987654320");
}

TEST_F(Form4Test, KaydetVeSecHandsTheBuyerToTheInvoice)
{
    Form4& c = card();
    form->Frame14->show();
    form->Command23->show();
    form->List3->show();
    form->aad->setText("ESKİ");
    type(c, institution());
    c.Command4->click();
    EXPECT_FALSE(c.isVisible());
    EXPECT_EQ(form->Combo3->currentText(), "YENİ KURUM A.Ş. ");
    EXPECT_EQ(form->Text19->text(), "YENİ KURUM A.Ş. ");
    EXPECT_EQ(form->Text2->text(), "Bağdat Cad. No:5 Kadıköy");
    EXPECT_EQ(form->Text3->text(), "Göztepe");
    EXPECT_EQ(form->Text4->text(), "0987654320");
    EXPECT_EQ(form->Text20->text(), "0987654320");
    EXPECT_EQ(form->Text5->text(), "kurum@example.test");
    EXPECT_EQ(form->Text12->text(), "Almanya");
    EXPECT_EQ(form->uunvan->text(), "YENİ KURUM A.Ş.");
    EXPECT_TRUE(form->aad->text().isEmpty());
    for (QWidget* w : {static_cast<QWidget*>(form->Frame14), static_cast<QWidget*>(form->Command23),
                       static_cast<QWidget*>(form->List3), static_cast<QWidget*>(form->Frame13)})
        EXPECT_FALSE(w->isVisibleTo(form.get())) << w->objectName().toStdString();
    // The searches were skipped; the flags are as they leave them.
    EXPECT_EQ(form->whoTriggered, "x");
    EXPECT_TRUE(form->secildi.isEmpty());
    EXPECT_EQ(row(7)[2], "YENİ KURUM A.Ş.");
    EXPECT_EQ(c.lastSave().panel2, "Kaydedildi....");
    EXPECT_TRUE(c.panelText(2).isEmpty());

    // A number stored for someone else is refused: nothing written, the card shown as
    // typed with its message, and the buyer chosen before stays.
    const QByteArray before = hash();
    form->Command4_Click();
    Typed t = person();
    t.number = "12345678901";
    type(c, t);
    c.Command4->click();
    EXPECT_EQ(c.lastSave().result, SaveOutcome::Result::Duplicate);
    EXPECT_TRUE(c.isVisible());
    EXPECT_EQ(c.panelText(2), "Bu Vergi Kimlik No daha önce kaydedilmiş..!");
    EXPECT_EQ(c.Text2->text(), "AYŞE");
    EXPECT_EQ(form->Text19->text(), "YENİ KURUM A.Ş. ");
    EXPECT_EQ(form->Text20->text(), "0987654320");
    EXPECT_EQ(hash(), before);
    EXPECT_TRUE(dialogs->shown().empty());
}

TEST_F(Form4Test, AWorkbookInUseKeepsTheCardOpenWithItsEntries)
{
    Form4& c = card();
    const QByteArray before = hash();
    QFile lock(fromPath(home / QStringLiteral("Data/~$DATA.xlsx")));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.close();
    type(c, institution());
    c.Command4->click();
    EXPECT_EQ(c.lastSave().result, SaveOutcome::Result::Failed);
    EXPECT_TRUE(c.isVisible());
    EXPECT_TRUE(c.panelText(2).contains("DATA.xlsx")) << c.panelText(2).toStdString();
    EXPECT_EQ(c.Text1->text(), "YENİ KURUM A.Ş.");
    EXPECT_TRUE(c.Command1->isEnabled());
    EXPECT_EQ(hash(), before);
    EXPECT_TRUE(dialogs->shown().empty());
}

TEST_F(Form4Test, KapatEmptiesAndHidesButKeepsTheKind)
{
    Form4& c = card();
    type(c, institution());
    c.Command2->click();
    EXPECT_EQ(c.karar, "Kapat");
    EXPECT_FALSE(c.isVisible());
    form->Command4_Click();
    EXPECT_TRUE(c.isVisible());
    EXPECT_TRUE(c.Option1->isChecked());
    EXPECT_TRUE(c.Text1->text().isEmpty());
    EXPECT_EQ(c.Combo1->currentText(), "Almanya");

    type(c, person());
    c.Command6->click();
    EXPECT_TRUE(c.Text2->text().isEmpty());
    EXPECT_TRUE(c.Text4->toPlainText().isEmpty());
    EXPECT_TRUE(c.Option2->isChecked());
    EXPECT_TRUE(c.isVisible());
    c.close();
    EXPECT_FALSE(c.isVisible());
    EXPECT_EQ(form->findChildren<Form4*>().size(), 1);
}

} // namespace
} // namespace kuvela
