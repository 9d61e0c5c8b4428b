// "Excel'e Kaydet" and "Excel'den Al" on the main window, with templates read and
// written by openpyxl.
#include "fixtures/template_fixture.h"
#include "invoice/editor_window_fixture.h"
#include "invoice/line_template.h"
#include "platform/paths.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>

namespace kuvela::test {
namespace {

namespace fs = std::filesystem;

QString S(const char* utf8) { return QString::fromUtf8(utf8); }

class Form1TemplatesTest : public EditorWindowTest {
protected:
    // "Çağdaş Gıda" chosen; a SATIŞ invoice with a BSMV pair and one line.
    void startWithInvoice()
    {
        start();
        form->Combo4->setEditText(S("Çağdaş Gıda"));
        form->Combo4_LostFocus();
        invoiceOf(0, {});
        lineGrid(*form).addTaxPair(invoice::TaxColumnPair::forItem(S("V0021-BSMV%")));
        lineGrid(*form).rows = {{"1", "Kalem A", "2", "Adet", "1.234,50", "0", "0,00", "2.469,00", "18", "444,42", "5",
                                 "123,45"}};
        showLineGrid(*form);
        form->yekunal();
        form->Text8->setText("05/03/2024");
        form->Text11->setText("IRS7");
        form->Option3->setChecked(true);  // the view that offers "Excel'e Kaydet"
        dialogs->clear();
    }
    fs::path proforma(const char* sub) const { return home / (S("Firmalarım/Çağdaş Gıda/Proforma/") + S(sub)); }

    void pick(const QString& name)
    {
        form->Dir1_Change();
        const auto found = form->File1->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        form->File1->setCurrentItem(found.front());
        form->File1_Click();
    }
};

QString shown(const QJsonObject& read, const QString& ref)
{
    const QJsonValue v = read.value("cells").toObject().value(ref).toArray().at(0);
    return v.isDouble() ? QString::number(v.toDouble()) : v.toString();
}

TEST_F(Form1TemplatesTest, ExportedTemplateReadsBackInOpenpyxlAndBecomesThePick)
{
    startWithInvoice();
    QStringList values = {S("Kalem A"), "2", "Adet", "1234.5", "0", "0", "2469", "18", "444.42", "5", "123.45"};
    const char* single = "SATIŞ/Çağdaş Gıda 05-03-2024 IRS7 SATIŞ V0021-.xlsx";
    const char* multi = "SATIŞ/Multi/(m) Çağdaş Gıda 05-03-2024 IRS7 SATIŞ V0021-.xlsx";
    struct Case {
        bool bulk;
        const char* file;
        int offset;
        const char* colour;
        std::optional<MsgResult> answer = {};  // asked over a template of the same name
        const char* line = "Kalem A";
    } cases[] = {{false, single, 0, "FF0000FF"},
                 // Another invoice under the same name: kept by the default answer, replaced on "Evet".
                 {false, single, 0, "FF0000FF", MsgResult::No, "Kalem B"},
                 {true, multi, 6, "FFFF0000"},
                 {true, multi, 6, "FFFF0000", MsgResult::Yes, "Kalem B"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        form->Check5->setChecked(c.bulk);
        lineGrid(*form).rows[0][1] = S(c.line);
        dialogs->clear();
        if (c.answer == MsgResult::Yes)
            dialogs->queueAnswer(MsgResult::Yes);
        form->Command9->click();
        const fs::path file = proforma(c.file);
        ASSERT_TRUE(fs::exists(file)) << form->panelText(7).toStdString();
        ASSERT_EQ(dialogs->texts(), c.answer ? QStringList{fromPath(file.filename()) + S(" zaten var. Üzerine yazılsın mı?")}
                                             : QStringList());
        EXPECT_EQ(form->seciliDosya, fromPath(file));
        EXPECT_EQ(form->Dir1Path(), fromPath(file.parent_path()));
        ASSERT_TRUE(form->File1->currentItem());
        EXPECT_EQ(form->File1->currentItem()->text(), fromPath(file.filename()));
        EXPECT_EQ(form->panelText(7), c.answer == MsgResult::No ? S("Şablon kaydedilmedi.") : QString());
        for (QPushButton* b : {form->Command10, form->Command3, form->Command11, form->Command15, form->Command29})
            EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();

        const QJsonObject read = readTemplate(file);
        EXPECT_EQ(read.value("sheets").toArray(), QJsonArray{"Sayfa1"});
        const QStringList titles = headers();
        for (int i = 0; i < titles.size(); ++i)
            EXPECT_EQ(shown(read, QChar('A' + c.offset + i) + QStringLiteral("1")), titles[i]);
        values[0] = S(c.answer == MsgResult::No ? "Kalem A" : c.line);
        for (int i = 0; i < values.size(); ++i)
            EXPECT_EQ(shown(read, QChar('B' + c.offset + i) + QStringLiteral("2")), values[i]);
        if (c.bulk)
            EXPECT_EQ(shown(read, "A1"), "VKN/TCKN");
        EXPECT_EQ(read.value("titleRow").toObject().value("A1").toObject().value("colour").toString(), c.colour);
    }
}

TEST_F(Form1TemplatesTest, ExportRefusedOrFailedSaysSoAndKeepsThePick)
{
    startWithInvoice();
    form->seciliDosya = "earlier.xlsx";
    // A folder stands where the template would go: the save fails.
    fs::create_directories(proforma("SATIŞ/Çağdaş Gıda 05-03-2024 IRS7 SATIŞ V0021-.xlsx"));
    form->Command9->click();
    EXPECT_TRUE(form->panelText(7).startsWith(S("Şablon kaydedilemedi: "))) << form->panelText(7).toStdString();
    EXPECT_EQ(form->seciliDosya, "earlier.xlsx");

    form->Combo4->setEditText(S("Firmalarım"));
    form->Command9->click();
    EXPECT_EQ(form->panelText(7), invoice::noCompanyStatus());
    EXPECT_EQ(form->seciliDosya, "earlier.xlsx");
}

TEST_F(Form1TemplatesTest, ImportThroughThePickReplacesTheLinesAndRecomputesTheTotals)
{
    startWithInvoice();
    QJsonArray titles;
    for (const QString& t : headers())
        titles.append(t);
    writeTemplate(proforma("SATIŞ/şablon.xlsx"),
                  {titles, QJsonArray{QJsonValue(), "Kalem", 2, "Adet", 100, 10, 999, 999, 18, 999, 5, 999}});
    QJsonArray wrong = titles;
    wrong[1] = "Mal Hizmet Turu";
    writeTemplate(proforma("SATIŞ/eski.xlsx"), {wrong, QJsonArray{QJsonValue(), "Kalem", 1}});
    new QTreeWidgetItem(form->ListView3, QStringList{"1"});

    // A template whose title differs: its message, and the lines stay.
    pick(S("eski.xlsx"));
    form->Command3->click();
    EXPECT_EQ(dialogs->texts(), QStringList{invoice::wrongTitleMessage("Mal Hizmet Turu")});
    EXPECT_EQ(lineCells(0)[S("Mal Hizmet Türü")], "Kalem A");

    pick(S("şablon.xlsx"));
    ASSERT_TRUE(form->Command3->isEnabled());
    form->Command3->click();
    EXPECT_EQ(form->ListView1->topLevelItemCount(), 1);
    EXPECT_EQ(lineCells(0)[S("Mal/Hiz.Tutarı")], "180,00");
    EXPECT_EQ(lineCells(0)[S("KDV Tutarı")], "32,40");
    EXPECT_EQ(form->checkTotal->text(), "221,4");  // 180 + 32,40 + BSMV 9
    EXPECT_GT(form->ListView2->topLevelItemCount(), 0);
    EXPECT_EQ(form->whoTriggered, "command3");
    EXPECT_EQ(form->ListView3->topLevelItemCount(), 0);
    EXPECT_TRUE(form->panelText(7).isEmpty());

    form->seciliDosya = fromPath(proforma("SATIŞ/not.txt"));
    form->Command3_Click();
    EXPECT_EQ(form->panelText(7), invoice::notExcelStatus());
    EXPECT_EQ(form->ListView1->topLevelItemCount(), 1);
}

} // namespace
} // namespace kuvela::test
