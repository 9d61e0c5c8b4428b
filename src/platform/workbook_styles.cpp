#include "platform/workbook_styles.h"

#include "platform/workbook_xml.h"

#include <cstdio>
#include <unordered_map>

namespace kuvela::detail {

namespace {

bool truthy(pugi::xml_attribute a, bool absent)
{
    if (!a)
        return absent;
    const std::string v = a.value();
    return v == "1" || v == "true";
}

// The ARGB of a VB colour number (BGR): 255 -> FFFF0000.
std::string argbOf(long vb)
{
    const unsigned long v = static_cast<unsigned long>(vb) & 0xFFFFFFul;
    char buf[9];
    std::snprintf(buf, sizeof buf, "FF%02lX%02lX%02lX", v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
    return buf;
}

const char* horizontalName(long xl)
{
    switch (xl) {
    case -4131: return "left";
    case -4152: return "right";
    case -4108: return "center";
    case 7: return "centerContinuous";
    case -4130: return "justify";
    case 5: return "fill";
    default: return "";
    }
}

const char* verticalName(long xl)
{
    switch (xl) {
    case -4160: return "top";
    case -4108: return "center";
    case -4130: return "justify";
    default: return ""; // -4107 bottom is the default
    }
}

int intAttr(pugi::xml_node n, const char* name)
{
    return n.attribute(name).as_int(0);
}

} // namespace

bool isDateFormatCode(const std::string& code)
{
    bool dated = false;
    for (size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (c == ';')
            break; // the first section decides
        if (c == '"') {
            const size_t end = code.find('"', i + 1);
            if (end == std::string::npos)
                break;
            i = end;
        } else if (c == '[') {
            const size_t end = code.find(']', i + 1);
            if (end == std::string::npos)
                break;
            i = end;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i;
        } else {
            switch (c | 0x20) {
            case 'd': case 'm': case 'y': case 'h': case 's': dated = true; break;
            default: break;
            }
        }
    }
    return dated;
}

const std::string& StyleBook::defaultXml()
{
    static const std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font></fonts>"
        "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
        "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
        "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
        "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
        "<cellXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/></cellXfs>"
        "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
        "<dxfs count=\"0\"/><tableStyles count=\"0\"/>"
        "</styleSheet>";
    return xml;
}

StyleBook::StyleBook()
{
    load(defaultXml(), "xl/styles.xml");
}

void StyleBook::load(std::string_view xml, const std::string& partName, Charge* charge)
{
    parsePart(doc_, xml, partName, charge);
    derived_.clear();
    changed_ = false;
    index();
}

void StyleBook::index()
{
    const pugi::xml_node root = doc_.document_element();
    fonts_ = child(root, "fonts");
    cellXfs_ = child(root, "cellXfs");
    std::unordered_map<int, bool> customDate;
    for (pugi::xml_node f = child(child(root, "numFmts"), "numFmt"); f; f = f.next_sibling())
        if (isNamed(f, "numFmt"))
            customDate[intAttr(f, "numFmtId")] = isDateFormatCode(f.attribute("formatCode").value());
    xfs_.clear();
    date_.clear();
    for (pugi::xml_node x = cellXfs_.first_child(); x; x = x.next_sibling()) {
        if (!isNamed(x, "xf"))
            continue;
        const int id = intAttr(x, "numFmtId");
        const auto custom = customDate.find(id);
        xfs_.push_back(x);
        date_.push_back(custom != customDate.end() ? custom->second : ((id >= 14 && id <= 22) || (id >= 45 && id <= 47)));
    }
    fontNodes_.clear();
    for (pugi::xml_node f = fonts_.first_child(); f; f = f.next_sibling())
        if (isNamed(f, "font"))
            fontNodes_.push_back(f);
    fills_ = child(root, "fills");
    fillNodes_.clear();
    for (pugi::xml_node f = fills_.first_child(); f; f = f.next_sibling())
        if (isNamed(f, "fill"))
            fillNodes_.push_back(f);
}

pugi::xml_node StyleBook::xf(int i) const
{
    return i >= 0 && i < int(xfs_.size()) ? xfs_[size_t(i)] : pugi::xml_node();
}

pugi::xml_node StyleBook::fontOf(pugi::xml_node x) const
{
    const int id = intAttr(x, "fontId");
    return id >= 0 && id < int(fontNodes_.size()) ? fontNodes_[size_t(id)] : pugi::xml_node();
}

pugi::xml_node StyleBook::fillOf(pugi::xml_node x) const
{
    const int id = intAttr(x, "fillId");
    return id >= 0 && id < int(fillNodes_.size()) ? fillNodes_[size_t(id)] : pugi::xml_node();
}

bool StyleBook::isQuoted(int i) const
{
    return truthy(xf(i).attribute("quotePrefix"), false);
}

bool StyleBook::isBold(int i) const
{
    const pugi::xml_node b = child(fontOf(xf(i)), "b");
    return b && truthy(b.attribute("val"), true);
}

bool StyleBook::satisfies(pugi::xml_node x, const StyleChange& c) const
{
    switch (c.kind) {
    case StyleChange::Kind::Bold: {
        const pugi::xml_node b = child(fontOf(x), "b");
        return (b && truthy(b.attribute("val"), true)) == (c.value != 0);
    }
    case StyleChange::Kind::FontColor:
        return child(fontOf(x), "color").attribute("rgb").value() == argbOf(c.value);
    case StyleChange::Kind::HAlign:
        return std::string(child(x, "alignment").attribute("horizontal").value()) == horizontalName(c.value);
    case StyleChange::Kind::VAlign:
        return std::string(child(x, "alignment").attribute("vertical").value()) == verticalName(c.value);
    case StyleChange::Kind::QuotePrefix:
        return truthy(x.attribute("quotePrefix"), false) == (c.value != 0);
    case StyleChange::Kind::Fill: {
        const pugi::xml_node pattern = child(fillOf(x), "patternFill");
        return std::string(pattern.attribute("patternType").value()) == "solid"
            && child(pattern, "fgColor").attribute("rgb").value() == argbOf(c.value);
    }
    }
    return true;
}

namespace {

std::string printed(pugi::xml_node n)
{
    struct Writer : pugi::xml_writer {
        std::string s;
        void write(const void* data, size_t size) override { s.append(static_cast<const char*>(data), size); }
    } w;
    n.print(w, "", pugi::format_raw);
    return std::move(w.s);
}

void setAttr(pugi::xml_node n, const char* name, const char* value)
{
    pugi::xml_attribute a = n.attribute(name);
    if (!a)
        a = n.append_attribute(name);
    a.set_value(value);
}

// The index of an element among `nodes` written exactly as `candidate`, or -1.
int findEqual(const std::vector<pugi::xml_node>& nodes, pugi::xml_node candidate)
{
    const std::string want = printed(candidate);
    for (size_t i = 0; i < nodes.size(); ++i)
        if (printed(nodes[i]) == want)
            return int(i);
    return -1;
}

} // namespace

int StyleBook::derive(int from, const StyleChange& c)
{
    if (from < 0 || from >= int(xfs_.size()))
        from = 0;
    const pugi::xml_node base = xf(from);
    if (!base || satisfies(base, c))
        return from;
    const auto key = std::make_tuple(from, int(c.kind), c.value);
    if (const auto it = derived_.find(key); it != derived_.end())
        return it->second;

    // The new format is made aside first: a workbook saved many times over must not
    // gain a copy of the same format with every save.
    pugi::xml_document scratch;
    pugi::xml_node x = scratch.append_copy(base);
    bool appended = false;
    switch (c.kind) {
    case StyleChange::Kind::Bold:
    case StyleChange::Kind::FontColor: {
        const pugi::xml_node oldFont = fontOf(base);
        pugi::xml_node font = oldFont ? scratch.append_copy(oldFont) : scratch.append_child((prefixOf(fonts_) + "font").c_str());
        if (c.kind == StyleChange::Kind::Bold) {
            if (pugi::xml_node b = child(font, "b"))
                font.remove_child(b);
            if (c.value)
                font.prepend_child((prefixOf(font) + "b").c_str());
        } else {
            pugi::xml_node color = child(font, "color");
            if (!color)
                color = insertElementBefore(font, "color", child(font, "name"));
            color.remove_attributes();
            color.append_attribute("rgb") = argbOf(c.value).c_str();
        }
        int fontId = findEqual(fontNodes_, font);
        if (fontId < 0) {
            fontNodes_.push_back(fonts_.append_copy(font));
            fontId = int(fontNodes_.size() - 1);
            setAttr(fonts_, "count", std::to_string(fontNodes_.size()).c_str());
            appended = true;
        }
        setAttr(x, "fontId", std::to_string(fontId).c_str());
        setAttr(x, "applyFont", "1");
        break;
    }
    case StyleChange::Kind::HAlign:
    case StyleChange::Kind::VAlign: {
        pugi::xml_node a = child(x, "alignment");
        if (!a)
            a = x.prepend_child((prefixOf(x) + "alignment").c_str());
        const char* attr = c.kind == StyleChange::Kind::HAlign ? "horizontal" : "vertical";
        const char* value = c.kind == StyleChange::Kind::HAlign ? horizontalName(c.value) : verticalName(c.value);
        a.remove_attribute(attr);
        if (*value)
            a.append_attribute(attr) = value;
        setAttr(x, "applyAlignment", "1");
        break;
    }
    case StyleChange::Kind::QuotePrefix:
        x.remove_attribute("quotePrefix");
        if (c.value)
            x.append_attribute("quotePrefix") = "1";
        break;
    case StyleChange::Kind::Fill: {
        // A solid fill: the pattern's foreground is the colour Excel shows.
        const std::string p = prefixOf(fills_);
        pugi::xml_node fill = scratch.append_child((p + "fill").c_str());
        pugi::xml_node pattern = fill.append_child((p + "patternFill").c_str());
        pattern.append_attribute("patternType") = "solid";
        pattern.append_child((p + "fgColor").c_str()).append_attribute("rgb") = argbOf(c.value).c_str();
        pattern.append_child((p + "bgColor").c_str()).append_attribute("indexed") = "64";
        int fillId = findEqual(fillNodes_, fill);
        if (fillId < 0) {
            if (!fills_)
                fills_ = insertElementBefore(doc_.document_element(), "fills", child(doc_.document_element(), "borders"));
            fillNodes_.push_back(fills_.append_copy(fill));
            fillId = int(fillNodes_.size() - 1);
            setAttr(fills_, "count", std::to_string(fillNodes_.size()).c_str());
            appended = true;
        }
        setAttr(x, "fillId", std::to_string(fillId).c_str());
        setAttr(x, "applyFill", "1");
        break;
    }
    }
    int id = findEqual(xfs_, x);
    if (id < 0) {
        xfs_.push_back(cellXfs_.append_copy(x));
        date_.push_back(date_[size_t(from)]);
        if (pugi::xml_attribute count = cellXfs_.attribute("count"))
            count.set_value(int(xfs_.size()));
        id = int(xfs_.size() - 1);
        appended = true;
    }
    changed_ = changed_ || appended;
    derived_[key] = id;
    return id;
}

std::string StyleBook::print() const
{
    return printPart(doc_);
}

} // namespace kuvela::detail
