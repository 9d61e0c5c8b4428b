// "PDF": the picked invoice HTML printed into the company's Pdf folder.
#include "documents/invoice_reader.h"
#include "documents/pdf_print.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "shell/form1.h"
#include "shell/form1_filepane.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace kuvela {

using namespace documents;

void Form1::Command29_Click()
{
    const PaintingWait painting;
    setPanel(7, QStringLiteral("PDF dönüştürme başladı..."));
    setProgress(0.0001);
    Label25->clear();
    Command29->setEnabled(false);
    setPaneBackColour(Command29, ColorKind::White);

    const std::filesystem::path folder = programFolder() / toPath(QStringLiteral("Firmalarım")) /
                                         toPath(Combo4->currentText()) / toPath(QStringLiteral("Satış Faturaları")) /
                                         toPath(QStringLiteral("Pdf"));
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!std::filesystem::is_directory(folder, ec)) {
        setPanel(7, QStringLiteral("PDF oluşturulamadı...! Pdf klasörü oluşturulamadı: ") + fromPath(folder));
        return;
    }
    PdfOutcome outcome;
    QString failure;
    try {
        outcome = printHtmlToPdf(seciliDosya, folder, pdfTitle(seciliDosyaAdi));
    } catch (const std::exception& e) {
        failure = browserFailureText(e);
    }
    if (!outcome.written) {
        setPanel(7, QStringLiteral("PDF oluşturulamadı...!"));
        if (!failure.isEmpty())
            msgBox(failure, MsgIcon::Critical);
        return;
    }
    setPanel(7, QStringLiteral("Html Fatura PDF 'e dönüştürüldü..."));
}

} // namespace kuvela
