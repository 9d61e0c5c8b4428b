#pragma once
// An amount in Turkish words for the invoice note, written together without blanks:
// 1234,56 -> "BinikiyüzotuzdörtTLEllialtıKr.".
#include "common/decimal.h"

#include <QString>

namespace kuvela::invoice {

// A whole number of up to fifteen digits in words, first letter upper case
// ("Bin", "İki"); zero gives "--". A character that is not a digit counts as 0.
// More than fifteen digits after the leading zeros have no words form: tooLargeText().
QString Cevir(QString SayiStr);

// Lira and kuruş in words: [Eksi ] lira "TL" kuruş "Kr.". Para is read with the
// regional conversion; "GİRİLEN DEĞER SAYI DEĞİL!" when it is no number.
QString YAZIYTL(const QString& Para);
QString YAZIYTL(const Decimal& Para);

QString notANumberText();
// Amounts of 10^15 lira and above.
QString tooLargeText();

} // namespace kuvela::invoice
