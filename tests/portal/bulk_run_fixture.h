#pragma once
// A main window with a bulk template written by openpyxl and queued from it, the fake
// portal served for it: the bulk run end to end in real headless chromium.
#include "fixtures/template_fixture.h"
#include "portal/upload_window_fixture.h"

#include <QCheckBox>
#include <QRadioButton>
#include <vector>

namespace kuvela::test {

struct Row {
    QString vkn;
    QString title;
    QString line;
    int qty;
    int price;
};

class BulkRunFixture : public UploadWindowTest {
protected:
    // The template queued by tax number, in automatic mode unless asked otherwise; the
    // type's own columns after the VAT stay empty.
    void queue(const std::vector<Row>& rows, bool confirm = false, int typePosition = 0)
    {
        invoice(typePosition, {QStringLiteral("1111111111"), QStringLiteral("Alfa Ltd")});
        writeRows(rows);
        form->prm1->setChecked(true);
        form->Text29->setText(QStringLiteral("0,05"));
        form->Command43_Click();
        ASSERT_EQ(form->ListView3->topLevelItemCount(), queuedInvoices(rows)) << dialogs->texts().join('\n').toStdString();
        (confirm ? form->Check6 : form->Check4)->setChecked(true);
        ASSERT_TRUE(form->Command31->isEnabled());
        dialogs->clear();
    }

    // The bulk template in the picked workbook; a last title may be put in place of the grid's.
    void writeRows(const std::vector<Row>& rows, const QString& lastTitle = QString())
    {
        const invoice::LineGrid& grid = lineGrid(*form);
        QJsonArray titles{"VKN/TCKN", "Vergi Dairesi", "Ad-Soyad/Ünvan", "Adres", QStringLiteral("Ülke"), "E-Mail"};
        for (int c = 1; c <= grid.columnCount(); ++c)
            titles.append(c == grid.columnCount() && !lastTitle.isEmpty() ? lastTitle : grid.title(c));
        QJsonArray all{titles};
        for (const Row& r : rows)
            all.append(QJsonArray{r.vkn, "VD", r.title, "Adres", QStringLiteral("Türkiye"), "a@b.c", QJsonValue(),
                                  r.line, r.qty, "Adet", r.price, 0, 0, 0, 18, 0});
        const std::filesystem::path file = home / "toplu.xlsx";
        writeTemplate(file, all);
        form->seciliDosya = fromPath(file);
    }

    static int queuedInvoices(const std::vector<Row>& rows)
    {
        int n = 0;
        for (size_t i = 0; i < rows.size(); ++i)
            n += i == 0 || rows[i].vkn != rows[i - 1].vkn;
        return n;
    }

    QStringList statuses() const
    {
        QStringList out;
        for (int i = 0; i < form->ListView3->topLevelItemCount(); ++i)
            out << form->ListView3->topLevelItem(i)->text(10);
        return out;
    }
};

} // namespace kuvela::test
