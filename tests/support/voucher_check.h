#pragma once
// A voucher text read as a bookkeeper reads it.
#include "common/regional.h"

#include <QRegularExpression>

namespace kuvela::test {

// The invoices whose debits (lines at the margin) and credits (indented lines) differ,
// one "<description>: <debits> / <credits>" line each; an amount that is no number throws.
inline QString unbalancedVoucherBlocks(const QString& text)
{
    static const QRegularExpression booked(QStringLiteral(R"(^( |    \t)\d{3}\.\d{2} +(\S+)( TL)?$)"));
    QString unbalanced;
    Decimal sums[2];  // debits, credits
    for (const QString& line : text.split(QStringLiteral("\r\n"))) {
        if (const QRegularExpressionMatch m = booked.match(line); m.hasMatch()) {
            sums[m.capturedLength(1) > 1] += regionalConvert(m.captured(2)).value();
        } else if (line.contains(QStringLiteral(" nolu "))) {
            if (sums[0] != sums[1])
                unbalanced += line + QStringLiteral(": %1 / %2\n").arg(formatAmount(sums[0]), formatAmount(sums[1]));
            sums[0] = sums[1] = Decimal();
        }
    }
    return unbalanced;
}

} // namespace kuvela::test
