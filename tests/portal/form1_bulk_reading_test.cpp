// The bulk road on the main window up to the queue: bulk mode, the parameters panel
// and a bulk template written by openpyxl read into ListView3.
#include "fixtures/template_fixture.h"
#include "invoice/editor_window_fixture.h"
#include "platform/paths.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace kuvela::test {
namespace {

namespace fs = std::filesystem;

QString S(const char* utf8) { return QString::fromUtf8(utf8); }

// A bulk row: buyer A-F, an empty G, then a SATIŞ line without discount.
QJsonArray bulkRow(const QJsonValue& vkn, const QString& title, const QString& name, const QJsonValue& qty, int price,
                   int vat)
{
    return {vkn, "VD", title, "Adres", S("Türkiye"), "a@b.c", QJsonValue(), name, qty, "Adet", price, 0, 0, 0, vat, 0};
}

class Form1BulkReadingTest : public EditorWindowTest {
protected:
    // A SATIŞ invoice of "Çağdaş Gıda" dated 15/03/2024, in bulk mode.
    void startInBulkMode()
    {
        start();
        form->Combo4->setEditText(S("Çağdaş Gıda"));
        form->Combo4_LostFocus();
        invoiceOf(0, {});
        form->Text8->setText("15/03/2024");
        form->Check5->setChecked(true);
    }
    fs::path multi() const { return home / S("Firmalarım/Çağdaş Gıda/Proforma/SATIŞ/Multi"); }

    // The template written into the bulk folder, picked, and the panel opened.
    void openPanelWith(const std::vector<QJsonArray>& rows)
    {
        QJsonArray titles{"VKN/TCKN", "Vergi Dairesi", "Ad-Soyad/Ünvan", "Adres", S("Ülke"), "E-Mail"};
        for (const QString& t : headers())
            titles.append(t);
        QJsonArray all{titles};
        for (const QJsonArray& r : rows)
            all.append(r);
        writeTemplate(multi() / "toplu.xlsx", all);
        form->Dir1_Change();
        form->File1->setCurrentItem(form->File1->findItems("toplu.xlsx", Qt::MatchExactly).value(0));
        form->File1_Click();
        ASSERT_TRUE(form->Command6->isEnabled());
        form->Command6->click();
        dialogs->clear();
    }

    QStringList queueRow(int i) const
    {
        QStringList cells;
        const QTreeWidgetItem* item = form->ListView3->topLevelItem(i);
        for (int c = 0; item && c < form->ListView3->columnCount(); ++c)
            cells << item->text(c);
        return cells;
    }
};

TEST_F(Form1BulkReadingTest, BulkModeOffersTheMultiFolderAndTheBulkButton)
{
    startInBulkMode();
    EXPECT_EQ(form->Dir1Path(), fromPath(multi()));
    EXPECT_FALSE(form->Command6->isHidden());
    EXPECT_FALSE(form->Command6->isEnabled());
    EXPECT_FALSE(form->Command3->isEnabled());
    EXPECT_FALSE(form->Command12->isEnabled());
    EXPECT_EQ(form->panelText(7), S("Çoklu Veri almak için bir Excel dosyası seçiniz...!"));

    form->Check5->setChecked(false);
    EXPECT_EQ(form->Dir1Path(), fromPath(multi().parent_path()));
    EXPECT_TRUE(form->Command6->isHidden());
    EXPECT_TRUE(form->Command12->isEnabled());
    EXPECT_TRUE(form->panelText(7).isEmpty());
}

TEST_F(Form1BulkReadingTest, ReadingGroupsTheRowsIntoTheQueue)
{
    startInBulkMode();
    form->Check7->setChecked(true);
    openPanelWith({bulkRow(1111111111, "Alfa Ltd", "Kalem A", 2, 100, 18),
                   bulkRow(textCell("1111111111"), "Alfa Ltd", "Kalem B", 1, 50, 8),
                   bulkRow(qint64(2222222222), S("Beta AŞ"), "Kalem C", 1, 10, 18),
                   bulkRow(qint64(3333333333), S("Beta AŞ"), "Kalem D", 1, 100, 0),
                   bulkRow(qint64(3333333333), "Gama", "Kalem E", 3, 10, 0)});
    EXPECT_FALSE(form->Frame23->isHidden());
    EXPECT_FALSE(form->Combo4->isEnabled());
    EXPECT_FALSE(form->Check7->isChecked());

    // No grouping chosen yet: said on the panel, which stays open.
    form->Command43->click();
    EXPECT_EQ(form->Label52->text(), S("Bir gruplama türü seçiniz !"));
    EXPECT_FALSE(form->Frame23->isHidden());
    form->prm1->click();
    EXPECT_EQ(form->panelText(7), S("Faturalar VKN'ye göre gruplanacak !"));
    EXPECT_TRUE(form->Label52->text().isEmpty());
    form->Check7->setChecked(true);
    form->Command43->click();

    const QString status = S("Yükleme bekliyor");
    EXPECT_EQ(form->ListView3->topLevelItemCount(), 3);
    EXPECT_EQ(queueRow(0), (QStringList{"1", "   ---    ", "15/03/2024", "1111111111", "VD", "Alfa Ltd", "Adres",
                                        "290,00", "", "2-3", status}));
    EXPECT_EQ(queueRow(1).mid(7), (QStringList{"11,80", "", "4-4", status}));
    EXPECT_EQ(queueRow(2).mid(7), (QStringList{"130,00", "", "5-6", status}));
    EXPECT_EQ(form->ListView3->headerItem()->text(0), "S.No");
    EXPECT_EQ(form->clnCount, "4");

    ASSERT_EQ(dialogs->shown().size(), 2u) << dialogs->texts().join('\n').toStdString();
    EXPECT_TRUE(dialogs->texts()[0].startsWith(S("Dikkat ! 4 ile 5. satırlarda Ünvanlar aynı iken VKN'ler farklı !\r\n")));
    EXPECT_TRUE(dialogs->texts()[1].startsWith(S("Dikkat ! 5 ile 6. satırlarda VKN'ler aynı iken ünvanlar farklı !\r\n")));
    EXPECT_EQ(dialogs->shown()[0].icon, MsgIcon::Critical);

    EXPECT_EQ(form->panelText(7), S("Excel okundu 3 adet Fatura hazırlandı..."));
    EXPECT_TRUE(form->Text28->toPlainText().startsWith(S("Uyarı ! Kuvela v")));
    EXPECT_TRUE(form->Frame23->isHidden());
    EXPECT_FALSE(form->Frame26->isHidden());
    EXPECT_FALSE(form->Command31->isHidden());
    EXPECT_FALSE(form->Command12->isEnabled());
    // The window holds no invoice afterwards.
    EXPECT_EQ(form->ListView1->topLevelItemCount(), 0);
    EXPECT_EQ(form->ListView2->topLevelItemCount(), 0);
    EXPECT_TRUE(form->Text19->text().isEmpty() && form->Text4->text().isEmpty() && form->Text6->toPlainText().isEmpty());
    screenshot(form.get(), "form1_bulk_queue");
}

TEST_F(Form1BulkReadingTest, MessagesComeAtTheirRowAndABadCellLeavesTheInvoiceBeingRead)
{
    startInBulkMode();
    openPanelWith({bulkRow(1111111111, "Alfa Ltd", "Kalem A", 1, 100, 18),
                   bulkRow(1111111111, "Alfa Limited", "Kalem A2", 1, 100, 18),
                   bulkRow(qint64(2222222222), "Beta", "Kalem B", 1, 10, 18),
                   bulkRow(qint64(2222222222), "Beta", "Kalem C", "abc", 10, 18)});
    form->prm1->click();
    form->Check7->setChecked(true);
    new QTreeWidgetItem(form->ListView3, QStringList{"eski"});
    // What the window shows as each box comes: queued rows, buyer, lines.
    QStringList seen;
    dialogs->onShow = [&](const MessageRequest&) {
        seen << QStringLiteral("%1 %2 %3")
                    .arg(form->ListView3->topLevelItemCount())
                    .arg(form->Text19->text())
                    .arg(form->ListView1->topLevelItemCount());
    };
    form->Command43->click();
    dialogs->onShow = nullptr;

    ASSERT_EQ(dialogs->shown().size(), 2u) << dialogs->texts().join('\n').toStdString();
    EXPECT_TRUE(dialogs->texts()[0].startsWith(S("Dikkat ! 2 ile 3. satırlarda VKN'ler aynı iken ünvanlar farklı !")));
    EXPECT_TRUE(dialogs->texts()[1].startsWith(S("Hatalı veri: Excel Satır 5 Sütun 9 "))) << dialogs->texts()[1].toStdString();
    EXPECT_EQ(dialogs->shown()[1].icon, MsgIcon::Exclamation);
    // The warning while the first invoice was read, before any row was queued; the bad
    // cell while the second was read, after the first had been queued.
    EXPECT_EQ(seen, (QStringList{S("0 Alfa Ltd 1"), S("1 Beta 1")}));
    EXPECT_EQ(form->panelText(7), S("Excel dosyası okunurken hatalı veri ile karşılaşıldı. Satır No: 5 Sütun No: 9"));
    ASSERT_EQ(form->ListView3->topLevelItemCount(), 1);
    EXPECT_EQ(queueRow(0)[9], S("2-3"));
    // The window holds the invoice being read: its buyer and the line before the bad one.
    EXPECT_EQ(form->Text19->text(), S("Beta"));
    EXPECT_EQ(form->Text4->text(), S("2222222222"));
    ASSERT_EQ(form->ListView1->topLevelItemCount(), 1);
    EXPECT_TRUE(form->Frame26->isHidden());
    EXPECT_FALSE(form->Text28->toPlainText().startsWith(S("Uyarı")));
}

TEST_F(Form1BulkReadingTest, HeaderChecksKeepThePanelOpen)
{
    startInBulkMode();
    openPanelWith({bulkRow(1111111111, "Alfa Ltd", "Kalem A", 1, 100, 18)});
    form->prm2->click();
    EXPECT_EQ(form->panelText(7), S("Faturalar Ad-Soyad/Ünvan'a göre gruplanacak !"));
    form->Text8->clear();
    form->Command43->click();
    form->Text8->setText("15/03/2024");
    form->Text11->setText("IRS1");
    form->Command43->click();
    EXPECT_EQ(dialogs->texts(), (QStringList{S("Tarih seçimi zorunludur !"),
                                             S("İrsaliye numarası varsa tarihi de girilmelidir!")}));
    EXPECT_EQ(dialogs->shown()[0].icon, MsgIcon::Information);
    EXPECT_FALSE(form->Frame23->isHidden());
    EXPECT_EQ(form->ListView3->topLevelItemCount(), 0);

    // "X" closes the panel.
    form->Command42->click();
    EXPECT_TRUE(form->Frame23->isHidden());
    EXPECT_TRUE(form->panelText(7).isEmpty());
}

} // namespace
} // namespace kuvela::test
