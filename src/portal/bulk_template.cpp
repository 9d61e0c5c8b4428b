#include "portal/bulk_template.h"

#include "common/regional.h"
#include "masterdata/buyers.h"
#include "platform/paths.h"
#include "platform/workbook.h"
#include "portal/invoice_page_map.h"

namespace kuvela::portal {

using invoice::SheetView;

namespace {
// Workbook columns of the bulk form.
constexpr int kColA = 1, kColC = 3, kColG = 7, kColH = 8;

QString crlf() { return QStringLiteral("\r\n"); }

QString check7Tail()
{
    return crlf() + QStringLiteral("Hataya yol açmamak için lütfen kontrol ederek tekrar yükleyin.") + crlf() +
           QStringLiteral("Kuvela her farklı VKN için 1 fatura oluşturur.") + crlf() +
           QStringLiteral("Hata yoksa bu mesajı dikkate almayın.");
}

QString sameNumberOtherTitle(int r)
{
    return QStringLiteral("Dikkat ! %1 ile %2. satırlarda VKN'ler aynı iken ünvanlar farklı !").arg(r).arg(r + 1) +
           check7Tail();
}

QString sameTitleOtherNumber(int r)
{
    return QStringLiteral("Dikkat ! %1 ile %2. satırlarda Ünvanlar aynı iken VKN'ler farklı !").arg(r).arg(r + 1) +
           check7Tail();
}

QString missingDateMessage()
{
    return QStringLiteral(" Tarihleri Excel'den al seçiliyken G sütunu boş bırakılamaz !");
}

QString badDataStatus(int row, int column)
{
    return QStringLiteral("Excel dosyası okunurken hatalı veri ile karşılaşıldı. Satır No: %1 Sütun No: %2")
        .arg(row)
        .arg(column);
}

// A cell holding an error value stops the reading where it is read.
struct BadCell {
    int row, column;
    QString description;
};

QString cellOf(const SheetView& sheet, int row, int column)
{
    QString t = sheet.text(row, column);
    if (sheet.isError(row, column))
        throw BadCell{row, column, invoice::errorValueDescription(t)};
    return t;
}

} // namespace

QString groupingStatusText(GroupingMode mode)
{
    switch (mode) {
    case GroupingMode::ByTaxNumber: return QStringLiteral("Faturalar VKN'ye göre gruplanacak !");
    case GroupingMode::ByName: return QStringLiteral("Faturalar Ad-Soyad/Ünvan'a göre gruplanacak !");
    case GroupingMode::OnePerRow: return QStringLiteral("Her satır ayrı bir Fatura olarak gruplanacak !");
    case GroupingMode::None: break;
    }
    return {};
}

int groupingKeyColumn(GroupingMode mode)
{
    switch (mode) {
    case GroupingMode::ByTaxNumber:
    case GroupingMode::OnePerRow: return kColA;
    case GroupingMode::ByName: return kColC;
    case GroupingMode::None: break;
    }
    return 0;
}

QString onePerRowKey() { return QStringLiteral("bu ilginç bir ünvan veya vkn dir."); }

QStringList UploadQueueRow::cells() const
{
    return {number, ettn, date, taxNumber, taxOffice, name, address, amount, difference, rows, status};
}

QString queuedEttn() { return QStringLiteral("   ---    "); }
QString waitingStatus() { return QStringLiteral("Yükleme bekliyor"); }

void splitBulkBuyerName(BulkBuyer& b)
{
    // The single upload's split, so both roads send a buyer alike (a title trimmed too).
    const BuyerNames names = splitBuyerName(b.text19, b.text20);
    b.uunvan = names.title;
    b.aad = names.givenName;
    b.ssoyad = names.surname;
}

QString BulkInvoice::rowsText() const { return QStringLiteral("%1-%2").arg(firstRow).arg(lastRow); }

UploadQueueRow BulkInvoice::queueRow() const
{
    const Decimal total = regionalConvert(totals.checkTotal).value_or(totals.grandTotal);
    return {QString::number(number), queuedEttn(), date, buyer.text4, buyer.text3, buyer.text19, buyer.text2,
            formatAmount(total, 2), QString(), rowsText(), waitingStatus()};
}

std::optional<HeaderRefusal> checkBulkHeader(const BulkHeader& h)
{
    if (!h.datesFromExcel && h.invoiceDate.isEmpty())
        return HeaderRefusal{QStringLiteral("Tarih seçimi zorunludur !")};
    if (!h.despatchDate.isEmpty() && h.despatchNumber.isEmpty())
        return HeaderRefusal{QStringLiteral("İrsaliye tarihi varsa numarası da girilmelidir!")};
    if (h.despatchDate.isEmpty() && !h.despatchNumber.isEmpty())
        return HeaderRefusal{QStringLiteral("İrsaliye numarası varsa tarihi de girilmelidir!")};
    if (h.mode == GroupingMode::None)
        return HeaderRefusal{QStringLiteral("Bir gruplama türü seçiniz !"), true};
    return std::nullopt;
}

QString bulkReadingStatus() { return QStringLiteral("Excel'den veri okunuyor..."); }
QString bulkNotExcelStatus() { return QStringLiteral("Toplu veri almak için bir Excel dosyası seçiniz...!"); }

QString bulkClosingLog(int programVersion)
{
    return QStringLiteral("Uyarı ! Kuvela v") + QString::number(programVersion) +
           QStringLiteral(" Excel şablonunuzun tamamını kontrol etmez,") +
           QStringLiteral(" sadece ardışık satırlarda Vkn/Ad-Ünvan tutarsızlığı olması halinde uyarı verir. "
                          "Listenizi kontrol edin, doğruluğundan eminseniz ") +
           QStringLiteral("Sırayla Yükle butonuna tıklayın. Yüklenen faturayı TASLAK kaydetmek istemiyorsanız "
                          "VAZGEÇ butonuna tıklayın bir sonraki fatura otomatik yüklenecektir.");
}

QString bulkClosingStatus(int invoiceCount)
{
    return QStringLiteral("Excel okundu %1 adet Fatura hazırlandı...").arg(invoiceCount);
}

std::optional<QString> checkBulkTitles(const SheetView& sheet, const invoice::LineGrid& grid)
{
    return invoice::checkTemplateTitles(sheet, grid, kColG, kColH);
}

namespace {

BulkBuyer readBuyer(const SheetView& sheet, int row)
{
    BulkBuyer b;
    b.text20 = cleanTaxNumberText(cellOf(sheet, row, 1));
    b.text4 = b.text20;
    b.text3 = cellOf(sheet, row, 2);
    b.text19 = cellOf(sheet, row, 3);
    b.text2 = cellOf(sheet, row, 4);
    b.text12 = cellOf(sheet, row, 5);
    b.text5 = cellOf(sheet, row, 6);
    splitBulkBuyerName(b);
    return b;
}

void failAt(InvoiceRead& out, int row, int column, const QString& description)
{
    out.result = InvoiceRead::Result::BadData;
    out.failure = {MsgIcon::Exclamation, invoice::badDataMessage(row, column, description)};
    out.failureStatus = badDataStatus(row, column);
}

} // namespace

InvoiceRead readInvoiceAt(const SheetView& sheet, const BulkSettings& settings, int firstRow, int number,
                          const std::function<void(const BulkMessage&, const BulkInvoice&)>& onWarning)
{
    InvoiceRead out;
    const invoice::LineGrid& grid = *settings.grid;
    const int key = groupingKeyColumn(settings.mode);
    const int titled = invoice::titledLineColumns(sheet, kColG);
    BulkInvoice& inv = out.invoice;
    inv.number = number;
    inv.firstRow = firstRow;
    std::vector<QStringList>& lines = inv.totals.lines;  // as read so far, until the totals
    auto warn = [&](BulkMessage message) {
        out.warnings.push_back(message);
        if (onWarning)
            onWarning(message, inv);
    };
    try {
        if (sheet.text(firstRow, kColH).isEmpty())
            return out;
        inv.buyer = readBuyer(sheet, firstRow);
        int r = firstRow;
        for (;; ++r) {
            if (sheet.text(r, kColH).isEmpty())
                return out;  // the invoice of the rows before is not queued
            invoice::TemplateLine line = invoice::readTemplateLine(sheet, r, kColG, titled, grid.columnCount(),
                                                                   settings.typeText, settings.totals.dc,
                                                                   invoice::LineRules::Bulk);
            if (!line.failure)
                lines.push_back(std::move(line.cells));
            for (const QString& w : line.warnings)
                warn({MsgIcon::Exclamation, w});
            if (line.failure) {
                failAt(out, r, line.failure->sheetColumn, line.failure->description);
                return out;
            }
            if (settings.errorChecks && cellOf(sheet, r + 1, kColA) == cellOf(sheet, r, kColA) &&
                cellOf(sheet, r + 1, kColC) != cellOf(sheet, r, kColC))
                warn({MsgIcon::Critical, sameNumberOtherTitle(r), true});
            const QString next = settings.mode == GroupingMode::OnePerRow ? onePerRowKey() : cellOf(sheet, r + 1, key);
            if (cellOf(sheet, r, key) != next)
                break;
        }
        inv.lastRow = r;
        if (settings.errorChecks && cellOf(sheet, r + 1, kColC) == cellOf(sheet, r, kColC) &&
            cellOf(sheet, r + 1, kColA) != cellOf(sheet, r, kColA))
            warn({MsgIcon::Critical, sameTitleOtherNumber(r), true});

        invoice::LineGrid invoiceGrid;
        invoiceGrid.columns = grid.columns;
        invoiceGrid.rows = lines;
        invoice::TotalsResult totals = invoice::yekunal(invoiceGrid, settings.totals);
        if (const auto& e = totals.error) {
            failAt(out, firstRow + e->line - 1, kColG + e->column - 1, invoice::notANumberDescription(e->text));
            return out;
        }
        inv.totals = std::move(totals);

        inv.date = settings.invoiceDate;
        if (settings.datesFromExcel) {
            inv.date = cellOf(sheet, r, kColG);
            if (inv.date.isEmpty()) {
                out.result = InvoiceRead::Result::MissingDate;
                out.failure = {MsgIcon::Information, missingDateMessage()};
                return out;
            }
        }
    } catch (const BadCell& bad) {
        failAt(out, bad.row, bad.column, bad.description);
        return out;
    }
    out.result = InvoiceRead::Result::Invoice;
    return out;
}

BulkReading readBulkTemplate(const SheetView& sheet, const BulkSettings& settings, const BulkReadingSink& sink)
{
    BulkReading out;
    auto tell = [&](const BulkMessage& message, const BulkInvoice& reading) {
        out.messages.push_back(message);
        if (sink.message)
            sink.message(message, reading);
    };
    if (const auto refusal = checkBulkTitles(sheet, *settings.grid)) {
        tell({MsgIcon::Exclamation, *refusal}, BulkInvoice{});
        return out;
    }
    for (int first = 2;;) {
        InvoiceRead read = readInvoiceAt(sheet, settings, first, int(out.invoices.size()) + 1, tell);
        switch (read.result) {
        case InvoiceRead::Result::Invoice:
            first = read.invoice.lastRow + 1;
            if (sink.queued)
                sink.queued(read.invoice);
            out.invoices.push_back(std::move(read.invoice));
            continue;
        case InvoiceRead::Result::DataEnded:
            out.end = BulkReading::End::Complete;
            out.statusText = bulkClosingStatus(int(out.invoices.size()));
            out.logText = bulkClosingLog(settings.programVersion);
            return out;
        case InvoiceRead::Result::MissingDate:
            out.end = BulkReading::End::MissingDate;
            out.current = std::move(read.invoice);
            tell(read.failure, out.current);
            return out;
        case InvoiceRead::Result::BadData:
            out.end = BulkReading::End::BadData;
            out.current = std::move(read.invoice);
            tell(read.failure, out.current);
            out.statusText = read.failureStatus;
            return out;
        }
    }
}

invoice::SheetView bulkSheetView(const Sheet& sheet) { return invoice::readSheetView(sheet, kColH); }

BulkReading readBulkWorkbook(const QString& pickedPath, const BulkSettings& settings, const BulkReadingSink& sink)
{
    BulkReading out;
    if (!invoice::isXlsxPath(pickedPath)) {
        out.end = BulkReading::End::NotExcel;
        out.statusText = bulkNotExcelStatus();
        return out;
    }
    SheetView view;
    try {
        Workbook book = Workbook::open(toPath(pickedPath));
        view = bulkSheetView(book.sheet(invoice::templateSheetName()));
    } catch (const WorkbookError& e) {
        out.end = BulkReading::End::BadData;
        out.messages.push_back({MsgIcon::Exclamation, e.message()});
        if (sink.message)
            sink.message(out.messages.back(), BulkInvoice{});
        out.statusText = e.message();
        return out;
    }
    return readBulkTemplate(view, settings, sink);
}

int queuedFirstRow(const UploadQueueRow& queued)
{
    bool ok = false;
    const int first = queued.rows.section(u'-', 0, 0).toInt(&ok);
    return ok && first >= 2 ? first : 0;
}

std::optional<QString> queueRowMismatch(const InvoiceRead& reread, const UploadQueueRow& queued)
{
    const QString head = QStringLiteral("Excel dosyası fatura listesi hazırlandıktan sonra değişmiş ! ");
    const QString tail = QStringLiteral(" Yükleme durduruldu, Excel dosyasını yeniden okutunuz.");
    if (reread.result != InvoiceRead::Result::Invoice)
        return head + QStringLiteral("%1. fatura (Satır %2) Excel'de okunamadı.").arg(queued.number, queued.rows) + tail;
    const BulkInvoice& inv = reread.invoice;
    if (inv.rowsText() == queued.rows && inv.buyer.text4 == queued.taxNumber)
        return std::nullopt;
    return head +
           QStringLiteral("%1. fatura listede Satır %2, VKN %3; Excel'de Satır %4, VKN %5.")
               .arg(queued.number, queued.rows, queued.taxNumber, inv.rowsText(), inv.buyer.text4) +
           tail;
}

} // namespace kuvela::portal
