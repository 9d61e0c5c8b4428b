#pragma once
// The main window's small editor handlers that decide something: deleting a line
// of the line grid on a click, and the upload panel's two answer words.
#include "invoice/line_grid.h"

#include <QString>

namespace kuvela::invoice {

// n & " nolu satırı sil !"
QString deleteLinePrompt(int n);

// ListView1_ItemClick on line n (from 1): asks with Yes/No, the question icon and No
// as the default; on Yes removes the line and numbers the remaining ones 1.. again.
// true when a line went, and the window then runs yekunal.
bool deleteLineAsked(LineGrid& grid, int n);

// The words the answer buttons leave in karar; the window then hides Frame26,
// Command53 and Command41, whether or not an upload waits.
inline const QString kKararVazgec = QStringLiteral("VAZGEÇ");   // Command41_Click
inline const QString kKararOlustur = QStringLiteral("OLUŞTUR"); // Command53_Click

} // namespace kuvela::invoice
