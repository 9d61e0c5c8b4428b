#pragma once
// XML and addressing helpers shared by the workbook parts. pugixml does not know
// namespaces, so elements are matched by local name: "x:row" is a row too.
#include <QDate>
#include <QString>
#include <cstring>
#include <optional>
#include <pugixml.hpp>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kuvela::detail {

struct XmlFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline const char* localName(const char* name)
{
    const char* colon = nullptr;
    for (const char* p = name; *p; ++p)
        if (*p == ':')
            colon = p;
    return colon ? colon + 1 : name;
}

inline bool isNamed(pugi::xml_node n, const char* local)
{
    return n.type() == pugi::node_element && std::strcmp(localName(n.name()), local) == 0;
}

pugi::xml_node child(pugi::xml_node parent, const char* local);
// An attribute by local name ("id" finds "r:id").
pugi::xml_attribute attribute(pugi::xml_node n, const char* local);
// "x:" when the element is written with a prefix, for new siblings and children.
std::string prefixOf(pugi::xml_node n);
pugi::xml_node appendElement(pugi::xml_node parent, const char* local);
pugi::xml_node insertElementBefore(pugi::xml_node parent, const char* local, pugi::xml_node before);

class Charge;

// Package parts: parsed with their declaration, printed back without reformatting.
// The part's elements are counted and their nesting measured before a tree is built;
// the tree's memory goes on `charge` when given.
void parsePart(pugi::xml_document& doc, std::string_view text, const std::string& partName, Charge* charge = nullptr);
std::string printPart(const pugi::xml_document& doc);

// Text of a shared or inline string: its <t>, or the <t> of every run.
QString richText(pugi::xml_node stringItem);
// Cell text as stored: "_x000D_" stands for a carriage return, "_x005F_" for "_".
QString decodeXString(std::string_view utf8);
// Element text and attribute values, escaped for XML (and control characters as "_xHHHH_").
void appendText(std::string& out, const QString& text);
void appendAttr(std::string& out, std::string_view utf8);

// "AB12" -> row 12, column 28. Returns false when it is no cell address.
bool parseCellRef(std::string_view ref, int& row, int& col);
std::string columnName(int col);
std::string cellRef(int row, int col);

// An address "A1", "A1:Z1", "H2:H1000", "$A$1" or whole columns "E:J" / "E".
struct CellRange {
    int row1 = 1, col1 = 1, row2 = 1, col2 = 1;
    bool wholeColumns = false;
};
std::optional<CellRange> parseRange(const QString& address);

constexpr int kMaxRows = 1048576;
constexpr int kMaxCols = 16384;

// Serial day numbers of the spreadsheet calendar (1900 system with its leap-year
// quirk, or the 1904 system).
QDate serialToDate(double serial, bool date1904);
std::optional<double> isoToSerial(const char* iso, bool date1904);

} // namespace kuvela::detail
