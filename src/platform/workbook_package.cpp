// The package around the sheets: content types, relationships, the workbook part's
// sheet list, the shared strings and the styles.
#include "platform/workbook_internal.h"
#include "platform/workbook_scan.h"
#include "platform/workbook_xml.h"

#include <cstring>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace kuvela::detail {

namespace {

constexpr const char* kContentTypes = "[Content_Types].xml";
constexpr const char* kRelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr const char* kWorksheetRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
constexpr const char* kStylesRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles";
constexpr const char* kWorksheetType = "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";
constexpr const char* kStylesType = "application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml";

bool endsWith(const char* s, const char* tail)
{
    const size_t a = std::strlen(s), b = std::strlen(tail);
    return a >= b && std::strcmp(s + a - b, tail) == 0;
}

std::string folderOf(const std::string& part)
{
    const auto slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

// A relationship target as a part name: relative to the source's folder, or absolute.
std::string resolve(const std::string& sourceFolder, const std::string& target)
{
    std::string joined = !target.empty() && target[0] == '/' ? target.substr(1) : sourceFolder + target;
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= joined.size()) {
        size_t slash = joined.find('/', start);
        if (slash == std::string::npos)
            slash = joined.size();
        const std::string seg = joined.substr(start, slash - start);
        if (seg == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!seg.empty() && seg != ".") {
            parts.push_back(seg);
        }
        start = slash + 1;
    }
    std::string out;
    for (const std::string& p : parts)
        out += (out.empty() ? "" : "/") + p;
    return out;
}

std::string relsPartOf(const std::string& part)
{
    const auto slash = part.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
    const std::string file = slash == std::string::npos ? part : part.substr(slash + 1);
    return folder + "_rels/" + file + ".rels";
}

// The first relationship of a type (matched by its last path segment: "/styles").
pugi::xml_node relationshipOfType(const pugi::xml_document& rels, const char* typeTail)
{
    for (pugi::xml_node r = rels.document_element().first_child(); r; r = r.next_sibling())
        if (isNamed(r, "Relationship") && endsWith(r.attribute("Type").value(), typeTail))
            return r;
    return {};
}

pugi::xml_node relationshipById(const pugi::xml_document& rels, const char* id)
{
    for (pugi::xml_node r = rels.document_element().first_child(); r; r = r.next_sibling())
        if (isNamed(r, "Relationship") && std::strcmp(r.attribute("Id").value(), id) == 0)
            return r;
    return {};
}

const std::string& emptySheetXml()
{
    static const std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
        "<dimension ref=\"A1\"/><sheetData/></worksheet>";
    return xml;
}

} // namespace

std::string newPackageBytes(const QString& sheetName)
{
    std::string name;
    appendAttr(name, sheetName.toStdString());
    const std::string decl = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
    ZipEdit e;
    e.put.emplace_back(kContentTypes, decl +
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/xl/workbook.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
        "<Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"" + std::string(kWorksheetType) + "\"/>"
        "<Override PartName=\"/xl/styles.xml\" ContentType=\"" + std::string(kStylesType) + "\"/>"
        "</Types>");
    e.put.emplace_back("_rels/.rels", decl +
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
        "Target=\"xl/workbook.xml\"/></Relationships>");
    e.put.emplace_back("xl/workbook.xml", decl +
        "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
        "xmlns:r=\"" + std::string(kRelNs) + "\">"
        "<bookViews><workbookView activeTab=\"0\"/></bookViews>"
        "<sheets><sheet name=\"" + name + "\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>");
    e.put.emplace_back("xl/_rels/workbook.xml.rels", decl +
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"" + std::string(kWorksheetRel) + "\" Target=\"worksheets/sheet1.xml\"/>"
        "<Relationship Id=\"rId2\" Type=\"" + std::string(kStylesRel) + "\" Target=\"styles.xml\"/>"
        "</Relationships>");
    e.put.emplace_back("xl/styles.xml", StyleBook::defaultXml());
    e.put.emplace_back("xl/worksheets/sheet1.xml", emptySheetXml());
    return newZip(e);
}

const std::string& sheetSkeleton()
{
    return emptySheetXml();
}

void Book::readPackage()
{
    std::string stored;
    if (!zip->find(kContentTypes, &stored))
        fail(WorkbookError::kTypeMismatch,
             QStringLiteral("%1 dosyası açılamadı: geçerli bir Excel çalışma kitabı değil.").arg(label()));
    try {
        parseKept(contentTypes, stored);

        workbookPart = "xl/workbook.xml";
        if (zip->find("_rels/.rels")) {
            pugi::xml_document rootRels;
            parseKept(rootRels, "_rels/.rels");
            if (pugi::xml_node r = relationshipOfType(rootRels, "/officeDocument"))
                workbookPart = resolve("", r.attribute("Target").value());
        }
        if (!zip->find(workbookPart, &workbookPart))
            fail(WorkbookError::kTypeMismatch,
                 QStringLiteral("%1 dosyası açılamadı: çalışma kitabı bölümü (xl/workbook.xml) bulunamadı.").arg(label()));
        parseKept(workbookXml, workbookPart);
        workbookRelsPart = relsPartOf(workbookPart);
        if (zip->find(workbookRelsPart, &workbookRelsPart))
            parseKept(workbookRels, workbookRelsPart);
        else
            parsePart(workbookRels, "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"/>",
                      workbookRelsPart);

        const pugi::xml_node wb = workbookXml.document_element();
        if (!isNamed(wb, "workbook"))
            throw XmlFailure(workbookPart + " (workbook öğesi yok)");
        const char* d1904 = child(wb, "workbookPr").attribute("date1904").value();
        date1904 = std::strcmp(d1904, "1") == 0 || std::strcmp(d1904, "true") == 0;

        const std::string folder = folderOf(workbookPart);
        std::unordered_map<std::string_view, pugi::xml_node> relsById;
        for (pugi::xml_node r = workbookRels.document_element().first_child(); r; r = r.next_sibling())
            if (isNamed(r, "Relationship"))
                relsById.emplace(r.attribute("Id").value(), r);
        std::unordered_set<std::string> parts;
        Charge models(budget.get(), workbookPart);
        for (pugi::xml_node s = child(child(wb, "sheets"), "sheet"); s; s = s.next_sibling()) {
            if (!isNamed(s, "sheet"))
                continue;
            const auto rel = relsById.find(attribute(s, "id").value());
            if (rel == relsById.end() || !endsWith(rel->second.attribute("Type").value(), "/worksheet"))
                continue; // chart sheets and the like hold no cells
            if (sheets.size() >= kMaxSheets)
                throw XmlFailure(workbookPart + " (sayfa sayısı sınırı (" + std::to_string(kMaxSheets) + ") aşılıyor)");
            auto m = std::make_unique<SheetModel>();
            m->name = QString::fromUtf8(s.attribute("name").value());
            m->part = resolve(folder, rel->second.attribute("Target").value());
            if (!zip->find(m->part, &m->part))
                throw XmlFailure(m->part + " (sayfa bölümü yok)");
            // Two sheets over one part would overwrite each other on saving.
            if (!parts.insert(m->part).second)
                throw XmlFailure(m->part + " (iki sayfa aynı bölümü gösteriyor)");
            models.add(sizeof(SheetModel) + sizeof(Sheet) + m->part.size() + 2 * size_t(m->name.size()));
            wrap(std::move(m));
        }
        models.keep();
        if (sheets.empty())
            throw XmlFailure(workbookPart + " (çalışma sayfası yok)");
        if (pugi::xml_node r = relationshipOfType(workbookRels, "/sharedStrings")) {
            std::string part = resolve(folder, r.attribute("Target").value());
            if (zip->find(part, &part)) {
                Charge text(budget.get(), part), table(budget.get(), part);
                scanSharedStrings(zip->read(part, &text).view(), part, strings, &table);
                table.keep();
                sharedCount = strings.size();
            }
        }
        if (pugi::xml_node r = relationshipOfType(workbookRels, "/styles")) {
            std::string part = resolve(folder, r.attribute("Target").value());
            if (zip->find(part, &part)) {
                stylesPart = part;
                Charge text(budget.get(), part), tree(budget.get(), part);
                styles.load(zip->read(part, &text).view(), part, &tree);
                tree.keep();
            }
        }
        if (pugi::xml_node r = relationshipOfType(workbookRels, "/calcChain"))
            calcChainPart = resolve(folder, r.attribute("Target").value());
    } catch (...) {
        failFromCurrent();
    }
}

Sheet& Book::newSheet(const QString& name)
{
    int sheetNo = 1;
    auto partTaken = [&](const std::string& part) {
        if (zip->find(part))
            return true;
        for (const auto& s : sheets)
            if (modelOf(*s).part == part)
                return true;
        return false;
    };
    std::string part;
    do
        part = "xl/worksheets/sheet" + std::to_string(sheetNo++) + ".xml";
    while (partTaken(part));

    int relNo = 1;
    std::string relId;
    do
        relId = "rId" + std::to_string(relNo++);
    while (relationshipById(workbookRels, relId.c_str()));

    pugi::xml_node sheetsNode = child(workbookXml.document_element(), "sheets");
    unsigned maxId = 0;
    for (pugi::xml_node s = sheetsNode.first_child(); s; s = s.next_sibling())
        maxId = std::max(maxId, s.attribute("sheetId").as_uint(0));

    // The relationship id's prefix is whatever this workbook bound to the namespace.
    std::string relPrefix = "r";
    for (pugi::xml_attribute a = workbookXml.document_element().first_attribute(); a; a = a.next_attribute())
        if (std::strncmp(a.name(), "xmlns:", 6) == 0 && std::strcmp(a.value(), kRelNs) == 0)
            relPrefix = a.name() + 6;
    if (!workbookXml.document_element().attribute(("xmlns:" + relPrefix).c_str()))
        workbookXml.document_element().append_attribute(("xmlns:" + relPrefix).c_str()) = kRelNs;

    pugi::xml_node s = appendElement(sheetsNode, "sheet");
    s.append_attribute("name") = name.toUtf8().constData();
    s.append_attribute("sheetId") = maxId + 1;
    s.append_attribute((relPrefix + ":id").c_str()) = relId.c_str();

    const std::string folder = folderOf(workbookPart);
    pugi::xml_node rel = appendElement(workbookRels.document_element(), "Relationship");
    rel.append_attribute("Id") = relId.c_str();
    rel.append_attribute("Type") = kWorksheetRel;
    rel.append_attribute("Target") = (part.compare(0, folder.size(), folder) == 0 ? part.substr(folder.size()) : "/" + part).c_str();

    pugi::xml_node o = appendElement(contentTypes.document_element(), "Override");
    o.append_attribute("PartName") = ("/" + part).c_str();
    o.append_attribute("ContentType") = kWorksheetType;
    packageChanged = true;

    auto m = std::make_unique<SheetModel>();
    m->name = name;
    m->part = part;
    m->loaded = true;
    m->changed = true;
    return wrap(std::move(m));
}

void Book::ensureStylesPart()
{
    if (!stylesPart.empty())
        return;
    std::string part = folderOf(workbookPart) + "styles.xml";
    for (int n = 2; zip->find(part); ++n)
        part = folderOf(workbookPart) + "styles" + std::to_string(n) + ".xml";
    int relNo = 1;
    std::string relId;
    do
        relId = "rId" + std::to_string(relNo++);
    while (relationshipById(workbookRels, relId.c_str()));
    pugi::xml_node rel = appendElement(workbookRels.document_element(), "Relationship");
    rel.append_attribute("Id") = relId.c_str();
    rel.append_attribute("Type") = kStylesRel;
    rel.append_attribute("Target") = part.substr(folderOf(workbookPart).size()).c_str();
    pugi::xml_node o = appendElement(contentTypes.document_element(), "Override");
    o.append_attribute("PartName") = ("/" + part).c_str();
    o.append_attribute("ContentType") = kStylesType;
    stylesPart = part;
    packageChanged = true;
}

void Book::formulaOverwritten()
{
    if (recalcOnLoad)
        return;
    recalcOnLoad = true;
    if (!calcChainPart.empty()) {
        dropCalcChain = true;
        if (pugi::xml_node r = relationshipOfType(workbookRels, "/calcChain"))
            r.parent().remove_child(r);
        const std::string partName = "/" + calcChainPart;
        for (pugi::xml_node o = contentTypes.document_element().first_child(); o; o = o.next_sibling())
            if (isNamed(o, "Override") && partName == o.attribute("PartName").value()) {
                o.parent().remove_child(o);
                break;
            }
    }
    // Cached values of formulas that read the overwritten cell are stale now.
    const pugi::xml_node wb = workbookXml.document_element();
    pugi::xml_node calcPr = child(wb, "calcPr");
    if (!calcPr) {
        pugi::xml_node before;
        for (const char* next : {"oleSize", "customWorkbookViews", "pivotCaches", "smartTagPr", "smartTagTypes",
                                 "webPublishing", "fileRecoveryPr", "webPublishObjects", "extLst"})
            if ((before = child(wb, next)))
                break;
        calcPr = insertElementBefore(wb, "calcPr", before);
    }
    if (!calcPr.attribute("fullCalcOnLoad"))
        calcPr.append_attribute("fullCalcOnLoad");
    calcPr.attribute("fullCalcOnLoad").set_value("1");
    packageChanged = true;
}

} // namespace kuvela::detail
