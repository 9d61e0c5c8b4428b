#include "portal/bulk_template.h"

#include "common/regional.h"
#include "documents/invoice_lines.h"
#include "invoice/line_entry.h"

#include "fixtures/template_fixture.h"
#include "platform/workbook.h"

#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <random>

using namespace kuvela;
using namespace kuvela::portal;
using invoice::LineGrid;
using invoice::SheetView;
using kuvela::test::dateCell;
using kuvela::test::errorCell;
using kuvela::test::textCell;
using kuvela::test::writeTemplate;

namespace {

QString S(const char* utf8) { return QString::fromUtf8(utf8); }

// Bulk sheets: buyer A-F, date G, then the SATIŞ line block from H.
struct BulkSheet {
    LineGrid grid;
    BulkSettings settings;
    QTemporaryDir dir;

    explicit BulkSheet(int typePosition = 0, const QString& typeText = S("SATIŞ"))
    {
        grid.layoutForType(invoice::invoiceKindAt(typePosition));
        settings.grid = &grid;
        settings.typeText = typeText;
        settings.totals.kind = invoice::invoiceKindAt(typePosition);
        settings.totals.dc = 2;
        settings.invoiceDate = "05/03/2024";
        settings.programVersion = 146;
    }

    QJsonArray titles() const
    {
        QJsonArray t;
        for (const QString& b : invoice::bulkBuyerTitles())
            t.append(b);
        for (const auto& c : grid.columns)
            t.append(c.title);
        return t;
    }

    // One line of 1 x 100 with 18 % VAT unless told otherwise.
    static QJsonArray row(const QJsonValue& vkn, const QJsonValue& name, const QJsonValue& qty = 1,
                          const QJsonValue& g = QJsonValue(), const QJsonValue& item = "Kalem")
    {
        return {vkn, S("Kadıköy"), name, "Adres", S("Türkiye"), "a@b.test", g, item, qty, "Adet", 100, 0,
                QJsonValue(), QJsonValue(), 18, QJsonValue()};
    }

    BulkReading read(const std::vector<QJsonArray>& rows, const QString& name = "liste.xlsx")
    {
        QJsonArray all{titles()};
        for (const QJsonArray& r : rows)
            all.append(r);
        const QString path = dir.filePath(name);
        writeTemplate(toPath(path), all);
        return readBulkWorkbook(path, settings);
    }

    SheetView view(const std::vector<QJsonArray>& rows, const QString& name = "liste.xlsx")
    {
        QJsonArray all{titles()};
        for (const QJsonArray& r : rows)
            all.append(r);
        writeTemplate(toPath(dir.filePath(name)), all);
        Workbook book = Workbook::open(toPath(dir.filePath(name)));
        return bulkSheetView(book.sheet("Sayfa1"));
    }
};

QStringList rowsOf(const BulkReading& r)
{
    QStringList out;
    for (const BulkInvoice& inv : r.invoices)
        out << inv.rowsText();
    return out;
}

QStringList texts(const std::vector<BulkMessage>& messages)
{
    QStringList out;
    for (const BulkMessage& m : messages)
        out << m.text;
    return out;
}

QString check7(const char* head)
{
    return S(head) + S("\r\nHataya yol açmamak için lütfen kontrol ederek tekrar yükleyin.\r\n"
                       "Kuvela her farklı VKN için 1 fatura oluşturur.\r\nHata yoksa bu mesajı dikkate almayın.");
}

} // namespace

TEST(BulkTemplate, EachGroupingModeJoinsOnlyAdjacentRows)
{
    BulkSheet b;
    const std::vector<QJsonArray> rows = {b.row(111, "Ali"), b.row(111, "Ali"), b.row(222, "Ali"),
                                          b.row(111, "Veli")};
    const struct {
        GroupingMode mode;
        QStringList rows;
    } cases[] = {
        {GroupingMode::ByTaxNumber, {"2-3", "4-4", "5-5"}},
        {GroupingMode::ByName, {"2-4", "5-5"}},
        {GroupingMode::OnePerRow, {"2-2", "3-3", "4-4", "5-5"}},
    };
    const SheetView sheet = b.view(rows);
    for (const auto& c : cases) {
        b.settings.mode = c.mode;
        const BulkReading r = readBulkTemplate(sheet, b.settings);
        EXPECT_EQ(r.end, BulkReading::End::Complete);
        EXPECT_EQ(rowsOf(r), c.rows) << int(c.mode);
        EXPECT_TRUE(r.messages.empty());
        EXPECT_EQ(r.statusText, QStringLiteral("Excel okundu %1 adet Fatura hazırlandı...").arg(c.rows.size()));
    }

    b.settings.mode = GroupingMode::ByTaxNumber;
    const BulkReading r = readBulkTemplate(sheet, b.settings);
    EXPECT_EQ(r.invoices[0].queueRow().cells(),
              (QStringList{"1", "   ---    ", "05/03/2024", "111", S("Kadıköy"), "Ali", "Adres", "236,00", "", "2-3",
                           S("Yükleme bekliyor")}));
    EXPECT_EQ(r.invoices[2].queueRow().number, "3");
    EXPECT_EQ(r.invoices[0].totals.lines.size(), 2u);
    EXPECT_EQ(r.invoices[0].totals.lines[1][0], "2");  // the line number is the sheet row - 1
    EXPECT_EQ(r.logText,
              S("Uyarı ! Kuvela v146 Excel şablonunuzun tamamını kontrol etmez, sadece ardışık satırlarda Vkn/Ad-Ünvan "
                "tutarsızlığı olması halinde uyarı verir. Listenizi kontrol edin, doğruluğundan eminseniz Sırayla "
                "Yükle butonuna tıklayın. Yüklenen faturayı TASLAK kaydetmek istemiyorsanız VAZGEÇ butonuna tıklayın "
                "bir sonraki fatura otomatik yüklenecektir."));
}

TEST(BulkTemplate, OnePerRowJoinsOnlyTheFixedText)
{
    BulkSheet b;
    b.settings.mode = GroupingMode::OnePerRow;
    const BulkReading r = b.read({b.row(onePerRowKey(), "Ali"), b.row(111, "Ali"), b.row(111, "Ali")});
    EXPECT_EQ(rowsOf(r), (QStringList{"2-3", "4-4"}));
}

TEST(BulkTemplate, ErrorCheckWarnings)
{
    BulkSheet b;
    b.settings.errorChecks = true;
    const QString numberSame = check7("Dikkat ! 2 ile 3. satırlarda VKN'ler aynı iken ünvanlar farklı !");
    const QString titleSame = check7("Dikkat ! 3 ile 4. satırlarda Ünvanlar aynı iken VKN'ler farklı !");
    const SheetView mixed = b.view({b.row(111, "Ali"), b.row(111, "Veli"), b.row(222, "Veli")}, "mixed.xlsx");
    const SheetView same = b.view({b.row(111, "Ali"), b.row(111, "Ali")}, "same.xlsx");
    const SheetView titleOnly = b.view({b.row(111, "Ali"), b.row(222, "Ali")}, "title.xlsx");
    const struct {
        const char* what;
        const SheetView* sheet;
        GroupingMode mode;
        QStringList rows;
        QStringList warnings;
    } cases[] = {
        {"prm1 mixed", &mixed, GroupingMode::ByTaxNumber, {"2-3", "4-4"}, {numberSame, titleSame}},
        {"prm2 mixed", &mixed, GroupingMode::ByName, {"2-2", "3-4"}, {numberSame}},
        {"prm3 same buyer", &same, GroupingMode::OnePerRow, {"2-2", "3-3"}, {}},
        {"prm2 same title", &titleOnly, GroupingMode::ByName, {"2-3"}, {}},
        {"prm1 same title", &titleOnly, GroupingMode::ByTaxNumber, {"2-2", "3-3"},
         {check7("Dikkat ! 2 ile 3. satırlarda Ünvanlar aynı iken VKN'ler farklı !")}},
    };
    for (const auto& c : cases) {
        b.settings.mode = c.mode;
        const BulkReading r = readBulkTemplate(*c.sheet, b.settings);
        EXPECT_EQ(rowsOf(r), c.rows) << c.what;
        EXPECT_EQ(texts(r.messages), c.warnings) << c.what;
        for (const BulkMessage& m : r.messages)
            EXPECT_EQ(m.icon, MsgIcon::Critical);
    }
    b.settings.errorChecks = false;
    b.settings.mode = GroupingMode::ByTaxNumber;
    EXPECT_TRUE(readBulkTemplate(mixed, b.settings).messages.empty());
}

TEST(BulkTemplate, TaxNumbersAsNumberOrTextAreOneKeyAndKeepLeadingZeros)
{
    BulkSheet b;
    b.settings.mode = GroupingMode::ByTaxNumber;
    const BulkReading r = b.read({b.row(1234567890, "A"), b.row(textCell("1234567890"), "A"),
                                  b.row(textCell("0123456789"), "B"), b.row(123456789, "C"),
                                  b.row(12345678901.0, S("Ahmet Can Yılmaz"))});
    ASSERT_EQ(rowsOf(r), (QStringList{"2-3", "4-4", "5-5", "6-6"}));
    EXPECT_EQ(r.invoices[0].queueRow().taxNumber, "1234567890");
    EXPECT_EQ(r.invoices[1].queueRow().taxNumber, "0123456789");
    EXPECT_EQ(r.invoices[2].queueRow().taxNumber, "123456789");
    const BulkBuyer& person = r.invoices[3].buyer;
    EXPECT_EQ(person.text20, "12345678901");
    EXPECT_EQ(person.aad, "Ahmet Can");
    EXPECT_EQ(person.ssoyad, S("Yılmaz"));
    EXPECT_TRUE(person.uunvan.isEmpty());
    EXPECT_EQ(r.invoices[1].buyer.uunvan, "B");
}

TEST(BulkTemplate, DatesFromColumnGOfTheLastRow)
{
    BulkSheet b;
    b.settings.mode = GroupingMode::ByTaxNumber;
    b.settings.datesFromExcel = true;
    b.settings.invoiceDate.clear();
    BulkReading r = b.read({b.row(111, "A", 1, "x"), b.row(111, "A"), b.row(111, "A", 1, dateCell("2024-03-05")),
                            b.row(222, "B", 1, "07.03.2024")});
    ASSERT_EQ(rowsOf(r), (QStringList{"2-4", "5-5"}));
    EXPECT_EQ(r.invoices[0].queueRow().date, "05.03.2024");
    EXPECT_EQ(r.invoices[1].date, "07.03.2024");

    r = b.read({b.row(111, "A", 1, dateCell("2024-03-05")), b.row(222, "B"), b.row(333, "C", 1, "x")}, "eksik.xlsx");
    EXPECT_EQ(r.end, BulkReading::End::MissingDate);
    EXPECT_EQ(rowsOf(r), QStringList{"2-2"});
    ASSERT_FALSE(r.messages.empty());
    EXPECT_EQ(r.messages.back(),
              (BulkMessage{MsgIcon::Information, S(" Tarihleri Excel'den al seçiliyken G sütunu boş bırakılamaz !")}));
    EXPECT_FALSE(r.logText);
    EXPECT_FALSE(r.statusText);
}

TEST(BulkTemplate, BadCellsStopTheReadingAndKeepWhatWasQueued)
{
    BulkSheet b;
    b.settings.mode = GroupingMode::ByTaxNumber;
    const struct {
        const char* what;
        QJsonArray bad;
        int column;
    } cases[] = {
        {"quantity abc", b.row(222, "B", "abc"), 9},
        {"error in the title", b.row(222, errorCell("#N/A")), 3},
        {"error in a line cell", b.row(222, "B", errorCell("#DIV/0!")), 9},
    };
    for (const auto& c : cases) {
        const BulkReading r = b.read({b.row(111, "A"), b.row(111, "A"), c.bad, b.row(333, "C")});
        EXPECT_EQ(r.end, BulkReading::End::BadData) << c.what;
        EXPECT_EQ(rowsOf(r), QStringList{"2-3"}) << c.what;
        ASSERT_EQ(r.messages.size(), 1u) << c.what;
        EXPECT_EQ(r.messages[0].icon, MsgIcon::Exclamation);
        EXPECT_TRUE(r.messages[0].text.startsWith(QStringLiteral("Hatalı veri: Excel Satır 4 Sütun %1 ").arg(c.column)))
            << r.messages[0].text.toStdString();
        EXPECT_EQ(r.statusText,
                  QStringLiteral("Excel dosyası okunurken hatalı veri ile karşılaşıldı. Satır No: 4 Sütun No: %1")
                      .arg(c.column));
        EXPECT_FALSE(r.logText) << c.what;
    }
}

TEST(BulkTemplate, WorkbookPathsAndSheets)
{
    BulkSheet b;
    b.settings.mode = GroupingMode::ByTaxNumber;
    EXPECT_EQ(rowsOf(b.read({b.row(111, "A")}, "LİSTE.XLSX")), QStringList{"2-2"});

    BulkReading r = readBulkWorkbook(b.dir.filePath("liste.xls"), b.settings);
    EXPECT_EQ(r.end, BulkReading::End::NotExcel);
    EXPECT_EQ(r.statusText, S("Toplu veri almak için bir Excel dosyası seçiniz...!"));

    writeTemplate(toPath(b.dir.filePath("baska.xlsx")), {b.titles()}, "Sheet");
    r = readBulkWorkbook(b.dir.filePath("baska.xlsx"), b.settings);
    EXPECT_EQ(r.end, BulkReading::End::BadData);
    EXPECT_EQ(r.messages.size(), 1u);
    EXPECT_TRUE(r.invoices.empty());
}

TEST(BulkTemplate, TitlesAndEndOfData)
{
    BulkSheet b;
    b.settings.mode = GroupingMode::ByTaxNumber;
    auto sheetOf = [&](QStringList titles, std::vector<QStringList> rows) {
        rows.insert(rows.begin(), titles);
        return SheetView{rows, {}};
    };
    QStringList titles = invoice::bulkBuyerTitles();
    for (const auto& c : b.grid.columns)
        titles << c.title;
    const QStringList line = {"111", "", "A", "", "", "", "", "Kalem", "1", "Adet", "100", "0", "", "", "18", ""};
    QStringList wrongG = titles;
    wrongG[6] = S("sıra");

    BulkReading r = readBulkTemplate(sheetOf(wrongG, {line}), b.settings);
    EXPECT_EQ(r.end, BulkReading::End::Refused);
    EXPECT_EQ(texts(r.messages), QStringList{S("sıra  bu Excel Sütun Adı hatalı ! Lütfen orjinal bir Şablon kullanınız.")});
    r = readBulkTemplate(sheetOf(titles + QStringList{"Fazla"}, {line}), b.settings);
    EXPECT_EQ(texts(r.messages),
              QStringList{S("Yüklemeye çalıştığınız Excel'in sütun sayısı daha fazla ! Lütfen kontrol ediniz...")});
    EXPECT_TRUE(r.invoices.empty());
    // Fewer titles than the grid: the missing cells stay empty.
    r = readBulkTemplate(sheetOf(titles.mid(0, 12), {line.mid(0, 12)}), b.settings);
    ASSERT_EQ(r.invoices.size(), 1u);
    EXPECT_EQ(r.invoices[0].totals.lines[0].mid(4, 3), (QStringList{"100,00", "0", "0,00"}));

    // A row that continues the invoice but has no line ends the reading; the invoice is lost.
    QStringList noLine = line;
    noLine[7].clear();
    QStringList other = line;
    other[0] = "222";
    r = readBulkTemplate(sheetOf(titles, {line, noLine, other}), b.settings);
    EXPECT_EQ(r.end, BulkReading::End::Complete);
    EXPECT_TRUE(r.invoices.empty());
    EXPECT_EQ(r.statusText, S("Excel okundu 0 adet Fatura hazırlandı..."));
}

TEST(BulkTemplate, LineRulesOfTheBulkForm)
{
    BulkSheet b(2, S("TEVKİFAT"));
    b.settings.mode = GroupingMode::OnePerRow;
    b.settings.totals.dc = 4;  // the bulk form uses two decimals whatever dc is
    QStringList titles = invoice::bulkBuyerTitles();
    for (const auto& c : b.grid.columns)
        titles << c.title;
    auto line = [](const char* rate, const char* qty) {
        return QStringList{"111", "", "A", "", "", "", "", "Kalem", qty, "Adet", "100", "10", "", "", "18", "", "602",
                           rate, ""};
    };
    const BulkReading r = readBulkTemplate(SheetView{{titles, line("50", "2"), line("0", "-3")}, {}}, b.settings);
    ASSERT_EQ(r.invoices.size(), 2u);
    EXPECT_EQ(r.invoices[0].totals.lines[0].mid(4, 9),
              (QStringList{"100,00", "10", "20,00", "180,00", "18", "32,40", "602", "50", "16,2"}));
    EXPECT_EQ(r.invoices[1].totals.lines[0].mid(2, 1), QStringList{"0"});
    EXPECT_EQ(r.invoices[1].totals.lines[0][12], "0");
    EXPECT_EQ(texts(r.messages), QStringList{S("Satır 2 tevkifat oranı 0'dan büyük olmalıdır !")});
}

TEST(BulkTemplate, RereadChecksTheQueueRowBeforeUpload)
{
    BulkSheet b;
    b.settings.mode = GroupingMode::ByTaxNumber;
    const std::vector<QJsonArray> rows = {b.row(111, "A"), b.row(111, "A"), b.row(textCell("0222"), "B"),
                                          b.row(333, "C")};
    const BulkReading queued = readBulkTemplate(b.view(rows), b.settings);
    ASSERT_EQ(queued.invoices.size(), 3u);
    const UploadQueueRow second = queued.invoices[1].queueRow();
    EXPECT_EQ(queuedFirstRow(second), 4);

    const InvoiceRead same = readInvoiceAt(b.view(rows), b.settings, queuedFirstRow(second), 2);
    EXPECT_EQ(same.result, InvoiceRead::Result::Invoice);
    EXPECT_EQ(queueRowMismatch(same, second), std::nullopt);
    EXPECT_EQ(same.invoice.totals.checkTotal, queued.invoices[1].totals.checkTotal);

    std::vector<QJsonArray> inserted = rows;
    inserted.insert(inserted.begin(), b.row(111, "A"));
    const InvoiceRead shifted = readInvoiceAt(b.view(inserted, "ekli.xlsx"), b.settings, 4, 2);
    ASSERT_TRUE(queueRowMismatch(shifted, second));
    EXPECT_TRUE(queueRowMismatch(shifted, second)->startsWith(S("Excel dosyası fatura listesi hazırlandıktan sonra")));

    std::vector<QJsonArray> renumbered = rows;
    renumbered[2] = b.row(222, "B");  // the leading zero is gone
    EXPECT_TRUE(queueRowMismatch(readInvoiceAt(b.view(renumbered, "vkn.xlsx"), b.settings, 4, 2), second));
    EXPECT_TRUE(queueRowMismatch(readInvoiceAt(b.view({rows[0]}, "kisa.xlsx"), b.settings, 4, 2), second));
}

TEST(BulkTemplate, HeaderChecksInOrder)
{
    const struct {
        BulkHeader header;
        std::optional<QString> text;
        bool label52;
    } cases[] = {
        {{"", "", "", GroupingMode::ByTaxNumber, false}, S("Tarih seçimi zorunludur !"), false},
        {{"", "", "", GroupingMode::ByTaxNumber, true}, std::nullopt, false},
        {{"05/03/2024", "04/03/2024", "", GroupingMode::None, false}, S("İrsaliye tarihi varsa numarası da girilmelidir!"), false},
        {{"05/03/2024", "", "IRS1", GroupingMode::None, false}, S("İrsaliye numarası varsa tarihi de girilmelidir!"), false},
        {{"05/03/2024", "", "", GroupingMode::None, false}, S("Bir gruplama türü seçiniz !"), true},
    };
    for (const auto& c : cases) {
        const auto refusal = checkBulkHeader(c.header);
        EXPECT_EQ(refusal.has_value(), c.text.has_value());
        if (refusal && c.text) {
            EXPECT_EQ(refusal->text, *c.text);
            EXPECT_EQ(refusal->inLabel52, c.label52);
        }
    }
}

TEST(BulkTemplate, BuyerNameSplit)
{
    const struct {
        QString text20, text19, uunvan, aad, ssoyad;
    } cases[] = {
        {"1234567890", S("ABC Ltd Şti"), S("ABC Ltd Şti"), "", ""},
        {"1234567890", S("  ABC Ltd Şti "), S("ABC Ltd Şti"), "", ""},  // the title trimmed as well
        {"12345678901", S("Ahmet  Yılmaz"), "", "Ahmet", S("Yılmaz")},
        {"12345678901", S("Ahmet Can Yılmaz"), "", "Ahmet Can", S("Yılmaz")},
        {"12345678901", S("Ayşe·Nur Demir "), "", S("Ayşe·Nur"), "Demir"},
        {"12345678901", S("Ayşe Nur·Demir"), "", S("Ayşe Nur"), "Demir"},
        {"12345678901", "Cher", "", "Cher", ""},  // never the previous buyer's parts
    };
    for (const auto& c : cases) {
        BulkBuyer b;
        b.text20 = c.text20;
        b.text19 = c.text19;
        b.aad = b.ssoyad = b.uunvan = "eski";
        splitBulkBuyerName(b);
        EXPECT_EQ(b.uunvan, c.uunvan) << c.text19.toStdString();
        EXPECT_EQ(b.aad, c.aad) << c.text19.toStdString();
        EXPECT_EQ(b.ssoyad, c.ssoyad) << c.text19.toStdString();
    }
}

TEST(BulkTemplate, EveryRoadGivesTheDialogsLinesAndTheirRowsAddUp)
{
    // Random invoices of every type, kilos at 3-5 decimal prices and fractional tax rates, typed into the
    // dialog, read back from the template "Excel'e Kaydet" saves, at the bulk form's two decimals of the
    // price from a bulk sheet and, without extra taxes, from the invoice HTML the portal prints of them:
    // the same cells before and after the totals, and goods - discounts + taxes + VAT is GENEL TOPLAM to
    // the kuruş, Ödenecek GENEL TOPLAM less the withheld VAT.
    std::mt19937 random(20261209);
    auto pick = [&](int below) { return int(random() % unsigned(below)); };
    auto decimal = [&](int whole, int places) {
        return QString::number(pick(whole)) + u',' + QString::number(pick(int(std::pow(10, places)))).rightJustified(places, u'0');
    };
    // A number as a workbook cell gives it back ("7,50" as 7,5), an empty cell as 0; the line number
    // names a bulk row.
    auto plain = [](QStringList cells, qsizetype columns = 0) {
        cells.resize(std::max(columns, cells.size()));
        for (QString& cell : cells)
            if (const auto v = regionalConvert(cell.isEmpty() ? QStringLiteral("0") : cell))
                cell = formatPlain(*v);
        return cells.mid(1);
    };
    const QStringList types = {"SATIŞ", "İADE", "TEVKİFAT", "İSTİSNA", "ÖZEL MATRAH", "İHRAÇ KAYITLI"};
    const QStringList taxes = {"V0071-ÖTV 1.LİSTE%", "V0021-BSMV%", "V4071-EHTV%", ""};
    for (int run = 0; run < 300; ++run) {
        SCOPED_TRACE(run);
        const int position = run % 6, dc = run % 3 ? 2 : 3 + pick(3), withTaxes = run / 6 % 3;
        BulkSheet b(position, types[position]);
        b.settings.mode = GroupingMode::ByTaxNumber;
        b.settings.totals.dc = dc;
        LineGrid dialog = b.grid;
        for (int n = 1 + pick(5); n > 0; --n) {
            invoice::LineEntryFields f{"X", decimal(50, 3), "kg", decimal(1000, 3 + pick(3)), QString::number(pick(25)),
                                       invoice::AllowedVatRates()[1 + pick(5)], "601 % 90",
                                       position == 2 ? QString::number(10 + pick(90)) : "", taxes[withTaxes ? pick(4) : 3],
                                       decimal(20, 2), taxes[withTaxes ? pick(4) : 3], decimal(9, 3), "8471", "801",
                                       position == 4 ? decimal(500, 2) : "0"};
            invoice::faturayaEkle(f, types[position], dc, dialog);  // a refused line leaves the grid alone
        }
        std::vector<QStringList> sheet{{}}, bulkSheet{invoice::bulkBuyerTitles()};
        for (int k = 1; k <= dialog.columnCount(); ++k)
            sheet[0] << dialog.title(k), bulkSheet[0] << dialog.title(k);
        for (const QStringList& line : dialog.rows)
            sheet.push_back(QStringList{""} + plain(line, dialog.columnCount())),
                bulkSheet.push_back(QStringList{"111", "", "A", "", "", "", ""} + plain(line, dialog.columnCount()));
        b.grid.columns = dialog.columns;
        LineGrid imported = b.grid;
        imported.rows = invoice::readLineTemplate(SheetView{sheet, {}}, b.grid, types[position], dc, false).rows;
        ASSERT_EQ(imported.rows.size(), dialog.rows.size());
        const auto byDialog = invoice::yekunal(dialog, b.settings.totals), byTemplate = invoice::yekunal(imported, b.settings.totals);
        const BulkReading bulk = readBulkTemplate(SheetView{bulkSheet, {}}, b.settings);
        // The invoice HTML the portal prints of SATIŞ, İADE and TEVKİFAT lines without extra taxes.
        const bool printed = position < 3 && !withTaxes;
        documents::HtmlTable page{documents::lineTableHeaders()};
        for (const QStringList& l : dialog.rows)
            page.push_back({l[0], l[1], l[2] + ' ' + l[3], l[4] + " TL", '%' + l[5], l[6] + " TL", " ", '%' + l[8],
                            l[9] + " TL", position == 2 ? "KDV TEVKİFAT (%" + l[11] + ')' : QString()});
        LineGrid html = dialog;
        html.rows = documents::importLines(page, invoice::invoiceKindByText(types[position]), position == 2 ? "601 % 90" : "").rows;
        const auto byHtml = invoice::yekunal(html, b.settings.totals);
        for (size_t i = 0; i < dialog.rows.size(); ++i) {
            EXPECT_EQ(plain(imported.rows[i]), plain(dialog.rows[i], dialog.columnCount())) << "as read, line " << i + 1;
            EXPECT_EQ(plain(byTemplate.lines[i]), plain(byDialog.lines[i])) << "line " << i + 1;
            if (dc == 2 && !bulk.invoices.empty())
                EXPECT_EQ(plain(bulk.invoices[0].totals.lines.at(i)), plain(byDialog.lines[i])) << "bulk, line " << i + 1;
            if (printed)
                EXPECT_EQ(plain(byHtml.lines.at(i)), plain(byDialog.lines[i])) << "invoice HTML, line " << i + 1;
        }
        EXPECT_EQ(bulk.invoices.size(), dialog.rows.empty() ? 0u : 1u);
        EXPECT_TRUE(!printed || byHtml.rows == byDialog.rows);
        Decimal sum, withheld;
        for (const invoice::InvoiceTotalsRow& row : byDialog.rows) {
            const Decimal v = regionalConvert(row.amount).value_or(Decimal());
            if (row.label == S("GENEL TOPLAM :"))
                EXPECT_EQ(row.amount, formatAmount(sum));
            else if (row.label == S("Ödenecek Tutar :"))
                EXPECT_EQ(row.amount, formatAmount(byDialog.grandTotal - withheld));
            else if (row.label == S("Tevkif Edilen KDV :"))
                withheld = v;
            else if (row.label != S("Özel Matrah Toplamı :"))
                sum += row.label == S("İskontolar Toplamı :") ? Decimal() - v : v;
        }
    }
}
