// A sheet part read into rows of cells. The part around the cells goes through
// pugixml; the cells themselves, nearly all of a big part, through the scanner.
#include "platform/workbook_internal.h"
#include "platform/workbook_scan.h"
#include "platform/workbook_xml.h"

#include <cstring>
#include <future>
#include <system_error>

namespace kuvela::detail {

namespace {

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

} // namespace

ParsedSheet parseSheet(std::string_view xml, const SheetSource& src)
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
    meter.flush();
    if (hasData)
        readRows(xml, inner, innerEnd, src, out, kept);
    kept.keep();
    return out;
}

ParsedSheet readSheet(const ZipReader::Detached& part, const SheetSource& source)
{
    Charge text(source.budget.get(), source.part);
    const Inflated xml = part.read(&text);
    return parseSheet(xml.view(), source);
}

SheetAround SheetAround::of(std::string_view xml, bool hasData, size_t begin, size_t end, std::string prefix)
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

SheetAround SheetAround::of(std::string_view xml)
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
    // Sheets are read when first asked for. A caller that asks for them one after
    // another gets the next few read on other threads meanwhile, as a reading of the
    // whole workbook does.
    size_t at = 0;
    while (at < sheets.size() && &modelOf(*sheets[at]) != &m)
        ++at;
    if (at < sheets.size() && at > 0 && at - 1 == lastLoaded)
        for (size_t k = at + 1; k < sheets.size() && k <= at + kSheetsAhead; ++k)
            prefetch(modelOf(*sheets[k]));
    lastLoaded = at;
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
    if (m.loaded || m.prefetched.valid())
        return;
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
