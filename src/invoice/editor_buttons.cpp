#include "invoice/editor_buttons.h"

#include "platform/dialogs.h"

namespace kuvela::invoice {

QString deleteLinePrompt(int n)
{
    return QString::number(n) + QStringLiteral(" nolu satırı sil !");
}

bool deleteLineAsked(LineGrid& grid, int n)
{
    if (n < 1 || n > grid.rowCount())
        return false;
    const MsgResult silSor =
        msgBox(deleteLinePrompt(n), MsgIcon::Question, QStringLiteral("Kuvela"), MsgButtons::YesNo, MsgResult::No);
    if (silSor != MsgResult::Yes)
        return false;
    grid.deleteRow(n - 1);
    return true;
}

} // namespace kuvela::invoice
