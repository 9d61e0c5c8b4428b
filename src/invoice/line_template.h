#pragma once
// Line templates: the line grid saved to a workbook ("Excel'e Kaydet") and read back
// ("Excel'den Al"), plus the sheet view and line computation the bulk reader shares.
// The window reads its controls, calls these and writes the results back.
#include "invoice/line_grid.h"

#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace kuvela {
class Sheet;
class Workbook;
}

namespace kuvela::invoice {

// The template's sheet, opened by this name whatever the machine's language.
QString templateSheetName();
// Titles of the six buyer columns A-F of the bulk form.
const QStringList& bulkBuyerTitles();
constexpr int kBulkOffset = 6;

// A sheet's cells as the workbook layer reads them (a whole number as its digits,
// a date cell as dd.MM.yyyy). Rows and columns count from 1.
struct SheetView {
    std::vector<QStringList> rows;          // rows[0] is sheet row 1
    std::set<std::pair<int, int>> errors;   // (row, column) of cells holding an error value
    std::set<std::pair<int, int>> pastRange;  // number cells no Decimal holds ("1E+30")

    QString text(int row, int column) const;
    bool isError(int row, int column) const { return !errors.empty() && errors.count({row, column}); }
    bool isPastRange(int row, int column) const { return !pastRange.empty() && pastRange.count({row, column}); }
    int rowCount() const { return int(rows.size()); }
};

// Reads row 1 to the sheet's last row, columns 1 to the last title of the unbroken
// title run that starts at `titleScanFrom` (and never fewer than titleScanFrom - 1).
SheetView readSheetView(const Sheet& sheet, int titleScanFrom);

// ".xlsx" at the end, in any letter case.
bool isXlsxPath(const QString& path);

// The exact message texts shared by the line import and the bulk reading.
QString tooManyColumnsMessage();
QString wrongTitleMessage(const QString& cellTitle);
QString withholdingRateWarning(int lineNumber);
QString specialAmountWarning(int lineNumber);
// "Hatalı veri: Excel Satır r Sütun c <description>"
QString badDataMessage(int row, int column, const QString& description);
QString notANumberDescription(const QString& text);
QString errorValueDescription(const QString& text);

// Row 1 from `firstColumn` against the grid's titles. Stops at the first empty title
// at or after `stopScanFrom`; a title beyond the grid's last column or one that differs
// gives its message. nullopt when the titles fit.
std::optional<QString> checkTemplateTitles(const SheetView& sheet, const LineGrid& grid, int firstColumn,
                                           int stopScanFrom);
// The line columns the reading fills: titles from the block's second column on, up to
// the first empty one (the block's first title is not looked at).
int titledLineColumns(const SheetView& sheet, int firstColumn);

// How a template line is computed: the import keeps the invoice's decimals for the
// price and shows the withheld VAT with two; the bulk reading uses two throughout,
// shows the withheld VAT as a plain number and always computes the extra taxes.
enum class LineRules { Import, Bulk };

struct CellFailure {
    int sheetColumn = 0;  // workbook column of the cell, 1-based
    QString description;
};

// One grid row from sheet row `row`: column 1 = row - 1; titled columns get the
// cell's text, or "0" when it is empty or its leading number is negative (a number past
// the range fails as no number); then the line amounts and the type's columns.
// Warnings (one message box each) are appended.
struct TemplateLine {
    QStringList cells;
    QStringList warnings;
    std::optional<CellFailure> failure;
};
TemplateLine readTemplateLine(const SheetView& sheet, int row, int firstColumn, int titledColumns,
                              int gridColumns, const QString& typeText, int dc, LineRules rules);

// ---- Import ("Excel'den Al", Command3_Click) ----

struct LineImportResult {
    enum class Outcome { NotExcel, Refused, Failed, Loaded };
    Outcome outcome = Outcome::Refused;
    QString statusText;              // panel 7 when the picked file is no .xlsx
    QString message;                 // exclamation box for Refused and Failed
    std::vector<QStringList> rows;   // Loaded: the new lines (the caller then runs yekunal)
    QStringList warnings;            // Loaded: per-line exclamation boxes, in order
};

QString notExcelStatus();       // "Veri almak için bir Excel dosyası seçiniz...!"
QString importReadingStatus();  // "Excel'den veriler okunuyor..."

// The whole sheet is read before anything is loaded, so a bad cell leaves the grid
// as it was. bulkForm (Check5): the line block starts at G.
LineImportResult readLineTemplate(const SheetView& sheet, const LineGrid& grid, const QString& typeText, int dc,
                                  bool bulkForm);
// Checks the picked path (seciliDosya), opens it and reads "Sayfa1".
LineImportResult importLineTemplate(const QString& pickedPath, const LineGrid& grid, const QString& typeText, int dc,
                                    bool bulkForm);

// ---- Export ("Excel'e Kaydet", Command9_Click) ----

struct TemplateExportRequest {
    QString company;         // Combo4
    QString typeText;        // Combo1
    QString invoiceDate;     // Text8, "dd/mm/yyyy"
    QString despatchNumber;  // Text11
    bool bulkForm = false;   // Check5
};

struct TemplateExportResult {
    bool saved = false;
    QString statusText;                 // panel 7: empty after a save, else why nothing was saved
    std::filesystem::path folder;       // Dir1's new path; empty when refused before choosing it or
                                        // when the earlier template was kept
    std::filesystem::path file;         // the saved template (seciliDosya); empty unless saved
};

QString noCompanyStatus();  // "Şablon kaydetmeden önce Firma seçimi yapılmalıdır .... !"
QString keptStatus();       // "Şablon kaydedilmedi."
// "<file name> zaten var. Üzerine yazılsın mı?"
QString replaceQuestion(const QString& fileName);

// Firmalarım\<company>\Proforma\<type>, and its Multi folder in the bulk form.
std::filesystem::path templateFolder(const std::filesystem::path& programFolder, const QString& company,
                                     const QString& typeText, bool bulkForm);
// "(m) " in the bulk form, company, date as DD-MM-YYYY, despatch number, type, the tax
// codes (first five characters of each title beginning with "V", each followed by "-"), ".xlsx".
QString templateFileName(const TemplateExportRequest& request, const LineGrid& grid);
// The workbook in memory: sheet "Sayfa1", titles, cells and the title row's look.
Workbook buildLineTemplate(const LineGrid& grid, bool bulkForm);
// Builds and saves; the folder is created when missing. A failed save is reported.
// A template of the same name is replaced only when mayReplace (given its file name)
// says so; without mayReplace it is replaced.
TemplateExportResult exportLineTemplate(const TemplateExportRequest& request, const LineGrid& grid,
                                        const std::filesystem::path& programFolder,
                                        const std::function<bool(const QString&)>& mayReplace = {});

} // namespace kuvela::invoice
