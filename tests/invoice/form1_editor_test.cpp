// Whole invoices composed on the main window through the line-entry dialog, the
// type combo that starts a new invoice, the header's dates and currency.
#include "form7_fixture.h"

#include "shell/twips.h"

#include <QHeaderView>
#include <QImage>
#include <QStyle>
#include <QLabel>
#include <QRadioButton>

namespace kuvela {
namespace {

using test::LineSpec;

const QStringList kBase = {"s", "Mal Hizmet Türü", "Miktar", "Birim", "Birim Fiyat", "İsk%", "İsk.Tutarı",
                           "Mal/Hiz.Tutarı", "KDV%", "KDV Tutarı"};
const QString kNotes = QStringLiteral("Teşekkür ederiz. ");
const QString kBullet = QString(QChar(0x2022)) + u' ';
const QString kReason = QStringLiteral("801-Milli Piyango, Spor Toto vb. Oyunlar");

struct InvoiceCase {
    const char* type;
    std::vector<LineSpec> lines;
    QStringList typeAndTaxTitles;
    std::vector<QStringList> cells;  // every cell of every line, in grid order
    QStringList totals;
    QString checkTotal, bases, words;
};

void PrintTo(const InvoiceCase& c, std::ostream* os) { *os << c.type; }

// Worked out by hand: amounts per line, the totals rows, the VAT bases by rate.
const std::vector<LineSpec> kTevkifatLines = {
    {"Temizlik Hizmeti", "1", "Gün", "1000", "0", "18", "602 % 90", "V0021-BSMV%", "5"},
    {"Güvenlik Hizmeti", "2", "Ay", "2500,50", "10", "18", "601 % 40"},
    {"Malzeme", "10", "Adet", "12,75", "0", "8", "", "V0021-BSMV%", "5"},
};

const InvoiceCase kInvoices[] = {
    {"SATIŞ",
     {{"Danışmanlık", "2", "Adet", "100", "10", "18", "", "V0021-BSMV%", "5"}, {"Kargo", "3", "Adet", "12,5", "0", "8"}},
     {"V0021-BSMV%", "BSMV Tutarı"},
     {{"1", "Danışmanlık", "2", "Adet", "100,00", "10", "20,00", "180,00", "18", "32,40", "5,00", "9,00"},
      {"2", "Kargo", "3", "Adet", "12,50", "0", "0,00", "37,50", "8", "3,00", "0", "0,00"}},
     {"Mal / Hizmet Bedeli Toplamı :=237,50", "İskontolar Toplamı :=20,00", "KDV Toplamı :=35,40",
      "V0021-BSMV Toplamı :=9,00", "GENEL TOPLAM :=261,90"},
     "261,9", "[%1: 0,00][%8: 37,50][%18: 180,00]", "İkiyüzaltmışbirTLDoksanKr."},
    // A tax of the VAT base: its full 12,50 enters the VAT (2,25) and the 18 % base.
    {"İADE",
     {{"İade Ürün", "1", "Adet", "250", "0", "18", "", "V0071-ÖTV 1.LİSTE%", "5"}},
     {"V0071-ÖTV 1.LİSTE%", "ÖTV 1.LİSTE Tutarı"},
     {{"1", "İade Ürün", "1", "Adet", "250,00", "0", "0,00", "250,00", "18", "47,25", "5,00", "12,50"}},
     {"Mal / Hizmet Bedeli Toplamı :=250,00", "İskontolar Toplamı :=0,00", "KDV Toplamı :=47,25",
      "V0071-ÖTV 1.LİSTE Toplamı :=12,50", "GENEL TOPLAM :=309,75"},
     "309,75", "[%1: 0,00][%8: 0,00][%18: 262,50]", "ÜçyüzdokuzTLYetmişbeşKr."},
    {"TEVKİFAT", kTevkifatLines,
     {"Tevkifat Kodu", "Tevkifat Oranı", "Tevkifat Tutarı", "V0021-BSMV%", "BSMV Tutarı"},
     {{"1", "Temizlik Hizmeti", "1", "Gün", "1.000,00", "0", "0,00", "1.000,00", "18", "180,00", "602 % 90", "90",
       "162,00", "5,00", "50,00"},
      {"2", "Güvenlik Hizmeti", "2", "Ay", "2.500,50", "10", "500,10", "4.500,90", "18", "810,16", "601 % 40", "40",
       "324,06", "0", "0,00"},
      {"3", "Malzeme", "10", "Adet", "12,75", "0", "0,00", "127,50", "8", "10,20", "", "0", "0,00", "5,00", "6,38"}},
     {"Mal / Hizmet Bedeli Toplamı :=6.128,50", "İskontolar Toplamı :=500,10", "KDV Toplamı :=1.000,36",
      "Tevkif Edilen KDV :=486,06", "V0021-BSMV Toplamı :=56,38", "GENEL TOPLAM :=6.685,14",
      "Ödenecek Tutar :=6.199,08"},
     "6.685,14", "[%1: 0,00][%8: 127,50][%18: 5.500,90]", "AltıbinaltıyüzseksenbeşTLOndörtKr."},
    // The VAT rate must be chosen, but an exempt line carries none.
    {"İSTİSNA",
     {{"İhraç Malı", "4", "kg", "250", "0", "18", "", "", "", "", "", "0901"}},
     {"GTİP"},
     {{"1", "İhraç Malı", "4", "kg", "250,00", "0", "0,00", "1.000,00", "0", "0,00", "0901"}},
     {"Mal / Hizmet Bedeli Toplamı :=1.000,00", "İskontolar Toplamı :=0,00", "KDV'den İstisnadır.=",
      "GENEL TOPLAM :=1.000,00"},
     "1.000,00", "[%1: 0,00][%8: 0,00][%18: 0,00]", "BinTL--Kr."},
    // The VAT stays on the special base.
    {"ÖZEL MATRAH",
     {{"Gümüş Takı", "2", "Adet", "90", "0", "18", "", "", "", "", "", "", kReason, "500"}},
     {"Özel Matrah Nedeni", "Özel Matrah Tutarı"},
     {{"1", "Gümüş Takı", "2", "Adet", "90,00", "0", "0,00", "180,00", "18", "90,00", kReason, "500,00"}},
     {"Mal / Hizmet Bedeli Toplamı :=180,00", "İskontolar Toplamı :=0,00", "KDV Toplamı :=90,00",
      "Özel Matrah Toplamı :=500,00", "GENEL TOPLAM :=270,00"},
     "270,00", "[%1: 0,00][%8: 0,00][%18: 500,00]", "İkiyüzyetmişTL--Kr."},
};

class Form1EditorTest : public test::LineDialogTest {
protected:
    QStringList lineTexts(int line) const
    {
        QStringList cells;
        const QTreeWidgetItem* item = form->ListView1->topLevelItem(line);
        for (int c = 0; item && c < form->ListView1->columnCount(); ++c)
            cells << item->text(c);
        return cells;
    }
    QString note() const { return form->Text6->toPlainText().remove(u'\r'); }
};

TEST_F(Form1EditorTest, ComposesAWholeInvoiceOfEachTypeThroughTheLineDialog)
{
    start();
    sellerIs(QStringLiteral("Çağdaş Gıda"), kNotes);
    for (const InvoiceCase& c : kInvoices) {
        SCOPED_TRACE(c.type);
        chooseType(QString::fromUtf8(c.type));
        for (const LineSpec& line : c.lines)
            addLine(line);
        EXPECT_EQ(headers(), kBase + c.typeAndTaxTitles);
        // Every column as wide as its layout says at least, and no title cut off.
        const QHeaderView* header = form->ListView1->header();
        const QFontMetrics metrics(header->font());
        const int margins = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        for (int col = 0; col < header->count(); ++col) {
            const QString title = form->ListView1->headerItem()->text(col);
            EXPECT_GE(header->sectionSize(col), metrics.horizontalAdvance(title) + margins) << title.toStdString();
            EXPECT_GE(header->sectionSize(col), twipsToPixels(lineGrid(*form).columns[size_t(col)].widthTwips))
                << title.toStdString();
        }
        ASSERT_EQ(form->ListView1->topLevelItemCount(), int(c.cells.size()));
        for (int i = 0; i < int(c.cells.size()); ++i)
            EXPECT_EQ(lineTexts(i), c.cells[size_t(i)]) << "line " << i + 1;
        EXPECT_EQ(totals(), c.totals);
        for (int i = 0; i < form->ListView2->topLevelItemCount(); ++i)
            EXPECT_EQ(form->ListView2->topLevelItem(i)->text(0), QString::number(i + 1));
        EXPECT_EQ(form->checkTotal->text(), c.checkTotal);
        EXPECT_EQ(note(), kNotes + kBullet + "KDV MATRAH " + c.bases + "\n" + kBullet + "Yalnız:" + c.words);
        EXPECT_TRUE(dialogs->shown().empty()) << dialogs->texts().join('\n').toStdString();
    }
    // İADE lines are red, TEVKİFAT blue; the grid shows the model's colour.
    chooseType(QStringLiteral("İADE"));
    addLine({"Ürün", "1", "Adet", "10", "0", "18"});
    EXPECT_EQ(form->ListView1->topLevelItem(0)->foreground(0).color(), QColor(255, 0, 0));
    EXPECT_EQ(form->Cevir(QStringLiteral("1000")), "Bin");
    EXPECT_EQ(form->YAZIYTL(QStringLiteral("-15,05")), "Eksi OnbeşTLBeşKr.");
}

TEST_F(Form1EditorTest, OnlyAPickedTypeStartsANewInvoice)
{
    start();
    sellerIs(QStringLiteral("Çağdaş Gıda"), kNotes);

    // No type yet: a line still goes in, and nothing is totalled.
    addLine({"Deneme", "1", "Adet", "10", "0", "18"});
    EXPECT_EQ(form->ListView2->topLevelItemCount(), 0);
    EXPECT_EQ(form->checkTotal->text(), "0,00");

    chooseType(QStringLiteral("SATIŞ"));
    EXPECT_EQ(form->ListView1->topLevelItemCount(), 0);
    EXPECT_TRUE(form->Command7->isEnabled());
    EXPECT_TRUE(form->Command8->isEnabled());
    addLine({"Ürün A", "2", "Adet", "100", "10", "18"});
    addLine({"Ürün B", "1", "Adet", "50", "0", "20", "", "V0071-ÖTV 1.LİSTE%", "2"});
    EXPECT_EQ(form->ekmat20.toPlainString(), "1");  // 2 % of 50 enters the 20 % base
    form->Text9->setText(QStringLiteral("10:30:00"));
    const QStringList totalsBefore = totals();

    // Tabbing through the type box keeps the invoice.
    tabOut(form->Combo1);
    EXPECT_EQ(form->ListView1->topLevelItemCount(), 2);
    EXPECT_EQ(totals(), totalsBefore);
    EXPECT_EQ(form->Text9->text(), "10:30:00");

    // Picking the same type again starts anew without asking.
    chooseType(QStringLiteral("SATIŞ"));
    EXPECT_EQ(form->ListView1->topLevelItemCount(), 0);
    EXPECT_EQ(form->ListView2->topLevelItemCount(), 0);
    EXPECT_TRUE(form->Text9->text().isEmpty());
    EXPECT_EQ(form->Text6->toPlainText(), kNotes);
    EXPECT_TRUE(form->ekmat20.isZero());
    EXPECT_TRUE(dialogs->shown().empty());

    // Each type lays the grid out; bulk stays open only for SATIŞ and TEVKİFAT.
    form->Check5->setChecked(true);
    chooseType(QStringLiteral("TEVKİFAT"));
    EXPECT_EQ(headers().size(), 13);
    EXPECT_TRUE(form->Check5->isEnabled());
    EXPECT_TRUE(form->Check5->isChecked());
    EXPECT_FALSE(form->Command5->isVisibleTo(form.get()));
    chooseType(QStringLiteral("İADE"));
    EXPECT_EQ(headers(), kBase);
    EXPECT_FALSE(form->Check5->isChecked());
    EXPECT_FALSE(form->Check5->isEnabled());
    EXPECT_TRUE(form->Command5->isVisibleTo(form.get()));
    EXPECT_TRUE(form->Label20->isVisibleTo(form.get()));
    EXPECT_TRUE(form->Option3->isChecked());
    chooseType(QStringLiteral("ÖZEL MATRAH"));
    EXPECT_EQ(headers().size(), 12);
    EXPECT_FALSE(form->Command5->isVisibleTo(form.get()));

    // A typed type text counts as a choice; the prompt clears the lines but keeps the columns.
    addLine({"Gümüş", "1", "Adet", "90", "0", "18", "", "", "", "", "", "", kReason, "500"});
    form->Combo1->setEditText(QStringLiteral("Fatura Türü Seçin"));
    tabOut(form->Combo1);
    EXPECT_EQ(form->ListView1->topLevelItemCount(), 0);
    EXPECT_EQ(headers().size(), 12);
}

TEST_F(Form1EditorTest, ASellerOfLedgerSCannotChooseAType)
{
    start();
    sellerIs(QStringLiteral("Çağdaş Gıda"), kNotes);
    chooseType(QStringLiteral("TEVKİFAT"));
    addLine(kTevkifatLines[0]);
    form->firmaMukellefiyet = QStringLiteral("s");
    chooseType(QStringLiteral("SATIŞ"));
    ASSERT_EQ(dialogs->shown().size(), 1u);
    EXPECT_EQ(dialogs->shown().front().text, "Bu belge türü Satıcı firmanın Mükellefiyetine uygun değildir !");
    EXPECT_EQ(dialogs->shown().front().icon, MsgIcon::Exclamation);
    EXPECT_EQ(form->Combo1->currentText(), "Fatura Türü Seçin");
    EXPECT_EQ(form->ListView1->topLevelItemCount(), 1);
    EXPECT_EQ(headers().size(), 15);  // still the withholding columns and the tax pair
    tabOut(form->Combo1);
    EXPECT_EQ(dialogs->shown().size(), 1u);
}

TEST_F(Form1EditorTest, DatesAndCurrencyOfTheHeader)
{
    start();
    // Today is 15.03.2024: the newest invoice date offers all eight despatch dates.
    form->Combo5->setCurrentIndex(0);
    form->Text10->setText(QStringLiteral("eski"));
    tabOut(form->Combo5);
    EXPECT_EQ(form->Text8->text(), "15/03/2024");
    EXPECT_TRUE(form->Text10->text().isEmpty());
    EXPECT_FALSE(form->Combo5->isVisibleTo(form.get()));
    EXPECT_TRUE(form->Text8->isVisibleTo(form.get()));
    EXPECT_FALSE(form->Text8->isEnabled());
    EXPECT_EQ(form->Combo6->count(), 8);
    EXPECT_EQ(form->Combo6->itemText(0), "15.03.2024");
    form->Combo5->setCurrentIndex(7);
    tabOut(form->Combo5);
    EXPECT_EQ(form->Combo6->count(), 1);
    EXPECT_EQ(form->Combo6->itemText(0), "08.03.2024");
    form->Combo6->setCurrentIndex(0);
    tabOut(form->Combo6);
    EXPECT_EQ(form->Text10->text(), "08/03/2024");
    EXPECT_FALSE(form->Combo6->isVisibleTo(form.get()));
    EXPECT_FALSE(form->Text10->isEnabled());
    // Nothing chosen from the list: the despatch dates start with tomorrow.
    form->Combo5->setCurrentIndex(-1);
    form->Combo5->setEditText(QString());
    tabOut(form->Combo5);
    EXPECT_EQ(form->Combo6->itemText(0), "16.03.2024");

    form->Combo2->setEditText(QStringLiteral("Euro"));
    tabOut(form->Combo2);
    EXPECT_TRUE(form->Text7->isEnabled());
    form->Text7->setText(QStringLiteral("35,25"));
    form->Combo2->setEditText(QStringLiteral("Türk Lirası"));
    tabOut(form->Combo2);
    EXPECT_TRUE(form->Text7->text().isEmpty());
    EXPECT_FALSE(form->Text7->isEnabled());

    form->Command28->show();
    form->Command30->show();
    form->Combo4->setEditText(QStringLiteral("Işık"));
    EXPECT_FALSE(form->Command28->isVisibleTo(form.get()));
    EXPECT_FALSE(form->Command30->isVisibleTo(form.get()));
}

TEST_F(Form1EditorTest, ACellThatIsNoNumberStopsTheTotalsWithAMessage)
{
    start();
    sellerIs(QStringLiteral("Çağdaş Gıda"), kNotes);
    chooseType(QStringLiteral("SATIŞ"));
    addLine({"Ürün A", "2", "Adet", "100", "10", "18"});
    lineGrid(*form).setCell(0, 3, QStringLiteral("iki"));
    form->yekunal();
    EXPECT_EQ(form->panelText(7), "Hatalı veri: Satır 1, Miktar sütunu \"iki\" sayısal değil !");
    EXPECT_TRUE(form->checkTotal->text().isEmpty());
    EXPECT_EQ(form->ListView2->topLevelItemCount(), 0);
    EXPECT_EQ(lineTexts(0).at(2), "iki");
}

TEST_F(Form1EditorTest, PictureOfATevkifatInvoice)
{
    start();
    sellerIs(QStringLiteral("Çağdaş Gıda"), kNotes);
    form->resize(1600, 1000);
    form->show();
    chooseType(QStringLiteral("TEVKİFAT"));
    {
        const QSignalBlocker noSearch(form->Text19);  // the buyer as chosen, not searched for
        form->Text19->setText(QStringLiteral("Yıldız Temizlik ve Güvenlik A.Ş."));
    }
    form->Text4->setText(QStringLiteral("0123456789"));
    form->Text3->setText(QStringLiteral("Kadıköy"));
    for (const LineSpec& line : kTevkifatLines)
        addLine(line);
    Form7::existing(*form)->hide();
    EXPECT_EQ(totals().last(), "Ödenecek Tutar :=6.199,08");

    const QString file = QStringLiteral(KUVELA_BINARY_DIR "/screenshots/main_window_tevkifat.png");
    QFile::remove(file);
    screenshot(form.get(), QStringLiteral("main_window_tevkifat"));
    const QImage picture(file);
    EXPECT_FALSE(picture.isNull());
    EXPECT_GE(picture.width(), 1000);
}

} // namespace
} // namespace kuvela
