#pragma once
// Workbooks (DATA.xlsx, line templates, reports) read and written as OOXML packages.
// An edit rewrites only the parts it touched; every other entry of the package is
// carried over byte for byte, and a save replaces the file in one rename.
#include <QDate>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <vector>

namespace kuvela {

namespace detail {
struct Book;
struct SheetModel;
}

struct CellValue {
    enum class Kind { Empty, Number, Text, Bool, Date, Error };
    Kind kind = Kind::Empty;
    double number = 0;   // Number and Date (the date's serial number)
    QString text;        // Text and Error ("#N/A")
    bool boolean = false;

    bool isEmpty() const { return kind == Kind::Empty; }
    // The value as a person (or a VB CStr) reads it in the Turkish format.
    QString toText() const;
    // Date cells: the calendar day of the serial number.
    QDate date() const;
};

// A workbook failure, with the runtime's error number and a Turkish message naming the file.
class WorkbookError : public std::runtime_error {
public:
    WorkbookError(int code, const QString& message);
    int code() const { return code_; }
    QString message() const { return message_; }

    // The runtime's numbers for the failures a workbook can meet.
    static constexpr int kInvalidCall = 5;
    static constexpr int kOutOfMemory = 7;   // past a size or memory limit
    static constexpr int kSubscript = 9;     // no such sheet
    static constexpr int kTypeMismatch = 13; // not a workbook, unreadable content
    static constexpr int kFileNotFound = 53;
    static constexpr int kAccess = 75;       // path or file access
    static constexpr int kAppDefined = 1004; // bad range or sheet name

private:
    int code_;
    QString message_;
};

// Excel's alignment constants.
constexpr int xlLeft = -4131;
constexpr int xlRight = -4152;
constexpr int xlCenter = -4108;
constexpr int xlTop = -4160;
constexpr int xlBottom = -4107;
constexpr int xlGeneral = 1;

class Sheet {
public:
    ~Sheet();
    Sheet(const Sheet&) = delete;
    Sheet& operator=(const Sheet&) = delete;

    QString name() const;

    // Rows and columns count from 1; a cell that is not there reads as Empty.
    CellValue value(int row, int col) const;
    QString text(int row, int col) const { return value(row, col).toText(); }

    // The text as typed into the cell: "'0123" is the text "0123"; a number in the
    // Turkish format ("1.234,50") becomes a number; everything else, "=1+1" included,
    // stays text. An empty text empties the cell.
    void setText(int row, int col, const QString& typed);
    void setString(int row, int col, const QString& text);
    void setNumber(int row, int col, double value);
    void clear(int row, int col);

    // Highest row and column holding a value (formatting alone does not count); 0 when none.
    int lastRow() const;
    int lastColumn() const;

    // Ranges are addresses: "A1", "A1:Z1", "H2:H1000", whole columns "E:J".
    void setBold(const QString& range, bool on = true);
    void setFontColor(const QString& range, long vbColor); // BGR: 255 red, 16711680 blue
    // A solid background (Interior.Color), same colour numbers.
    void setFillColor(const QString& range, long vbColor);
    void setHAlign(const QString& range, int xlConst);
    void setVAlign(const QString& range, int xlConst);
    // Column widths from the length of the texts shown ("A:Z").
    void autoFit(const QString& columns);

private:
    friend struct detail::Book;
    Sheet(detail::Book& book, std::unique_ptr<detail::SheetModel> model);
    detail::SheetModel& model() const;

    detail::Book* book_;
    std::unique_ptr<detail::SheetModel> m_;
};

class Workbook {
public:
    static Workbook open(const std::filesystem::path& file);
    // A new workbook with one worksheet, "Sayfa1" unless named otherwise.
    static Workbook create(const QString& firstSheetName = QStringLiteral("Sayfa1"));

    Workbook(Workbook&&) noexcept;
    Workbook& operator=(Workbook&&) noexcept;
    ~Workbook();

    QStringList sheetNames() const;
    Sheet& sheet(const QString& name);
    Sheet& sheet(int position1);
    Sheet& addSheet(const QString& name);
    // A new sheet placed before the active one and made active (Excel's Worksheets.Add).
    Sheet& insertSheetBeforeActive(const QString& name);

    // Refused (nothing written) while a spreadsheet program holds the target open.
    void save();
    void saveAs(const std::filesystem::path& file);
    std::filesystem::path path() const;

private:
    explicit Workbook(std::unique_ptr<detail::Book> book);
    std::unique_ptr<detail::Book> book_;
};

// The first row from `firstRow` on with none of columns 1 to `lastColumn` filled (a cell
// holding an empty text counts as empty): where a new record goes without covering one.
int firstBlankRow(const Sheet& sheet, int firstRow, int lastColumn);

// True while a spreadsheet program holds the file open: it leaves "~$DATA.xlsx"
// (Excel) or ".~lock.DATA.xlsx#" (LibreOffice) beside it.
bool isOpenInSpreadsheet(const std::filesystem::path& file);

} // namespace kuvela
