// "Muh. Fiş Oluştur": the journal entries of the ticked invoices in the preview.
#include "documents/form1_documents_state.h"
#include "documents/invoice_reader.h"
#include "documents/voucher.h"
#include "platform/clock.h"
#include "platform/dialogs.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>

namespace kuvela {

using namespace documents;

namespace {

InvoiceRelation relationOf(InvoiceHtmlReader& reader, bool gib, const QString& taxNumber)
{
    if (holdsTaxNumber(reader.tables(sellerTableXPath(gib)), taxNumber))
        return InvoiceRelation::Sale;
    if (holdsTaxNumber(reader.tables(QString::fromLatin1(kBuyerTableXPath)), taxNumber))
        return InvoiceRelation::Purchase;
    return InvoiceRelation::Unrelated;
}

} // namespace

void Form1::Command37_Click()
{
    const PaintingWait painting;
    QString& text = state<DocumentsState>().voucherText;
    Frame19->show();
    Frame19->raise();
    text.clear();
    Text22->clear();
    Label23->clear();

    int skipped = 0, unreadable = 0;
    QStringList notSales, unbalanced;
    const QStringList names = tickedArchiveNames(*this);
    try {
        InvoiceHtmlReader reader;
        for (int i = 0; i < names.size(); ++i) {
            const QString& name = names[i];
            pickArchiveFile(*this, name);
            showFileStage(*this, i + 1, int(names.size()));
            if (!isHtmlFileName(name)) {
                ++skipped;
                continue;
            }
            if (!reader.driver().isStarted())
                reader.start();
            VoucherInvoice invoice;
            InvoiceRelation relation = InvoiceRelation::Unrelated;
            if (!readInvoiceFile(reader, seciliDosya, [&] {
                    const std::vector<HtmlTable> header = reader.tables(QString::fromLatin1(kHeaderTableXPath));
                    const bool gib = isGibNumber(headerValue(header, QStringLiteral("Fatura No:")));
                    relation = relationOf(reader, gib, firmaVKN);
                    invoice = voucherInvoice(header, reader.tables(totalsTableXPath(gib)), gib);
                })) {
                ++unreadable;
                continue;
            }
            Label23->setText(relationMessage(relation, Combo4->currentText()));
            if (relation != InvoiceRelation::Sale)
                notSales << invoice.number;
            if (!invoice.marks.isEmpty())
                unbalanced << invoice.number;
            text += voucherBlock(invoice);
            Text22->setPlainText(text);
        }
    } catch (const std::exception& e) {
        showFileStage(*this, 0, 0);
        Label23->setText(browserFailureText(e));
        msgBox(browserFailureText(e), MsgIcon::Critical);
        return;
    }
    showFileStage(*this, 0, 0);
    text += voucherClosingRuler();
    Text22->setPlainText(text);
    Label23->setText(Label23->text() + voucherRunNote(skipped, unreadable, notSales, unbalanced));
}

} // namespace kuvela
