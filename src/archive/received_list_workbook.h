#pragma once
// The list of received invoices of one month as a workbook: sheet 1 the invoices under
// their eleven headers, sheet 2 a raw copy of every table row of every result page.
// Every value stays the site's text: "0012345678" keeps its zeros, "01-02-2024" is no date.
#include "platform/workbook.h"

#include <QStringList>
#include <filesystem>

namespace kuvela {

class ReceivedInvoiceListWorkbook {
public:
    static const QStringList& headers();
    // Interior.ColorIndex 40 of Excel's palette (#FFCC99) as a VB colour.
    static constexpr long kHeaderFill = 0x99CCFF;

    ReceivedInvoiceListWorkbook();

    // One invoice: the eleven cells of its row on the site.
    void addInvoice(const QStringList& cells);
    // One table row of a result page, header and message rows included.
    void addRawRow(const QStringList& cells);
    int invoiceCount() const { return listRow_ - 1; }

    // Widths, alignments, then the file; an older list of the month is replaced.
    void saveAs(const std::filesystem::path& file);

private:
    Workbook book_;
    int listRow_ = 1;
    int rawRow_ = 0;
};

} // namespace kuvela
