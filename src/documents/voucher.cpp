#include "documents/voucher.h"

#include "common/regional.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>

namespace kuvela::documents {

namespace {

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

namespace {

// A page amount ("2.244,00 TL"): its number and what follows it, so that an amount the
// voucher works out reads like the page's own.
struct PageAmount {
    Decimal value;
    QString suffix;
};

std::optional<PageAmount> pageAmount(const QString& text)
{
    qsizetype end = 0;
    while (end < text.size() && (text[end].isDigit() || QStringView(u" .,-+").contains(text[end])))
        ++end;
    while (end > 0 && text[end - 1] == u' ')
        --end;
    const std::optional<Decimal> value = regionalConvert(text.left(end));
    if (!value)
        return std::nullopt;
    return PageAmount{*value, text.mid(end)};
}

QString amountText(const Decimal& value, const QString& suffix)
{
    return formatAmount(value) + suffix;
}

bool isVatAccount(const QString& account)
{
    return account.startsWith(QStringLiteral("391."));
}

// The seller did not collect the withheld VAT: it comes off the VAT lines, the highest
// rate first, and the lowest rate takes what is left.
void takeWithholding(std::vector<std::pair<QString, QString>>& sales, Decimal withheld)
{
    for (auto line = sales.rbegin(); line != sales.rend() && !withheld.isZero(); ++line) {
        if (!isVatAccount(line->first))
            continue;
        const std::optional<PageAmount> vat = pageAmount(line->second);
        if (!vat)
            continue;
        const bool lowest = std::none_of(std::next(line), sales.rend(), [](const auto& l) { return isVatAccount(l.first); });
        const Decimal taken = lowest ? withheld : std::min(withheld, vat->value);
        line->second = amountText(vat->value - taken, vat->suffix);
        withheld -= taken;
    }
}

// A totals row: its label and its amount as the page shows them.
using TotalsRow = std::pair<QString, QString>;

// The rows the key table does not know that carry an amount: one named as a VAT is a
// VAT no account takes; the others are other taxes, booked together on 360.00.
struct UnknownRows {
    std::optional<PageAmount> otherTaxes;
    QStringList vat;
};

UnknownRows unknownRows(const std::vector<TotalsRow>& rows)
{
    UnknownRows unknown;
    for (const auto& [label, text] : rows) {
        const std::optional<PageAmount> a = pageAmount(text);
        if (totalsKey(label) != QStringLiteral("unknownName") || !a || a->value.isZero())
            continue;
        if (label.startsWith(QStringLiteral("Hesaplanan KDV")))
            unknown.vat << label;
        else if (unknown.otherTaxes)
            unknown.otherTaxes->value += a->value;
        else
            unknown.otherTaxes = a;
    }
    return unknown;
}

// Debits are what the buyer owes and the discount given; credits the sales, the VAT
// charged less what the buyer withholds, and the other taxes.
void bookDiscountAndTaxes(VoucherInvoice& v, const std::map<QString, QString>& amounts, const UnknownRows& unknown)
{
    const auto found = amounts.find(QStringLiteral("ti"));
    if (found != amounts.end())
        if (const std::optional<PageAmount> discount = pageAmount(found->second); discount && !discount->value.isZero())
            v.discount = found->second;
    Decimal withheld;
    for (const auto& [key, text] : amounts)
        if (const auto a = pageAmount(text); a && key.startsWith(QStringLiteral("hKdvt")))
            withheld += a->value;
    takeWithholding(v.sales, withheld);
    if (unknown.otherTaxes)
        v.sales.emplace_back(QStringLiteral("360.00"), amountText(unknown.otherTaxes->value, unknown.otherTaxes->suffix));
}

const QString kMark = QStringLiteral("Borç ve alacak tutmuyor");

// The mark of a block whose debits and credits differ; an amount the page left empty or
// unreadable books nothing.
QString imbalanceOf(const VoucherInvoice& v)
{
    Decimal gap;
    QString suffix = QStringLiteral(" TL");
    const auto book = [&](const QString& text, bool debit) {
        if (const std::optional<PageAmount> a = pageAmount(text)) {
            gap += debit ? a->value : -a->value;
            suffix = a->suffix;
        }
    };
    book(v.payable, true);
    book(v.discount, true);
    for (const auto& line : v.sales)
        book(line.second, false);
    if (gap.isZero())
        return {};
    return kMark + QStringLiteral(", fark: ") + amountText(gap.abs(), suffix);
}

// The currency of an amount is what follows its number, blanks dropped ("TL", "USD").
bool oneCurrency(const std::vector<TotalsRow>& rows)
{
    std::optional<QString> currency;
    for (const TotalsRow& row : rows)
        if (const std::optional<PageAmount> a = pageAmount(row.second)) {
            if (currency && *currency != a->suffix.trimmed())
                return false;
            currency = a->suffix.trimmed();
        }
    return true;
}

// The lines that say why the block cannot stand. A difference is told only between
// amounts that were all read and are in one currency.
QStringList marksOf(const VoucherInvoice& v, const std::vector<TotalsRow>& rows,
                    const std::map<QString, QString>& amounts, const UnknownRows& unknown)
{
    if (rows.empty())
        return {kMark + QStringLiteral(": toplamlar tablosu okunamadı.")};
    QStringList marks;
    for (const auto& [key, label] : {std::pair{"ot", "Ödenecek Tutar"}, std::pair{"mhtt", "Mal Hizmet Toplam Tutarı"}})
        if (const auto found = amounts.find(QString::fromLatin1(key)); found == amounts.end() || !pageAmount(found->second))
            marks << kMark + QStringLiteral(": ") + QString::fromUtf8(label) + QStringLiteral(" okunamadı.");
    if (!oneCurrency(rows))
        marks << kMark + QStringLiteral(": tutarlar birden çok para biriminde.");
    const bool comparable = marks.isEmpty();
    for (const QString& label : unknown.vat)
        marks << kMark + QStringLiteral(": ") + label + QStringLiteral(" satırı hesaba bağlanamadı.");
    if (const QString gap = imbalanceOf(v); comparable && !gap.isEmpty())
        marks << gap;
    return marks;
}

} // namespace

VoucherInvoice voucherInvoice(const std::vector<HtmlTable>& headerTables, const std::vector<HtmlTable>& totalsTables,
                              bool gib)
{
    VoucherInvoice v;
    v.type = headerValue(headerTables, QStringLiteral("Fatura Tipi:"));
    v.number = headerValue(headerTables, QStringLiteral("Fatura No:"));
    v.date = headerValue(headerTables, QStringLiteral("Fatura Tarihi:"));

    std::vector<TotalsRow> rows;
    const int labelCell = totalsLabelCell(gib), amountCell = totalsAmountCell(gib);
    for (const HtmlTable& table : totalsTables)
        for (const QStringList& row : table)
            if (row.size() > amountCell)
                rows.emplace_back(row[labelCell], row[amountCell]);
    std::map<QString, QString> amounts;  // by key; a later row of the same key wins
    for (const auto& [label, text] : rows)
        amounts[totalsKey(label)] = text;
    for (const Booking& b : kBookings) {
        const auto found = amounts.find(QString::fromLatin1(b.key));
        if (found == amounts.end())
            continue;
        if (b.salesLine == 0)
            v.payable = found->second;
        else
            v.sales.emplace_back(QString::fromLatin1(b.account), found->second);
    }
    const UnknownRows unknown = unknownRows(rows);
    bookDiscountAndTaxes(v, amounts, unknown);
    v.marks = marksOf(v, rows, amounts, unknown);
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
    if (!invoice.discount.isEmpty())
        text += u' ' + QStringLiteral("611.00") + blanks(37) + invoice.discount + CRLF;
    for (const auto& [account, amount] : invoice.sales)
        text += blanks(4) + u'\t' + account + blanks(52) + amount + CRLF;
    text += u' ' + invoice.number + QStringLiteral(" nolu ") + invoice.type + QStringLiteral(" faturası") + CRLF;
    for (const QString& mark : invoice.marks)
        text += u' ' + mark + CRLF;
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

QString voucherRunNote(int skippedFiles, int unreadableFiles, const QStringList& notSales,
                       const QStringList& unbalanced)
{
    QString note = passedOverNote(skippedFiles, unreadableFiles);
    if (!notSales.isEmpty())
        note += QStringLiteral(" Satış olmayan faturalar: ") + notSales.join(QStringLiteral(", "));
    if (!unbalanced.isEmpty())
        note += QStringLiteral(" Borç ve alacağı tutmayan faturalar: ") + unbalanced.join(QStringLiteral(", "));
    return note;
}

} // namespace kuvela::documents
