#pragma once
// Reads a voucher text as a bookkeeper would: per invoice, the lines at the margin are
// debits and the indented ones credits.
#include "common/regional.h"

#include <QRegularExpression>
#include <QStringList>

namespace kuvela::test {

// One line per invoice block whose debits and credits differ, or whose amount is no
// number: "<description>: <debits> / <credits>"; empty when every block balances.
inline QString unbalancedVoucherBlocks(const QString& text)
{
    static const QRegularExpression booked(QStringLiteral(R"(^( |    \t)\d{3}\.\d{2} +(\S.*?)( TL)?$)"));
    QStringList unbalanced;
    Decimal debits, credits;
    bool numbers = true;
    for (const QString& line : text.split(QStringLiteral("\r\n"))) {
        if (const QRegularExpressionMatch m = booked.match(line); m.hasMatch()) {
            const std::optional<Decimal> amount = regionalConvert(m.captured(2));
            numbers = numbers && amount;
            (m.captured(1) == u" " ? debits : credits) += amount.value_or(Decimal());
        } else if (line.contains(QStringLiteral(" nolu "))) {
            if (!numbers || debits != credits)
                unbalanced << line.trimmed() + QStringLiteral(": ") + formatAmount(debits) + QStringLiteral(" / ")
                                  + formatAmount(credits);
            debits = credits = Decimal();
            numbers = true;
        }
    }
    return unbalanced.join(u'\n');
}

} // namespace kuvela::test
