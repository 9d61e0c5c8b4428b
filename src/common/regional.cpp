#include "common/regional.h"

#include <charconv>
#include <stdexcept>

namespace kuvela {

std::optional<Decimal> regionalConvert(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    int i = 0;
    std::string plain;
    if (t[0] == u'-' || t[0] == u'+') {
        if (t[0] == u'-')
            plain += '-';
        ++i;
    }
    // Whole part: digits, optionally grouped by dots into whole groups of three.
    int groupLen = -1;   // digits since the last dot; -1 before the first dot
    int leadLen = 0;     // digits before the first dot
    bool anyDigit = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c.isDigit() && c.unicode() < 128) {
            plain += char(c.unicode());
            anyDigit = true;
            if (groupLen >= 0)
                ++groupLen;
            else
                ++leadLen;
        } else if (c == u'.') {
            if ((groupLen < 0 && (leadLen == 0 || leadLen > 3)) || (groupLen >= 0 && groupLen != 3))
                return std::nullopt;
            groupLen = 0;
        } else {
            break;
        }
    }
    if (groupLen >= 0 && groupLen != 3)
        return std::nullopt;
    if (i < t.size() && t[i] == u',') {
        ++i;
        plain += '.';
        for (; i < t.size(); ++i) {
            const QChar c = t[i];
            if (!(c.isDigit() && c.unicode() < 128))
                return std::nullopt;
            plain += char(c.unicode());
            anyDigit = true;
        }
    }
    if (i != t.size() || !anyDigit)
        return std::nullopt;
    return Decimal::parse(plain);
}

std::optional<Decimal> leadingNumberInRange(const QString& text)
{
    int i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    std::string plain;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        if (text[i] == u'-')
            plain += '-';
        ++i;
    }
    bool point = false;
    bool digit = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() >= u'0' && c.unicode() <= u'9') {
            plain += char(c.unicode());
            digit = true;
        } else if (c == u'.' && !point) {
            plain += '.';
            point = true;
        } else {
            break;
        }
    }
    if (!digit)
        return Decimal();
    if (plain.back() == '.')
        plain.pop_back();
    if (plain.front() == '.' || (plain.size() > 1 && plain[0] == '-' && plain[1] == '.'))
        plain.insert(plain.front() == '-' ? 1 : 0, "0");
    return Decimal::parse(plain);
}

Decimal leadingNumber(const QString& text)
{
    if (const auto v = leadingNumberInRange(text))
        return *v;
    throw std::overflow_error("Sayı hesap sınırının dışında");
}

std::optional<Decimal> cellNumber(const QString& text)
{
    if (const auto v = regionalConvert(text))
        return v;
    return leadingNumberInRange(text);
}

QString formatAmount(const Decimal& value, int decimals)
{
    std::string fixed = value.toFixedString(decimals);
    bool neg = false;
    if (!fixed.empty() && fixed[0] == '-') {
        neg = true;
        fixed.erase(0, 1);
    }
    const auto point = fixed.find('.');
    const std::string whole = fixed.substr(0, point);
    const std::string frac = point == std::string::npos ? std::string() : fixed.substr(point + 1);
    std::string grouped;
    for (size_t k = 0; k < whole.size(); ++k) {
        if (k > 0 && (whole.size() - k) % 3 == 0)
            grouped += '.';
        grouped += whole[k];
    }
    if (neg && (whole.find_first_not_of('0') != std::string::npos || frac.find_first_not_of('0') != std::string::npos))
        grouped.insert(grouped.begin(), '-');
    QString out = QString::fromLatin1(grouped);
    if (!frac.empty())
        out += u',' + QString::fromLatin1(frac);
    return out;
}

QString formatPlain(const Decimal& value)
{
    QString s = QString::fromLatin1(value.toPlainString());
    s.replace(u'.', u',');
    return s;
}

QString plainNumberText(double value)
{
    if (const auto v = Decimal::tryFromDouble(value))
        return formatPlain(*v);
    // As the spreadsheet shows it ("1E+30"): a text no reading takes for the number.
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    QString s = QString::fromLatin1(buf, r.ptr - buf);
    s.replace(u'.', u',');
    s.replace(u'e', u'E');
    return s;
}

QString turkishUpper(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'i')
            out += QChar(0x0130);
        else if (c == QChar(0x0131))
            out += u'I';
        else
            out += c.toUpper();
    }
    return out;
}

QString turkishLower(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'I')
            out += QChar(0x0131);
        else if (c == QChar(0x0130))
            out += u'i';
        else
            out += c.toLower();
    }
    return out;
}

QString shortDate(const QDate& date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

} // namespace kuvela
