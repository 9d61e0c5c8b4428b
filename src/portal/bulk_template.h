#pragma once
// The bulk template turned into invoices ("Devam  >>", Command43_Click) as a pure
// function over a sheet view: rows are grouped into invoices by the chosen rule, each
// invoice's lines computed and totalled, one upload-queue row per invoice. The bulk
// run re-reads one invoice at a time with the same rules and checks it against its
// queue row before it uploads.
#include "invoice/line_template.h"
#include "invoice/totals.h"
#include "platform/dialogs.h"

#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace kuvela::portal {

// prm1, prm2, prm3 of Frame23; None while no option is chosen.
enum class GroupingMode { None, ByTaxNumber, ByName, OnePerRow };

// Panel 7 when an option is clicked (prm1_Click ... prm3_Click).
QString groupingStatusText(GroupingMode mode);
// Workbook column whose value decides where an invoice ends: 1 (A) or 3 (C); 0 for None.
int groupingKeyColumn(GroupingMode mode);
// The fixed text prm3 compares a row's tax number with instead of the next row's.
QString onePerRowKey();

// One row of ListView3, in column order.
struct UploadQueueRow {
    QString number;      // "S.No": clnCount
    QString ettn;        // "ETTN No"
    QString date;        // "Tarih": Text8
    QString taxNumber;   // "Vergi Kimlik No": Text4
    QString taxOffice;   // "Vergi Dairesi": Text3
    QString name;        // "Adı-Soyadı / Ünvanı": Text19
    QString address;     // "Adresi": Text2
    QString amount;      // "Tutar": checkTotal with two decimals
    QString difference;  // "Fark"
    QString rows;        // "Satırlar": first-last workbook row, "2-4"
    QString status;      // "Durum": an UploadStatus text
    QStringList cells() const;
    bool operator==(const UploadQueueRow&) const = default;
};
QString queuedEttn();     // "   ---    "
QString waitingStatus();  // "Yükleme bekliyor"

// The buyer boxes an invoice fills from its first row.
struct BulkBuyer {
    QString text20;  // A, as Text20's change handler leaves it (digits and blanks, at most 11)
    QString text4;   // the same
    QString text3;   // B: tax office
    QString text19;  // C: name or title
    QString text2;   // D: address
    QString text12;  // E: country
    QString text5;   // F: e-mail
    QString uunvan, aad, ssoyad;
};
// A tax number of fewer than 11 characters is a company: the title goes to uunvan.
// A longer one is a person: the name is cut at its last blank or middle dot. A person's
// name without either is all given name (never the previous invoice's parts).
void splitBulkBuyerName(BulkBuyer& buyer);

// What Command43_Click reads from the window.
struct BulkSettings {
    GroupingMode mode = GroupingMode::None;  // prm1..prm3
    bool errorChecks = false;                // Check7 "Hata kontrolü yap"
    bool datesFromExcel = false;             // Check8 "Fatura Tarihlerini Excelden Al"
    QString invoiceDate;                     // Text8, kept for every invoice unless Check8
    QString typeText;                        // Combo1
    const invoice::LineGrid* grid = nullptr; // ListView1: its columns are the template's titles
    invoice::TotalsSettings totals;          // yekunal's inputs (type position, dc, note lines)
    int programVersion = 0;                  // prgVersiyon, for the closing log text
};

struct BulkMessage {
    MsgIcon icon = MsgIcon::None;
    QString text;
    bool errorCheck = false;  // one of Check7's warnings (else a line warning or the failure)
    bool operator==(const BulkMessage&) const = default;
};

struct BulkInvoice {
    int number = 0;               // clnCount
    int firstRow = 0, lastRow = 0;
    BulkBuyer buyer;
    QString date;                 // Text8 for this invoice
    invoice::TotalsResult totals; // yekunal's result; totals.lines are ListView1's rows
    UploadQueueRow queueRow() const;
    QString rowsText() const;     // "Satırlar"
};

// Header checks 2 to 4 of Command43_Click: the date, the despatch-note pair, the option.
struct BulkHeader {
    QString invoiceDate;     // Text8
    QString despatchDate;    // Text10
    QString despatchNumber;  // Text11
    GroupingMode mode = GroupingMode::None;
    bool datesFromExcel = false;
};
struct HeaderRefusal {
    QString text;
    bool inLabel52 = false;  // else a message box with the information icon
};
std::optional<HeaderRefusal> checkBulkHeader(const BulkHeader& header);

QString bulkReadingStatus();   // "Excel'den veri okunuyor..."
QString bulkNotExcelStatus();  // "Toplu veri almak için bir Excel dosyası seçiniz...!"

struct BulkReading {
    enum class End {
        NotExcel,      // the picked path is no .xlsx: panel 7 only
        Complete,      // the data ended: show Frame26, write the closing texts, empty Text6
        Refused,       // a title or the column count: nothing queued
        MissingDate,   // Check8 and an empty G: invoices before it stay queued
        BadData,       // a cell that cannot be read: invoices before it stay queued
    };
    End end = End::Refused;
    std::vector<BulkInvoice> invoices;  // the queue, in order
    std::vector<BulkMessage> messages;  // message boxes in the order they come
    std::optional<QString> statusText;  // panel 7 afterwards, when the reading writes it
    std::optional<QString> logText;     // Text28, at a complete end
    // The invoice being read when the reading stopped (MissingDate, BadData): its buyer
    // and the lines read before the stop. firstRow 0 when none was being read.
    BulkInvoice current;
};

// What the reading tells the window while it reads.
struct BulkReadingSink {
    // A message box at the row that raised it, with the invoice as read so far.
    std::function<void(const BulkMessage&, const BulkInvoice& reading)> message;
    // An invoice read whole: its queue row goes in now.
    std::function<void(const BulkInvoice&)> queued;
};

// Row 1 from G against ListView1's titles: the count or the title message, or nullopt.
std::optional<QString> checkBulkTitles(const invoice::SheetView& sheet, const invoice::LineGrid& grid);

// The reading over a sheet view whose row 1 holds the titles. Every message goes to
// the sink as it comes as well as into the result.
BulkReading readBulkTemplate(const invoice::SheetView& sheet, const BulkSettings& settings,
                             const BulkReadingSink& sink = {});
// Opens the picked path (".xlsx" in any letter case) and reads "Sayfa1". A workbook
// that cannot be opened, or has no such sheet, is reported like a bad cell.
BulkReading readBulkWorkbook(const QString& pickedPath, const BulkSettings& settings,
                             const BulkReadingSink& sink = {});
// The view of a bulk workbook's "Sayfa1".
invoice::SheetView bulkSheetView(const Sheet& sheet);

QString bulkClosingLog(int programVersion);
QString bulkClosingStatus(int invoiceCount);

// ---- For the bulk run ----

// One invoice read from `firstRow` as the queue builder reads it.
struct InvoiceRead {
    enum class Result { Invoice, DataEnded, MissingDate, BadData };
    Result result = Result::DataEnded;
    BulkInvoice invoice;
    std::vector<BulkMessage> warnings;       // line and Check7 warnings, in the order they come
    BulkMessage failure;                     // MissingDate and BadData: the message box
    QString failureStatus;                   // BadData: panel 7
};
// Each warning also goes to `onWarning` at its row, with the invoice as read so far.
InvoiceRead readInvoiceAt(const invoice::SheetView& sheet, const BulkSettings& settings, int firstRow, int number,
                          const std::function<void(const BulkMessage&, const BulkInvoice&)>& onWarning = {});

// The first workbook row of a queue row ("Satırlar" "2-4" gives 2); 0 when unreadable.
int queuedFirstRow(const UploadQueueRow& queued);

// Before an invoice is uploaded: does the workbook still hold the queue row's rows and
// tax number? A message (nothing may be written) when not. The run takes DataEnded as
// its end road before it asks.
std::optional<QString> queueRowMismatch(const InvoiceRead& reread, const UploadQueueRow& queued);

} // namespace kuvela::portal
