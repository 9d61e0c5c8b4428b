#pragma once
// A forward-only XML reader for the two big parts of a workbook, the cells of a sheet
// and the shared strings: no tree is built, so a DATA.xlsx of 200,000 cells loads in
// a few dozen milliseconds. It checks what it passes: tags nest and close by name,
// entities are known; everything else about the part is left to pugixml.
#include "platform/workbook_xml.h"

#include <QString>
#include <string>
#include <string_view>
#include <vector>

namespace kuvela::detail {

struct Tag {
    std::string_view qname;  // "x:row"
    std::string_view local;  // "row"
    std::string_view attrs;  // the attributes as written
    bool closing = false;    // </row>
    bool selfClosing = false; // <row/>
    const char* begin = nullptr; // the '<'
};

class XmlCursor {
public:
    XmlCursor(const char* begin, const char* end, std::string part) : p_(begin), end_(end), part_(std::move(part)) {}

    // The next tag, passing over text, comments and processing instructions;
    // false at the end of the input.
    bool next(Tag& t);
    // The text of the element `open` up to its end tag (which is consumed), entities
    // and line ends decoded: a view into the part or into `scratch`.
    std::string_view text(const Tag& open, std::string& scratch);
    // The next child element of `parent`: false once its end tag is passed.
    bool child(const Tag& parent, Tag& t);
    // Passes over the element `open` and everything in it.
    void skip(const Tag& open);
    // The end tag that must close `open` next.
    void expectEnd(const Tag& open, const Tag& found) const;
    const char* position() const { return p_; }
    [[noreturn]] void fail(const std::string& why) const;

    // Attributes of a tag: name and raw value in turn.
    static bool nextAttribute(std::string_view& attrs, std::string_view& name, std::string_view& value);
    // Entities of an attribute value decoded.
    static std::string decode(std::string_view raw);

private:
    const char* p_;
    const char* end_;
    std::string part_;
    const char* start_ = p_;
};

// The texts of a string item (<si>, <is>): its <t>, and the <t> of each run <r>, handed
// to `piece` in order; phonetic runs and formats are passed over. Consumes the end tag.
template <class Piece>
void readStringItem(XmlCursor& cur, const Tag& open, std::string& scratch, Piece piece)
{
    Tag t, inRun;
    while (cur.child(open, t)) {
        if (t.local == "t") {
            piece(cur.text(t, scratch));
        } else if (t.local == "r") {
            while (cur.child(t, inRun))
                if (inRun.local == "t")
                    piece(cur.text(inRun, scratch));
                else
                    cur.skip(inRun);
        } else {
            cur.skip(t);
        }
    }
}

// The sheetData element in a sheet part's text: the element is [begin, end), its
// content [inner, innerEnd); `prefix` is the namespace prefix it is written with.
bool locateSheetData(std::string_view xml, size_t& begin, size_t& inner, size_t& innerEnd, size_t& end,
                     std::string& prefix);

class Charge;

// The <si> items of a shared string table; what they hold goes on `charge`.
void scanSharedStrings(std::string_view xml, const std::string& part, std::vector<QString>& out,
                       Charge* charge = nullptr);

} // namespace kuvela::detail
