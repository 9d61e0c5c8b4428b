// "Faturadan Al" and "Excel'e Aktar": the lines of the picked invoice HTML into the
// editor's grid or into a new workbook.
#include "documents/form1_documents_state.h"
#include "documents/invoice_lines.h"
#include "documents/invoice_reader.h"
#include "documents/report_book.h"
#include "invoice/form1_editor_state.h"
#include "invoice/form1_editor_type.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "shell/form1.h"

#include <QComboBox>
#include <QTreeWidget>
#include <stdexcept>

namespace kuvela {

using namespace documents;

namespace {

// Starts the browser and reads the picked file; a message when the file could not be
// read. Throws when the browser did not start.
bool readPicked(Form1& f, const std::function<void(InvoiceHtmlReader&)>& read)
{
    InvoiceHtmlReader reader;
    reader.start();
    if (readInvoiceFile(reader, f.seciliDosya, [&] { read(reader); }))
        return true;
    f.setPanel(7, QString());
    msgBox(QStringLiteral("Fatura dosyası okunamadı: ") + f.seciliDosya, MsgIcon::Exclamation);
    return false;
}

} // namespace

void Form1::Command28_Click()
{
    const PaintingWait painting;
    invoice::LineGrid& grid = lineGrid(*this);
    grid.rows.clear();
    ListView2->clear();
    showLineGrid(*this);
    const invoice::InvoiceKind kind = invoiceKindOf(*this);

    LineImport lines;
    try {
        setPanel(7, QStringLiteral("Fatura satırları okunuyor..."));
        readPicked(*this, [&](InvoiceHtmlReader& reader) {
            const QString reason = kind == invoice::InvoiceKind::Tevkifat
                                       ? withholdingReason(reader.tables(QString::fromLatin1(kNotesTableXPath)))
                                       : QString();
            lines = importLines(reader.firstTable(QString::fromLatin1(kLineTableXPath)), kind, reason);
        });
    } catch (const std::exception& e) {
        setPanel(7, QString());
        msgBox(browserFailureText(e), MsgIcon::Critical);
    }
    setPanel(7, QString());
    for (const QString& message : lines.headerMessages)
        msgBox(message);
    grid.rows = lines.rows;
    showLineGrid(*this);
    // The totals always follow the grid, so an empty grid never shows the last invoice's.
    try {
        yekunal();
    } catch (const std::overflow_error&) {
        grid.rows.clear();
        msgBox(QStringLiteral("Fatura dosyası okunamadı: ") + seciliDosya, MsgIcon::Exclamation);
        yekunal();
    }
}

void Form1::Command30_Click()
{
    const PaintingWait painting;
    try {
        setPanel(7, QStringLiteral("Fatura satırları okunuyor..."));
        HtmlTable rows;
        if (!readPicked(*this, [&](InvoiceHtmlReader& reader) {
                rows = copiedLineRows(reader.firstTable(QString::fromLatin1(kLineTableXPath)));
            }))
            return;
        SheetTexts texts;
        for (size_t r = 0; r < rows.size(); ++r)
            for (int c = 0; c < rows[r].size(); ++c)
                texts[{int(r) + 1, c + 1}] = rows[r][c];
        const std::filesystem::path book = saveReportBook(texts, Clock::instance().now());
        const bool opened = Desktop::instance().openFile(book);
        setPanel(7, QStringLiteral("Excel'e aktarıldı: ") + fromPath(book) + (opened ? QString() : notOpenedNote()));
    } catch (const std::exception& e) {
        setPanel(7, QString());
        msgBox(browserFailureText(e), MsgIcon::Critical);
    }
}

} // namespace kuvela
