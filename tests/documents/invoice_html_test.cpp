// Reading invoice HTML texts back into numbers, grid rows, voucher text and export
// rows, without a browser.
#include "common/regional.h"
#include "documents/invoice_html.h"
#include "documents/invoice_lines.h"
#include "documents/line_export.h"
#include "documents/mail_compose.h"
#include "documents/pdf_print.h"
#include "documents/voucher.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

namespace kuvela::documents {
namespace {

QString num(const Decimal& d) { return gridNumber(d); }

TEST(InvoiceHtmlCleaning, CellsBecomeTheGridsNumbers)
{
    struct Quantity { const char* cell; const char* quantity; const char* unit; };
    for (const Quantity& q : {Quantity{"10 Adet", "10", "Adet"}, Quantity{"2,5 Net Ton", "2,5", "Net Ton"},
                              Quantity{"1.000 Adet", "1000", "Adet"}, Quantity{"5", "5", ""},
                              Quantity{"-3 Adet", "-3", "Adet"}, Quantity{"1/2 Adet", "1", "Adet"},
                              Quantity{"1e3 Adet", "1000", "Adet"}, Quantity{"2,5E-1 kg", "0,25", "kg"},
                              Quantity{"4e Adet", "4", "Adet"}, Quantity{"Adet 5", "0", "5"}}) {
        const QuantityCell c = cleanQuantity(QString::fromUtf8(q.cell));
        EXPECT_EQ(num(c.quantity), QString::fromUtf8(q.quantity)) << q.cell;
        EXPECT_EQ(c.unit, QString::fromUtf8(q.unit)) << q.cell;
    }
    struct Cell { const char* text; const char* value; };
    for (const Cell& c : {Cell{"1.234,56 TL", "1234,56"}, Cell{"12,50 TL", "12,5"}, Cell{"0,00 TL", "0"}})
        EXPECT_EQ(num(cleanAmount(QString::fromUtf8(c.text))), QString::fromUtf8(c.value)) << c.text;
    // The discount amount by the quantity's rule, a cell without a blank read whole.
    for (const Cell& c : {Cell{"1.234,56 TL", "1234,56"}, Cell{"-5,00 TL", "-5"}, Cell{"12,50", "12,5"},
                          Cell{"1e3", "1000"}, Cell{"TL 5", "0"}})
        EXPECT_EQ(num(cleanDiscountAmount(QString::fromUtf8(c.text))), QString::fromUtf8(c.value)) << c.text;
    // A number no Decimal holds is refused, never read as another; a tiny one is 0.
    for (const char* huge : {"1e30 Adet", "123456789012345678901234567890 Adet", "0,000000000001e40 Adet"})
        EXPECT_THROW(cleanQuantity(QString::fromUtf8(huge)), std::overflow_error) << huge;
    EXPECT_EQ(num(cleanQuantity(QStringLiteral("1e-40 Adet")).quantity), QStringLiteral("0"));
    for (const Cell& c : {Cell{"%18", "18"}, Cell{"%0", "0"}, Cell{"%10", "10"}, Cell{"%18,00", "18"},
                          Cell{"%10,00", "10"}, Cell{"%8", "8"}})
        EXPECT_EQ(num(cleanRate(QString::fromUtf8(c.text))), QString::fromUtf8(c.value)) << c.text;
    EXPECT_EQ(cleanVatAmount(QStringLiteral("1.234,56 TL")), QStringLiteral("1.234,56"));
    EXPECT_EQ(gridTwoDecimals(cleanWithholdingRate(QStringLiteral("KDV TEVKİFAT (%90)"))), QStringLiteral("90,00"));
    EXPECT_EQ(gridTwoDecimals(cleanWithholdingRate(QStringLiteral("KDV TEVKİFAT (%100)"))), QStringLiteral("100,00"));
    EXPECT_EQ(num(leadingValue(QStringLiteral(" 1 2.5x"))), QStringLiteral("12,5"));
    EXPECT_EQ(num(leadingValue(QStringLiteral("abc"))), QStringLiteral("0"));
    EXPECT_EQ(num(leadingValue(QStringLiteral("%1e1"))), QStringLiteral("0"));
    EXPECT_EQ(num(cleanRate(QStringLiteral("%1e1"))), QStringLiteral("10"));
    EXPECT_EQ(num(leadingValue(QStringLiteral("-1e+2x"))), QStringLiteral("-100"));
    EXPECT_EQ(num(leadingNumber(QStringLiteral("1e3"))), QStringLiteral("1"));  // the totals' reading takes none
}

TEST(InvoiceHtmlCleaning, AddressesLoadAnyFileName)
{
    EXPECT_EQ(localFileAddress(QStringLiteral("/tmp/A B/Ç#1 %41 'x'?.html")),
              QStringLiteral("file:///tmp/A%20B/%C3%87%231%20%2541%20'x'%3F.html"));
    EXPECT_TRUE(isGibNumber(QStringLiteral("GIB2023000000001")));
    EXPECT_FALSE(isGibNumber(QStringLiteral("gib2023000000001")));
    EXPECT_NE(sellerTableXPath(true), sellerTableXPath(false));
}

HtmlTable faultyLineTable()
{
    QStringList header = lineTableHeaders();
    header[2] = QStringLiteral("Miktari");
    header << QStringLiteral("Fazla");
    return {header,
            {"1", "Çelik", "2,5 Net Ton", "1.234,56 TL", "%10,00", "1.234,56 TL", " ", "%10", "185,18 TL",
             "KDV TEVKİFAT (%100)", "1.851,84 TL", " "},
            {"2", "Vida", "1.000 Adet", "1,00 TL", "%0", "0,00 TL", " ", "%18,00", "180,00 TL", " ", "1.000,00 TL", " "},
            {"3"}};  // a row without values and no closing row
}

TEST(InvoiceLines, FaultyCellsGiveSoundLinesAndOneMessagePerBadHeader)
{
    const LineImport lines = importLines(faultyLineTable(), invoice::InvoiceKind::Tevkifat, QStringLiteral("650 - Diğer"));
    EXPECT_EQ(lines.headerMessages, (QStringList{QStringLiteral("Sütun 3 başlık(header)uyuşmazlığı tespit edildi!"),
                                                 QStringLiteral("Sütun 13 başlık(header)uyuşmazlığı tespit edildi!")}));
    ASSERT_EQ(lines.rows.size(), 2u);  // the empty last row is gone without a closing row
    EXPECT_EQ(lines.rows[0], (QStringList{"1", "Çelik", "2,5", "Net Ton", "1234,56", "10", "1234,56", "1851,84", "10",
                                          "185,18", "650 - Diğer", "100,00", "185,18"}));
    EXPECT_EQ(lines.rows[1].mid(0, 10),
              (QStringList{"2", "Vida", "1000", "Adet", "1", "0", "0", "1000", "18", "180,00"}));

    const LineImport sale = importLines(faultyLineTable(), invoice::InvoiceKind::Satis, {});
    EXPECT_EQ(sale.rows[0].size(), 10);
    // A net on a tie and a discount round half away to kuruş; an exempt invoice's line holds no VAT.
    const struct { const char* type; QStringList page, line; } pages[] = {
        {"SATIŞ", {"1", "Vida", "5 Adet", "0,073 TL", "%0", "0,00 TL", " ", "%18", "0,07 TL", " ", "0,37 TL", "&nbsp;"},
         {"1", "Vida", "5", "Adet", "0,073", "0", "0", "0,37", "18", "0,07"}},
        {"SATIŞ", {"1", "Kalem", "1 Adet", "10,00 TL", "%0,05", "0,005 TL", " ", "%18", "1,80 TL"},
         {"1", "Kalem", "1", "Adet", "10", "0,05", "0,01", "9,99", "18", "1,80"}},
        {"İSTİSNA", {"1", "Hizmet", "1 Adet", "100,00 TL", "%0", "0,00 TL", " ", "%20", "20,00 TL"},
         {"1", "Hizmet", "1", "Adet", "100", "0", "0", "100", "0", "0"}}};
    for (const auto& p : pages)
        EXPECT_EQ(importLines({lineTableHeaders(), p.page}, invoice::invoiceKindByText(QString::fromUtf8(p.type)), {}).rows.at(0), p.line) << p.type;
    EXPECT_EQ(copiedLineRows({lineTableHeaders(), {" ", " ", " "}, {"x"}}),
              (HtmlTable{lineTableHeaders(), {" "}}));
}

TEST(InvoiceLines, WithholdingReasonEndsAtItsBracketOrTakesTheCell)
{
    EXPECT_EQ(withholdingReason({{{QStringLiteral("Not"),
                                   QStringLiteral("Tevkifat Sebebi: 601 - [YAPIM İŞLERİ (GT 117-Bölüm (3.2.1))] Not: x")}}}),
              QStringLiteral("601 - [YAPIM İŞLERİ (GT 117-Bölüm (3.2.1))]"));
    EXPECT_EQ(withholdingReasonIn(QStringLiteral("Tevkifat Sebebi: 650 - Diğer hizmetler  ")),
              QStringLiteral("650 - Diğer hizmetler"));
    EXPECT_EQ(withholdingReason({{{QStringLiteral("Not: yok")}}}), QString());
}

TEST(Voucher, EmptyTaxNumberMatchesNothingAndTheStartOfACellDoesNotCount)
{
    const std::vector<HtmlTable> party{{{QStringLiteral("9876543210")}, {QStringLiteral("VKN: 1234567890")}}};
    EXPECT_FALSE(holdsTaxNumber(party, QStringLiteral("9876543210")));
    EXPECT_TRUE(holdsTaxNumber(party, QStringLiteral("1234567890")));
    EXPECT_FALSE(holdsTaxNumber(party, QString()));
    EXPECT_EQ(voucherRunNote(2, 1, {QStringLiteral("A1"), QStringLiteral("B2")}, {QStringLiteral("C3")}),
              QStringLiteral(" (2 HTML olmayan dosya atlandı) (1 dosya okunamadı) Satış olmayan faturalar: A1, B2"
                             " Borç ve alacağı tutmayan faturalar: C3"));
}

TEST(Voucher, APageBooksWhatItGivesAndIsMarkedWhereItCannotBalance)
{
    // The totals rows "label=amount|..." (none: no totals table); the block after its ruler, blanks folded.
    struct Page { const char* totals; const char* block; };
    for (const Page& p : {
             Page{"Mal Hizmet Toplam Tutarı=1.425,00 TL|Hesaplanan KDV(%0)=0,00 TL|Hesaplanan KDV(%8)=24,00 TL|"
                  "Hesaplanan KDV(%18)=202,50 TL|Vergiler Dahil Toplam Tutar=1.651,50 TL|Ödenecek Tutar=1.651,50 TL",
                  "120.00 1.651,50 TL 600.00 1.425,00 TL 391.08 24,00 TL 391.18 202,50 TL nolu faturası"},
             Page{"Mal Hizmet Toplam Tutarı=200,00 TL|Toplam İskonto=20,00 TL|Hesaplanan KDV(%18)=34,83 TL|"
                  "Hesaplanan KDV Tevkifat(%90)=31,35 TL|Diğer Vergiler=13,50 TL|Vergiler Dahil Toplam Tutar=228,33 TL|"
                  "Ödenecek Tutar=196,98 TL",
                  "120.00 196,98 TL 611.00 20,00 TL 600.00 200,00 TL 391.18 3,48 TL 360.00 13,50 TL nolu faturası"},
             // Rates in their order; the withheld 50,00 (not the 20 % VAT) comes off the highest rates.
             Page{"Hesaplanan KDV(%20)=40,00 TL|Hesaplanan KDV(%18)=18,00 TL|Hesaplanan KDV(%1)=0,50 TL|"
                  "Hesaplanan KDV Tevkifat(%20)=50,00 TL|Hesaplanan KDV(%8)=4,00 TL|Mal Hizmet Toplam Tutarı=300,00 TL|"
                  "Diğer Vergiler=12,00 TL|Toplam İskonto=10,00 TL|Hesaplanan KDV(%10)=5,00 TL|"
                  "Vergiler Dahil Toplam Tutar=369,50 TL|Ödenecek Tutar=319,50 TL",
                  "120.00 319,50 TL 611.00 10,00 TL 600.00 300,00 TL 391.01 0,50 TL 391.08 4,00 TL 391.10 5,00 TL "
                  "391.18 8,00 TL 391.20 0,00 TL 360.00 12,00 TL nolu faturası"},
             Page{"Mal Hizmet Toplam Tutarı=101,00 TL|Hesaplanan KDV(%20)=20,00 TL|Vergiler Dahil Toplam Tutar=120,00 TL|"
                  "Ödenecek Tutar=120,00 TL",
                  "120.00 120,00 TL 600.00 101,00 TL 391.20 20,00 TL nolu faturası Borç ve alacak tutmuyor, fark: 1,00 TL"},
             // Net of a discount the page does not show.
             Page{"Mal Hizmet Toplam Tutarı=100,00 TL|Hesaplanan KDV(%20)=18,00 TL|Vergiler Dahil Toplam Tutar=108,00 TL|"
                  "Ödenecek Tutar=108,00 TL",
                  "120.00 108,00 TL 600.00 100,00 TL 391.20 18,00 TL nolu faturası Borç ve alacak tutmuyor, fark: 10,00 TL"},
             Page{"Mal Hizmet Toplam Tutarı=100,00 TL|Hesaplanan KDV (%20)=20,00 TL|Vergiler Dahil Toplam Tutar=120,00 TL|"
                  "Ödenecek Tutar=120,00 TL",
                  "120.00 120,00 TL 600.00 100,00 TL nolu faturası Borç ve alacak tutmuyor: Hesaplanan KDV (%20) satırı "
                  "hesaba bağlanamadı. Borç ve alacak tutmuyor, fark: 20,00 TL"},
             Page{"Mal Hizmet Toplam Tutarı=100,00 USD|Hesaplanan KDV(%20)=20,00 TL|Vergiler Dahil Toplam Tutar=120,00 TL|"
                  "Ödenecek Tutar=120,00 TL",
                  "120.00 120,00 TL 600.00 100,00 USD 391.20 20,00 TL nolu faturası Borç ve alacak tutmuyor: tutarlar "
                  "birden çok para biriminde."},
             Page{"", "120.00 nolu faturası Borç ve alacak tutmuyor: toplamlar tablosu okunamadı."},
             Page{"Mal Hizmet Toplam Tutarı=yok|Vergiler Dahil Toplam Tutar=120,00 TL",
                  "120.00 600.00 yok nolu faturası Borç ve alacak tutmuyor: Ödenecek Tutar okunamadı. Borç ve alacak "
                  "tutmuyor: Mal Hizmet Toplam Tutarı okunamadı."}}) {
        HtmlTable totals;
        for (const QString& row : QString::fromUtf8(p.totals).split(u'|', Qt::SkipEmptyParts))
            totals.push_back({" ", row.section(u'=', 0, 0), row.section(u'=', 1)});
        const QString block = voucherBlock(voucherInvoice({}, std::vector<HtmlTable>(totals.empty() ? 0 : 1, totals), true));
        EXPECT_EQ(block.simplified().section(u' ', 1).toStdString(), p.block);
    }
}

TEST(LineExport, ACancelledInvoiceTakesOneRowBetweenTheOthers)
{
    const HtmlTable two{lineTableHeaders(), {"1", "a"}, {"2", "b"}, {" ", " "}};
    const HtmlTable three{lineTableHeaders(), {"1", "c"}, {"2", "d"}, {"3", "e"}};  // no closing row
    LineExport e;
    e.add({"SATIŞ", "19-04-2023", "N1", "B2", "B8", two, false});
    e.add({"SATIŞ", "20-04-2023", "N2", "", "", two, true});
    e.add({"SATIŞ", "21-04-2023", "N3", "C2", "C8", three, false});
    // The closing row as the read gives it: a trimmed blank, a no-break space kept.
    e.add({"SATIŞ", "23-04-2023", "N5", "", "", {lineTableHeaders(), {"1", "f"}, {""}}, false});
    e.add({"SATIŞ", "24-04-2023", "N6", "", "", {lineTableHeaders(), {"1", "g"}, {"\u00a0", "\u00a0"}}, false});
    e.add({"SATIŞ", "22-04-2023", "N4", "", "", {}, false});  // a page without tables
    e.finish(146);
    std::map<int, QString> columnA;
    for (const auto& [cell, text] : e.cells())
        if (cell.second == 1)
            columnA[cell.first] = text;
    EXPECT_EQ(columnA, (std::map<int, QString>{{2, "1"}, {3, "2"}, {4, "N2-İPTAL"}, {5, "1"}, {6, "2"}, {7, "3"},
                                               {8, "1"}, {9, "1"},
                                               {10, "Excel'e çıkarma işlemi tamamlandı - Kuvela v146"}}));
    EXPECT_EQ(e.cells().at({2, 3}), QStringLiteral("SATIŞ"));
    EXPECT_EQ(e.cells().at({7, 7}), QStringLiteral("C8"));
    EXPECT_FALSE(cancelledFileName(QStringLiteral("İptal-x.html")));
    EXPECT_TRUE(cancelledFileName(QStringLiteral("GIB1-İptal-x.html")));
}

TEST(MailCompose, TextsForEveryView)
{
    ComposeInput in;
    in.mailTitle = QStringLiteral("ACME");
    in.companyName = QStringLiteral("Çağdaş Gıda");
    in.buyerName = QStringLiteral("ÖRNEK İNŞAAT");
    in.buyerMail = QStringLiteral("alici@example.com");
    in.pickedName = QStringLiteral("GIB2023000000001 19-04-2023  1234567890 X-SATIŞ-Y.html");
    struct Case { PaneView view; const char* subject; const char* third; };
    for (const Case& c : {Case{PaneView::Proforma, "ACME Proforma faturası", "Proforma faturamız ek 'te gönderilmiştir."},
                          Case{PaneView::SalesInvoices, "ACME GIB2023000000001 e-Arşiv fatura",
                               "e-Arşiv faturamız ek 'te gönderilmiştir."},
                          Case{PaneView::SalesPdf, "ACME GIB2023000000001 e-Arşiv fatura",
                               "e-Arşiv faturamız ek 'te gönderilmiştir."},
                          Case{PaneView::PurchaseInvoices, "ACME ", ""}, Case{PaneView::Reports, "ACME ", ""}}) {
        in.view = c.view;
        const ComposedMail m = composeMail(in);
        EXPECT_EQ(m.subject, QString::fromUtf8(c.subject));
        EXPECT_EQ(m.message, QStringLiteral("Sayın;\r\nÖRNEK İNŞAAT\r\n") + QString::fromUtf8(c.third) +
                                 QStringLiteral("\r\nİyi çalışmalar dileriz\r\nACME"));
        EXPECT_EQ(m.attachments, in.pickedName);
        EXPECT_EQ(m.to, in.buyerMail);
    }
    in.mailTitle.clear();
    in.view = PaneView::SalesInvoices;
    in.whoTriggered = kArchiveRoad;
    in.attachmentNames = QStringLiteral("a;b;c;");
    in.attachmentCount = 3;
    ComposedMail m = composeMail(in);
    EXPECT_EQ(m.subject, QStringLiteral("Çağdaş Gıda a;b;c; e-Arşiv fatura"));
    EXPECT_TRUE(m.message.contains(QStringLiteral("e-Arşiv faturalarımız ek 'te")));
    EXPECT_EQ(m.attachments, QStringLiteral("a;b;c;"));
    in.attachmentCount = 1;
    EXPECT_TRUE(composeMail(in).message.contains(QStringLiteral("e-Arşiv faturamız ek 'te")));

    EXPECT_EQ(splitAddresses(QStringLiteral(" a@x.com; b@y.com,,\nc@z.com ")),
              (QStringList{"a@x.com", "b@y.com", "c@z.com"}));
    EXPECT_EQ(headerField(QStringLiteral("Konu\r\nBcc: x@y")), QStringLiteral("Konu Bcc: x@y"));
}

TEST(PdfTitle, FiledNamesLoseTheirTailShortNamesTheirExtension)
{
    EXPECT_EQ(pdfTitle(QStringLiteral("GIB2023000000001 19-04-2023  1234567890 ÖRNEK İNŞAAT LTD ŞTİ-SATIŞ-ABCDEFGHIJKLMN.html")),
              QStringLiteral("GIB2023000000001 19-04-2023  1234567890 ÖRNEK İNŞAAT LTD ŞTİ"));
    EXPECT_EQ(pdfTitle(QStringLiteral("GIB2023000000003-İPTAL.txt")), QStringLiteral("GIB2023000000003-İPTAL"));
}

} // namespace
} // namespace kuvela::documents
