// "PDF": the picked invoice HTML printed into the company's Pdf folder.
#include "documents/documents_window_fixture.h"

#include <QPushButton>

namespace kuvela {
namespace {

class PdfTest : public test::DocumentsWindowTest {};

TEST_F(PdfTest, PrintsTheInvoiceUnderItsExactNameOrSaysItCouldNot)
{
    Form1& w = startOnInvoices();
    pick(test::kNameA);
    ASSERT_TRUE(w.Command29->isEnabled());
    w.Command29->click();
    EXPECT_EQ(w.panelText(7), QStringLiteral("Html Fatura PDF 'e dönüştürüldü...")) << dialogs_->texts().join('|').toStdString();
    EXPECT_FALSE(w.Command29->isEnabled());
    const std::filesystem::path pdf = home_ / QStringLiteral("Firmalarım/Çağdaş Gıda/Satış Faturaları/Pdf/"
                                                             "GIB2023000000001 19-04-2023  1234567890 ÖRNEK İNŞAAT LTD ŞTİ.pdf");
    QFile file(fromPath(pdf));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(4) == "%PDF");
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {fromPath(pdf), QStringLiteral("-")});
    text.waitForFinished(30000);
    EXPECT_TRUE(QString::fromUtf8(text.readAllStandardOutput()).contains(QStringLiteral("GIB2023000000001")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(pdf.parent_path()), {}), 1);  // no temporary left
    EXPECT_TRUE(test::noBrowserLeft());

    // A file gone before the press starts no browser (a driver that is not there would say so).
    qputenv("KUVELA_BROWSER_DRIVER", "/nonexistent/chromedriver");
    pick(test::kNameB);
    std::filesystem::remove(htmlFolder() / toPath(test::kNameB));
    w.Command29->click();
    EXPECT_EQ(w.panelText(7), QStringLiteral("PDF oluşturulamadı...!"));
    EXPECT_TRUE(dialogs_->texts().isEmpty());

    // A browser that cannot start is told, never taken for success.
    pick(test::kNameA);
    w.Command29->click();
    qunsetenv("KUVELA_BROWSER_DRIVER");
    EXPECT_EQ(w.panelText(7), QStringLiteral("PDF oluşturulamadı...!"));
    EXPECT_EQ(dialogs_->texts().size(), 1);
}

} // namespace
} // namespace kuvela
