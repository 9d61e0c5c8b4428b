#include "documents/invoice_html.h"

#include "common/regional.h"

#include <QUrl>
#include <stdexcept>

namespace kuvela::documents {

namespace {

const QString kReasonLabel = QStringLiteral("Tevkifat Sebebi:");
const QString kReasonEnd = QStringLiteral(")]");

// Digits with "," as the decimal sign; every "." and every other character dropped.
QString digitsWithComma(const QString& text)
{
    QString out;
    for (const QChar c : text)
        if ((c >= u'0' && c <= u'9') || c == u',')
            out += c;
    return out.replace(u',', u'.');
}

QString commaText(std::string plain)
{
    return QString::fromStdString(plain).replace(u'.', u',');
}

} // namespace

QString localFileAddress(const QString& path)
{
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
}

bool isHtmlFileName(const QString& name)
{
    return name.endsWith(u".html", Qt::CaseInsensitive) || name.endsWith(u".htm", Qt::CaseInsensitive);
}

QString passedOverNote(int skippedFiles, int unreadableFiles)
{
    QString note;
    if (skippedFiles > 0)
        note += QStringLiteral(" (%1 HTML olmayan dosya atlandı)").arg(skippedFiles);
    if (unreadableFiles > 0)
        note += QStringLiteral(" (%1 dosya okunamadı)").arg(unreadableFiles);
    return note;
}

bool isGibNumber(const QString& number)
{
    return number.startsWith(u"GIB", Qt::CaseSensitive);
}

QString sellerTableXPath(bool gib)
{
    return gib ? QStringLiteral("//*[@id='mainbody']/table[1]/tbody/tr[1]/td[1]/table")
               : QStringLiteral("/html/body/table[1]/tbody/tr[1]/td[1]/table");
}

QString totalsTableXPath(bool gib)
{
    return gib ? QStringLiteral("//*[@id='budgetContainerTable']/tbody/tr/td/table")
               : QStringLiteral("/html/body/table[4]/tbody/tr/td[2]/table");
}

int totalsLabelCell(bool gib) { return gib ? 1 : 0; }
int totalsAmountCell(bool gib) { return gib ? 2 : 1; }

const QStringList& lineTableHeaders()
{
    static const QStringList headers = {
        QStringLiteral("Sıra No"),     QStringLiteral("Mal Hizmet"),
        QStringLiteral("Miktar"),      QStringLiteral("Birim Fiyat"),
        QStringLiteral("İskonto/ Arttırım Oranı"), QStringLiteral("İskonto/ Arttırım Tutarı"),
        QStringLiteral("İskonto/ Arttırım Nedeni"), QStringLiteral("KDV Oranı"),
        QStringLiteral("KDV Tutarı"),  QStringLiteral("Diğer Vergiler"),
        QStringLiteral("Mal Hizmet Tutarı"), QStringLiteral("GTİP")};
    return headers;
}

QStringList headerMismatches(const QStringList& headerRow)
{
    QStringList messages;
    const QStringList& wanted = lineTableHeaders();
    for (int i = 0; i < headerRow.size(); ++i)
        if (i >= wanted.size() || headerRow[i] != wanted[i])
            messages << QStringLiteral("Sütun %1 başlık(header)uyuşmazlığı tespit edildi!").arg(i + 1);
    return messages;
}

bool isClosingRow(const QStringList& row)
{
    // The portal's "&nbsp;" reads as a blank, a plain blank is trimmed away by the read.
    return !row.isEmpty() && row.first().trimmed().isEmpty();
}

Decimal leadingValue(const QString& text)
{
    // Sign, digits with one point, then an exponent when digits follow its "e".
    std::string plain;
    int exponentAt = -1;
    bool point = false, digit = false;
    for (const QChar c : text) {
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r')
            continue;
        const char16_t u = c.unicode();
        const bool isDigit = u >= u'0' && u <= u'9';
        if (plain.empty() && (u == u'-' || u == u'+'))
            plain += char(u);
        else if (isDigit)
            plain += char(u), digit = digit || exponentAt < 0;
        else if (u == u'.' && !point && exponentAt < 0)
            plain += '.', point = true;
        else if ((u == u'e' || u == u'E') && digit && exponentAt < 0)
            exponentAt = int(plain.size()), plain += 'e';
        else if ((u == u'-' || u == u'+') && exponentAt >= 0 && int(plain.size()) == exponentAt + 1)
            plain += char(u);
        else
            break;
    }
    if (!digit)
        return {};
    if (exponentAt >= 0 && (plain.back() < '0' || plain.back() > '9'))
        plain.resize(size_t(exponentAt));  // an "e" without digits is no exponent
    const std::optional<Decimal> value = Decimal::parse(plain);
    if (value)
        return *value;
    // Only a number too far from zero is refused: tiny ones read 0, big ones cannot be held.
    if (exponentAt >= 0 && plain[size_t(exponentAt) + 1] == '-')
        return {};
    throw std::overflow_error("document cell number out of range");
}

QuantityCell cleanQuantity(const QString& cell)
{
    // The quantity stands before the first blank, its grouping points dropped.
    const qsizetype blank = cell.indexOf(u' ');
    QuantityCell out;
    QString number = blank < 0 ? cell : cell.left(blank);
    out.quantity = leadingValue(number.remove(u'.').replace(u',', u'.'));
    if (blank >= 0)
        out.unit = cell.mid(blank + 1).trimmed();
    return out;
}

Decimal cleanDiscountAmount(const QString& cell)
{
    return cleanQuantity(cell).quantity;
}

Decimal cleanAmount(const QString& cell)
{
    return leadingValue(digitsWithComma(cell));
}

Decimal cleanRate(const QString& cell)
{
    return leadingValue(QString(cell).remove(u'%').replace(u',', u'.'));
}

QString cleanVatAmount(const QString& cell)
{
    QString out;
    for (const QChar c : cell)
        if ((c >= u'0' && c <= u'9') || c == u',' || c == u'.')
            out += c;
    return out;
}

Decimal cleanWithholdingRate(const QString& cell)
{
    const qsizetype percent = cell.indexOf(u'%');
    const QString five = percent < 0 ? cell.left(5) : cell.mid(percent + 1, 5);
    return leadingValue(QString(five).replace(u',', u'.'));
}

QString gridNumber(const Decimal& value)
{
    return commaText(value.toPlainString());
}

QString gridTwoDecimals(const Decimal& value)
{
    return commaText(value.toFixedString(2));
}

QString withholdingReasonIn(const QString& cell)
{
    const qsizetype label = cell.indexOf(kReasonLabel);
    if (label < 0)
        return {};
    const QString rest = cell.mid(label + kReasonLabel.size() + 1);
    const qsizetype end = rest.indexOf(kReasonEnd);
    return end < 0 ? rest.trimmed() : rest.left(end + kReasonEnd.size());
}

QString withholdingReason(const std::vector<HtmlTable>& notesTables)
{
    QString reason;
    for (const HtmlTable& table : notesTables)
        for (const QStringList& row : table)
            for (const QString& cell : row)
                if (cell.contains(kReasonLabel))
                    reason = withholdingReasonIn(cell);
    return reason;
}

QString headerValue(const std::vector<HtmlTable>& headerTables, const QString& label)
{
    QString value;
    for (const HtmlTable& table : headerTables)
        for (const QStringList& row : table)
            if (row.size() >= 2 && row[0] == label)
                value = row[1];
    return value;
}

bool holdsTaxNumber(const std::vector<HtmlTable>& tables, const QString& taxNumber)
{
    if (taxNumber.isEmpty())
        return false;
    for (const HtmlTable& table : tables)
        for (const QStringList& row : table)
            for (const QString& cell : row)
                if (cell.indexOf(taxNumber, 1) >= 1)
                    return true;
    return false;
}

QString lastCellOfRow(const std::vector<HtmlTable>& tables, int row)
{
    QString text;
    for (const HtmlTable& table : tables)
        if (int(table.size()) >= row && !table[size_t(row - 1)].isEmpty())
            text = table[size_t(row - 1)].last();
    return text;
}

} // namespace kuvela::documents
