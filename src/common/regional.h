#pragma once
// The program's fixed Turkish regional format, whatever the machine's locale:
// decimal comma, "." digit grouping, dd.MM.yyyy dates, Turkish letter case.
#include "common/decimal.h"

#include <QDate>
#include <QString>
#include <optional>

namespace kuvela {

// Regional conversion: "1.234,50" -> 1234.5, "18" -> 18, "-0,5" -> -0.5.
// Grouping dots are accepted only between whole groups of three digits, so a
// mistyped "1.5" is no number rather than fifteen. Blanks around the text are
// ignored. Anything else (including "") is no number: nullopt.
std::optional<Decimal> regionalConvert(const QString& text);

// Leading-number reading: optional blanks, an optional sign, digits and one point
// at the start; reading stops at the first other character; no number gives 0.
// "12.5abc" -> 12.5, "1,5" -> 1, "" -> 0, "-5 adet" -> -5. A leading number past the
// range throws std::overflow_error; leadingNumberInRange gives nullopt for it instead,
// so a road can report it as no number.
Decimal leadingNumber(const QString& text);
std::optional<Decimal> leadingNumberInRange(const QString& text);

// A line cell's one value, for every rule on it and every figure from it: the regional
// number, else the leading number of the text ("-0,5" is -0,5, "5 adet" is 5).
// nullopt past the range.
std::optional<Decimal> cellNumber(const QString& text);

// An amount as shown in the grids: grouping, a leading zero, `decimals` places,
// the dropped digits rounded half away from zero; never "-0,00".
// 1234.5 -> "1.234,50", 2.675 -> "2,68".
QString formatAmount(const Decimal& value, int decimals = 2);

// The number as plain text: every significant decimal, decimal comma, no grouping.
// 212.4 -> "212,4", 364 -> "364", -0.425 -> "-0,425".
QString formatPlain(const Decimal& value);

// A stored double as a person reads it (at most 15 significant digits), as plain text;
// one past the range in the spreadsheet's exponent form, "1,5E+30".
QString plainNumberText(double value);

// Turkish letter case: i -> İ, ı -> I and back.
QString turkishUpper(const QString& text);
QString turkishLower(const QString& text);

// dd.MM.yyyy
QString shortDate(const QDate& date);

} // namespace kuvela
