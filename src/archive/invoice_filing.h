#pragma once
// Filing of one downloaded invoice package: the browser leaves it in the company's
// Satış Faturaları/Temp; its HTML and XML copies go to Html and Xml, the package to
// Zip, each under the invoice's file name, and Temp is emptied.
#include "archive/invoice_file_name.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>

namespace kuvela {

// <program folder>/Firmalarım/<company>/Satış Faturaları and its sub-folders.
struct SalesFolders {
    std::filesystem::path root;

    static SalesFolders ofCompany(const QString& company);
    std::filesystem::path temp() const;
    std::filesystem::path html() const;
    std::filesystem::path xml() const;
    std::filesystem::path zip() const;
};

// File names of a folder (no sub-folders), in a fixed order (letter case ignored);
// empty when the folder is missing.
QStringList folderFileNames(const std::filesystem::path& folder);
// The names whose lower-cased form ends in ".zip".
QStringList packageNames(const std::filesystem::path& temp);
// Deletes every file of the folder; sub-folders stay. False when one could not go.
bool emptyFolder(const std::filesystem::path& folder);
// Empties Temp before an "İndir". A package still there was neither filed nor kept (its
// filing could not keep it, or it came after its wait): it is copied into Zip as
// "<number>-<tail>.zip", the number read from its own XML, or under its own name when
// no number can be read, before anything goes. False, with the package left where it
// is, when that or the emptying failed.
bool emptyTempBeforeDownload(const SalesFolders& folders);

// Waits, polling every 100 ms up to timeoutMs, until the folder holds exactly one
// package, no partial download beside it, and its size stayed the same between two
// looks. False when that did not happen in time.
bool awaitPackage(const std::filesystem::path& temp, int timeoutMs);
// The wait of the download roads: setting "download/packageWaitMs", default 30 s.
int packageWaitMs();

enum class PackagePick { First, Last };

struct FilingResult {
    enum class Kind { Filed, NoPackage, Unsafe, CopyFailed };
    Kind kind = Kind::NoPackage;
    QString package;          // the package's file name in Temp
    QStringList failedCopies; // "Html: <cause>", "Xml: …", "Zip: …" for the targets not written
    bool namesTooLong = false; // every failed copy failed for a name the file system cannot hold
    QString reason;           // why an unsafe or unreadable package was refused
    QString keptAs;           // "<number>-<tail>.zip" in Zip when it was not filed, " (2)"… before ".zip" when
                              // that name held another file; "" when it could not be kept
    bool filed() const { return kind == Kind::Filed; }
};

// Files the first (download window) or last (main window) package of Temp. The row's
// title and tax number are left in their filed widths, as the window variables were.
// No package: nothing happens. Only the two entries named like the package are taken
// out. A package that cannot be read, holds an unsafe entry (empty, absolute, a ".."
// part, a link) or whose copies failed is kept in Zip as "<number>-<tail>.zip", never over
// another file (see keptAs), and no copy of it stays in Html, Xml or Zip (one that could
// not be taken back is named in failedCopies; never the Html one, which goes in last);
// Temp is emptied only once the package is filed or kept.
FilingResult fileInvoicePackage(const SalesFolders& folders, PortalInvoiceRow& row, FilingWindow window,
                                PackagePick pick);

// A failed filing for the status line: "<no> nolu fatura indirilemedi: <why>".
QString filingFailureText(const QString& gibFatNo, const FilingResult& result);
// Temp still held files before "İndir": another invoice's package could be taken for this one.
QString tempNotEmptiedText(const QString& gibFatNo);

// Whether an invoice number occurs in a file name of Html (letter case ignored);
// an empty number matches nothing.
bool isAlreadyFiled(const std::filesystem::path& htmlFolder, const QString& gibFatNo);
QString alreadyFiledText(const QString& gibFatNo); // "<no> seri nolu fatura daha önce indirilmiş..!"

// The report of a cancelled invoice, eleven lines ending in CR LF, UTF-8.
QByteArray unapprovedInvoiceReport(const PortalInvoiceRow& row, const QString& company, const QString& rptStr,
                                   const QString& versionText, const QDateTime& now);
// rptStr and rptFatName of a row whose objection cell was read ("----------" = none).
QString reportStatusText(const QString& gibFatIpt);
QString reportFileName(const QString& gibFatNo, const QString& rptStr);
// Writes the report into Html under rptFatName (made file-safe), replacing it whole.
// Throws std::runtime_error with a Turkish message when it cannot be written.
void writeUnapprovedInvoiceReport(const SalesFolders& folders, const QString& rptFatName, const QByteArray& report);

namespace detail {
// Test seam: takes back a copy already renamed into place when a later one failed;
// returns whether it went. Empty: the file system's removal.
void setUndoCopyForTests(std::function<bool(const std::filesystem::path&)> undo);
} // namespace detail

} // namespace kuvela
