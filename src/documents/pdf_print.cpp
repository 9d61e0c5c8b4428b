#include "documents/pdf_print.h"

#include "documents/invoice_reader.h"
#include "platform/paths.h"

#include <QFileInfo>
#include <QSaveFile>

namespace kuvela::documents {

QString pdfTitle(const QString& fileName)
{
    QString title;
    if (fileName.size() > 26) {
        title = fileName.left(fileName.size() - 26);
    } else {
        const qsizetype dot = fileName.lastIndexOf(u'.');
        title = dot > 0 ? fileName.left(dot) : fileName;
    }
    return title.replace(u'/', u'-');
}

PdfOutcome printHtmlToPdf(const QString& htmlFile, const std::filesystem::path& folder, const QString& title)
{
    PdfOutcome out;
    const QFileInfo source(htmlFile);
    if (title.isEmpty() || !source.isFile() || !source.isReadable() || !std::filesystem::is_directory(folder))
        return out;
    QByteArray pdf;
    {
        InvoiceHtmlReader reader;
        reader.start();
        if (!reader.load(htmlFile))
            return out;
        pdf = printPageToPdf(reader.driver());
    }
    if (!pdf.startsWith("%PDF"))
        return out;
    out.file = folder / toPath(title + QStringLiteral(".pdf"));
    QSaveFile file(fromPath(out.file));
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size() || !file.commit())
        return out;
    out.written = true;
    return out;
}

} // namespace kuvela::documents
