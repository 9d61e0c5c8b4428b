// The received-invoice list without a browser: the site's texts, the query windows, the
// account look-up, and the workbook as openpyxl reads it back.
#include "archive/received_list.h"
#include "archive/received_list_workbook.h"
#include "platform/workbook_test_support.h"

#include <gtest/gtest.h>

using namespace kuvela;
using namespace kuvela::testing;

TEST(ReceivedList, DateWindowsOfTheMonth)
{
    const auto leap = receivedDateWindows({QStringLiteral("02-2024"), QStringLiteral("2024-02"), QStringLiteral("29-02-2024")});
    ASSERT_EQ(leap.size(), 4u);
    const QStringList expected{"01-02-2024", "08-02-2024", "09-02-2024", "16-02-2024",
                               "17-02-2024", "24-02-2024", "25-02-2024", "29-02-2024"};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(leap[i].start, expected[int(2 * i)]);
        EXPECT_EQ(leap[i].end, expected[int(2 * i + 1)]);
    }
    EXPECT_EQ((std::vector<int>{leap[0].progress, leap[1].progress, leap[2].progress, leap[3].progress}),
              (std::vector<int>{10, 20, 40, 60}));
    EXPECT_EQ(receivedListFile("/p", QStringLiteral("ŞİRKET A.Ş"), QStringLiteral("2024-02")),
              toPath(QStringLiteral("/p/Firmalarım/ŞİRKET A.Ş/Alış Faturaları/ŞİRKET A.Ş 2024-02 eArşivFat.xlsx")));
}

TEST(ReceivedList, PagingTexts)
{
    struct Case {
        const char* text;
        int pages;
        std::optional<int> shown; // the page the bar shows
    };
    for (const Case& c : {Case{"Sayfa 1 / 3", 3, 1}, Case{"Sayfa 1 / 12", 12, 1}, Case{"Sayfa 1 /120", 120, 1},
                          Case{"  Sayfa 1 / 7 (Toplam)", 7, 1}, Case{"Sayfa 2 / 3", 1, 2}, Case{"", 1, {}},
                          Case{"Sayfa 1 / x", 1, 1}, Case{"Sayfa 12/ 12", 1, 12}, Case{"Sayfa / 3", 1, {}},
                          Case{"Sayfa 0 / 3", 1, {}}, Case{"Sayfa 3", 1, {}}, Case{"Sayfa x 2 / 3", 1, {}}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(receivedPageCount(QString::fromUtf8(c.text)), c.pages);
        EXPECT_EQ(receivedPageShown(QString::fromUtf8(c.text)), c.shown);
    }
    EXPECT_EQ(receivedInvoiceCounts(QStringLiteral("Toplam Kayıt Sayısı: 25")), std::vector<long long>{25});
    EXPECT_EQ(receivedInvoiceCounts(QStringLiteral("Gösterilen: 10 Toplam: 7")), (std::vector<long long>{10, 7}));
    EXPECT_EQ(receivedInvoiceCounts(QStringLiteral("Toplam:")), std::vector<long long>{0});
    EXPECT_TRUE(receivedInvoiceCounts(QStringLiteral("Kayıt yok")).empty());
}

TEST(ReceivedList, CellIdsFromAllTheirDigits)
{
    EXPECT_EQ(cellIdNumber(QStringLiteral("gen__4001")), 4001);
    EXPECT_EQ(cellIdNumber(QStringLiteral("gen__10234")), 10234) << "five digits, not the last four";
    EXPECT_EQ(cellIdNumber(QStringLiteral("gen__99999999999")), 99999999999LL) << "no 16-bit overflow";
    EXPECT_FALSE(cellIdNumber(QStringLiteral("gen__3036-b")));
    EXPECT_FALSE(cellIdNumber(QStringLiteral("gen__")));
    EXPECT_FALSE(cellIdNumber(QStringLiteral("x4001")));
    EXPECT_EQ(cellId(4001, 1, 1), QStringLiteral("gen__4001"));
    EXPECT_EQ(cellId(4001, 1, 11), QStringLiteral("gen__4011"));
    EXPECT_EQ(cellId(4001, 7, 11), QStringLiteral("gen__4077"));
    EXPECT_EQ(cellId(32760, 2, 1), QStringLiteral("gen__32771"));

    EXPECT_TRUE(isNoRecordsMessage(QStringLiteral("Kayıt bulunamadı.")));
    EXPECT_FALSE(isNoRecordsMessage(QStringLiteral("Sorgulama servisi geçici olarak hizmet dışı.")));
    EXPECT_EQ(received_text::incomplete(2), QStringLiteral("Fatura listesi eksik kaydedildi: 2 dönem hatalı."));
    const DateWindow w{10, QStringLiteral("01-02-2024"), QStringLiteral("08-02-2024")};
    EXPECT_EQ(received_text::countBox(w, 3, 25),
              QStringLiteral("01-02-2024 / 08-02-2024 tarih aralığında 3 sayfa içerisinde 25 adet fatura bulunuyor."));
    EXPECT_EQ(received_text::nextPageBox(2), QStringLiteral("Bu sorgu döneminin 2. sayfasını indirmek için tıklayın..."));
}

TEST(ReceivedList, AccountOfTheLaterColumnAndNoneAfterAGap)
{
    Workbook book = Workbook::create(QStringLiteral("prgDATA"));
    Sheet& prg = book.sheet(1);
    auto company = [&](int col, const char* name, const char* user, const char* pass) {
        prg.setText(2, col, QString::fromUtf8(name));
        prg.setText(8, col, QString::fromUtf8(user));
        prg.setText(9, col, QString::fromUtf8(pass));
    };
    company(2, "ACME", "111", "a");
    company(3, "BETA", "222", "b");
    company(4, "ACME", "333", "c");
    company(6, "GAMMA", "444", "d"); // after the empty column 5
    prg.setText(2, 7, QStringLiteral("BOŞ"));

    const auto acme = receivedListAccount(prg, QStringLiteral("ACME"));
    ASSERT_TRUE(acme);
    EXPECT_EQ(acme->user, QStringLiteral("333"));
    EXPECT_EQ(acme->pass, QStringLiteral("c"));
    EXPECT_FALSE(receivedListAccount(prg, QStringLiteral("GAMMA")));
    EXPECT_FALSE(receivedListAccount(prg, QStringLiteral("acme"))) << "names compare exactly";
    const auto empty = receivedListAccount(prg, QStringLiteral("BETA"));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->user, QStringLiteral("222"));
}

TEST(ReceivedList, WorkbookAsOpenpyxlReadsIt)
{
    QTemporaryDir dir;
    ReceivedInvoiceListWorkbook list;
    list.addRawRow(ReceivedInvoiceListWorkbook::headers());
    const QStringList first{"SATICI LİMİTED ŞİRKETİ ÇOK UZUN UNVAN", "0012345678", "GIB2024000000001", "01-02-2024",
                            "10:15:00", "1.234,56", "1.234,56", "188,32", "TRY", "", "ELEKTRONİK"};
    list.addInvoice(first);
    list.addRawRow(first);
    list.addInvoice({"B", "1", "GIB2024000000002", "02-02-2024", "11:00:00", "5,00", "5,00", "0,76", "TRY", "T1", "KAĞIT"});
    EXPECT_EQ(list.invoiceCount(), 2);
    const auto file = toPath(dir.filePath(QStringLiteral("ACME 2024-02 eArşivFat.xlsx")));
    writeBytes(file, "eski liste");
    list.saveAs(file);

    const QJsonObject read = readWithOpenpyxl(file);
    ASSERT_EQ(read["sheets"].toArray().size(), 2);
    const QString s1 = read["sheets"].toArray()[0].toString(), s2 = read["sheets"].toArray()[1].toString();
    const QJsonObject cells = at(read, "cells", s1).toObject();
    const QJsonObject formats = at(read, "formats", s1).toObject();
    const QString cols = QStringLiteral("ABCDEFGHIJK");
    for (int c = 0; c < 11; ++c) {
        const QString ref = cols.mid(c, 1) + u'1';
        SCOPED_TRACE(ref.toStdString());
        EXPECT_EQ(cells[ref].toArray(), (QJsonArray{"text", ReceivedInvoiceListWorkbook::headers()[c]}));
        EXPECT_TRUE(at(formats, ref, "bold").toBool());
        EXPECT_EQ(at(formats, ref, "fill").toString(), QStringLiteral("FFFFCC99"));
        EXPECT_EQ(at(formats, ref, "color").toString(), QStringLiteral("FF000000"));
    }
    EXPECT_FALSE(formats["A2"].toObject().contains("fill")) << "only the header row is filled";
    EXPECT_EQ(cells["B2"].toArray(), (QJsonArray{"text", "0012345678"}));
    EXPECT_EQ(cells["D2"].toArray(), (QJsonArray{"text", "01-02-2024"}));
    EXPECT_EQ(cells["F2"].toArray(), (QJsonArray{"text", "1.234,56"}));
    EXPECT_EQ(cells["B3"].toArray(), (QJsonArray{"text", "1"}));
    for (const char* ref : {"D2", "E3"})
        EXPECT_EQ(at(formats, ref, "h").toString(), QStringLiteral("center")) << ref;
    for (const char* ref : {"F2", "G3", "H2"})
        EXPECT_EQ(at(formats, ref, "h").toString(), QStringLiteral("right")) << ref;
    EXPECT_FALSE(at(formats, "C2", "h").isString());
    const QJsonObject widths = at(read, "widths", s1).toObject();
    EXPECT_GT(widths["A"].toDouble(), 36) << "the long title widens column A";
    EXPECT_GT(widths["A"].toDouble(), widths["I"].toDouble());
    const QJsonObject raw = at(read, "cells", s2).toObject();
    EXPECT_EQ(raw["K1"].toArray(), (QJsonArray{"text", "Gönderim Şekli"}));
    EXPECT_EQ(raw["B2"].toArray(), (QJsonArray{"text", "0012345678"}));
    EXPECT_FALSE(raw.contains("A3"));
}
