#include "platform/workbook_xml.h"

#include "platform/workbook_limits.h"
#include "platform/workbook_scan.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>

namespace kuvela::detail {

pugi::xml_node child(pugi::xml_node parent, const char* local)
{
    for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling())
        if (isNamed(c, local))
            return c;
    return {};
}

pugi::xml_attribute attribute(pugi::xml_node n, const char* local)
{
    for (pugi::xml_attribute a = n.first_attribute(); a; a = a.next_attribute())
        if (std::strcmp(localName(a.name()), local) == 0)
            return a;
    return {};
}

std::string prefixOf(pugi::xml_node n)
{
    const char* name = n.name();
    const char* local = localName(name);
    return std::string(name, size_t(local - name));
}

pugi::xml_node appendElement(pugi::xml_node parent, const char* local)
{
    return parent.append_child((prefixOf(parent) + local).c_str());
}

pugi::xml_node insertElementBefore(pugi::xml_node parent, const char* local, pugi::xml_node before)
{
    const std::string name = prefixOf(parent) + local;
    return before ? parent.insert_child_before(name.c_str(), before) : parent.append_child(name.c_str());
}

namespace {

const char* parseStatusText(pugi::xml_parse_status status)
{
    switch (status) {
    case pugi::status_out_of_memory: return "bellek yetmedi";
    case pugi::status_unrecognized_tag: return "tanınmayan etiket";
    case pugi::status_bad_pi: return "bozuk işlem talimatı";
    case pugi::status_bad_comment: return "bozuk açıklama";
    case pugi::status_bad_cdata: return "bozuk CDATA";
    case pugi::status_bad_doctype: return "bozuk belge türü bildirimi";
    case pugi::status_bad_pcdata: return "bozuk metin";
    case pugi::status_bad_start_element: return "bozuk açılış etiketi";
    case pugi::status_bad_attribute: return "bozuk öznitelik";
    case pugi::status_bad_end_element: return "bozuk kapanış etiketi";
    case pugi::status_end_element_mismatch: return "etiketler yanlış kapanmış";
    case pugi::status_no_document_element: return "kök öğe yok";
    default: return "bozuk XML";
    }
}

// The elements of a part, counted by the forward reader before any tree is built:
// a few kilobytes of empty elements or of nesting must not become a huge tree.
size_t boundedElements(std::string_view text, const std::string& partName)
{
    XmlCursor cur(text.data(), text.data() + text.size(), partName);
    Tag t;
    size_t elements = 0;
    int depth = 0;
    while (cur.next(t)) {
        if (t.closing) {
            --depth;
            continue;
        }
        if (++elements > kMaxTreeElements)
            cur.fail("öğe sayısı sınırı (" + std::to_string(kMaxTreeElements) + ") aşılıyor");
        if (!t.selfClosing && ++depth > kMaxDepth)
            cur.fail("iç içe öğe sınırı (" + std::to_string(kMaxDepth) + ") aşılıyor");
    }
    return elements;
}

} // namespace

void parsePart(pugi::xml_document& doc, std::string_view text, const std::string& partName, Charge* charge)
{
    const size_t elements = boundedElements(text, partName);
    if (charge)
        charge->add(text.size() + elements * 128); // pugixml's copy of the text and its nodes
    const pugi::xml_parse_result r = doc.load_buffer(text.data(), text.size(),
        // Attribute values keep their tabs and line breaks (no parse_wconv_attribute):
        // data validation prompts carry them.
        pugi::parse_cdata | pugi::parse_escapes | pugi::parse_eol | pugi::parse_declaration
            | pugi::parse_ws_pcdata_single | pugi::parse_pi | pugi::parse_comments | pugi::parse_doctype);
    if (!r)
        throw XmlFailure(partName + " (" + parseStatusText(r.status) + ", konum " + std::to_string(r.offset) + ")");
    if (!doc.document_element())
        throw XmlFailure(partName + " (boş)");
}

std::string printPart(const pugi::xml_document& doc)
{
    std::ostringstream out;
    doc.save(out, "", pugi::format_raw, pugi::encoding_utf8);
    return std::move(out).str();
}

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "_xHHHH_" at p: its code unit, or -1.
int escapedUnit(const char* p)
{
    if (p[0] != '_' || p[1] != 'x')
        return -1;
    int v = 0;
    for (int i = 2; i < 6; ++i) {
        const int h = hexValue(p[i]);
        if (h < 0)
            return -1;
        v = v * 16 + h;
    }
    return p[6] == '_' ? v : -1;
}

bool needsEscape(char16_t u)
{
    return (u < 0x20 && u != '\t' && u != '\n') || u == 0xFFFE || u == 0xFFFF;
}

} // namespace

QString decodeXString(std::string_view utf8)
{
    if (utf8.find("_x") == std::string_view::npos)
        return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
    QString out;
    size_t plainFrom = 0;
    for (size_t i = 0; i + 7 <= utf8.size();) {
        const int unit = escapedUnit(utf8.data() + i);
        if (unit < 0) {
            ++i;
            continue;
        }
        out += QString::fromUtf8(utf8.data() + plainFrom, qsizetype(i - plainFrom));
        out += QChar(char16_t(unit));
        i += 7;
        plainFrom = i;
    }
    out += QString::fromUtf8(utf8.data() + plainFrom, qsizetype(utf8.size() - plainFrom));
    return out;
}

void appendText(std::string& out, const QString& text)
{
    const QByteArray u = text.toUtf8();
    const char* p = u.constData();
    const char* end = p + u.size();
    for (; p < end; ++p) {
        const char c = *p;
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '_':
            // A literal "_x000D_" must not read back as a carriage return.
            out += escapedUnit(p) >= 0 ? "_x005F_" : "_";
            break;
        default:
            if (needsEscape(char16_t(static_cast<unsigned char>(c)))) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "_x%04X_", unsigned(static_cast<unsigned char>(c)));
                out += buf;
            } else if (static_cast<unsigned char>(c) == 0xEF && end - p >= 3
                       && static_cast<unsigned char>(p[1]) == 0xBF
                       && (static_cast<unsigned char>(p[2]) == 0xBE || static_cast<unsigned char>(p[2]) == 0xBF)) {
                out += static_cast<unsigned char>(p[2]) == 0xBE ? "_xFFFE_" : "_xFFFF_";
                p += 2;
            } else {
                out += c;
            }
        }
    }
}

void appendAttr(std::string& out, std::string_view utf8)
{
    for (const char c : utf8) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\n': out += "&#10;"; break;
        case '\r': out += "&#13;"; break;
        case '\t': out += "&#9;"; break;
        default: out += c;
        }
    }
}

QString richText(pugi::xml_node item)
{
    // The usual case, one <t>, stays free of concatenation.
    pugi::xml_node only;
    int parts = 0;
    for (pugi::xml_node c = item.first_child(); c; c = c.next_sibling()) {
        if (isNamed(c, "t")) {
            only = c;
            ++parts;
        } else if (isNamed(c, "r")) {
            parts += 2;
        }
    }
    if (parts == 1)
        return decodeXString(only.child_value());
    std::string all;
    for (pugi::xml_node c = item.first_child(); c; c = c.next_sibling()) {
        if (isNamed(c, "t"))
            all += c.child_value();
        else if (isNamed(c, "r"))
            if (pugi::xml_node t = child(c, "t"))
                all += t.child_value();
    }
    return decodeXString(all.c_str());
}

bool parseCellRef(std::string_view ref, int& row, int& col)
{
    size_t i = 0;
    if (i < ref.size() && ref[i] == '$')
        ++i;
    int c = 0;
    const size_t lettersFrom = i;
    for (; i < ref.size(); ++i) {
        const char ch = char(ref[i] & ~0x20);
        if (ch < 'A' || ch > 'Z')
            break;
        c = c * 26 + (ch - 'A' + 1);
        if (c > kMaxCols)
            return false;
    }
    if (i == lettersFrom)
        return false;
    if (i < ref.size() && ref[i] == '$')
        ++i;
    int r = 0;
    const size_t digitsFrom = i;
    for (; i < ref.size() && ref[i] >= '0' && ref[i] <= '9'; ++i) {
        r = r * 10 + (ref[i] - '0');
        if (r > kMaxRows)
            return false;
    }
    if (i == digitsFrom || i != ref.size() || r == 0)
        return false;
    row = r;
    col = c;
    return true;
}

std::string columnName(int col)
{
    std::string s;
    while (col > 0) {
        const int rem = (col - 1) % 26;
        s.insert(s.begin(), char('A' + rem));
        col = (col - 1) / 26;
    }
    return s;
}

std::string cellRef(int row, int col)
{
    return columnName(col) + std::to_string(row);
}

namespace {

// One end of a range: "A1" or a bare column "E".
bool parseEnd(const std::string& s, int& row, int& col, bool& columnOnly)
{
    if (parseCellRef(s, row, col)) {
        columnOnly = false;
        return true;
    }
    const bool letters = !s.empty() && std::all_of(s.begin() + (s[0] == '$' ? 1 : 0), s.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    });
    const std::string withRow = s + "1";
    if (letters && s != "$" && parseCellRef(withRow, row, col)) {
        columnOnly = true;
        return true;
    }
    return false;
}

} // namespace

std::optional<CellRange> parseRange(const QString& address)
{
    const std::string a = address.trimmed().toStdString();
    const auto colon = a.find(':');
    const std::string first = a.substr(0, colon);
    const std::string second = colon == std::string::npos ? first : a.substr(colon + 1);
    CellRange r;
    bool col1Only = false, col2Only = false;
    if (!parseEnd(first, r.row1, r.col1, col1Only) || !parseEnd(second, r.row2, r.col2, col2Only))
        return std::nullopt;
    if (col1Only != col2Only)
        return std::nullopt;
    if (col1Only) {
        r.wholeColumns = true;
        r.row1 = 1;
        r.row2 = kMaxRows;
    }
    if (r.row1 > r.row2)
        std::swap(r.row1, r.row2);
    if (r.col1 > r.col2)
        std::swap(r.col1, r.col2);
    return r;
}

QDate serialToDate(double serial, bool date1904)
{
    if (!std::isfinite(serial) || serial < 0 || serial > 2958465.0)
        return {};
    long long days = static_cast<long long>(std::floor(serial));
    if (date1904)
        return QDate(1904, 1, 1).addDays(days);
    // The 1900 calendar counts a 29 February 1900 that never was (day 60).
    if (days == 60)
        return QDate(1900, 2, 28);
    if (days < 60)
        ++days;
    return QDate(1899, 12, 30).addDays(days);
}

std::optional<double> isoToSerial(const char* iso, bool date1904)
{
    QDateTime dt = QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODateWithMs);
    QDate d = dt.isValid() ? dt.date() : QDate::fromString(QString::fromLatin1(iso), Qt::ISODate);
    if (!d.isValid())
        return std::nullopt;
    const QTime t = dt.isValid() ? dt.time() : QTime(0, 0);
    double serial;
    if (date1904) {
        serial = double(QDate(1904, 1, 1).daysTo(d));
    } else {
        serial = double(QDate(1899, 12, 30).daysTo(d));
        if (serial < 61)
            serial -= 1;
    }
    return serial + t.msecsSinceStartOfDay() / 86400000.0;
}

} // namespace kuvela::detail
