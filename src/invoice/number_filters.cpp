#include "invoice/number_filters.h"

namespace kuvela::invoice {

namespace {
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// One run of the amount filter: true when it passes without a removal.
bool amountPasses(const QString& t, int decimals)
{
    if (t.isEmpty())
        return true;
    if (!isDigit(t[0]))
        return false;
    const int k = t.indexOf(u',');  // 0-based; the rule counts from 1
    if (k >= 0) {
        if (k + 1 < t.size() && t[k + 1] == u',')
            return false;
        if (t.size() > k + 1 + decimals)
            return false;
    }
    const QChar last = t.back();
    return isDigit(last) || last == u',';
}

bool ratePasses(const QString& t, int longest)
{
    bool commaSecond = false;
    for (int pos = 1; pos <= t.size(); ++pos) {
        const QChar c = t[pos - 1];
        const bool digit = isDigit(c), comma = c == u',';
        switch (pos) {
        case 1:
            if (!digit) return false;
            break;
        case 2:
            if (comma) commaSecond = true;
            else if (!digit) return false;
            break;
        case 3:
            if (digit ? !commaSecond : (!comma || commaSecond)) return false;
            break;
        case 4:
            if (!digit) return false;
            break;
        case 5:
            if (!digit || (commaSecond && t.size() > longest)) return false;
            break;
        default:
            return false;
        }
    }
    return true;
}
} // namespace

QString filterAmount(QString text, int decimals)
{
    while (!amountPasses(text, decimals))
        text.chop(1);
    return text;
}

QString filterRate(QString text, int longest)
{
    while (!ratePasses(text, longest))
        text.chop(1);
    return text;
}

QString filterNumberBox(NumberBox box, const QString& text, int dc)
{
    switch (box) {
    case NumberBox::UnitPrice: return filterAmount(text, dc);
    case NumberBox::SpecialAmount: return filterAmount(text, 2);
    case NumberBox::Discount: return filterRate(text, 4);
    case NumberBox::ExtraTaxRate: return filterRate(text, 5);
    }
    return text;
}

FilteredEdit typeIntoBox(NumberBox box, const QString& text, int cursor, const QString& typed, int dc)
{
    QString t = text;
    t.insert(qBound(0, cursor, int(t.size())), typed);
    const QString out = filterNumberBox(box, t, dc);
    return {out, int(out.size())};
}

} // namespace kuvela::invoice
