#include "archive/received_list_workbook.h"

namespace kuvela {

const QStringList& ReceivedInvoiceListWorkbook::headers()
{
    static const QStringList h{QStringLiteral("Firma"),          QStringLiteral("Vergi no"),
                               QStringLiteral("Fatura No"),      QStringLiteral("Düzenleme Tarihi"),
                               QStringLiteral("Düzenleme Zamanı"), QStringLiteral("Toplam Tutar"),
                               QStringLiteral("Ödenecek Tutar"), QStringLiteral("Vergiler Toplamı"),
                               QStringLiteral("Para Birimi"),    QStringLiteral("Tesisat Numarası"),
                               QStringLiteral("Gönderim Şekli")};
    return h;
}

ReceivedInvoiceListWorkbook::ReceivedInvoiceListWorkbook() : book_(Workbook::create(QStringLiteral("Sayfa1")))
{
    Sheet& list = book_.sheet(1);
    for (int c = 0; c < headers().size(); ++c)
        list.setString(1, c + 1, headers()[c]);
    list.setBold(QStringLiteral("A1:K1"));
    list.setFontColor(QStringLiteral("A1:K1"), 0);
    list.setFillColor(QStringLiteral("A1:K1"), kHeaderFill);
    book_.addSheet(QStringLiteral("Sayfa2"));
}

void ReceivedInvoiceListWorkbook::addInvoice(const QStringList& cells)
{
    Sheet& list = book_.sheet(1);
    ++listRow_;
    for (int c = 0; c < 11; ++c)
        list.setText(listRow_, c + 1, u'\'' + cells.value(c));
}

void ReceivedInvoiceListWorkbook::addRawRow(const QStringList& cells)
{
    Sheet& raw = book_.sheet(2);
    ++rawRow_;
    for (int c = 0; c < cells.size(); ++c)
        if (!cells[c].isEmpty())
            raw.setString(rawRow_, c + 1, cells[c]);
}

void ReceivedInvoiceListWorkbook::saveAs(const std::filesystem::path& file)
{
    Sheet& list = book_.sheet(1);
    list.autoFit(QStringLiteral("A:K"));
    list.setHAlign(QStringLiteral("D:E"), xlCenter);
    list.setHAlign(QStringLiteral("F:H"), xlRight);
    book_.saveAs(file);
}

} // namespace kuvela
