#pragma once
// The name a downloaded invoice is filed under in Satış Faturaları\Html, \Xml and
// \Zip. Readers slice it by character position, so every width here is binding:
//   1-16 number, 18-27 date DD-MM-YYYY (21-27 MM-YYYY), 29-39 tax number,
//   41-60 title, 61 "-", then the type text, "-", the package tail, the extension.
// Characters no file name may hold (/ \ : * ? " < > | and control characters) come
// out as "_", one for one, so a title like "A/S" cannot reach another folder.
#include "common/file_names.h"

#include <QString>

namespace kuvela {

// One row of the portal's issued-document table.
struct PortalInvoiceRow {
    QString gibFatNo;  // "GIB" + year + nine digits
    QString gibFatVN;  // 10 or 11 digits
    QString gibFatTar; // DD-MM-YYYY
    QString gibFatUn;  // buyer's title or name
    QString gibBelTur; // type text as the reading road left it
    QString gibFatDur; // status icon class ("...emove" = cancelled)
    QString gibFatIpt; // cancellation/objection cell, "----------" when none
};

// The download window files with the type cell alone, the main window puts the
// objection cell in front of it.
enum class FilingWindow { DownloadWindow, MainWindow };

// Exactly 20 characters: padded on the right or cut. Characters, not UTF-16 units: a
// letter outside the basic plane (an emoji) counts one and is never split.
QString invoiceTitleField(const QString& gibFatUn);
// `count` characters of a name from the 0-based character `from` on (count < 0: to the
// end), counted as the title field counts them.
QString characterField(const QString& name, qsizetype from, qsizetype count = -1);
// A 10-character number gets one leading blank; any other length stays as it is.
QString invoiceTaxNumberField(const QString& gibFatVN);
// The last 14 characters of the package name without its last four (".zip").
QString packageTail(const QString& packageName);

QString invoiceTypeText(const PortalInvoiceRow& row, FilingWindow window);

// Html/Xml stem plus the extension given ("html" or "xml").
QString invoiceFileName(const PortalInvoiceRow& row, FilingWindow window, const QString& packageName,
                        const QString& extension);
// The package's own name in Zip: gibBelTur as type text, the package's last 18 characters.
QString invoicePackageFileName(const PortalInvoiceRow& row, const QString& packageName);

// Fields read back by position, as the archive readers do.
struct InvoiceFileFields {
    QString number;    // 1-16
    QString date;      // 18-27
    QString period;    // 21-27
    QString taxNumber; // 29-39, as filed (a 10-digit number keeps its blank)
    QString title;     // 41-60, with its padding
    QString typeText;  // from 62 up to the dash before the tail
    QString tail;      // up to 14 characters before the extension
    QString extension; // without the dot
    // The separators stand where a 16-character number and a 10/11-digit tax
    // number put them; false means the positions above are not to be trusted.
    bool wellFormed = false;
};
InvoiceFileFields parseInvoiceFileName(const QString& name);

} // namespace kuvela
