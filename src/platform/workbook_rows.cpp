// The rows of a sheet's sheetData read into cells, on several threads for a big sheet.
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


// Rows read one after another into `out`: the whole of sheetData, or one piece of it.
class RowReader {
public:
    RowReader(ParsedSheet& out, const SheetSource& src, Meter& meter, bool piece)
        : out_(out), src_(src), meter_(meter), piece_(piece)
    {
    }
    void read(XmlCursor& cur)
    {
        Tag rowTag;
        while (cur.next(rowTag)) {
            if (rowTag.local == "sheetData")
                cur.fail("birden fazla sheetData öğesi");
            if (rowTag.closing)
                cur.fail("beklenmeyen kapanış etiketi");
            if (rowTag.local != "row") {
                cur.skip(rowTag);
                continue;
            }
            if (src_.cancel && (prevRow_ & 255) == 0 && src_.cancel->load(std::memory_order_relaxed))
                throw Cancelled();
            // A sheet has no more rows than its last row number; more <row> elements than
            // that can only repeat numbers, and are refused before they fill memory.
            if (out_.rows.size() >= size_t(kMaxRows))
                cur.fail("satır sayısı sınırı (" + std::to_string(kMaxRows) + ") aşılıyor");
            readRow(cur, rowTag);
        }
        meter_.flush();
    }
    bool sorted() const { return sorted_; }

private:
    void readRow(XmlCursor& cur, const Tag& rowTag);
    [[noreturn]] void badCell(int r, int c, const std::string& why) const
    {
        throw WorkbookError(WorkbookError::kTypeMismatch,
                            QStringLiteral("%1 dosyası okunamadı: \"%2\" sayfasının %3 hücresi %4.")
                                .arg(src_.label, src_.name, QString::fromStdString(cellRef(r, c)), QString::fromStdString(why)));
    }
    int addString(QString s)
    {
        meter_.add(2 * sizeof(QString) + sizeof(char16_t) * size_t(s.size()));
        out_.strings.push_back(std::move(s));
        return int(out_.strings.size() - 1);
    }

    ParsedSheet& out_;
    const SheetSource& src_;
    Meter& meter_;
    bool piece_;
    bool sorted_ = true;
    int prevRow_ = 0;
    CellParts parts_;
};

void RowReader::readRow(XmlCursor& cur, const Tag& rowTag)
{
    ParsedSheet& out = out_;
    Tag cTag;
    std::string_view name, value;
    Row row;
    row.r = prevRow_ + 1; // no r: the row after the previous one
    bool numbered = false;
    std::string_view attrs = rowTag.attrs;
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
    // A piece does not know the row before its first.
    if (!numbered && piece_)
        cur.fail("numarasız satır");
    if (!numbered && row.r > kMaxRows)
        cur.fail("satır numarası sınırı (" + std::to_string(kMaxRows) + ") aşılıyor");
    sorted_ = sorted_ && row.r > prevRow_;
    prevRow_ = row.r;

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

        parts_.hasV = parts_.hasIs = false;
        parts_.v = {};
        parts_.formula.clear();
        parts_.is.clear();
        readCellParts(cur, cTag, parts_);
        const bool hasValue = parts_.hasV && !parts_.v.empty();

        if (type.empty() || type == "n") {
            if (hasValue) {
                if (!parseNumber(parts_.v, cell.number))
                    badCell(row.r, cell.col, "sayı değil (" + std::string(parts_.v) + ")");
                cell.type = CellType::Number;
            }
        } else if (type == "s") {
            if (hasValue) {
                unsigned idx = 0;
                const auto r = std::from_chars(parts_.v.data(), parts_.v.data() + parts_.v.size(), idx);
                if (r.ec != std::errc() || r.ptr != parts_.v.data() + parts_.v.size() || idx > unsigned(INT32_MAX))
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
            if (parts_.hasV) {
                cell.type = CellType::Text;
                cell.str = addString(decodeXString(parts_.v));
            }
        } else if (type == "inlineStr") {
            if (parts_.hasIs || parts_.hasV) {
                cell.type = CellType::Text;
                cell.str = addString(decodeXString(parts_.hasIs ? std::string_view(parts_.is) : parts_.v));
            }
        } else if (type == "b") {
            if (hasValue) {
                cell.type = CellType::Bool;
                cell.number = parts_.v == "1" || parts_.v == "true" ? 1 : 0;
            }
        } else if (type == "e") {
            if (hasValue) {
                cell.type = CellType::Error;
                cell.str = addString(QString::fromUtf8(parts_.v.data(), qsizetype(parts_.v.size())));
            }
        } else if (type == "d") {
            if (hasValue) {
                const auto serial = isoToSerial(std::string(parts_.v).c_str(), src_.date1904);
                if (!serial)
                    badCell(row.r, cell.col, "tarih değil (" + std::string(parts_.v) + ")");
                cell.type = CellType::Number;
                cell.number = *serial;
            }
        } else {
            badCell(row.r, cell.col, "tanınmayan değer türünde (t=\"" + std::string(type) + "\")");
        }
        if (!parts_.formula.empty() || !otherAttrs.empty()) {
            meter_.add(2 * sizeof(CellExtra) + otherAttrs.size() + parts_.formula.size());
            out.extras.push_back({std::move(otherAttrs), parts_.formula});
            cell.extra = int(out.extras.size() - 1);
        }
        row.cells.push_back(cell);
    }
    if (!cellsSorted)
        sortUnique(row.cells, [](const Cell& c) { return c.col; });
    // The row's slot twice over (the vector grows by doubling), its cells and attributes.
    meter_.add(2 * sizeof(Row) + row.cells.capacity() * sizeof(Cell) + row.attrs.capacity());
    out.rows.push_back(std::move(row));
}

// The pieces one after another in `out`; their string and extra indices move past the
// earlier pieces'. False when together they hold more rows than a sheet may.
bool joinPieces(std::vector<ParsedSheet>& pieces, ParsedSheet& out, bool& sorted)
{
    size_t rows = 0;
    for (const ParsedSheet& p : pieces)
        rows += p.rows.size();
    if (rows > size_t(kMaxRows))
        return false;
    out.rows.reserve(rows);
    for (ParsedSheet& p : pieces) {
        const int strings = int(out.strings.size()), extras = int(out.extras.size());
        if (strings || extras)
            for (Row& r : p.rows)
                for (Cell& c : r.cells) {
                    if (c.str >= 0 && (c.type == CellType::Text || c.type == CellType::Error))
                        c.str += strings;
                    if (c.extra >= 0)
                        c.extra += extras;
                }
        if (!p.rows.empty() && !out.rows.empty() && p.rows.front().r <= out.rows.back().r)
            sorted = false;
        if (p.maxShared > out.maxShared) {
            out.maxShared = p.maxShared;
            out.maxSharedRow = p.maxSharedRow;
            out.maxSharedCol = p.maxSharedCol;
        }
        std::move(p.rows.begin(), p.rows.end(), std::back_inserter(out.rows));
        std::move(p.strings.begin(), p.strings.end(), std::back_inserter(out.strings));
        std::move(p.extras.begin(), p.extras.end(), std::back_inserter(out.extras));
        p = ParsedSheet();
    }
    return true;
}

// A big sheetData in pieces, each starting at a <row>; false when it was not read so.
bool readInPieces(std::string_view xml, size_t inner, size_t innerEnd, const SheetSource& src, ParsedSheet& out,
                  Charge& kept, bool& sorted)
{
    const size_t n = piecesFor(innerEnd - inner);
    if (n < 2)
        return false;
    XmlCursor peek(xml.data() + inner, xml.data() + innerEnd, src.part);
    Tag first;
    if (!peek.next(first) || first.closing || first.local != "row")
        return false;
    std::vector<size_t> starts = pieceStarts(xml, inner, innerEnd, first.qname, n);
    if (starts.empty())
        return false;
    starts.insert(starts.begin(), inner);
    starts.push_back(innerEnd);
    const size_t count = starts.size() - 1;
    std::vector<ParsedSheet> pieces(count);
    std::vector<std::unique_ptr<Charge>> charges;
    std::vector<char> ordered(count, 1);
    for (size_t k = 0; k < count; ++k)
        charges.push_back(std::make_unique<Charge>(src.budget.get(), src.part));
    const bool read = readPieces(count, [&](size_t k) {
        XmlCursor cur(xml.data() + starts[k], xml.data() + starts[k + 1], src.part);
        Meter meter(*charges[k]);
        RowReader reader(pieces[k], src, meter, k > 0);
        reader.read(cur);
        ordered[k] = reader.sorted();
    });
    if (!read || !joinPieces(pieces, out, sorted))
        return false;
    sorted = sorted && std::all_of(ordered.begin(), ordered.end(), [](char o) { return o != 0; });
    for (auto& c : charges)
        kept.absorb(*c);
    return true;
}

} // namespace

void readRows(std::string_view xml, size_t inner, size_t innerEnd, const SheetSource& src, ParsedSheet& out, Charge& kept)
{
    Meter meter(kept);
    bool sorted = true;
    if (!readInPieces(xml, inner, innerEnd, src, out, kept, sorted)) {
        XmlCursor cur(xml.data() + inner, xml.data() + innerEnd, src.part);
        RowReader reader(out, src, meter, false);
        reader.read(cur);
        sorted = reader.sorted();
    }
    if (!sorted) {
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
}

} // namespace kuvela::detail
