#pragma once
// What the document roads keep beside the main window's controls.
#include "shell/form1.h"

#include <QString>
#include <QStringList>

namespace kuvela {

struct DocumentsState {
    // The voucher preview's text with its CR LF line ends, as Text22 shows it.
    QString voucherText;
};

template <>
inline DocumentsState& Form1::state<DocumentsState>()
{
    return AreaStateAccess::get<DocumentsState>(*this, AreaStateAccess::documents);
}

// The ticked names of List7, in list order.
QStringList tickedArchiveNames(const Form1& form);
// Label25 shows which of the ticked files is being read ("2 / 5"), and the window paints.
void showFileStage(Form1& form, int current, int total);
// seciliDosyaAdi = the name, seciliDosya = Dir1's folder with the name.
void pickArchiveFile(Form1& form, const QString& name);
// Added to a "written" message when the desktop could not open the written workbook.
inline QString notOpenedNote() { return QStringLiteral(" (dosya açılamadı)"); }

} // namespace kuvela
