#pragma once
// The in-memory model behind Workbook and Sheet: the package, its string table and
// styles, and each sheet's rows as plain vectors.
#include "platform/workbook.h"
#include "platform/workbook_limits.h"
#include "platform/workbook_pieces.h"
#include "platform/workbook_styles.h"
#include "platform/workbook_zip.h"

#include <atomic>
#include <cstdint>
#include <future>
#include <pugixml.hpp>
#include <string>
#include <utility>
#include <vector>

namespace kuvela::detail {

enum class CellType : std::uint8_t {
    Empty,  // possibly formatted, no value
    Number,
    Shared, // a string of the shared table, written back by its index
    Text,   // any other string, written inline
    Bool,
    Error,
};

struct Cell {
    int col = 0;
    CellType type = CellType::Empty;
    int style = 0;
    int extra = -1;   // SheetModel::extras: formula and attributes we do not interpret
    int str = -1;     // Shared, Text, Error: index into Book::strings
    double number = 0;
};

struct Row {
    int r = 0;
    std::string attrs; // the row's own attributes (height, hidden, style...) as written
    std::vector<Cell> cells; // ascending columns
};

struct CellExtra {
    std::string attrs;   // e.g. ` cm="1"`
    std::string formula; // the <f> element as written
};

// A <col> range: its bounds and attributes other than min/max, in order.
struct ColumnRange {
    int min = 0, max = 0;
    std::vector<std::pair<std::string, std::string>> attrs;
    const char* get(const char* name) const;
    void set(const std::string& name, const std::string& value);
};

// A sheet part's bytes around its sheetData, kept from its first reading so that a save
// need not inflate and search the old part again. Without a sheetData the whole part is
// `before`.
struct SheetAround {
    bool kept = false;
    bool hasData = false;
    std::string before, after;
    std::string prefix; // sheetData's namespace prefix
    // `xml` with its sheetData at [begin, end) when `hasData`, as locateSheetData finds it.
    static SheetAround of(std::string_view xml, bool hasData, size_t begin, size_t end, std::string prefix);
    static SheetAround of(std::string_view xml);
    size_t size() const { return before.size() + after.size() + prefix.size(); }
};

// What a sheet part holds, read apart from the workbook (on another thread, too).
struct ParsedSheet {
    std::vector<Row> rows;
    std::vector<ColumnRange> cols;
    std::vector<CellExtra> extras;
    std::vector<QString> strings; // Text and Error cells index these
    int maxShared = -1, maxSharedRow = 0, maxSharedCol = 0; // the highest shared string used, and where
    SheetAround around;
};

// What reading a sheet needs to know of its workbook.
struct SheetSource {
    std::string part;
    QString label, name;
    bool date1904 = false;
    std::shared_ptr<std::atomic<bool>> cancel;
    std::shared_ptr<Budget> budget;
};

ParsedSheet parseSheet(std::string_view xml, const SheetSource& source); // workbook_sheet_read.cpp
// The rows of the sheetData whose content is [inner, innerEnd) of `xml`, into `out`;
// what they hold goes on `kept`.                                     workbook_rows.cpp
void readRows(std::string_view xml, size_t inner, size_t innerEnd, const SheetSource& source, ParsedSheet& out,
              Charge& kept);
// The sheet part inflated and read, its text charged to the budget while it is read.
ParsedSheet readSheet(const ZipReader::Detached& part, const SheetSource& source);

struct SheetModel {
    QString name;
    std::string part;     // "xl/worksheets/sheet1.xml"
    bool loaded = false;
    bool changed = false; // sheetData or cols must be written
    bool colsChanged = false;
    std::vector<Row> rows; // ascending r
    std::vector<ColumnRange> cols;
    std::vector<CellExtra> extras;
    mutable size_t rowHint = 0; // where the last row was found
    std::future<struct ParsedSheet> prefetched; // read ahead of its first use
    SheetAround around;   // the part as last read or saved, but for its cells

    Row* findRow(int r);
    const Row* findRow(int r) const;
    Row& row(int r);
    static Cell* findCell(Row& row, int c);
    static const Cell* findCell(const Row& row, int c);
    Cell& cell(int r, int c, int defaultStyle);
    int columnStyle(int c) const;
};

struct Book {
    ~Book() { cancel->store(true); }

    std::filesystem::path path; // empty until saved for a new workbook
    std::unique_ptr<ZipReader> zip;

    std::vector<QString> strings; // the shared table, then strings written since
    size_t sharedCount = 0;
    StyleBook styles;
    std::string stylesPart;       // empty: the package has none yet
    bool date1904 = false;

    std::string workbookPart, workbookRelsPart;
    pugi::xml_document contentTypes, workbookXml, workbookRels;
    bool packageChanged = false;  // workbook.xml, its rels or content types
    std::string calcChainPart;
    bool dropCalcChain = false;
    bool recalcOnLoad = false;    // a formula was overwritten: calcPr asks for a full calculation

    std::shared_ptr<std::atomic<bool>> cancel = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<Budget> budget = std::make_shared<Budget>(WorkbookLimits{});
    std::vector<std::unique_ptr<Sheet>> sheets; // last: they go first, ending their readings
    size_t lastLoaded = size_t(-1);             // position of the sheet read last
    static constexpr size_t kSheetsAhead = 3;

    QString label() const; // the file's name for messages
    [[noreturn]] void fail(int code, const QString& what) const;
    [[noreturn]] void failUnreadable(const std::string& what) const;
    // Inside a catch block: the failure being handled, as a WorkbookError naming the
    // file. Nothing else leaves the layer, not even std::bad_alloc.
    [[noreturn]] void failFromCurrent() const;
    // A package part read into a tree the workbook keeps, its memory on the budget.
    void parseKept(pugi::xml_document& doc, const std::string& part);

    void readPackage();                       // workbook_package.cpp
    Sheet& newSheet(const QString& name);     // workbook_package.cpp
    void formulaOverwritten();                // workbook_package.cpp
    void ensureStylesPart();                  // workbook_package.cpp
    void loadSheet(SheetModel& m);            // workbook_sheet_read.cpp
    void prefetch(SheetModel& m);             // workbook_sheet_read.cpp
    SheetSource sourceOf(const SheetModel& m) const;
    std::string writeSheet(const SheetModel& m) const; // workbook_sheet_write.cpp
    void save(const std::filesystem::path& target); // workbook_save.cpp

    int addString(const QString& s)
    {
        strings.push_back(s);
        return int(strings.size() - 1);
    }
    Sheet& wrap(std::unique_ptr<SheetModel> m);
    static SheetModel& modelOf(Sheet& s) { return *s.m_; }
    static const SheetModel& modelOf(const Sheet& s) { return *s.m_; }
};

// The bare package of a new workbook: one empty sheet of the given name.
std::string newPackageBytes(const QString& sheetName);
// What a sheet part holds around its cells before it has any.
const std::string& sheetSkeleton();

} // namespace kuvela::detail
