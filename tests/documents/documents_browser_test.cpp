// The document roads on filed invoice HTML, read in a real headless browser.
#include "documents/documents_window_fixture.h"
#include "documents/form1_documents_state.h"
#include "invoice/form1_editor_state.h"

#include <QComboBox>
#include <QListWidget>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <tuple>

namespace kuvela {
namespace {

using test::kNameA;
using test::kNameB;
using test::kNameCancelled;
using test::kNameFaults;
using test::kNameText;

class DocumentsBrowserTest : public test::DocumentsWindowTest {
protected:
    void chooseType(const QString& type)
    {
        const int position = window_->Combo1->findText(type);
        ASSERT_GE(position, 0);
        const QSignalBlocker quiet(window_->Combo1);
        window_->Combo1->setCurrentIndex(position);
        lineGrid(*window_).layoutForType(invoice::invoiceKindAt(position));
    }
    QString total(const QString& label) const
    {
        for (int i = 0; i < window_->ListView2->topLevelItemCount(); ++i)
            if (window_->ListView2->topLevelItem(i)->text(1).startsWith(label))
                return window_->ListView2->topLevelItem(i)->text(2);
        return {};
    }
};

TEST_F(DocumentsBrowserTest, APickedInvoiceGivesEditorLinesAWorkbookAndAPdf)
{
    Form1& w = startOnInvoices();
    chooseType(QStringLiteral("SATIŞ"));
    pick(kNameA);
    ASSERT_FALSE(w.Command28->isHidden());
    w.Command28->click();
    const auto& rows = lineGrid(w).rows;
    ASSERT_EQ(rows.size(), 3u) << dialogs_->texts().join('|').toStdString();
    EXPECT_EQ(rows[0], (QStringList{"1", "Kalem A", "10", "Adet", "12,5", "0", "0", "125", "18", "22,50"}));
    EXPECT_EQ(rows[1], (QStringList{"2", "Kalem B", "3", "Kutu", "100", "0", "0", "300", "8", "24,00"}));
    EXPECT_EQ(rows[2], (QStringList{"3", "Kalem C", "1", "Adet", "1000", "0", "0", "1000", "18", "180,00"}));
    EXPECT_EQ(w.ListView1->topLevelItemCount(), 3);
    EXPECT_EQ(total(QStringLiteral("GENEL TOPLAM")), QStringLiteral("1.651,50"));
    EXPECT_TRUE(dialogs_->texts().isEmpty());

    chooseType(QStringLiteral("TEVKİFAT"));
    pick(kNameB);
    w.Command28->click();
    ASSERT_EQ(lineGrid(w).rows.size(), 1u);
    EXPECT_EQ(lineGrid(w).rows[0],
              (QStringList{"1", "Tadilat işi", "1", "Adet", "1000", "0", "0", "1000", "18", "180,00",
                           "601 - [YAPIM İŞLERİ (GT 117-Bölüm (3.2.1))]", "90,00", "162,00"}));

    // A name with "#", "%" and an apostrophe still loads; the faulty cells read soundly,
    // only the first line table counts, and each bad header is told once.
    pick(kNameFaults);
    w.Command28->click();
    EXPECT_EQ(dialogs_->texts(), (QStringList{QStringLiteral("Sütun 3 başlık(header)uyuşmazlığı tespit edildi!"),
                                              QStringLiteral("Sütun 13 başlık(header)uyuşmazlığı tespit edildi!")}));
    ASSERT_EQ(lineGrid(w).rows.size(), 2u);
    EXPECT_EQ(lineGrid(w).rows[0], (QStringList{"1", "Çelik", "2,5", "Net Ton", "1234,56", "10", "1234,56", "1851,84",
                                                "10", "185,18", "650 - Diğer hizmetler", "100,00", "185,18"}));
    EXPECT_EQ(lineGrid(w).rows[1][2], QStringLiteral("1000"));

    // A file gone after the pick is told, and leaves no lines behind.
    pick(kNameCancelled);
    std::filesystem::remove(htmlFolder() / toPath(kNameCancelled));
    dialogs_->clear();
    w.Command28->click();
    ASSERT_EQ(dialogs_->texts().size(), 1);
    EXPECT_TRUE(dialogs_->texts()[0].startsWith(QStringLiteral("Fatura dosyası okunamadı: ")));
    EXPECT_TRUE(lineGrid(w).rows.empty());
    EXPECT_EQ(total(QStringLiteral("GENEL TOPLAM")), QStringLiteral("0,00"));  // not the faulty invoice's

    // A page that raises a script dialog, one whose quantity no Decimal holds and one whose
    // quantity times price none holds: told like a file that cannot be read, with the
    // totals of the empty grid.
    for (const auto& [name, text, replacement] :
         {std::tuple{QStringLiteral("uyarı.html"), QStringLiteral("<body>"),
                     QStringLiteral("<body><script>alert('Uyarı');</script>")},
          std::tuple{QStringLiteral("taşan.html"), QStringLiteral("10 Adet"), QStringLiteral("1e30 Adet")},
          std::tuple{QStringLiteral("taşan tutar.html"), QStringLiteral("10 Adet"), QStringLiteral("1e26 Adet")}}) {
        SCOPED_TRACE(name.toStdString());
        pick(kNameA);
        w.Command28->click();
        ASSERT_EQ(lineGrid(w).rows.size(), 3u);
        fileVariantOfA(name, text, replacement);
        pick(name);
        dialogs_->clear();
        w.Command28->click();
        EXPECT_EQ(dialogs_->texts(),
                  QStringList{QStringLiteral("Fatura dosyası okunamadı: ") + fromPath(htmlFolder() / toPath(name))});
        EXPECT_TRUE(lineGrid(w).rows.empty());
        EXPECT_EQ(total(QStringLiteral("GENEL TOPLAM")), QStringLiteral("0,00"));
        std::filesystem::remove(htmlFolder() / toPath(name));
    }
    w.setDir1Path(fromPath(htmlFolder()));

    // "Excel Aktar": the line table into a new workbook under Raporlar, opened.
    pick(kNameA);
    desktop_->opened.clear();
    w.Command30->click();
    ASSERT_EQ(desktop_->opened.size(), 1u) << w.panelText(7).toStdString();
    const std::filesystem::path book = desktop_->opened.front();
    EXPECT_EQ(fromPath(book.parent_path()), fromPath(home_ / QStringLiteral("Raporlar")));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Kitap-20240303-09\\d{4}\\.xlsx$")).match(fromPath(book.filename())).hasMatch())
        << book.filename();
    EXPECT_EQ(w.panelText(7), QStringLiteral("Excel'e aktarıldı: ") + fromPath(book));
    const QJsonArray sheet = test::sheetRows(book);
    ASSERT_EQ(sheet.size(), 5);
    EXPECT_EQ(sheet[0].toArray()[11].toString(), QStringLiteral("GTİP"));
    EXPECT_EQ(sheet[1].toArray()[3].toString(), QStringLiteral("12,50 TL"));
    EXPECT_EQ(sheet[3].toArray()[10].toString(), QStringLiteral("1.000,00 TL"));
    EXPECT_EQ(sheet[4].toArray()[0].toString(), QStringLiteral(" "));
    EXPECT_TRUE(sheet[4].toArray()[1].isNull());

    // "PDF": printed into the Pdf folder under the name without its tail, nothing else left there;
    // the folder is made when it is missing.
    const std::filesystem::path pdfFolder = home_ / QStringLiteral("Firmalarım/Çağdaş Gıda/Satış Faturaları/Pdf");
    std::filesystem::remove_all(pdfFolder);
    dialogs_->clear();
    pick(kNameA);
    ASSERT_TRUE(w.Command29->isEnabled());
    w.Command29->click();
    EXPECT_EQ(w.panelText(7), QStringLiteral("Html Fatura PDF 'e dönüştürüldü...")) << dialogs_->texts().join('|').toStdString();
    EXPECT_FALSE(w.Command29->isEnabled());
    const std::filesystem::path pdf =
        pdfFolder / toPath(QStringLiteral("GIB2023000000001 19-04-2023  1234567890 ÖRNEK İNŞAAT LTD ŞTİ.pdf"));
    QFile file(fromPath(pdf));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(4) == "%PDF");
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {fromPath(pdf), QStringLiteral("-")});
    text.waitForFinished(30000);
    EXPECT_TRUE(QString::fromUtf8(text.readAllStandardOutput()).contains(QStringLiteral("GIB2023000000001")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(pdf.parent_path()), {}), 1);  // no temporary left
    EXPECT_TRUE(test::browserProcessesGone());

    // A file gone before the press starts no browser (a driver that is not there would say so).
    const test::ScopedEnv missingDriver("KUVELA_BROWSER_DRIVER", "/nonexistent/chromedriver");
    pick(kNameB);
    std::filesystem::remove(htmlFolder() / toPath(kNameB));
    w.Command29->click();
    EXPECT_EQ(w.panelText(7), QStringLiteral("PDF oluşturulamadı...!"));
    EXPECT_TRUE(dialogs_->texts().isEmpty());

    // A browser that cannot start is told, never taken for success.
    pick(kNameA);
    w.Command29->click();
    EXPECT_EQ(w.panelText(7), QStringLiteral("PDF oluşturulamadı...!"));
    EXPECT_EQ(dialogs_->texts().size(), 1);

    // A Pdf folder that cannot be made is named, and no browser starts.
    dialogs_->clear();
    std::filesystem::remove_all(pdfFolder);
    QFile blocking(fromPath(pdfFolder));
    ASSERT_TRUE(blocking.open(QIODevice::WriteOnly));
    blocking.close();
    pick(kNameA);
    w.Command29->click();
    EXPECT_EQ(w.panelText(7), QStringLiteral("PDF oluşturulamadı...! Pdf klasörü oluşturulamadı: ") + fromPath(pdfFolder));
    EXPECT_TRUE(dialogs_->texts().isEmpty());

    // A folder name the file system refuses is told the same way, never thrown at the window.
    {
        const QSignalBlocker quiet(w.Combo4);
        w.Combo4->addItem(QString(300, u'ş'));
        w.Combo4->setCurrentIndex(w.Combo4->count() - 1);
    }
    pick(kNameA);
    w.Command29->click();
    EXPECT_TRUE(w.panelText(7).startsWith(QStringLiteral("PDF oluşturulamadı...! Pdf klasörü oluşturulamadı: ")));
    EXPECT_TRUE(dialogs_->texts().isEmpty());
}

TEST_F(DocumentsBrowserTest, TickedInvoicesGiveALineSheetOpenAMailAndAVoucher)
{
    Form1& w = startOnInvoices();
    w.prgVersiyon = 146;
    // Nothing ticked: said, no browser and no workbook.
    tick({});
    w.Command38->click();
    EXPECT_EQ(w.panelText(7), QStringLiteral("Excel'e çıkarılacak fatura işaretlenmemiş."));
    EXPECT_TRUE(desktop_->opened.empty());
    EXPECT_FALSE(std::filesystem::exists(programFolder() / "Raporlar"));

    // A sheet the desktop could not open is still written, and the line says so.
    tick({kNameA, kNameCancelled, kNameB});
    desktop_->opens = false;
    w.Command38->click();
    desktop_->opens = true;
    EXPECT_TRUE(w.panelText(7).endsWith(QStringLiteral(" (dosya açılamadı)"))) << w.panelText(7).toStdString();
    ASSERT_EQ(desktop_->opened.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(desktop_->opened.front()));
    desktop_->opened.clear();

    w.Command38->click();
    ASSERT_EQ(desktop_->opened.size(), 1u) << w.panelText(7).toStdString();
    const QJsonArray rows = test::sheetRows(desktop_->opened.front());
    EXPECT_TRUE(w.panelText(7).startsWith(QStringLiteral("Fatura satırları Excel'e çıkarıldı... ")));
    // File1's order: B (one line), the cancelled one, A (three lines).
    ASSERT_EQ(rows.size(), 7);
    EXPECT_TRUE(rows[0].toArray()[0].isNull());
    const QJsonArray b = rows[1].toArray();
    EXPECT_EQ(b[1].toString(), QStringLiteral("Tadilat işi"));
    EXPECT_EQ(b[12].toString(), QStringLiteral("TEVKIFAT"));
    EXPECT_EQ(b[16].toString(), QStringLiteral("Vergi Dairesi: ÇANKAYA"));
    EXPECT_EQ(rows[2].toArray()[0].toString(), QStringLiteral("GIB2023000000001-İPTAL"));
    EXPECT_TRUE(rows[2].toArray()[1].isNull());
    const QJsonArray a1 = rows[3].toArray();
    EXPECT_EQ(a1[2].toString(), QStringLiteral("10 Adet"));
    for (const auto& [column, text] : {std::pair{12, "SATIŞ"}, std::pair{13, "19-04-2023"},
                                       std::pair{14, "GIB2023000000001"}, std::pair{15, "ÖRNEK İNŞAAT LTD ŞTİ"},
                                       std::pair{16, "Vergi Dairesi: MALTEPE"}})
        EXPECT_EQ(a1[column].toString(), QString::fromUtf8(text));
    EXPECT_EQ(rows[5].toArray()[1].toString(), QStringLiteral("Kalem C"));
    EXPECT_EQ(rows[6].toArray()[0].toString(), QStringLiteral("Excel'e çıkarma işlemi tamamlandı - Kuvela v146"));
    EXPECT_FALSE(w.panelText(7).contains(QStringLiteral("okunamadı")));

    // A ticked file gone since the search is said, never passed over as a complete sheet.
    std::filesystem::copy_file(htmlFolder() / toPath(kNameB), htmlFolder() / "b.keep");
    std::filesystem::remove(htmlFolder() / toPath(kNameB));
    desktop_->opened.clear();
    tick({kNameA, kNameB});
    w.Command38->click();
    EXPECT_TRUE(w.panelText(7).endsWith(QStringLiteral(" (1 dosya okunamadı)"))) << w.panelText(7).toStdString();
    std::filesystem::rename(htmlFolder() / "b.keep", htmlFolder() / toPath(kNameB));

    // A page that raises a script dialog ends only itself; a ticked file that is not HTML
    // never goes into the browser. The sheet and the voucher are still made of the rest.
    const QString alertName =
        QStringLiteral("ABB2023000000050 10-10-2023  1234567890 UYARI VEREN SAYFA   -SATIŞ-ABCDEFGHIJKLMN.html");
    fileVariantOfA(alertName, QStringLiteral("<body>"), QStringLiteral("<body><script>alert('Uyarı');</script>"));
    desktop_->opened.clear();
    tick({alertName, kNameA, kNameText});
    w.Command38->click();
    ASSERT_EQ(desktop_->opened.size(), 1u) << w.panelText(7).toStdString();
    EXPECT_TRUE(w.panelText(7).endsWith(QStringLiteral(" (1 HTML olmayan dosya atlandı) (1 dosya okunamadı)")))
        << w.panelText(7).toStdString();
    const QJsonArray onlyA = test::sheetRows(desktop_->opened.front());
    ASSERT_EQ(onlyA.size(), 5);
    EXPECT_EQ(onlyA[1].toArray()[1].toString(), QStringLiteral("Kalem A"));
    EXPECT_EQ(onlyA[4].toArray()[0].toString(), QStringLiteral("Excel'e çıkarma işlemi tamamlandı - Kuvela v146"));
    tick({alertName, kNameA});
    w.Command37->click();
    const QString& withAlert = w.state<DocumentsState>().voucherText;
    EXPECT_EQ(withAlert.count(QStringLiteral(" nolu ")), 1);
    EXPECT_TRUE(withAlert.contains(QStringLiteral("GIB2023000000001 nolu SATIŞ faturası")));
    EXPECT_TRUE(withAlert.endsWith(QString(40, u'-') + QStringLiteral(" / ") + QString(39, u'-')));
    EXPECT_EQ(w.Label23->text(), QStringLiteral("Seçilen fatura SATIŞ Faturasıdır. (1 dosya okunamadı)"));
    std::filesystem::remove(htmlFolder() / toPath(alertName));
    w.setDir1Path(fromPath(htmlFolder()));

    // "Aç": each ticked file once, with its program.
    desktop_->opened.clear();
    tick({kNameA, kNameText});
    w.Command39->click();
    ASSERT_EQ(desktop_->opened.size(), 2u);
    EXPECT_EQ(fromPath(desktop_->opened[0].filename()), kNameA);
    EXPECT_EQ(fromPath(desktop_->opened[1].filename()), kNameText);

    // "E-Mail": the ticked files become the attachments of a new mail.
    tick({kNameB, kNameA, kNameText});
    w.Command40->click();
    EXPECT_EQ(items(w.List6), (QStringList{fromPath(htmlFolder() / toPath(kNameB)),
                                           fromPath(htmlFolder() / toPath(kNameA)),
                                           fromPath(htmlFolder() / toPath(kNameText))}));
    EXPECT_EQ(w.Text18->text(), kNameB + u';' + kNameA + u';' + kNameText + u';');
    EXPECT_EQ(w.Label18->text(), QStringLiteral("Ek- 3"));
    EXPECT_EQ(w.whoTriggered, QStringLiteral("command40"));
    EXPECT_FALSE(w.Frame7->isHidden());
    EXPECT_TRUE(w.Frame20->isHidden());
    EXPECT_TRUE(w.Text17->toPlainText().contains(QStringLiteral("e-Arşiv faturalarımız ek 'te gönderilmiştir.")));
    test::screenshot(w, "form1_mail_panel");
    w.Command16->click();
    EXPECT_FALSE(w.Frame20->isHidden());
    EXPECT_TRUE(w.whoTriggered.isEmpty());

    // A page whose payable is not its total less the withheld VAT: its block and the note say so.
    const QString skewed = QString(kNameA).replace(QStringLiteral("0001 "), QStringLiteral("0003 "));
    fileVariantOfA(skewed, QStringLiteral("Ödenecek Tutar</td><td>1.651,50"), QStringLiteral("Ödenecek Tutar</td><td>1.600,00"));
    tick({skewed});
    w.Command37->click();
    EXPECT_TRUE(w.state<DocumentsState>().voucherText.contains("faturası\r\n Borç ve alacak tutmuyor, fark: 51,50 TL\r\n"));
    EXPECT_TRUE(w.Label23->text().endsWith(" Borç ve alacağı tutmayan faturalar: GIB2023000000001"));
    std::filesystem::remove(htmlFolder() / toPath(skewed));
    w.setDir1Path(fromPath(htmlFolder()));

    // "Fiş": the voucher of the ticked sales invoices.
    tick({kNameA, kNameFaults, kNameB, kNameText});
    w.Command37->click();
    const QString crlf = QStringLiteral("\r\n");
    auto block = [&](const QString& date, const QString& payable, const QStringList& sales, const QString& desc) {
        QString t = u' ' + QString(35, u'-') + date + QString(31, u'-') + crlf;
        t += QStringLiteral(" 120.00") + QString(37, u' ') + payable + crlf;
        for (int i = 0; i + 1 < sales.size(); i += 2)
            t += QStringLiteral("    \t") + sales[i] + QString(52, u' ') + sales[i + 1] + crlf;
        return t + u' ' + desc + crlf;
    };
    // File1's order: B, then A, then the faulty one (no totals, no date: nothing of A's stays), marked.
    const QString kNoTotals = QStringLiteral(" Borç ve alacak tutmuyor: toplamlar tablosu okunamadı.");
    const QString expected =
        block(QStringLiteral("02/06/2023"), QStringLiteral("1.018,00 TL"),
              {"600.00", "1.000,00 TL", "391.18", "18,00 TL"}, QStringLiteral("ABC2023000000007 nolu TEVKIFAT faturası")) +
        block(QStringLiteral("19/04/2023"), QStringLiteral("1.651,50 TL"),
              {"600.00", "1.425,00 TL", "391.08", "24,00 TL", "391.18", "202,50 TL"},
              QStringLiteral("GIB2023000000001 nolu SATIŞ faturası")) +
        block(QString(), QString(), {}, QStringLiteral("GIB2023000000099 nolu TEVKİFAT faturası")) + kNoTotals + crlf +
        u' ' + QString(40, u'-') + QStringLiteral(" / ") + QString(39, u'-');
    EXPECT_EQ(w.state<DocumentsState>().voucherText, expected);
    EXPECT_EQ(test::unbalancedVoucherBlocks(w.state<DocumentsState>().voucherText), kNoTotals + u'\n');
    EXPECT_EQ(w.Text22->toPlainText(), QString(expected).replace(crlf, QStringLiteral("\n")));
    EXPECT_FALSE(w.Frame19->isHidden());
    test::screenshot(w, "form1_voucher");
    EXPECT_EQ(w.Label23->text(), QStringLiteral("Seçilen faturanın Çağdaş Gıda ile ilgisi yoktur. (1 HTML olmayan "
                                                "dosya atlandı) Satış olmayan faturalar: GIB2023000000099 Borç ve "
                                                "alacağı tutmayan faturalar: GIB2023000000099"));

    // A ticked file gone since the search: told, and nothing of the file before it repeated.
    std::filesystem::remove(htmlFolder() / toPath(kNameB));
    w.Command37->click();
    EXPECT_FALSE(w.state<DocumentsState>().voucherText.contains(QStringLiteral("ABC2023000000007")));
    EXPECT_EQ(w.state<DocumentsState>().voucherText.count(QStringLiteral(" nolu ")), 2);
    EXPECT_TRUE(w.Label23->text().endsWith(
        QStringLiteral("(1 HTML olmayan dosya atlandı) (1 dosya okunamadı) Satış olmayan faturalar: GIB2023000000099"
                       " Borç ve alacağı tutmayan faturalar: GIB2023000000099")));

    // The three readings of the company's relation to the invoice.
    tick({});
    w.List7->item(2)->setCheckState(Qt::Checked);
    ASSERT_EQ(w.List7->item(2)->text(), kNameA);
    for (const auto& [vkn, text] : {std::pair{"9876543210", "Seçilen fatura SATIŞ Faturasıdır."},
                                    std::pair{"1234567890", "Seçilen fatura ALIŞ Faturasıdır Satış olmayan faturalar: "
                                                            "GIB2023000000001"},
                                    std::pair{"", "Seçilen faturanın Çağdaş Gıda ile ilgisi yoktur. Satış olmayan "
                                                  "faturalar: GIB2023000000001"}}) {
        w.firmaVKN = QString::fromLatin1(vkn);
        w.Command37->click();
        EXPECT_EQ(w.Label23->text(), QString::fromUtf8(text));
    }
    EXPECT_TRUE(test::browserProcessesGone());
}

// What the status bar shows each time it paints.
class PaintLog : public QObject {
public:
    explicit PaintLog(Form1& w) : w_(w)
    {
        for (QLabel* panel : w.StatusBar1->findChildren<QLabel*>())
            panel->installEventFilter(this);
    }
    QStringList seen;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            seen << w_.panelText(7);
        return false;
    }

private:
    Form1& w_;
};

TEST_F(DocumentsBrowserTest, TheWindowPaintsItsStageWhileALongReadRuns)
{
    Form1& w = startOnInvoices();
    w.show();
    // An invoice whose page takes a second and a half to load.
    const QString slowName =
        QStringLiteral("GIB2023000000002 19-04-2023  1234567890 ÖRNEK İNŞAAT LTD ŞTİ-SATIŞ-ABCDEFGHIJKLMN.html");
    fileVariantOfA(slowName, QStringLiteral("</body>"),
                   QStringLiteral("<script>var t = Date.now(); while (Date.now() - t < 1500) {}</script></body>"));
    pick(slowName);

    const PaintLog painted(w);
    int beats = 0;
    QTimer beat;
    QObject::connect(&beat, &QTimer::timeout, [&beats] { ++beats; });
    beat.start(50);
    w.Command28->click();
    beat.stop();
    EXPECT_TRUE(painted.seen.contains(QStringLiteral("Fatura satırları okunuyor..."))) << painted.seen.join('|').toStdString();
    EXPECT_GE(beats, 15);
    EXPECT_EQ(lineGrid(w).rows.size(), 3u);
    EXPECT_TRUE(w.panelText(7).isEmpty());
}

} // namespace
} // namespace kuvela
