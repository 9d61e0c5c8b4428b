// The extra-operations panel of the issued invoices: its search over File1 and
// the ticking of the found files.
#include "archive/invoice_file_name.h"
#include "masterdata/form1_window_fixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <fstream>

namespace kuvela {
namespace {

namespace fs = std::filesystem;

class Form1ArchiveSearchTest : public test::WindowTest {
protected:
    // "Çağdaş Gıda" loaded, three invoices filed in its Html folder, that view shown.
    Form1& startOnInvoices()
    {
        home_.writeData(test::standardData());
        Form1& w = start();
        chooseCompany(QStringLiteral("Çağdaş Gıda"));
        const fs::path html = home_ / QStringLiteral("Firmalarım/Çağdaş Gıda/Satış Faturaları/Html");
        const PortalInvoiceRow rows[] = {
            {"GIB2023000000001", "1234567890", "19-04-2023", "ÖRNEK İNŞAAT LTD ŞTİ", "SATIŞ", "", "----------"},
            {"GIB2023000000002", "10000000146", "03-05-2023", "AHMET YILMAZ", "SATIŞ", "", "----------"},
            {"GIB2022000000205", "5555555555", "19-04-2022", "Beta Gıda San", "SATIŞ", "", "----------"},
        };
        for (const PortalInvoiceRow& r : rows) {
            const QString name =
                invoiceFileName(r, FilingWindow::DownloadWindow, QStringLiteral("f_0123456789ABCDEF.zip"), "html");
            names_ << name;
            std::ofstream(html / toPath(name)) << "<html></html>";
        }
        w.Option4->setChecked(true);
        return w;
    }

    void search(const QString& number, const QString& tax, const QString& title, const QString& month,
                const QString& year)
    {
        window_->Text23->setText(number);
        window_->Text24->setText(tax);
        window_->Text27->setText(title);
        window_->Combo7->setEditText(month);
        window_->Combo8->setEditText(year);
        window_->Command34->click();
    }

    QStringList names_;  // in File1's order: 2022 first
};

TEST_F(Form1ArchiveSearchTest, ExtraOperationsOpenTheSearchPanelWhichClearAndCloseEmpty)
{
    Form1& w = startOnInvoices();
    ASSERT_TRUE(w.Command26->isEnabled());
    w.Command26->click();
    w.Command26->click();
    EXPECT_FALSE(w.Frame20->isHidden());
    QStringList months;
    for (int m = 1; m <= 12; ++m)
        months << QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0'));
    EXPECT_EQ(items(w.Combo7), months);
    EXPECT_EQ(w.Combo8->count(), 12);
    EXPECT_EQ(w.Combo8->itemText(0), QStringLiteral("2019"));
    EXPECT_EQ(w.Combo8->itemText(11), QStringLiteral("2030"));
    EXPECT_TRUE(w.Combo7->currentText().isEmpty());
    EXPECT_EQ(w.Label37->text(), w.Label22->text());
    EXPECT_TRUE(w.Command38->isEnabled());

    // "Temizle" empties the fields and the list, the panel stays; "Kapat" closes it.
    search("000001", "1234567890", "örnek", "04", "2023");
    ASSERT_GT(w.List7->count(), 0);
    w.Label18->setText(QStringLiteral("Ek- 2"));

    w.Command35->click();
    for (const QString& t : {w.Text23->text(), w.Text24->text(), w.Text27->text(), w.Combo7->currentText(),
                             w.Combo8->currentText()})
        EXPECT_TRUE(t.isEmpty());
    EXPECT_EQ(w.List7->count(), 0);
    EXPECT_EQ(w.Label32->text(), QStringLiteral("Listelenen 0"));
    EXPECT_TRUE(w.Check2->isHidden());
    EXPECT_FALSE(w.Frame20->isHidden());

    search("", "", "", "04", "");
    w.Command36->click();
    EXPECT_TRUE(w.Frame20->isHidden());
    EXPECT_EQ(w.Label18->text(), QStringLiteral("Ek"));
    EXPECT_EQ(w.List7->count(), 0);
}

TEST_F(Form1ArchiveSearchTest, FindListsTheMatchingNamesAndCountsThem)
{
    Form1& w = startOnInvoices();
    ASSERT_EQ(items(w.File1).size(), 3);
    const QString apr2022 = names_[2], apr2023 = names_[0], may2023 = names_[1];
    struct Case { const char* what; QStringList filter; QStringList listed; };
    const Case cases[] = {
        {"nothing asked", {"", "", "", "", ""}, {}},
        {"whole invoice number", {"GIB2023000000001", "", "", "", ""}, {apr2023}},
        {"end of the number", {"00000002", "", "", "", ""}, {may2023}},
        {"digits in two numbers", {"000002", "", "", "", ""}, {apr2022, may2023}},
        {"April of any year", {"", "", "", "04", ""}, {apr2022, apr2023}},
        {"period with tax number", {"000002", "1234567890", "", "04", "2023"}, {apr2023}},
        {"title in lower case", {"", "", "örnek inşaat", "", ""}, {apr2023}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        search(c.filter[0], c.filter[1], c.filter[2], c.filter[3], c.filter[4]);
        EXPECT_EQ(items(w.List7), c.listed);
        EXPECT_EQ(w.Label32->text(), QStringLiteral("Toplam 3 Listelenen %1").arg(c.listed.size()));
        EXPECT_EQ(!w.Check2->isHidden(), !c.listed.isEmpty());
        EXPECT_TRUE(w.Frame22->isHidden());
        for (int i = 0; i < w.List7->count(); ++i)
            EXPECT_EQ(w.List7->item(i)->checkState(), Qt::Unchecked);
    }
}

TEST_F(Form1ArchiveSearchTest, TickingCountsAndShowsTheActions)
{
    Form1& w = startOnInvoices();
    search("", "", "", "", "2023");
    ASSERT_EQ(w.List7->count(), 2);
    w.List7->item(1)->setCheckState(Qt::Checked);
    EXPECT_EQ(w.Label32->text(), QStringLiteral("Seçilen 1"));
    EXPECT_FALSE(w.Frame22->isHidden());
    w.List7->item(1)->setCheckState(Qt::Unchecked);
    EXPECT_EQ(w.Label32->text(), QStringLiteral("Seçilen 0"));
    EXPECT_TRUE(w.Frame22->isHidden());

    w.Check2->setChecked(true);
    EXPECT_EQ(w.Label32->text(), QStringLiteral("Seçilen 2"));
    EXPECT_FALSE(w.Frame22->isHidden());
    w.Check2->setChecked(false);
    EXPECT_EQ(w.Label32->text(), QStringLiteral("Seçilen 0"));
    EXPECT_TRUE(w.Frame22->isHidden());
    EXPECT_EQ(w.List7->item(0)->checkState(), Qt::Unchecked);

    // A new search starts with nothing ticked.
    w.Check2->setChecked(true);
    search("", "", "", "04", "");
    EXPECT_FALSE(w.Check2->isChecked());
    EXPECT_EQ(w.Label32->text(), QStringLiteral("Toplam 3 Listelenen 2"));
}

} // namespace
} // namespace kuvela
