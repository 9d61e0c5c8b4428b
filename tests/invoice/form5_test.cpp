// The extra-tax dialog on a main window: the workbook's taxes, pairs added and
// removed on invoices of several types with every cell kept under its header.
#include "editor_window_fixture.h"
#include "invoice/form5.h"
#include "platform/paths.h"
#include "shell/twips.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QStyle>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace kuvela {
namespace {

using invoice::TaxColumnPair;

const QStringList kBase = {"s", "Mal Hizmet Türü", "Miktar", "Birim", "Birim Fiyat", "İsk%", "İsk.Tutarı",
                           "Mal/Hiz.Tutarı", "KDV%", "KDV Tutarı"};
const QStringList kBsmv = {"V0021-BSMV%", "BSMV Tutarı"};
const QStringList kKkdf = {"V0059-KKDF%", "KKDF Tutarı"};
const QStringList kBorsa = {"V8001-BORSA TESCİL%", "BORSA TESCİL Tutarı"};

QStringList items(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void pick(QListWidget* list, const QString& entry)
{
    const auto found = list->findItems(entry, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << entry.toStdString();
    list->setCurrentItem(found.first());
}

std::map<QString, QString> zip(const QStringList& titles, const QStringList& cells)
{
    std::map<QString, QString> m;
    for (int i = 0; i < titles.size(); ++i)
        m[titles[i]] = i < cells.size() ? cells[i] : QString();
    return m;
}

class Form5Test : public test::EditorWindowTest {
protected:
    Form5& dialog()
    {
        form->Command8_Click();
        return form5(*form);
    }
    void add(Form5& d, const QString& entry)
    {
        pick(d.List1, entry);
        d.List1_DblClick();
    }
    void remove(Form5& d, const QString& entry)
    {
        pick(d.List2, entry);
        d.Command2->click();
    }
    QByteArray dataHash() const
    {
        QFile f(fromPath(home / QStringLiteral("Data/DATA.xlsx")));
        return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
    }
    // A grid column's width: its layout's, or the width its title needs where that is more.
    int laidOut(int column, int twips) const
    {
        return std::max(twipsToPixels(twips), form->ListView1->header()->sectionSizeHint(column));
    }
    QString totalsText() const
    {
        QStringList all;
        for (int i = 0; i < form->ListView2->topLevelItemCount(); ++i)
            for (int c = 0; c < form->ListView2->columnCount(); ++c)
                all << form->ListView2->topLevelItem(i)->text(c);
        return all.join(u'|');
    }
};

TEST_F(Form5Test, ListsTheWorkbookTaxesOnceAndLeavesTheWorkbookAsItWas)
{
    start();
    const QByteArray before = dataHash();
    Form5& d = dialog();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.windowTitle(), "Kuvela-Vergi Ekle/Çıkar");
    EXPECT_TRUE(d.Label1->text().startsWith(u' '));
    EXPECT_EQ(d.Label1->text().trimmed(), "VERGİ EKLE / ÇIKAR");
    EXPECT_EQ(d.Label2->text(), "EKLENEBİLİR VERGİLER");
    EXPECT_EQ(d.Label3->text(), "EKLENEN VERGİLER");
    EXPECT_EQ(d.List1->toolTip(), "Eklemek için çift tıklayın...");
    EXPECT_EQ(d.List2->toolTip(), "Çıkarmak için çift tıklayın...");
    EXPECT_EQ(items(d.List1), (QStringList{"V0021-BSMV", "V0059-KKDF", "V8001-BORSA TESCİL", "V0071-ÖTV 1.LİSTE"}));
    EXPECT_TRUE(d.panelText(2).isEmpty());
    EXPECT_EQ(dataHash(), before);
    screenshot(&d, QStringLiteral("form5"));

    // A second press shows the same dialog as it stands.
    add(d, "V0021-BSMV");
    EXPECT_EQ(&dialog(), &d);
    EXPECT_EQ(items(d.List2), QStringList{"V0021-BSMV"});
    EXPECT_EQ(form->findChildren<Form5*>().size(), 1);

    // Without the workbook the next opening says why its list is empty.
    d.close();
    QFile::remove(fromPath(home / QStringLiteral("Data/DATA.xlsx")));
    dialog();
    EXPECT_TRUE(items(d.List1).isEmpty());
    EXPECT_TRUE(d.panelText(2).contains("DATA.xlsx")) << d.panelText(2).toStdString();
    EXPECT_TRUE(dialogs->shown().empty());

    // A long tax name, as the real list holds, is shown whole in both lists.
    std::vector<test::SheetSpec> data = test::editorData();
    for (test::SheetSpec& sheet : data)
        for (auto& [cell, value] : sheet.cells)
            if (sheet.name == QStringLiteral("kodDATA") && cell == QStringLiteral("F4"))
                value = QStringLiteral("5035 Sayılı Kanuna Göre Özel İletişim Vergisi");
    home.writeData(data);
    d.close();
    dialog();
    add(d, "V8001-5035 Sayılı Kanuna Göre Özel İletişim Vergisi");
    QApplication::processEvents();
    for (QListWidget* list : {d.List1, d.List2}) {
        const int margins = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1);
        for (const QString& entry : items(list))
            EXPECT_GE(list->viewport()->width(), list->fontMetrics().horizontalAdvance(entry) + margins)
                << entry.toStdString();
    }
    EXPECT_EQ(items(d.List2), QStringList{"V8001-5035 Sayılı Kanuna Göre Özel İletişim Vergisi"});
}

// An invoice type, its two lines' type cells, and the grand total after each step.
struct TaxCase {
    const char* name;
    int position;
    QStringList typeTitles;
    QStringList line1, line2;  // base and type cells
    QString afterLine1, afterLine2, afterKkdfOut, afterBsmvOut;
};

const QStringList kLine1 = {"1", "Ürün A", "2", "Adet", "100,00", "10", "20,00", "180,00", "18", "32,40"};
const QStringList kLine2 = {"2", "Ürün B", "1", "Adet", "100,00", "0", "0,00", "100,00", "18", "18,00"};
const QStringList kExempt1 = {"1", "Hizmet A", "3", "Adet", "50,00", "0", "0,00", "150,00", "0", "0,00", "8471"};
const QStringList kExempt2 = {"2", "Hizmet B", "1", "Adet", "100,00", "0", "0,00", "100,00", "0", "0,00", "8472"};

// Line 2 carries BSMV 5, KKDF 1 and BORSA 2 on its net 100: the taxes add 8, 7 without KKDF, 2 at the end.
const TaxCase kTaxCases[] = {
    {"Satis", 0, {}, kLine1, kLine2, "212,4", "338,4", "337,4", "332,4"},
    {"Tevkifat", 2, {"Tevkifat Kodu", "Tevkifat Oranı", "Tevkifat Tutarı"},
     QStringList(kLine1) << "624 Yük Taşımacılığı % 90" << "90" << "29,16",
     QStringList(kLine2) << "624 Yük Taşımacılığı % 90" << "90" << "16,20", "212,40", "338,40", "337,40", "332,40"},
    {"Istisna", 3, {"GTİP"}, kExempt1, kExempt2, "150,00", "258,00", "257,00", "252,00"},
};

void PrintTo(const TaxCase& c, std::ostream* os) { *os << c.name; }

class Form5Types : public Form5Test, public ::testing::WithParamInterface<TaxCase> {};

TEST_P(Form5Types, PairsComeAndGoWithTheirCellsAndTheTotalsFollow)
{
    const TaxCase& c = GetParam();
    start();
    invoiceOf(c.position, {c.line1});
    ASSERT_EQ(form->checkTotal->text(), c.afterLine1);
    const QStringList layout = kBase + c.typeTitles;
    ASSERT_EQ(headers(), layout);

    Form5& d = dialog();
    add(d, "V0021-BSMV");
    EXPECT_EQ(d.panelText(2), "Vergi eklendi...");
    add(d, "V0059-KKDF");
    EXPECT_EQ(headers(), layout + kBsmv + kKkdf);
    EXPECT_EQ(items(d.List3), headers());
    EXPECT_EQ(items(d.List2), (QStringList{"V0021-BSMV", "V0059-KKDF"}));
    EXPECT_EQ(items(d.List1), (QStringList{"V8001-BORSA TESCİL", "V0071-ÖTV 1.LİSTE"}));
    EXPECT_FALSE(form->Combo1->isEnabled());
    // A fresh pair: the rate centred at 1300 twips, the amount right-aligned at 900 (or its title's width).
    const int rate = int(layout.size());
    EXPECT_EQ(form->ListView1->headerItem()->textAlignment(rate) & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(form->ListView1->header()->sectionSize(rate), laidOut(rate, 1300));
    EXPECT_EQ(form->ListView1->headerItem()->textAlignment(rate + 1) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(form->ListView1->header()->sectionSize(rate + 1), laidOut(rate + 1, 900));
    // The line already there keeps its cells and has none under the new pairs; no total moved.
    EXPECT_EQ(lineCells(0), zip(headers(), c.line1));
    EXPECT_EQ(form->checkTotal->text(), c.afterLine1);

    // Meanwhile the line dialog makes a pair of its own and adds a line using all three.
    invoice::LineGrid& grid = lineGrid(*form);
    grid.addTaxPair(TaxColumnPair::forItem("V8001-BORSA TESCİL%"));
    grid.appendRow(QStringList(c.line2) << "5,00" << "5,00" << "1,00" << "1,00" << "2,00" << "2,00");
    showLineGrid(*form);
    form->yekunal();
    ASSERT_EQ(form->checkTotal->text(), c.afterLine2);
    EXPECT_TRUE(totalsText().contains("V0059-KKDF Toplamı :")) << totalsText().toStdString();

    remove(d, "V0059-KKDF");
    EXPECT_EQ(d.panelText(2), "Eklenen Vergi çıkarıldı...");
    EXPECT_EQ(headers(), layout + kBsmv + kBorsa);
    EXPECT_EQ(items(d.List3), headers());
    EXPECT_EQ(lineCells(1), zip(headers(), QStringList(c.line2) << "5,00" << "5,00" << "2,00" << "2,00"));
    EXPECT_EQ(lineCells(0), zip(headers(), QStringList(c.line1) << "0" << "0,00" << "0" << "0,00"));
    EXPECT_EQ(form->checkTotal->text(), c.afterKkdfOut);
    EXPECT_FALSE(totalsText().contains("KKDF")) << totalsText().toStdString();
    EXPECT_TRUE(totalsText().contains("V8001-BORSA TESCİL Toplamı :"));
    // Back at the end of the list, not at its old place.
    EXPECT_EQ(items(d.List1), (QStringList{"V8001-BORSA TESCİL", "V0071-ÖTV 1.LİSTE", "V0059-KKDF"}));
    EXPECT_EQ(items(d.List2), QStringList{"V0021-BSMV"});
    // The header row is rebuilt by position: every column from 11 on right-aligned.
    EXPECT_EQ(form->ListView1->headerItem()->textAlignment(rate) & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(form->ListView1->header()->sectionSize(11), laidOut(11, 1350));
    EXPECT_EQ(form->ListView1->header()->sectionSize(12), laidOut(12, 1400));
    EXPECT_EQ(form->ListView1->header()->sectionSize(13), laidOut(13, 1300));

    remove(d, "V0021-BSMV");
    EXPECT_EQ(headers(), layout + kBorsa);
    EXPECT_EQ(lineCells(1), zip(headers(), QStringList(c.line2) << "2,00" << "2,00"));
    EXPECT_EQ(lineCells(0), zip(headers(), QStringList(c.line1) << "0" << "0,00"));
    EXPECT_EQ(form->checkTotal->text(), c.afterBsmvOut);
    EXPECT_TRUE(items(d.List2).isEmpty());

    // The invoice type is free again once the dialog closes.
    EXPECT_FALSE(form->Combo1->isEnabled());
    d.close();
    EXPECT_TRUE(form->Combo1->isEnabled());
    EXPECT_TRUE(items(d.List1).isEmpty());
    EXPECT_TRUE(dialogs->shown().empty()) << dialogs->texts().join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Invoices, Form5Types, ::testing::ValuesIn(kTaxCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Form5Test, ATaxAlreadyInTheGridIsRefused)
{
    start();
    invoiceOf(0, {kLine1});
    Form5& d = dialog();
    add(d, "V0021-BSMV");
    d.close();

    // A later opening lists it again, but the grid has its pair.
    dialog();
    EXPECT_TRUE(items(d.List1).contains("V0021-BSMV"));
    const QStringList before = headers();
    add(d, "V0021-BSMV");
    ASSERT_EQ(dialogs->shown().size(), 1u);
    EXPECT_EQ(dialogs->shown().front().text, "Bu vergi daha önce eklenmiş !");
    EXPECT_EQ(dialogs->shown().front().buttons, MsgButtons::Ok);
    EXPECT_EQ(headers(), before);
    EXPECT_TRUE(items(d.List2).isEmpty());
    EXPECT_TRUE(items(d.List1).contains("V0021-BSMV"));
    EXPECT_TRUE(items(d.List3).isEmpty());
    EXPECT_FALSE(form->Combo1->isEnabled());

    // So is one the line dialog made.
    lineGrid(*form).addTaxPair(TaxColumnPair::forItem("V8001-BORSA TESCİL%"));
    showLineGrid(*form);
    add(d, "V8001-BORSA TESCİL");
    EXPECT_EQ(dialogs->texts(), (QStringList{"Bu vergi daha önce eklenmiş !", "Bu vergi daha önce eklenmiş !"}));
    EXPECT_EQ(headers(), before + kBorsa);
    d.close();
    EXPECT_TRUE(form->Combo1->isEnabled());
}

TEST_F(Form5Test, RemovingAPairAlreadyGoneSaysNothingWasRemoved)
{
    start();
    invoiceOf(0, {kLine1});
    Form5& d = dialog();
    add(d, "V0021-BSMV");
    add(d, "V0059-KKDF");
    ASSERT_EQ(headers(), kBase + kBsmv + kKkdf);
    // Another road rebuilt the grid without the first pair meanwhile.
    ASSERT_TRUE(lineGrid(*form).removeTaxPair("V0021-BSMV%"));
    showLineGrid(*form);

    remove(d, "V0021-BSMV");
    EXPECT_NE(d.panelText(2), "Eklenen Vergi çıkarıldı...");
    EXPECT_EQ(headers(), kBase + kKkdf);
    EXPECT_EQ(items(d.List2), QStringList{"V0059-KKDF"});
    EXPECT_TRUE(items(d.List1).contains("V0021-BSMV"));
    remove(d, "V0059-KKDF");
    EXPECT_EQ(d.panelText(2), "Eklenen Vergi çıkarıldı...");
    EXPECT_EQ(headers(), kBase);
}

TEST_F(Form5Test, ButtonsWithNothingSelectedOnlyHint)
{
    start();
    invoiceOf(0, {kLine1});
    Form5& d = dialog();
    d.List1->clearSelection();
    d.Command1->click();
    EXPECT_EQ(d.panelText(2), "Eklemek için Vergi seçin...");
    d.Command2->click();
    EXPECT_EQ(d.panelText(2), "Çıkarmak için Vergi seçin...");
    EXPECT_EQ(headers(), kBase);
    EXPECT_TRUE(form->Combo1->isEnabled());

    pick(d.List1, "V0059-KKDF");
    emit d.List1->itemClicked(d.List1->currentItem());
    EXPECT_EQ(d.panelText(2), "Vergi seçildi...");
    d.Command1->click();
    EXPECT_EQ(headers(), kBase + kKkdf);
    // The added entry left List1, so nothing is selected there any more.
    d.Command1->click();
    EXPECT_EQ(d.panelText(2), "Eklemek için Vergi seçin...");
    EXPECT_EQ(headers(), kBase + kKkdf);
}

} // namespace
} // namespace kuvela
