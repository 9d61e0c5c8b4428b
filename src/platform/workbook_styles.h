#pragma once
// The styles part: which cell formats show dates, and new formats derived from old
// ones. Existing formats keep their indexes; a change only ever appends.
#include <map>
#include <pugixml.hpp>
#include <string>
#include <tuple>
#include <vector>

namespace kuvela::detail {

class Charge;

struct StyleChange {
    enum class Kind { Bold, FontColor, HAlign, VAlign, QuotePrefix, Fill };
    Kind kind;
    long value; // Bold, QuotePrefix: 0/1; FontColor, Fill: VB colour (BGR); alignments: xl constant
};

class StyleBook {
public:
    StyleBook();
    // Throws XmlFailure when the part is malformed.
    void load(std::string_view xml, const std::string& partName, Charge* charge = nullptr);
    static const std::string& defaultXml();

    bool isDate(int xf) const { return xf >= 0 && xf < int(date_.size()) && date_[size_t(xf)]; }
    bool isQuoted(int xf) const;
    bool isBold(int xf) const;
    // The format `xf` with the change applied: `xf` itself when it already looks so.
    int derive(int xf, const StyleChange& change);

    bool changed() const { return changed_; }
    void markSaved() { changed_ = false; }
    std::string print() const;

private:
    void index();
    pugi::xml_node xf(int i) const;
    pugi::xml_node fontOf(pugi::xml_node xf) const;
    pugi::xml_node fillOf(pugi::xml_node xf) const;
    bool satisfies(pugi::xml_node xf, const StyleChange& c) const;

    pugi::xml_document doc_;
    pugi::xml_node fonts_, fills_, cellXfs_;
    std::vector<pugi::xml_node> xfs_, fontNodes_, fillNodes_;
    std::vector<char> date_;
    std::map<std::tuple<int, int, long>, int> derived_;
    bool changed_ = false;
};

// Formats that show a date or a time: a cell in one holds a date, as in Excel.
// "dd.mm.yyyy", "[$-41F]d mmmm yyyy;@", "h:mm" are; "#,##0.00", "0\" gün\"" are not.
bool isDateFormatCode(const std::string& code);

} // namespace kuvela::detail
