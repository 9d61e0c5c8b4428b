#include "invoice/amount_words.h"

#include "common/regional.h"

namespace kuvela::invoice {

namespace {
const char16_t* const kUnits[] = {u"", u"bir", u"iki", u"üç", u"dört", u"beş", u"altı", u"yedi", u"sekiz", u"dokuz"};
const char16_t* const kTens[] = {u"", u"on", u"yirmi", u"otuz", u"kırk", u"elli", u"altmış", u"yetmiş", u"seksen", u"doksan"};
const char16_t* const kScales[] = {u"trilyon", u"milyar", u"milyon", u"bin", u""};
constexpr int kDigits = 15;

int digitAt(const QString& s, int i)
{
    const char16_t c = s[i].unicode();
    return c >= u'0' && c <= u'9' ? c - u'0' : 0;
}
} // namespace

QString notANumberText() { return QStringLiteral("GİRİLEN DEĞER SAYI DEĞİL!"); }
QString tooLargeText() { return QStringLiteral("TUTAR ÇOK BÜYÜK!"); }

QString Cevir(QString SayiStr)
{
    // Leading zeros carry no words; what is left must fit the five groups.
    while (SayiStr.size() > kDigits && SayiStr.startsWith(u'0'))
        SayiStr.remove(0, 1);
    if (SayiStr.size() > kDigits)
        return tooLargeText();
    SayiStr = SayiStr.rightJustified(kDigits, u'0');

    QString result;
    for (int g = 0; g < 5; ++g) {
        const int h = digitAt(SayiStr, 3 * g), t = digitAt(SayiStr, 3 * g + 1), u = digitAt(SayiStr, 3 * g + 2);
        QString group;
        if (h == 1)
            group = QStringLiteral("yüz");
        else if (h > 1)
            group = QString::fromUtf16(kUnits[h]) + QStringLiteral("yüz");
        group += QString::fromUtf16(kTens[t]) + QString::fromUtf16(kUnits[u]);
        if (!group.isEmpty())
            group += QString::fromUtf16(kScales[g]);
        if (g == 3 && group == QStringLiteral("birbin"))
            group = QStringLiteral("bin");
        result += group;
    }
    if (result.isEmpty())
        return QStringLiteral("--");
    return turkishUpper(result.left(1)) + result.mid(1);
}

QString YAZIYTL(const Decimal& Para)
{
    // The sign is judged on the amount as written, so -0,004 is no "Eksi".
    const Decimal rounded = Para.roundHalfAway(2);
    const std::string s = rounded.abs().toFixedString(2);  // "1234.56"
    const QString lira = QString::fromLatin1(s.substr(0, s.size() - 3));
    const QString kurus = QString::fromLatin1(s.substr(s.size() - 2));
    if (lira.size() > kDigits)
        return tooLargeText();
    return (rounded.isNegative() ? QStringLiteral("Eksi ") : QString()) + Cevir(lira) + QStringLiteral("TL") +
           Cevir(kurus) + QStringLiteral("Kr.");
}

QString YAZIYTL(const QString& Para)
{
    const auto value = regionalConvert(Para);
    if (!value)
        return notANumberText();
    return YAZIYTL(*value);
}

} // namespace kuvela::invoice
