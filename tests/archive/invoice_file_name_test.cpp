#include "archive/invoice_file_name.h"

#include <gtest/gtest.h>

using namespace kuvela;

namespace {
PortalInvoiceRow row(const QString& no, const QString& vn, const QString& tar, const QString& un, const QString& type,
                     const QString& ipt = QStringLiteral("----------"))
{
    PortalInvoiceRow r;
    r.gibFatNo = no;
    r.gibFatVN = vn;
    r.gibFatTar = tar;
    r.gibFatUn = un;
    r.gibBelTur = type;
    r.gibFatIpt = ipt;
    return r;
}
} // namespace

TEST(InvoiceFileName, BuildsTheFixedWidthNamesOfBothWindows)
{
    const QString uuid = QStringLiteral("f47ac10b-58cc-4372-a567-0e02b2c3d479.zip");
    struct Case {
        PortalInvoiceRow row;
        FilingWindow window;
        QString package;
        QString html;
        QString zip;
    } cases[] = {
        {row("GIB2024000000001", "1234567890", "05-02-2024", "ABC LTD", "SATIŞ"), FilingWindow::DownloadWindow, uuid,
         "GIB2024000000001 05-02-2024  1234567890 ABC LTD             -SATIŞ-7-0e02b2c3d479.html",
         "GIB2024000000001 05-02-2024  1234567890 ABC LTD             -SATIŞ-7-0e02b2c3d479.zip"},
        // The main window puts the objection cell in front of the type; Zip keeps the type alone.
        {row("GIB2024000000001", "1234567890", "05-02-2024", "ABC LTD", "SATIŞ"), FilingWindow::MainWindow, uuid,
         "GIB2024000000001 05-02-2024  1234567890 ABC LTD             -----------SATIŞ-7-0e02b2c3d479.html",
         "GIB2024000000001 05-02-2024  1234567890 ABC LTD             -SATIŞ-7-0e02b2c3d479.zip"},
        // 11 digits unchanged, a 25-character title cut to 20.
        {row("GIB2024000000002", "12345678901", "14-02-2024", "ÖZTÜRK İNŞAAT TİCARET LTD", "TEVKİFAT-İTİRAZ EDİLDİ",
             "İTİRAZ EDİLDİ"),
         FilingWindow::MainWindow, "ABCDEFGHIJKLMNOPQRST.zip",
         "GIB2024000000002 14-02-2024 12345678901 ÖZTÜRK İNŞAAT TİCARE-İTİRAZ EDİLDİTEVKİFAT-İTİRAZ EDİLDİ-GHIJKLMNOPQRST.html",
         "GIB2024000000002 14-02-2024 12345678901 ÖZTÜRK İNŞAAT TİCARE-TEVKİFAT-İTİRAZ EDİLDİ-GHIJKLMNOPQRST.zip"},
        // Exactly 20 characters (Turkish letters count one each); a stem shorter than 14.
        {row("GIB2023000000123", "9876543210", "31-12-2023", "ŞAHİN GIDA SANAYİ AŞ", "İADE"),
         FilingWindow::DownloadWindow, "ABC.zip",
         "GIB2023000000123 31-12-2023  9876543210 ŞAHİN GIDA SANAYİ AŞ-İADE-ABC.html",
         "GIB2023000000123 31-12-2023  9876543210 ŞAHİN GIDA SANAYİ AŞ-İADE-ABC.zip"},
        // A capital extension is kept in Zip.
        {row("GIB2024000000010", "11111111111", "01-03-2024", "AYŞE YILMAZ", "SATIŞ"), FilingWindow::DownloadWindow,
         "E2F1C3D4A5B6C7D8E9F0.ZIP",
         "GIB2024000000010 01-03-2024 11111111111 AYŞE YILMAZ         -SATIŞ-D4A5B6C7D8E9F0.html",
         "GIB2024000000010 01-03-2024 11111111111 AYŞE YILMAZ         -SATIŞ-D4A5B6C7D8E9F0.ZIP"},
        // A letter outside the basic plane counts one and is never split: 19 letters and
        // an emoji fill the field, a 21st character goes.
        {row("GIB2024000000013", "1234567890", "05-02-2024", QStringLiteral("ÇİÇEK BAHÇESİ EVİ 🌷🌷"), "SATIŞ"),
         FilingWindow::DownloadWindow, "ABC.zip",
         QStringLiteral("GIB2024000000013 05-02-2024  1234567890 ÇİÇEK BAHÇESİ EVİ 🌷🌷-SATIŞ-ABC.html"),
         QStringLiteral("GIB2024000000013 05-02-2024  1234567890 ÇİÇEK BAHÇESİ EVİ 🌷🌷-SATIŞ-ABC.zip")},
        {row("GIB2024000000014", "1234567890", "05-02-2024", QStringLiteral("KAHVE ☕ DÜNYASI AŞ 😀X"), "SATIŞ"),
         FilingWindow::DownloadWindow, "ABC.zip",
         QStringLiteral("GIB2024000000014 05-02-2024  1234567890 KAHVE ☕ DÜNYASI AŞ 😀-SATIŞ-ABC.html"),
         QStringLiteral("GIB2024000000014 05-02-2024  1234567890 KAHVE ☕ DÜNYASI AŞ 😀-SATIŞ-ABC.zip")},
        {row("GIB2024000000015", "1234567890", "05-02-2024", QStringLiteral("😀 GÜLEN YÜZ"), "SATIŞ"),
         FilingWindow::DownloadWindow, "ABC.zip",
         QStringLiteral("GIB2024000000015 05-02-2024  1234567890 😀 GÜLEN YÜZ         -SATIŞ-ABC.html"),
         QStringLiteral("GIB2024000000015 05-02-2024  1234567890 😀 GÜLEN YÜZ         -SATIŞ-ABC.zip")},
        // A title with a slash stays one file name, same width.
        {row("GIB2024000000012", "1234567890", "05-02-2024", "DENİZ A/S: \"X\"", "SATIŞ"),
         FilingWindow::DownloadWindow, "ABC.zip",
         "GIB2024000000012 05-02-2024  1234567890 DENİZ A_S_ _X_      -SATIŞ-ABC.html",
         "GIB2024000000012 05-02-2024  1234567890 DENİZ A_S_ _X_      -SATIŞ-ABC.zip"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(invoiceFileName(c.row, c.window, c.package, "html"), c.html);
        EXPECT_EQ(invoicePackageFileName(c.row, c.package), c.zip);
    }
}

TEST(InvoiceFileName, ParsesWhatItBuilds)
{
    const PortalInvoiceRow r =
        row("GIB2024000000099", "4445556667", "20-04-2024", "KARADENİZ DIŞ TİCARET A.Ş.", "İHRAÇ KAYITLI");
    for (FilingWindow w : {FilingWindow::DownloadWindow, FilingWindow::MainWindow}) {
        const QString name = invoiceFileName(r, w, "3b1f0e9a-7c2d-4e5f-8a9b-112233445566.zip", "xml");
        const InvoiceFileFields f = parseInvoiceFileName(name);
        EXPECT_TRUE(f.wellFormed);
        EXPECT_EQ(f.number, "GIB2024000000099");
        EXPECT_EQ(f.date, "20-04-2024");
        EXPECT_EQ(f.period, "04-2024");
        EXPECT_EQ(f.taxNumber, " 4445556667");
        EXPECT_EQ(f.title, "KARADENİZ DIŞ TİCARE");
        EXPECT_EQ(f.typeText, invoiceTypeText(r, w));
        EXPECT_EQ(f.tail, "b-112233445566");
        EXPECT_EQ(f.extension, "xml");
    }
    // A decomposed name (copied from another system) is read by composed letters.
    const QString built = invoiceFileName(row("GIB2023000000123", "9876543210", "31-12-2023", "ŞAHİN GIDA SANAYİ AŞ",
                                              "İADE"),
                                          FilingWindow::DownloadWindow, "ABC.zip", "html");
    const InvoiceFileFields d = parseInvoiceFileName(built.normalized(QString::NormalizationForm_D));
    EXPECT_EQ(d.title, "ŞAHİN GIDA SANAYİ AŞ");
    EXPECT_EQ(d.tail, "ABC");
    // An emoji in the title moves nothing after it.
    const InvoiceFileFields e = parseInvoiceFileName(invoiceFileName(
        row("GIB2024000000014", "1234567890", "05-02-2024", QStringLiteral("KAHVE 😀 DÜNYASI"), "SATIŞ"),
        FilingWindow::DownloadWindow, "ABC.zip", "html"));
    EXPECT_TRUE(e.wellFormed);
    EXPECT_EQ(e.title, QStringLiteral("KAHVE 😀 DÜNYASI     "));
    EXPECT_EQ(e.typeText, "SATIŞ");
    EXPECT_EQ(e.tail, "ABC");
}

TEST(InvoiceFileName, OddTaxNumberShiftsTheFieldsAndIsFlagged)
{
    const QString name = invoiceFileName(row("GIB2024000000011", "123456789", "15-03-2024", "XYZ", "İSTİSNA"),
                                         FilingWindow::DownloadWindow, "0123456789abcdef.zip", "html");
    EXPECT_EQ(name, "GIB2024000000011 15-03-2024 123456789 XYZ                 -İSTİSNA-23456789abcdef.html");
    const InvoiceFileFields f = parseInvoiceFileName(name);
    EXPECT_FALSE(f.wellFormed);
    EXPECT_EQ(f.period, "03-2024");
    EXPECT_EQ(f.title, "Z                 -İ");
    EXPECT_FALSE(parseInvoiceFileName("GIB2023000000003-İPTAL.txt").wellFormed);
}
