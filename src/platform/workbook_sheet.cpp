// Cells of one sheet: reading, writing as typed, formats and column widths.
#include "common/regional.h"
#include "platform/workbook_internal.h"
#include "platform/workbook_xml.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace kuvela {

using detail::Cell;
using detail::CellType;
using detail::ColumnRange;
using detail::Row;
using detail::SheetModel;
using detail::StyleChange;

namespace detail {

const char* ColumnRange::get(const char* name) const
{
    for (const auto& [k, v] : attrs)
        if (k == name)
            return v.c_str();
    return nullptr;
}

void ColumnRange::set(const std::string& name, const std::string& value)
{
    for (auto& [k, v] : attrs)
        if (k == name) {
            v = value;
            return;
        }
    attrs.emplace_back(name, value);
}

Row* SheetModel::findRow(int r)
{
    // Readers walk down a sheet: the row asked for is mostly the last one or the next.
    for (size_t i = rowHint; i < rows.size() && i <= rowHint + 1; ++i)
        if (rows[i].r == r) {
            rowHint = i;
            return &rows[i];
        }
    auto it = std::lower_bound(rows.begin(), rows.end(), r, [](const Row& row, int v) { return row.r < v; });
    if (it == rows.end() || it->r != r)
        return nullptr;
    rowHint = size_t(it - rows.begin());
    return &*it;
}

const Row* SheetModel::findRow(int r) const
{
    return const_cast<SheetModel*>(this)->findRow(r);
}

Row& SheetModel::row(int r)
{
    if (rows.empty() || rows.back().r < r) {
        rows.push_back(Row{r, {}, {}});
        return rows.back();
    }
    auto it = std::lower_bound(rows.begin(), rows.end(), r, [](const Row& row, int v) { return row.r < v; });
    if (it != rows.end() && it->r == r)
        return *it;
    return *rows.insert(it, Row{r, {}, {}});
}

Cell* SheetModel::findCell(Row& row, int c)
{
    auto it = std::lower_bound(row.cells.begin(), row.cells.end(), c, [](const Cell& cell, int v) { return cell.col < v; });
    return it != row.cells.end() && it->col == c ? &*it : nullptr;
}

const Cell* SheetModel::findCell(const Row& row, int c)
{
    return findCell(const_cast<Row&>(row), c);
}

Cell& SheetModel::cell(int r, int c, int defaultStyle)
{
    Row& rw = row(r);
    if (rw.cells.empty() || rw.cells.back().col < c) {
        rw.cells.push_back(Cell{});
        rw.cells.back().col = c;
        rw.cells.back().style = defaultStyle;
        return rw.cells.back();
    }
    auto it = std::lower_bound(rw.cells.begin(), rw.cells.end(), c, [](const Cell& cell, int v) { return cell.col < v; });
    if (it != rw.cells.end() && it->col == c)
        return *it;
    Cell fresh;
    fresh.col = c;
    fresh.style = defaultStyle;
    return *rw.cells.insert(it, fresh);
}

namespace {

// A column's kept style attribute; anything but a plain number is the default style.
int styleNumber(const char* s)
{
    int v = 0;
    if (s)
        std::from_chars(s, s + std::strlen(s), v);
    return v;
}

} // namespace

int SheetModel::columnStyle(int c) const
{
    for (const ColumnRange& r : cols)
        if (c >= r.min && c <= r.max)
            if (const char* s = r.get("style"))
                return styleNumber(s);
    return 0;
}

} // namespace detail

namespace {

// Excel's default column width for its default font, written whenever a <col> is
// made only to carry a format.
constexpr const char* kDefaultWidth = "9.140625";

void checkCell(const detail::Book& book, int row, int col)
{
    if (row < 1 || row > detail::kMaxRows || col < 1 || col > detail::kMaxCols)
        book.fail(WorkbookError::kAppDefined,
                  QStringLiteral("%1: hücre konumu geçersiz (satır %2, sütun %3).").arg(book.label()).arg(row).arg(col));
}

// The column's own <col> entry, split out of a wider range when needed.
ColumnRange& columnEntry(SheetModel& m, int c)
{
    auto it = std::find_if(m.cols.begin(), m.cols.end(), [c](const ColumnRange& r) { return c >= r.min && c <= r.max; });
    if (it == m.cols.end()) {
        auto pos = std::find_if(m.cols.begin(), m.cols.end(), [c](const ColumnRange& r) { return r.min > c; });
        ColumnRange fresh;
        fresh.min = fresh.max = c;
        fresh.set("width", kDefaultWidth);
        return *m.cols.insert(pos, fresh);
    }
    if (it->min == c && it->max == c)
        return *it;
    const ColumnRange whole = *it;
    const size_t at = size_t(it - m.cols.begin());
    std::vector<ColumnRange> pieces;
    if (whole.min < c) {
        pieces.push_back(whole);
        pieces.back().max = c - 1;
    }
    pieces.push_back(whole);
    pieces.back().min = pieces.back().max = c;
    if (whole.max > c) {
        pieces.push_back(whole);
        pieces.back().min = c + 1;
    }
    m.cols.erase(m.cols.begin() + long(at));
    m.cols.insert(m.cols.begin() + long(at), pieces.begin(), pieces.end());
    return m.cols[at + (whole.min < c ? 1 : 0)];
}

} // namespace

Sheet::Sheet(detail::Book& book, std::unique_ptr<detail::SheetModel> model) : book_(&book), m_(std::move(model)) {}

Sheet::~Sheet() = default;

detail::SheetModel& Sheet::model() const
{
    if (!m_->loaded)
        book_->loadSheet(*m_);
    return *m_;
}

QString Sheet::name() const
{
    return m_->name;
}

CellValue Sheet::value(int row, int col) const
{
    CellValue v;
    const SheetModel& m = model();
    const Row* r = m.findRow(row);
    const Cell* c = r ? SheetModel::findCell(*r, col) : nullptr;
    if (!c)
        return v;
    switch (c->type) {
    case CellType::Empty:
        break;
    case CellType::Number:
        v.kind = book_->styles.isDate(c->style) ? CellValue::Kind::Date : CellValue::Kind::Number;
        v.number = c->number;
        // Dates are handed out in the 1900 system whatever the workbook counts in.
        if (v.kind == CellValue::Kind::Date && book_->date1904)
            v.number += 1462;
        break;
    case CellType::Shared:
    case CellType::Text:
        v.kind = CellValue::Kind::Text;
        v.text = book_->strings[size_t(c->str)];
        break;
    case CellType::Bool:
        v.kind = CellValue::Kind::Bool;
        v.boolean = c->number != 0;
        v.number = c->number;
        break;
    case CellType::Error:
        v.kind = CellValue::Kind::Error;
        v.text = book_->strings[size_t(c->str)];
        break;
    }
    return v;
}

namespace {

// The cell about to get a new value: its formula (and what else we kept unread) goes.
Cell& writable(detail::Book& book, SheetModel& m, int row, int col)
{
    checkCell(book, row, col);
    Cell& c = m.cell(row, col, m.columnStyle(col));
    if (c.extra >= 0) {
        if (!m.extras[size_t(c.extra)].formula.empty())
            book.formulaOverwritten();
        c.extra = -1;
    }
    m.changed = true;
    return c;
}

void setQuoted(detail::Book& book, Cell& c, bool on)
{
    c.style = book.styles.derive(c.style, StyleChange{StyleChange::Kind::QuotePrefix, on ? 1 : 0});
}

} // namespace

void Sheet::setText(int row, int col, const QString& typed)
{
    if (typed.isEmpty()) {
        clear(row, col);
        return;
    }
    SheetModel& m = model();
    Cell& c = writable(*book_, m, row, col);
    if (typed.front() == QLatin1Char('\'')) {
        c.type = CellType::Text;
        c.str = book_->addString(typed.mid(1));
        setQuoted(*book_, c, true);
        return;
    }
    setQuoted(*book_, c, false);
    if (const auto n = regionalConvert(typed)) {
        c.type = CellType::Number;
        c.number = n->toDouble();
        c.str = -1;
    } else {
        c.type = CellType::Text;
        c.str = book_->addString(typed);
    }
}

void Sheet::setString(int row, int col, const QString& text)
{
    SheetModel& m = model();
    Cell& c = writable(*book_, m, row, col);
    c.type = CellType::Text;
    c.str = book_->addString(text);
}

void Sheet::setNumber(int row, int col, double value)
{
    SheetModel& m = model();
    Cell& c = writable(*book_, m, row, col);
    if (!std::isfinite(value)) {
        c.type = CellType::Error;
        c.str = book_->addString(QStringLiteral("#NUM!"));
        return;
    }
    c.type = CellType::Number;
    c.number = value;
    c.str = -1;
}

void Sheet::clear(int row, int col)
{
    SheetModel& m = model();
    checkCell(*book_, row, col);
    Row* r = m.findRow(row);
    Cell* c = r ? SheetModel::findCell(*r, col) : nullptr;
    if (!c || (c->type == CellType::Empty && c->extra < 0))
        return;
    Cell& w = writable(*book_, m, row, col);
    w.type = CellType::Empty;
    w.str = -1;
    w.number = 0;
    if (w.style == 0)
        r->cells.erase(r->cells.begin() + (&w - r->cells.data()));
}

int Sheet::lastRow() const
{
    const SheetModel& m = model();
    for (auto it = m.rows.rbegin(); it != m.rows.rend(); ++it)
        for (const Cell& c : it->cells)
            if (c.type != CellType::Empty)
                return it->r;
    return 0;
}

int Sheet::lastColumn() const
{
    int last = 0;
    for (const Row& r : model().rows)
        for (auto it = r.cells.rbegin(); it != r.cells.rend(); ++it)
            if (it->type != CellType::Empty) {
                last = std::max(last, it->col);
                break;
            }
    return last;
}

namespace {

detail::CellRange rangeOf(const detail::Book& book, const QString& address)
{
    const auto r = detail::parseRange(address);
    if (!r)
        book.fail(WorkbookError::kAppDefined, QStringLiteral("%1: hücre aralığı geçersiz: \"%2\".").arg(book.label(), address));
    return *r;
}

void applyFormat(detail::Book& book, SheetModel& m, const QString& address, const StyleChange& change)
{
    const detail::CellRange r = rangeOf(book, address);
    if (r.wholeColumns) {
        // Whole columns: the column format (for cells typed later) and every cell there.
        for (int c = r.col1; c <= r.col2; ++c) {
            ColumnRange& col = columnEntry(m, c);
            col.set("style", std::to_string(book.styles.derive(detail::styleNumber(col.get("style")), change)));
        }
        for (Row& row : m.rows)
            for (Cell& cell : row.cells)
                if (cell.col >= r.col1 && cell.col <= r.col2)
                    cell.style = book.styles.derive(cell.style, change);
        m.colsChanged = true;
    } else {
        const long long area = (long long)(r.row2 - r.row1 + 1) * (r.col2 - r.col1 + 1);
        if (area > 4000000)
            book.fail(WorkbookError::kAppDefined, QStringLiteral("%1: hücre aralığı çok büyük: \"%2\".").arg(book.label(), address));
        for (int row = r.row1; row <= r.row2; ++row)
            for (int c = r.col1; c <= r.col2; ++c) {
                Cell& cell = m.cell(row, c, m.columnStyle(c));
                cell.style = book.styles.derive(cell.style, change);
            }
    }
    m.changed = true;
}

} // namespace

void Sheet::setBold(const QString& range, bool on)
{
    applyFormat(*book_, model(), range, {StyleChange::Kind::Bold, on ? 1 : 0});
}

void Sheet::setFontColor(const QString& range, long vbColor)
{
    applyFormat(*book_, model(), range, {StyleChange::Kind::FontColor, vbColor});
}

void Sheet::setFillColor(const QString& range, long vbColor)
{
    applyFormat(*book_, model(), range, {StyleChange::Kind::Fill, vbColor});
}

void Sheet::setHAlign(const QString& range, int xlConst)
{
    applyFormat(*book_, model(), range, {StyleChange::Kind::HAlign, xlConst});
}

void Sheet::setVAlign(const QString& range, int xlConst)
{
    applyFormat(*book_, model(), range, {StyleChange::Kind::VAlign, xlConst});
}

void Sheet::autoFit(const QString& columns)
{
    SheetModel& m = model();
    const detail::CellRange r = rangeOf(*book_, columns);
    std::vector<double> widest(size_t(r.col2 - r.col1 + 1), 0.0);
    for (const Row& row : m.rows) {
        if (row.r < r.row1 || row.r > r.row2)
            continue;
        for (const Cell& c : row.cells) {
            if (c.col < r.col1 || c.col > r.col2 || c.type == CellType::Empty)
                continue;
            int longest = 0;
            for (const QStringView line : value(row.r, c.col).toText().tokenize(QLatin1Char('\n')))
                longest = std::max(longest, int(line.size()));
            const double chars = longest * (book_->styles.isBold(c.style) ? 1.1 : 1.0);
            double& w = widest[size_t(c.col - r.col1)];
            w = std::max(w, chars);
        }
    }
    for (int c = r.col1; c <= r.col2; ++c) {
        const double chars = widest[size_t(c - r.col1)];
        if (chars <= 0)
            continue; // Excel leaves an empty column as it is
        // One character of the default font is the unit; wide letters and the
        // cell's margins need a little more.
        const double width = std::min(255.0, std::round((chars * 1.1 + 1.7) * 100) / 100);
        ColumnRange& col = columnEntry(m, c);
        col.set("width", QString::number(width, 'f', 2).toStdString());
        col.set("bestFit", "1");
        col.set("customWidth", "1");
    }
    m.colsChanged = true;
    m.changed = true;
}

int firstBlankRow(const Sheet& sheet, int firstRow, int lastColumn)
{
    auto filled = [&](int row) {
        for (int col = 1; col <= lastColumn; ++col) {
            const CellValue v = sheet.value(row, col);
            if (!(v.isEmpty() || (v.kind == CellValue::Kind::Text && v.text.isEmpty())))
                return true;
        }
        return false;
    };
    const int last = sheet.lastRow();
    for (int row = firstRow; row <= last; ++row)
        if (!filled(row))
            return row;
    return std::max(firstRow, last + 1);
}

} // namespace kuvela
