#include "invoice/line_template.h"

#include "common/file_names.h"
#include "common/regional.h"
#include "invoice/invoice_type.h"
#include "invoice/line_figures.h"
#include "platform/paths.h"
#include "platform/workbook.h"

#include <QDate>
#include <system_error>

namespace kuvela::invoice {

QString templateSheetName() { return QStringLiteral("Sayfa1"); }

const QStringList& bulkBuyerTitles()
{
    static const QStringList titles = {QStringLiteral("VKN/TCKN"), QStringLiteral("Vergi Dairesi"),
                                       QStringLiteral("Ad-Soyad/Ünvan"), QStringLiteral("Adres"),
                                       QStringLiteral("Ülke"), QStringLiteral("E-Mail")};
    return titles;
}

QString SheetView::text(int row, int column) const
{
    if (row < 1 || row > rowCount() || column < 1)
        return {};
    const QStringList& r = rows[size_t(row - 1)];
    return column <= r.size() ? r[column - 1] : QString();
}

SheetView readSheetView(const Sheet& sheet, int titleScanFrom)
{
    int width = titleScanFrom;
    while (!sheet.value(1, width).isEmpty())
        ++width;
    width = std::max(width - 1, titleScanFrom - 1);

    SheetView view;
    const int last = sheet.lastRow();
    view.rows.reserve(size_t(last));
    for (int r = 1; r <= last; ++r) {
        QStringList cells;
        cells.reserve(width);
        for (int c = 1; c <= width; ++c) {
            const CellValue v = sheet.value(r, c);
            if (v.kind == CellValue::Kind::Error)
                view.errors.insert({r, c});
            else if ((v.kind == CellValue::Kind::Number || v.kind == CellValue::Kind::Date) &&
                     !Decimal::tryFromDouble(v.number))
                view.pastRange.insert({r, c});
            cells.append(v.toText());
        }
        view.rows.push_back(std::move(cells));
    }
    return view;
}

bool isXlsxPath(const QString& path)
{
    return path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive);
}

QString tooManyColumnsMessage()
{
    return QStringLiteral("Yüklemeye çalıştığınız Excel'in sütun sayısı daha fazla ! Lütfen kontrol ediniz...");
}

QString wrongTitleMessage(const QString& cellTitle)
{
    return cellTitle + QStringLiteral("  ") +
           QStringLiteral("bu Excel Sütun Adı hatalı ! Lütfen orjinal bir Şablon kullanınız.");
}

QString withholdingRateWarning(int lineNumber)
{
    return QStringLiteral("Satır %1 tevkifat oranı 0'dan büyük olmalıdır !").arg(lineNumber);
}

QString specialAmountWarning(int lineNumber)
{
    return QStringLiteral("Satır %1 Özel Matrah Tutarı 0'dan büyük olmalıdır !").arg(lineNumber);
}

QString badDataMessage(int row, int column, const QString& description)
{
    return QStringLiteral("Hatalı veri: Excel Satır %1 Sütun %2 %3").arg(row).arg(column).arg(description);
}

QString notANumberDescription(const QString& text)
{
    return QStringLiteral("Tür uyuşmazlığı: \"%1\" sayı olarak okunamadı.").arg(text);
}

QString errorValueDescription(const QString& text)
{
    return QStringLiteral("Tür uyuşmazlığı: hücrede hata değeri var (%1).").arg(text);
}

std::optional<QString> checkTemplateTitles(const SheetView& sheet, const LineGrid& grid, int firstColumn,
                                           int stopScanFrom)
{
    for (int i = 1;; ++i) {
        const int col = firstColumn + i - 1;
        const QString title = sheet.text(1, col);
        if (col >= stopScanFrom && title.isEmpty())
            return std::nullopt;
        if (i > grid.columnCount())
            return tooManyColumnsMessage();
        if (title != grid.title(i))
            return wrongTitleMessage(title);
    }
}

int titledLineColumns(const SheetView& sheet, int firstColumn)
{
    int k = 2;
    while (!sheet.text(1, firstColumn + k - 1).isEmpty())
        ++k;
    return k - 1;
}

namespace {

struct BadNumber {
    int column;
    QString text;
};

class LineCells {
public:
    explicit LineCells(int columns) { cells_.resize(columns); }
    QString get(int k) const { return k <= cells_.size() ? cells_[k - 1] : QString(); }
    void set(int k, const QString& t)
    {
        if (k <= cells_.size())
            cells_[k - 1] = t;
    }
    // An empty cell (a column the template did not title) counts as 0.
    Decimal num(int k) const
    {
        const QString t = get(k);
        if (t.trimmed().isEmpty())
            return {};
        if (const auto v = regionalConvert(t))
            return *v;
        throw BadNumber{k, t};
    }
    int size() const { return int(cells_.size()); }
    QStringList& cells() { return cells_; }

private:
    QStringList cells_;
};

QString F(const Decimal& x) { return formatAmount(x, 2); }

// The extra-tax rates from grid column `from` on, two columns a tax; an empty rate becomes
// "0" first when asked.
std::vector<LineTaxRate> taxRates(LineCells& c, int from, bool emptyRateIsZero, const QStringList& titles)
{
    std::vector<LineTaxRate> rates;
    for (int k = from; k + 1 <= c.size(); k += 2) {
        if (emptyRateIsZero && c.get(k).isEmpty())
            c.set(k, QStringLiteral("0"));
        rates.push_back({c.num(k), k <= titles.size() && isVatBaseTaxCode(titles[k - 1])});
    }
    return rates;
}

void writeTaxAmounts(LineCells& c, int from, const LineFigures& figures)
{
    for (size_t i = 0; i < figures.taxes.size(); ++i)
        c.set(from + 2 * int(i) + 1, F(figures.taxes[i]));
}

void computeLine(LineCells& c, int lineNumber, const QString& type, int dc, const LineRules rules,
                 const QStringList& titles, QStringList& warnings)
{
    const InvoiceKind kind = invoiceKindByText(type);
    const LineColumns& col = lineColumnsOf(kind);
    c.set(col.unitPrice, formatAmount(c.num(col.unitPrice), rules == LineRules::Import ? dc : 2));
    LineInput in;
    in.quantity = c.num(col.quantity);
    in.unitPrice = c.num(col.unitPrice);
    in.discountRate = c.num(col.discountRate);
    in.vatRate = c.num(col.vatRate);
    in.exempt = kind == InvoiceKind::Istisna;
    // The first tax column of the type, when the type computes its taxes.
    int taxesFrom = 0;
    if (computedAsSale(kind)) {
        taxesFrom = col.firstTax;
    } else if (kind == InvoiceKind::Tevkifat) {
        const bool badRate = cellNumber(c.get(col.withholdingRate)).value_or(Decimal()) <= Decimal();
        if (badRate)
            warnings << withholdingRateWarning(lineNumber);
        else
            in.withholdingRate = c.num(col.withholdingRate);
        if (!badRate || rules == LineRules::Bulk)
            taxesFrom = col.firstTax;
    } else if (kind == InvoiceKind::OzelMatrah) {
        if (c.get(col.specialAmount).isEmpty())
            c.set(col.specialAmount, QStringLiteral("0"));
        c.set(col.specialAmount, F(c.num(col.specialAmount)));
        in.specialBase = c.num(col.specialAmount);
        taxesFrom = col.firstTax;
    }
    const bool emptyRateIsZero = kind == InvoiceKind::OzelMatrah;
    if (taxesFrom)
        in.taxes = taxRates(c, taxesFrom, emptyRateIsZero, titles);
    const LineFigures figures = computeLineFigures(in);
    c.set(col.discount, F(figures.discount));
    c.set(col.net, F(figures.net));
    c.set(col.vat, F(figures.vat));
    if (taxesFrom)
        writeTaxAmounts(c, taxesFrom, figures);

    if (kind == InvoiceKind::Istisna) {
        c.set(col.vatRate, QStringLiteral("0"));
        c.set(col.vat, QStringLiteral("0"));
    } else if (kind == InvoiceKind::Tevkifat) {
        const bool plain = rules == LineRules::Bulk;
        c.set(col.withheld, plain ? formatPlain(figures.withheld) : F(figures.withheld));
    } else if (kind == InvoiceKind::OzelMatrah) {
        // The amount as shown is tested by its value: "0,50" is above 0.
        if (*in.specialBase <= Decimal())
            warnings << specialAmountWarning(lineNumber);
    }
}

} // namespace

TemplateLine readTemplateLine(const SheetView& sheet, int row, int firstColumn, int titledColumns, int gridColumns,
                              const QString& typeText, int dc, LineRules rules)
{
    TemplateLine out;
    LineCells c(std::max(gridColumns, titledColumns));
    c.set(1, QString::number(row - 1));
    for (int k = 2; k <= titledColumns; ++k) {
        const int col = firstColumn + k - 1;
        const QString t = sheet.text(row, col);
        if (sheet.isError(row, col)) {
            out.failure = CellFailure{col, errorValueDescription(t)};
            return out;
        }
        // A number past the range is no number, whether a number cell or digits in a text.
        const std::optional<Decimal> value = cellNumber(t);
        if (!value || sheet.isPastRange(row, col)) {
            out.failure = CellFailure{col, notANumberDescription(t)};
            return out;
        }
        c.set(k, t.isEmpty() || *value < Decimal() ? QStringLiteral("0") : t);
    }
    QStringList titles;
    for (int k = 1; k <= titledColumns; ++k)
        titles << sheet.text(1, firstColumn + k - 1);
    try {
        computeLine(c, row - 1, typeText, dc, rules, titles, out.warnings);
    } catch (const BadNumber& bad) {
        out.failure = CellFailure{firstColumn + bad.column - 1, notANumberDescription(bad.text)};
    }
    out.cells = std::move(c.cells());
    return out;
}

QString notExcelStatus() { return QStringLiteral("Veri almak için bir Excel dosyası seçiniz...!"); }
QString importReadingStatus() { return QStringLiteral("Excel'den veriler okunuyor..."); }

LineImportResult readLineTemplate(const SheetView& sheet, const LineGrid& grid, const QString& typeText, int dc,
                                  bool bulkForm)
{
    using O = LineImportResult::Outcome;
    LineImportResult out;
    const int first = bulkForm ? kBulkOffset + 1 : 1;
    if (const auto refusal = checkTemplateTitles(sheet, grid, first, first)) {
        out.message = *refusal;
        return out;
    }
    const int titled = titledLineColumns(sheet, first);
    for (int row = 2; !sheet.text(row, first + 1).isEmpty(); ++row) {
        TemplateLine line =
            readTemplateLine(sheet, row, first, titled, grid.columnCount(), typeText, dc, LineRules::Import);
        if (line.failure) {
            out = LineImportResult{O::Failed, {}, badDataMessage(row, line.failure->sheetColumn, line.failure->description),
                                   {}, {}};
            return out;
        }
        out.rows.push_back(std::move(line.cells));
        out.warnings << line.warnings;
    }
    out.outcome = O::Loaded;
    return out;
}

LineImportResult importLineTemplate(const QString& pickedPath, const LineGrid& grid, const QString& typeText, int dc,
                                    bool bulkForm)
{
    if (!isXlsxPath(pickedPath))
        return {LineImportResult::Outcome::NotExcel, notExcelStatus(), {}, {}, {}};
    try {
        Workbook book = Workbook::open(toPath(pickedPath));
        const int first = bulkForm ? kBulkOffset + 1 : 1;
        const SheetView view = readSheetView(book.sheet(templateSheetName()), first + 1);
        return readLineTemplate(view, grid, typeText, dc, bulkForm);
    } catch (const WorkbookError& e) {
        return {LineImportResult::Outcome::Failed, {}, e.message(), {}, {}};
    }
}

// ---- Export ----

QString noCompanyStatus() { return QStringLiteral("Şablon kaydetmeden önce Firma seçimi yapılmalıdır .... !"); }

QString keptStatus() { return QStringLiteral("Şablon kaydedilmedi."); }

QString replaceQuestion(const QString& fileName)
{
    return fileName + QStringLiteral(" zaten var. Üzerine yazılsın mı?");
}

namespace {

QString noTypeStatus() { return QStringLiteral("Şablon kaydetmeden önce Fatura Türü seçimi yapılmalıdır .... !"); }

// Text8 holds dd/mm/yyyy; a text that is no date goes into the name as it stands.
QString nameDate(const QString& text8)
{
    for (const char* format : {"dd/MM/yyyy", "dd.MM.yyyy", "d/M/yyyy", "d.M.yyyy"}) {
        const QDate d = QDate::fromString(text8.trimmed(), QString::fromLatin1(format));
        if (d.isValid())
            return d.toString(QStringLiteral("dd-MM-yyyy"));
    }
    return text8;
}

// A number is stored as a number so the template stays a spreadsheet, unless that
// would change its digits: a leading zero (a GTİP "0101...") or more digits than a
// stored number keeps.
void writeTemplateCell(Sheet& sheet, int row, int col, const QString& text)
{
    if (text.isEmpty())
        return;
    const auto value = regionalConvert(text);
    const QString unsigned_ = text.trimmed().startsWith(u'-') || text.trimmed().startsWith(u'+')
                                  ? text.trimmed().mid(1)
                                  : text.trimmed();
    const bool leadingZero = unsigned_.size() > 1 && unsigned_[0] == u'0' && unsigned_[1].isDigit();
    if (value && !leadingZero && Decimal::tryFromDouble(value->toDouble()) == value)
        sheet.setNumber(row, col, value->toDouble());
    else
        sheet.setString(row, col, text);
}

} // namespace

std::filesystem::path templateFolder(const std::filesystem::path& programFolder, const QString& company,
                                     const QString& typeText, bool bulkForm)
{
    std::filesystem::path p = programFolder / toPath(QStringLiteral("Firmalarım")) / toPath(company) /
                              toPath(QStringLiteral("Proforma")) / toPath(typeText);
    if (bulkForm)
        p /= "Multi";
    return p;
}

QString templateFileName(const TemplateExportRequest& request, const LineGrid& grid)
{
    QString codes;
    for (const GridColumn& column : grid.columns)
        if (column.title.startsWith(u'V'))
            codes += column.title.left(5) + u'-';
    // A despatch number such as "IRS/7" must not become a folder.
    return (request.bulkForm ? QStringLiteral("(m) ") : QString()) + request.company + u' ' +
           nameDate(request.invoiceDate) + u' ' + fileSafeText(request.despatchNumber) + u' ' + request.typeText + u' ' +
           codes + QStringLiteral(".xlsx");
}

Workbook buildLineTemplate(const LineGrid& grid, bool bulkForm)
{
    Workbook book = Workbook::create();
    Sheet& sheet = book.sheet(templateSheetName());
    int offset = 0;
    long titleColour = kColourBlue;
    if (bulkForm) {
        offset = kBulkOffset;
        titleColour = kColourRed;
        for (int i = 0; i < bulkBuyerTitles().size(); ++i)
            sheet.setString(1, i + 1, bulkBuyerTitles()[i]);
        // Fixed letters, whatever the invoice type.
        const std::pair<const char*, int> aligns[] = {
            {"E:J", xlRight},          {"H2:H1000", xlLeft},  {"I2:J1000", xlCenter},
            {"K2:N1000", xlRight},     {"O2:O1000", xlCenter}, {"P2:P1000", xlRight},
            {"Q2:Q1000", xlLeft},      {"R2:R1000", xlCenter}, {"S2:S1000", xlRight},
        };
        for (const auto& [range, align] : aligns)
            sheet.setHAlign(QString::fromLatin1(range), align);
    }
    for (int i = 1; i <= grid.columnCount(); ++i)
        sheet.setString(1, i + offset, grid.title(i));
    for (int r = 0; r < grid.rowCount(); ++r)
        for (int c = 2; c <= grid.columnCount(); ++c)
            writeTemplateCell(sheet, r + 2, c + offset, grid.cell(r, c));
    const QString titleRow = QStringLiteral("A1:Z1");
    sheet.setBold(titleRow);
    sheet.setHAlign(titleRow, xlCenter);
    sheet.setVAlign(titleRow, xlCenter);
    sheet.setFontColor(titleRow, titleColour);
    sheet.autoFit(QStringLiteral("A:Z"));
    return book;
}

TemplateExportResult exportLineTemplate(const TemplateExportRequest& request, const LineGrid& grid,
                                        const std::filesystem::path& programFolder,
                                        const std::function<bool(const QString&)>& mayReplace)
{
    TemplateExportResult out;
    if (request.company.isEmpty() || request.company == QStringLiteral("Firmalarım")) {
        out.statusText = noCompanyStatus();
        return out;
    }
    // Without a type the folder would be named after the combo's prompt.
    if (request.typeText.isEmpty() || request.typeText == promptText()) {
        out.statusText = noTypeStatus();
        return out;
    }
    out.folder = templateFolder(programFolder, request.company, request.typeText, request.bulkForm);
    const std::filesystem::path file = out.folder / toPath(templateFileName(request, grid));
    const QString failed = QStringLiteral("Şablon kaydedilemedi: ");
    std::error_code ec;
    std::filesystem::create_directories(out.folder, ec);
    if (ec) {
        out.statusText = failed + QStringLiteral("%1 klasörü oluşturulamadı (%2).")
                                      .arg(fromPath(out.folder), QString::fromLocal8Bit(ec.message()));
        return out;
    }
    // The name holds no buyer: the same invoice type, date, despatch number and taxes
    // name another invoice's template the same.
    if (mayReplace && std::filesystem::is_regular_file(file, ec) && !mayReplace(fromPath(file.filename()))) {
        out.folder.clear();
        out.statusText = keptStatus();
        return out;
    }
    try {
        Workbook book = buildLineTemplate(grid, request.bulkForm);
        book.saveAs(file);
    } catch (const WorkbookError& e) {
        out.statusText = failed + e.message();
        return out;
    } catch (const std::exception& e) {
        out.statusText = failed + QString::fromLocal8Bit(e.what());
        return out;
    }
    out.saved = true;
    out.file = file;
    return out;
}

} // namespace kuvela::invoice
