// A sheet part written back: only its sheetData (and the column list, when widths or
// column formats changed) is made anew; everything else in the part stays as it was.
#include "platform/workbook_internal.h"
#include "platform/workbook_scan.h"
#include "platform/workbook_xml.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace kuvela::detail {

namespace {

void appendNumber(std::string& out, double v)
{
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

void appendInt(std::string& out, long long v)
{
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

constexpr const char* kMarker = "kuvela-sheet-data";

} // namespace

std::string Book::writeSheet(const SheetModel& m) const
{
    // The part as it was read or last saved; only a sheet never read from a part (a
    // new one) starts from the bare skeleton.
    SheetAround fresh;
    if (!m.around.kept)
        fresh = zip->find(m.part) ? SheetAround::of(zip->read(m.part).view()) : SheetAround::of(sheetSkeleton());
    const SheetAround& around = m.around.kept ? m.around : fresh;
    std::string p = around.prefix;
    std::string skeleton;
    if (around.hasData) {
        skeleton.reserve(around.size() + 32);
        skeleton.append(around.before).append("<").append(kMarker).append("/>").append(around.after);
    } else {
        skeleton = around.before;
    }

    pugi::xml_document doc;
    parsePart(doc, skeleton, m.part);
    pugi::xml_node root = doc.document_element();
    pugi::xml_node marker = child(root, kMarker);
    if (!marker) {
        // No sheetData at all: it goes after the elements that precede it.
        pugi::xml_node after;
        for (const char* name : {"sheetPr", "dimension", "sheetViews", "sheetFormatPr", "cols"})
            if (pugi::xml_node n = child(root, name))
                after = n;
        marker = after ? root.insert_child_after(kMarker, after) : root.prepend_child(kMarker);
        p = prefixOf(root);
    }

    int minRow = 0, maxRow = 0, minCol = 0, maxCol = 0;
    for (const Row& row : m.rows) {
        if (row.cells.empty())
            continue;
        minRow = minRow ? minRow : row.r;
        maxRow = row.r;
        minCol = minCol ? std::min(minCol, row.cells.front().col) : row.cells.front().col;
        maxCol = std::max(maxCol, row.cells.back().col);
    }
    const std::string dimension = minRow ? cellRef(minRow, minCol) + (minRow == maxRow && minCol == maxCol ? "" : ":" + cellRef(maxRow, maxCol)) : "A1";
    pugi::xml_node dim = child(root, "dimension");
    if (!dim) {
        const pugi::xml_node sheetPr = child(root, "sheetPr");
        dim = sheetPr ? root.insert_child_after((p + "dimension").c_str(), sheetPr) : root.prepend_child((p + "dimension").c_str());
    }
    dim.remove_attributes();
    dim.append_attribute("ref") = dimension.c_str();

    if (m.colsChanged) {
        if (pugi::xml_node old = child(root, "cols"))
            root.remove_child(old);
        if (!m.cols.empty()) {
            pugi::xml_node cols = root.insert_child_before((p + "cols").c_str(), marker);
            for (const ColumnRange& r : m.cols) {
                pugi::xml_node col = cols.append_child((p + "col").c_str());
                col.append_attribute("min") = r.min;
                col.append_attribute("max") = r.max;
                for (const auto& [k, v] : r.attrs)
                    col.append_attribute(k.c_str()) = v.c_str();
            }
        }
    }
    const std::string printed = printPart(doc);
    const size_t at = printed.find(std::string("<") + kMarker);
    const size_t atEnd = printed.find('>', at) + 1;

    std::string out;
    out.reserve(printed.size() + m.rows.size() * 64);
    out.append(printed, 0, at);
    out += '<' + p + "sheetData>";
    const std::string rowTag = "<" + p + "row r=\"";
    const std::string rowEnd = "</" + p + "row>";
    const std::string cTag = "<" + p + "c r=\"";
    const std::string cEnd = "</" + p + "c>";
    const std::string vTag = "<" + p + "v>";
    const std::string vEnd = "</" + p + "v>";
    for (const Row& row : m.rows) {
        if (row.cells.empty() && row.attrs.empty())
            continue;
        out += rowTag;
        appendInt(out, row.r);
        out += '"';
        out += row.attrs;
        if (row.cells.empty()) {
            out += "/>";
            continue;
        }
        out += '>';
        const std::string rowNo = std::to_string(row.r);
        for (const Cell& c : row.cells) {
            const CellExtra* extra = c.extra >= 0 ? &m.extras[size_t(c.extra)] : nullptr;
            const bool formula = extra && !extra->formula.empty();
            out += cTag;
            out += columnName(c.col);
            out += rowNo;
            out += '"';
            if (c.style > 0) {
                out += " s=\"";
                appendInt(out, c.style);
                out += '"';
            }
            switch (c.type) {
            case CellType::Empty: break;
            case CellType::Number: break;
            case CellType::Shared: out += " t=\"s\""; break;
            case CellType::Text: out += formula ? " t=\"str\"" : " t=\"inlineStr\""; break;
            case CellType::Bool: out += " t=\"b\""; break;
            case CellType::Error: out += " t=\"e\""; break;
            }
            if (extra)
                out += extra->attrs;
            if (c.type == CellType::Empty && !formula) {
                out += "/>";
                continue;
            }
            out += '>';
            if (formula)
                out += extra->formula;
            switch (c.type) {
            case CellType::Empty:
                break;
            case CellType::Number:
                out += vTag;
                appendNumber(out, c.number);
                out += vEnd;
                break;
            case CellType::Shared:
                out += vTag;
                appendInt(out, c.str);
                out += vEnd;
                break;
            case CellType::Bool:
                out += vTag;
                out += c.number != 0 ? '1' : '0';
                out += vEnd;
                break;
            case CellType::Error:
            case CellType::Text: {
                const QString& s = strings[size_t(c.str)];
                if (c.type == CellType::Text && !formula) {
                    const bool keepBlanks = !s.isEmpty() && (s.front().isSpace() || s.back().isSpace());
                    out += '<' + p + "is><" + p + (keepBlanks ? "t xml:space=\"preserve\">" : "t>");
                    appendText(out, s);
                    out += "</" + p + "t></" + p + "is>";
                } else {
                    out += vTag;
                    appendText(out, s);
                    out += vEnd;
                }
                break;
            }
            }
            out += cEnd;
        }
        out += rowEnd;
    }
    out += "</" + p + "sheetData>";
    out.append(printed, atEnd, std::string::npos);
    return out;
}

} // namespace kuvela::detail
