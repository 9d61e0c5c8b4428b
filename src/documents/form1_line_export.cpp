// The ticked invoices of the search panel: their lines into one workbook, each file
// opened, or all of them attached to a new mail.
#include "documents/form1_documents_state.h"
#include "documents/invoice_reader.h"
#include "documents/line_export.h"
#include "documents/mail_compose.h"
#include "documents/report_book.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/paths.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLoggingCategory>

namespace kuvela {

using namespace documents;

namespace {
Q_LOGGING_CATEGORY(lcDocuments, "kuvela.documents")
} // namespace

QStringList tickedArchiveNames(const Form1& form)
{
    QStringList names;
    for (int i = 0; i < form.List7->count(); ++i)
        if (form.List7->item(i)->checkState() == Qt::Checked)
            names << form.List7->item(i)->text();
    return names;
}

void showFileStage(Form1& form, int current, int total)
{
    form.Label25->setText(current > 0 ? QStringLiteral("%1 / %2").arg(current).arg(total) : QString());
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void pickArchiveFile(Form1& form, const QString& name)
{
    form.seciliDosyaAdi = name;
    form.seciliDosya = fromPath(toPath(form.Dir1Path()) / toPath(name));
}

bool readInvoiceFile(InvoiceHtmlReader& reader, const QString& path, const std::function<void()>& read)
{
    try {
        if (!reader.load(path))
            return false;
        read();
        return true;
    } catch (const std::exception& e) {
        qCWarning(lcDocuments).noquote() << "fatura dosyası okunamadı:" << path << QString::fromStdString(e.what());
    }
    // A dialog the page raised is gone with the failed command; the page goes too.
    try {
        reader.driver().navigate(QStringLiteral("about:blank"));
    } catch (const std::exception&) {
        // the next file's load says whether the browser is still there
    }
    return false;
}

void Form1::Command38_Click()
{
    // Nothing ticked: no browser, and no workbook holding only the closing row.
    const QStringList names = tickedArchiveNames(*this);
    if (names.isEmpty()) {
        setPanel(7, QStringLiteral("Excel'e çıkarılacak fatura işaretlenmemiş."));
        return;
    }
    const PaintingWait painting;
    setPanel(7, QStringLiteral("Fatura satırları okunuyor..."));
    LineExport exported;
    int skipped = 0, unreadable = 0;
    try {
        {
            InvoiceHtmlReader reader;
            reader.readLinesAlong();
            for (int i = 0; i < names.size(); ++i) {
                const QString& name = names[i];
                pickArchiveFile(*this, name);
                showFileStage(*this, i + 1, int(names.size()));
                // Another file in the browser would only be saved into the user's downloads.
                if (!isHtmlFileName(name)) {
                    ++skipped;
                    continue;
                }
                if (!reader.driver().isStarted())
                    reader.start();
                ExportInvoice invoice;  // every value starts empty for each file
                if (!readInvoiceFile(reader, seciliDosya, [&] {
                        const std::vector<HtmlTable> header = reader.tables(QString::fromLatin1(kHeaderTableXPath));
                        const std::vector<HtmlTable> buyer = reader.tables(QString::fromLatin1(kBuyerTableXPath));
                        invoice.type = headerValue(header, QStringLiteral("Fatura Tipi:"));
                        invoice.date = headerValue(header, QStringLiteral("Fatura Tarihi:"));
                        invoice.number = headerValue(header, QStringLiteral("Fatura No:"));
                        invoice.buyerRow2 = lastCellOfRow(buyer, 2);
                        invoice.buyerRow8 = lastCellOfRow(buyer, 8);
                        invoice.lines = reader.firstTable(QString::fromLatin1(kLineTableXPath));
                    })) {
                    ++unreadable;  // said at the end, so the sheet is not taken as complete
                    continue;
                }
                invoice.cancelled = cancelledFileName(seciliDosyaAdi);
                exported.add(invoice);
            }
        }
        showFileStage(*this, 0, 0);
        exported.finish(prgVersiyon);
        const std::filesystem::path book = saveReportBook(exported.cells(), Clock::instance().now());
        const bool opened = Desktop::instance().openFile(book);
        QString done = QStringLiteral("Fatura satırları Excel'e çıkarıldı... ") + fromPath(book);
        if (!opened)
            done += notOpenedNote();
        setPanel(7, done + passedOverNote(skipped, unreadable));
    } catch (const std::exception& e) {
        setPanel(7, QString());
        showFileStage(*this, 0, 0);
        msgBox(browserFailureText(e), MsgIcon::Critical);
    }
}

void Form1::Command39_Click()
{
    for (const QString& name : tickedArchiveNames(*this)) {
        pickArchiveFile(*this, name);
        Command11_Click();
    }
}

void Form1::Command40_Click()
{
    int count = 0;
    List6->clear();
    // The panel goes away under the focus; the file list holds it until the mail's box takes it.
    File1->setFocus(Qt::OtherFocusReason);
    Frame18->hide();
    Frame20->hide();
    Label18->setText(QStringLiteral("Ek"));
    Text18->clear();
    for (const QString& name : tickedArchiveNames(*this)) {
        ++count;
        pickArchiveFile(*this, name);
        Text18->setText(Text18->text() + name + u';');
        List6->addItem(seciliDosya);
        Label18->setText(QStringLiteral("Ek- ") + QString::number(count));
        whoTriggered = kArchiveRoad;
    }
    Command15_Click();
}

} // namespace kuvela
