#pragma once
// The journal entry of an invoice ("Muh. Fiş Oluştur"): the receivable, the discount,
// the sales, the VAT and the other taxes with the page's amounts, for the user to copy;
// an entry that cannot balance says why.
#include "documents/invoice_html.h"

#include <utility>

namespace kuvela::documents {

// The key of a totals-table row label; "unknownName" for any other label.
QString totalsKey(const QString& label);

struct VoucherInvoice {
    QString type;    // "Fatura Tipi:"
    QString number;  // "Fatura No:"
    QString date;    // "Fatura Tarihi:"
    QString payable; // the "Ödenecek Tutar" amount, booked on 120.00
    QString discount; // the "Toplam İskonto" amount, booked on 611.00; empty when there is none
    // Credits: (account, amount) in the sales table's order, the VAT less what the buyer
    // withholds, then 360.00 with the other taxes (the rows the key table does not know).
    std::vector<std::pair<QString, QString>> sales;
    // The block's lines that say why it cannot stand; empty when it balances.
    QStringList marks;
};

// Reads the header tables and the totals tables of one invoice; every value starts empty.
// Nothing is booked that the page does not give, so a page whose amounts disagree, or
// that lacks one, is marked rather than balanced.
VoucherInvoice voucherInvoice(const std::vector<HtmlTable>& headerTables, const std::vector<HtmlTable>& totalsTables,
                              bool gib);

// One invoice's block: ruler with the date, receivable line, sales lines, description and
// the marks, if any; every line ends with CR LF.
QString voucherBlock(const VoucherInvoice& invoice);
// The closing ruler after the last block, without a line end.
QString voucherClosingRuler();

enum class InvoiceRelation { Sale, Purchase, Unrelated };
QString relationMessage(InvoiceRelation relation, const QString& companyName);

// What Label23 adds after the last invoice's message: the ticked files that are not
// HTML, those that could not be read, and the numbers of the invoices that are not
// the company's sales and of those whose block does not balance.
QString voucherRunNote(int skippedFiles, int unreadableFiles, const QStringList& notSales,
                       const QStringList& unbalanced);

} // namespace kuvela::documents
