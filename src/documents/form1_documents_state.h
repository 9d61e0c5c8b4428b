#pragma once
// What the document roads keep beside the main window's controls.
#include "shell/form1.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace kuvela {

namespace documents { class InvoiceHtmlReader; }

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
// Loads the file and reads it. False when the file was not loaded, or the browser
// failed on its page (a script dialog, a load error) or its numbers did not fit:
// only that file is lost, and the browser is left on an empty page for the next.
bool readInvoiceFile(documents::InvoiceHtmlReader& reader, const QString& path, const std::function<void()>& read);
// Added to a "written" message when the desktop could not open the written workbook.
inline QString notOpenedNote() { return QStringLiteral(" (dosya açılamadı)"); }

} // namespace kuvela
