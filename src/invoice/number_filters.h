#pragma once
// Keystroke filters of the line dialog's number boxes, as pure functions. Each run
// takes away the last character while the text breaks a rule, so the box always
// ends on a text that passes; the caret goes to the end.
#include <QString>

namespace kuvela::invoice {

enum class NumberBox {
    UnitPrice,      // Text4: amount, at most dc decimals
    SpecialAmount,  // Text10: amount, at most 2 decimals
    Discount,       // Text5: rate, 99,99 at most
    ExtraTaxRate,   // Text7, Text8: rate, also d,ddd
};

// Amount filter: first character a digit, no comma right after the first comma,
// at most `decimals` characters after the first comma, last character a digit or comma.
QString filterAmount(QString text, int decimals);
// Rate filter by position; `longest` is 4 for the discount and 5 for the extra-tax rates.
QString filterRate(QString text, int longest);
// The filter of a box; dc matters only for the unit price.
QString filterNumberBox(NumberBox box, const QString& text, int dc);

struct FilteredEdit {
    QString text;
    int cursor = 0;  // always the end of the text
};
// `typed` (a key or a pasted text) inserted at `cursor`, then filtered.
FilteredEdit typeIntoBox(NumberBox box, const QString& text, int cursor, const QString& typed, int dc);

} // namespace kuvela::invoice
