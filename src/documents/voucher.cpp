#include "documents/voucher.h"

#include <array>
#include <optional>

namespace kuvela::documents {

namespace {

constexpr int kTableLines = 20;
const QString CRLF = QStringLiteral("\r\n");

QString dashes(int n) { return QString(n, u'-'); }
QString blanks(int n) { return QString(n, u' '); }

// Booked keys: the account and its line in the sales table (0 is the receivable).
struct Booking {
    const char* key;
    const char* account;
    int salesLine;  // 1-based; 0: receivable line 1
};
// The sales lines come in rate order.
constexpr std::array<Booking, 7> kBookings{{
    {"ot", "120.00", 0},
    {"mhtt", "600.00", 1},
    {"hKdv01", "391.01", 2},
    {"hKdv08", "391.08", 3},
    {"hKdv10", "391.10", 4},
    {"hKdv18", "391.18", 5},
    {"hKdv20", "391.20", 6},
}};

} // namespace

QString totalsKey(const QString& label)
{
    static const std::vector<std::pair<QString, QString>> keys = {
        {QStringLiteral("Mal Hizmet Toplam Tutarı"), QStringLiteral("mhtt")},
        {QStringLiteral("Toplam İskonto"), QStringLiteral("ti")},
        {QStringLiteral("Hesaplanan KDV(%1)"), QStringLiteral("hKdv01")},
        {QStringLiteral("Hesaplanan KDV(%8)"), QStringLiteral("hKdv08")},
        {QStringLiteral("Hesaplanan KDV(%10)"), QStringLiteral("hKdv10")},
        {QStringLiteral("Hesaplanan KDV(%18)"), QStringLiteral("hKdv18")},
        {QStringLiteral("Hesaplanan KDV(%20)"), QStringLiteral("hKdv20")},
        {QStringLiteral("Hesaplanan KDV Tevkifat(%20)"), QStringLiteral("hKdvt20")},
        {QStringLiteral("Hesaplanan KDV Tevkifat(%30)"), QStringLiteral("hKdvt30")},
        {QStringLiteral("Hesaplanan KDV Tevkifat(%40)"), QStringLiteral("hKdvt40")},
        {QStringLiteral("Hesaplanan KDV Tevkifat(%50)"), QStringLiteral("hKdvt50")},
        {QStringLiteral("Hesaplanan KDV Tevkifat(%70)"), QStringLiteral("hKdvt70")},
        {QStringLiteral("Hesaplanan KDV Tevkifat(%90)"), QStringLiteral("hKdvt90")},
        {QStringLiteral("Hesaplanan KDV Tevkifat(%100)"), QStringLiteral("hKdvt100")},
        {QStringLiteral("Tevkifata Tabi İşlem Tutarı"), QStringLiteral("ttit")},
        {QStringLiteral("Tevkifata Tabi İşlem Üzerinden Hes. KDV"), QStringLiteral("ttiuhKdv")},
        {QStringLiteral("Vergiler Dahil Toplam Tutar"), QStringLiteral("vdtt")},
        {QStringLiteral("KDV Dahil Toplam Tutar"), QStringLiteral("vdtt")},
        {QStringLiteral("Ödenecek Tutar"), QStringLiteral("ot")},
    };
    for (const auto& [text, key] : keys)
        if (label == text)
            return key;
    return QStringLiteral("unknownName");
}

VoucherInvoice voucherInvoice(const std::vector<HtmlTable>& headerTables, const std::vector<HtmlTable>& totalsTables,
                              bool gib)
{
    VoucherInvoice v;
    v.type = headerValue(headerTables, QStringLiteral("Fatura Tipi:"));
    v.number = headerValue(headerTables, QStringLiteral("Fatura No:"));
    v.date = headerValue(headerTables, QStringLiteral("Fatura Tarihi:"));

    std::array<std::optional<QString>, kTableLines + 1> sales;  // [0] unused
    const int labelCell = totalsLabelCell(gib), amountCell = totalsAmountCell(gib);
    for (const HtmlTable& table : totalsTables)
        for (const QStringList& row : table) {
            if (row.size() <= amountCell)
                continue;
            const QString key = totalsKey(row[labelCell]);
            for (const Booking& b : kBookings)
                if (key == QLatin1String(b.key)) {
                    if (b.salesLine == 0)
                        v.payable = row[amountCell];
                    else
                        sales[size_t(b.salesLine)] = row[amountCell];
                }
        }
    for (const Booking& b : kBookings)
        if (b.salesLine > 0 && sales[size_t(b.salesLine)])
            v.sales.emplace_back(QString::fromLatin1(b.account), *sales[size_t(b.salesLine)]);
    return v;
}

QString voucherBlock(const VoucherInvoice& invoice)
{
    QString date = invoice.date.left(10);
    for (int i = 0; i < 2; ++i) {
        const qsizetype dash = date.indexOf(u'-');
        if (dash >= 0)
            date[dash] = u'/';
    }
    QString text = u' ' + dashes(35) + date + dashes(31) + CRLF;
    text += u' ' + QStringLiteral("120.00") + blanks(37) + invoice.payable + CRLF;
    for (const auto& [account, amount] : invoice.sales)
        text += blanks(4) + u'\t' + account + blanks(52) + amount + CRLF;
    text += u' ' + invoice.number + QStringLiteral(" nolu ") + invoice.type + QStringLiteral(" faturası") + CRLF;
    return text;
}

QString voucherClosingRuler()
{
    return u' ' + dashes(40) + QStringLiteral(" / ") + dashes(39);
}

QString relationMessage(InvoiceRelation relation, const QString& companyName)
{
    switch (relation) {
    case InvoiceRelation::Sale:
        return QStringLiteral("Seçilen fatura SATIŞ Faturasıdır.");
    case InvoiceRelation::Purchase:
        return QStringLiteral("Seçilen fatura ALIŞ Faturasıdır");
    case InvoiceRelation::Unrelated:
        break;
    }
    return QStringLiteral("Seçilen faturanın ") + companyName + QStringLiteral(" ile ilgisi yoktur.");
}

QString voucherRunNote(int skippedFiles, int unreadableFiles, const QStringList& notSales)
{
    QString note = passedOverNote(skippedFiles, unreadableFiles);
    if (!notSales.isEmpty())
        note += QStringLiteral(" Satış olmayan faturalar: ") + notSales.join(QStringLiteral(", "));
    return note;
}

} // namespace kuvela::documents
