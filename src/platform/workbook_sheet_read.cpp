// A sheet part read into rows of cells. The part around the cells goes through
// pugixml; the cells themselves, nearly all of a big part, through the scanner.
#include "platform/workbook_internal.h"
#include "platform/workbook_scan.h"
#include "platform/workbook_xml.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace kuvela::detail {

namespace {

bool parseNumber(std::string_view s, double& out)
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    const auto r = std::from_chars(s.data(), s.data() + s.size(), out);
    return !s.empty() && r.ec == std::errc() && r.ptr == s.data() + s.size();
}

int parseInt(std::string_view s)
{
    int v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return v;
}

// Rows or cells that arrived out of order: sorted, the later of two at one place kept.
template <class T, class Key>
void sortUnique(std::vector<T>& v, Key key)
{
    std::stable_sort(v.begin(), v.end(), [&](const T& a, const T& b) { return key(a) < key(b); });
    auto out = v.begin();
    for (auto it = v.begin(); it != v.end(); ++it) {
        if (out != v.begin() && key(*(out - 1)) == key(*it))
            *(out - 1) = std::move(*it);
        else
            *out++ = std::move(*it);
    }
    v.erase(out, v.end());
}

void readColumns(pugi::xml_node root, std::vector<ColumnRange>& cols)
{
    for (pugi::xml_node c = child(child(root, "cols"), "col"); c; c = c.next_sibling()) {
        if (!isNamed(c, "col"))
            continue;
        ColumnRange range;
        range.min = c.attribute("min").as_int(0);
        range.max = c.attribute("max").as_int(0);
        if (range.min < 1 || range.max < range.min || range.max > kMaxCols)
            continue;
        for (pugi::xml_attribute a = c.first_attribute(); a; a = a.next_attribute())
            if (std::strcmp(a.name(), "min") != 0 && std::strcmp(a.name(), "max") != 0)
                range.attrs.emplace_back(a.name(), a.value());
        cols.push_back(std::move(range));
    }
}

// The elements of one <c> that carry its value.
struct CellParts {
    bool hasV = false;
    std::string_view v;
    std::string vScratch;
    std::string formula; // the <f> element as written
    bool hasIs = false;
    std::string is;      // the inline string's text
};

void readCellParts(XmlCursor& cur, const Tag& open, CellParts& parts)
{
    Tag t;
    while (cur.child(open, t)) {
        if (t.local == "v") {
            parts.hasV = true;
            parts.v = cur.text(t, parts.vScratch);
        } else if (t.local == "f") {
            cur.skip(t);
            parts.formula.assign(t.begin, cur.position());
        } else if (t.local == "is") {
            parts.hasIs = true;
            std::string scratch;
            readStringItem(cur, t, scratch, [&](std::string_view piece) { parts.is.append(piece); });
        } else {
            cur.skip(t);
        }
    }
}

} // namespace

ParsedSheet parseSheet(const std::string& xml, const SheetSource& src)
{
    ParsedSheet out;
    size_t begin = 0, inner = 0, innerEnd = 0, end = 0;
    std::string prefix;
    const bool hasData = locateSheetData(xml, begin, inner, innerEnd, end, prefix);
    // What the sheet keeps stays on the workbook's budget; the tree of the part
    // around the cells only while it is read.
    Charge kept(src.budget.get(), src.part);
    Meter meter(kept);
    {
        Charge tree(src.budget.get(), src.part);
        pugi::xml_document doc;
        out.around = SheetAround::of(xml, hasData, begin, end, prefix);
        if (hasData) {
            std::string around;
            tree.add(out.around.size());
            around.reserve(out.around.before.size() + out.around.after.size());
            around.append(out.around.before).append(out.around.after);
            parsePart(doc, around, src.part, &tree);
        } else {
            parsePart(doc, xml, src.part, &tree);
        }
        meter.add(out.around.size());
        if (!isNamed(doc.document_element(), "worksheet"))
            throw XmlFailure(src.part + " (worksheet öğesi yok)");
        // A second sheetData would be read as nothing and lost on the next save.
        if (hasData && child(doc.document_element(), "sheetData"))
            throw XmlFailure(src.part + " (birden fazla sheetData öğesi)");
        readColumns(doc.document_element(), out.cols);
        meter.add(out.cols.size() * sizeof(ColumnRange));
    }
    if (!hasData) {
        meter.flush();
        kept.keep();
        return out;
    }

    auto badCell = [&](int r, int c, const std::string& why) {
        throw WorkbookError(WorkbookError::kTypeMismatch,
                            QStringLiteral("%1 dosyası okunamadı: \"%2\" sayfasının %3 hücresi %4.")
                                .arg(src.label, src.name, QString::fromStdString(cellRef(r, c)), QString::fromStdString(why)));
    };
    auto addString = [&](QString s) {
        meter.add(2 * sizeof(QString) + sizeof(char16_t) * size_t(s.size()));
        out.strings.push_back(std::move(s));
        return int(out.strings.size() - 1);
    };

    XmlCursor cur(xml.data() + inner, xml.data() + innerEnd, src.part);
    bool rowsSorted = true;
    int prevRow = 0;
    CellParts parts;
    Tag rowTag, cTag;
    while (cur.next(rowTag)) {
        if (rowTag.local == "sheetData")
            cur.fail("birden fazla sheetData öğesi");
        if (rowTag.closing)
            cur.fail("beklenmeyen kapanış etiketi");
        if (rowTag.local != "row") {
            cur.skip(rowTag);
            continue;
        }
        if (src.cancel && (prevRow & 255) == 0 && src.cancel->load(std::memory_order_relaxed))
            throw Cancelled();
        // A sheet has no more rows than its last row number; more <row> elements than
        // that can only repeat numbers, and are refused before they fill memory.
        if (out.rows.size() >= size_t(kMaxRows))
            cur.fail("satır sayısı sınırı (" + std::to_string(kMaxRows) + ") aşılıyor");
        Row row;
        row.r = prevRow + 1; // no r: the row after the previous one
        bool numbered = false;
        std::string_view attrs = rowTag.attrs, name, value;
        while (XmlCursor::nextAttribute(attrs, name, value)) {
            if (name == "r") {
                numbered = true;
                row.r = parseInt(value);
                if (row.r < 1 || row.r > kMaxRows)
                    cur.fail("satır numarası geçersiz: " + std::string(value));
            } else if (name != "spans") {
                row.attrs.append(" ").append(name).append("=\"");
                appendAttr(row.attrs, XmlCursor::decode(value));
                row.attrs += '"';
            }
        }
        if (!numbered && row.r > kMaxRows)
            cur.fail("satır numarası sınırı (" + std::to_string(kMaxRows) + ") aşılıyor");
        rowsSorted = rowsSorted && row.r > prevRow;
        prevRow = row.r;

        bool cellsSorted = true;
        int prevCol = 0;
        if (!out.rows.empty())
            row.cells.reserve(out.rows.back().cells.size());
        while (cur.child(rowTag, cTag)) {
            if (cTag.local != "c") {
                cur.skip(cTag);
                continue;
            }
            if (row.cells.size() >= size_t(kMaxCols))
                cur.fail("satırdaki hücre sayısı sınırı (" + std::to_string(kMaxCols) + ") aşılıyor");
            Cell cell;
            cell.col = prevCol + 1; // no r: the cell after the previous one
            bool addressed = false;
            std::string_view type;
            std::string otherAttrs;
            std::string_view ca = cTag.attrs;
            while (XmlCursor::nextAttribute(ca, name, value)) {
                if (name == "r") {
                    int rr = 0, cc = 0;
                    if (!parseCellRef(value, rr, cc))
                        cur.fail("hücre adresi geçersiz: " + std::string(value));
                    cell.col = cc;
                    addressed = true;
                } else if (name == "s") {
                    cell.style = parseInt(value);
                } else if (name == "t") {
                    type = value;
                } else {
                    otherAttrs.append(" ").append(name).append("=\"");
                    appendAttr(otherAttrs, XmlCursor::decode(value));
                    otherAttrs += '"';
                }
            }
            if (!addressed && cell.col > kMaxCols)
                cur.fail("sütun sınırı (XFD) aşılıyor: " + cellRef(row.r, kMaxCols) + " hücresinden sonra");
            cellsSorted = cellsSorted && cell.col > prevCol;
            prevCol = cell.col;

            parts.hasV = parts.hasIs = false;
            parts.v = {};
            parts.formula.clear();
            parts.is.clear();
            readCellParts(cur, cTag, parts);
            const bool hasValue = parts.hasV && !parts.v.empty();

            if (type.empty() || type == "n") {
                if (hasValue) {
                    if (!parseNumber(parts.v, cell.number))
                        badCell(row.r, cell.col, "sayı değil (" + std::string(parts.v) + ")");
                    cell.type = CellType::Number;
                }
            } else if (type == "s") {
                if (hasValue) {
                    unsigned idx = 0;
                    const auto r = std::from_chars(parts.v.data(), parts.v.data() + parts.v.size(), idx);
                    if (r.ec != std::errc() || r.ptr != parts.v.data() + parts.v.size() || idx > unsigned(INT32_MAX))
                        badCell(row.r, cell.col, "paylaşılan metin tablosunda olmayan bir metni gösteriyor");
                    cell.type = CellType::Shared;
                    cell.str = int(idx);
                    if (cell.str > out.maxShared) {
                        out.maxShared = cell.str;
                        out.maxSharedRow = row.r;
                        out.maxSharedCol = cell.col;
                    }
                }
            } else if (type == "str") {
                if (parts.hasV) {
                    cell.type = CellType::Text;
                    cell.str = addString(decodeXString(parts.v));
                }
            } else if (type == "inlineStr") {
                if (parts.hasIs || parts.hasV) {
                    cell.type = CellType::Text;
                    cell.str = addString(decodeXString(parts.hasIs ? std::string_view(parts.is) : parts.v));
                }
            } else if (type == "b") {
                if (hasValue) {
                    cell.type = CellType::Bool;
                    cell.number = parts.v == "1" || parts.v == "true" ? 1 : 0;
                }
            } else if (type == "e") {
                if (hasValue) {
                    cell.type = CellType::Error;
                    cell.str = addString(QString::fromUtf8(parts.v.data(), qsizetype(parts.v.size())));
                }
            } else if (type == "d") {
                if (hasValue) {
                    const auto serial = isoToSerial(std::string(parts.v).c_str(), src.date1904);
                    if (!serial)
                        badCell(row.r, cell.col, "tarih değil (" + std::string(parts.v) + ")");
                    cell.type = CellType::Number;
                    cell.number = *serial;
                }
            } else {
                badCell(row.r, cell.col, "tanınmayan değer türünde (t=\"" + std::string(type) + "\")");
            }
            if (!parts.formula.empty() || !otherAttrs.empty()) {
                meter.add(2 * sizeof(CellExtra) + otherAttrs.size() + parts.formula.size());
                out.extras.push_back({std::move(otherAttrs), parts.formula});
                cell.extra = int(out.extras.size() - 1);
            }
            row.cells.push_back(cell);
        }
        if (!cellsSorted)
            sortUnique(row.cells, [](const Cell& c) { return c.col; });
        // The row's slot twice over (the vector grows by doubling), its cells and attributes.
        meter.add(2 * sizeof(Row) + row.cells.capacity() * sizeof(Cell) + row.attrs.capacity());
        out.rows.push_back(std::move(row));
    }
    if (!rowsSorted) {
        meter.add(out.rows.size() * sizeof(Row));
        // Two <row> elements with one number: their cells belong together.
        std::stable_sort(out.rows.begin(), out.rows.end(), [](const Row& a, const Row& b) { return a.r < b.r; });
        // Each row's cells are sorted once, however many elements it came in.
        std::vector<Row> merged;
        bool joined = false;
        auto settle = [&] {
            if (joined)
                sortUnique(merged.back().cells, [](const Cell& c) { return c.col; });
            joined = false;
        };
        for (Row& r : out.rows) {
            if (!merged.empty() && merged.back().r == r.r) {
                merged.back().cells.insert(merged.back().cells.end(), r.cells.begin(), r.cells.end());
                joined = true;
            } else {
                settle();
                merged.push_back(std::move(r));
            }
        }
        settle();
        out.rows = std::move(merged);
    }
    meter.flush();
    kept.keep();
    return out;
}

ParsedSheet readSheet(const ZipReader::Detached& part, const SheetSource& source)
{
    Charge text(source.budget.get(), source.part);
    const std::string xml = part.read(&text);
    return parseSheet(xml, source);
}

SheetAround SheetAround::of(const std::string& xml, bool hasData, size_t begin, size_t end, std::string prefix)
{
    SheetAround a;
    a.prefix = std::move(prefix);
    a.kept = true;
    a.hasData = hasData;
    if (hasData) {
        a.before.assign(xml, 0, begin);
        a.after.assign(xml, end);
    } else {
        a.before = xml;
    }
    return a;
}

SheetAround SheetAround::of(const std::string& xml)
{
    size_t begin = 0, inner = 0, innerEnd = 0, end = 0;
    std::string prefix;
    const bool hasData = locateSheetData(xml, begin, inner, innerEnd, end, prefix);
    return of(xml, hasData, begin, end, std::move(prefix));
}

SheetSource Book::sourceOf(const SheetModel& m) const
{
    return SheetSource{m.part, label(), m.name, date1904, cancel, budget};
}

void Book::loadSheet(SheetModel& m)
{
    if (m.loaded)
        return;
    ParsedSheet parsed;
    try {
        parsed = m.prefetched.valid() ? m.prefetched.get() : readSheet(zip->detached(m.part), sourceOf(m));
    } catch (...) {
        failFromCurrent();
    }
    if (parsed.maxShared >= 0 && size_t(parsed.maxShared) >= sharedCount)
        fail(WorkbookError::kTypeMismatch,
             QStringLiteral("%1 dosyası okunamadı: \"%2\" sayfasının %3 hücresi paylaşılan metin tablosunda olmayan bir metni gösteriyor.")
                 .arg(label(), m.name, QString::fromStdString(cellRef(parsed.maxSharedRow, parsed.maxSharedCol))));
    // The sheet's own strings join the workbook's table.
    const int offset = int(strings.size());
    strings.insert(strings.end(), std::make_move_iterator(parsed.strings.begin()), std::make_move_iterator(parsed.strings.end()));
    if (!parsed.strings.empty())
        for (Row& r : parsed.rows)
            for (Cell& c : r.cells)
                if (c.type == CellType::Text || c.type == CellType::Error)
                    c.str += offset;
    m.rows = std::move(parsed.rows);
    m.cols = std::move(parsed.cols);
    m.extras = std::move(parsed.extras);
    m.around = std::move(parsed.around);
    m.loaded = true;
}

void Book::prefetch(SheetModel& m)
{
    // A reading of its own on another thread: the inflated part and its cells are
    // ready, or nearly, when the sheet is first asked for.
    try {
        m.prefetched = std::async(std::launch::async, [part = zip->detached(m.part), source = sourceOf(m)] {
            return readSheet(part, source);
        });
    } catch (const std::system_error&) {
        // No thread to spare: the sheet is read when it is asked for.
    }
}

} // namespace kuvela::detail
