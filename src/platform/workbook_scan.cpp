#include "platform/workbook_scan.h"

#include "platform/workbook_limits.h"
#include "platform/workbook_pieces.h"

#include <algorithm>
#include <cstring>

namespace kuvela::detail {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

const char* find(const char* from, const char* end, std::string_view what)
{
    const auto r = std::search(from, end, what.begin(), what.end());
    return r == end ? nullptr : r;
}

void appendUtf8(std::string& out, unsigned long cp)
{
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// One entity at `p` ('&'): appended to `out`; the character after its ';', or null.
const char* decodeEntity(const char* p, const char* end, std::string& out)
{
    const char* semi = static_cast<const char*>(std::memchr(p, ';', size_t(std::min<ptrdiff_t>(end - p, 12))));
    if (!semi)
        return nullptr;
    const std::string_view name(p + 1, size_t(semi - p - 1));
    if (name == "amp")
        out += '&';
    else if (name == "lt")
        out += '<';
    else if (name == "gt")
        out += '>';
    else if (name == "quot")
        out += '"';
    else if (name == "apos")
        out += '\'';
    else if (name.size() > 1 && name[0] == '#') {
        const bool hex = name[1] == 'x';
        unsigned long cp = 0;
        const std::string_view digits = name.substr(hex ? 2 : 1);
        if (digits.empty())
            return nullptr;
        for (const char c : digits) {
            int v;
            if (c >= '0' && c <= '9')
                v = c - '0';
            else if (hex && (c | 0x20) >= 'a' && (c | 0x20) <= 'f')
                v = (c | 0x20) - 'a' + 10;
            else
                return nullptr;
            cp = cp * (hex ? 16 : 10) + unsigned(v);
            if (cp > 0x10FFFF)
                return nullptr;
        }
        appendUtf8(out, cp);
    } else {
        return nullptr;
    }
    return semi + 1;
}

} // namespace

void XmlCursor::fail(const std::string& why) const
{
    throw XmlFailure(part_ + " (" + why + ", konum " + std::to_string(p_ - start_) + ")");
}

bool XmlCursor::next(Tag& t)
{
    for (;;) {
        // The next '<' is mostly a few characters away: a plain loop beats memchr.
        while (p_ < end_ && *p_ != '<')
            ++p_;
        if (p_ == end_)
            return false;
        if (end_ - p_ < 2)
            fail("kapanmayan etiket");
        if (p_[1] == '!') {
            if (end_ - p_ >= 4 && p_[2] == '-' && p_[3] == '-') {
                const char* close = find(p_ + 4, end_, "-->");
                if (!close)
                    fail("kapanmayan açıklama");
                p_ = close + 3;
                continue;
            }
            // A document type declaration; no other markup of that kind belongs here.
            if (end_ - p_ < 9 || std::memcmp(p_, "<!DOCTYPE", 9) != 0)
                fail("beklenmeyen işaretleme");
            const char* close = static_cast<const char*>(std::memchr(p_, '>', size_t(end_ - p_)));
            if (!close || std::memchr(p_, '[', size_t(close - p_)))
                fail("desteklenmeyen belge türü bildirimi");
            p_ = close + 1;
            continue;
        }
        if (p_[1] == '?') {
            const char* close = find(p_ + 2, end_, "?>");
            if (!close)
                fail("kapanmayan işlem talimatı");
            p_ = close + 2;
            continue;
        }
        t.begin = p_;
        const char* q = p_ + 1;
        t.closing = *q == '/';
        if (t.closing)
            ++q;
        const char* nameStart = q;
        const char* localStart = q;
        // Names and attribute values are a few characters long: plain loops beat
        // memchr's call on them.
        while (q < end_ && !isSpace(*q) && *q != '>' && *q != '/') {
            if (*q == ':' && localStart == nameStart)
                localStart = q + 1;
            ++q;
        }
        if (q == nameStart)
            fail("adı olmayan etiket");
        t.qname = std::string_view(nameStart, size_t(q - nameStart));
        t.local = std::string_view(localStart, size_t(q - localStart));
        const char* attrs = q;
        for (;;) {
            while (q < end_ && *q != '>' && *q != '"' && *q != '\'' && *q != '<')
                ++q;
            if (q == end_ || *q == '<')
                fail("kapanmayan etiket");
            if (*q == '>')
                break;
            const char quote = *q++;
            while (q < end_ && *q != quote)
                ++q;
            if (q == end_)
                fail("kapanmayan öznitelik değeri");
            ++q;
        }
        t.selfClosing = q > attrs && q[-1] == '/';
        t.attrs = std::string_view(attrs, size_t((t.selfClosing ? q - 1 : q) - attrs));
        if (t.closing && (t.selfClosing || t.attrs.find_first_not_of(" \t\r\n") != std::string_view::npos))
            fail("bozuk kapanış etiketi");
        p_ = q + 1;
        return true;
    }
}

void XmlCursor::expectEnd(const Tag& open, const Tag& found) const
{
    if (!found.closing || found.qname != open.qname)
        throw XmlFailure(part_ + " (<" + std::string(open.qname) + "> yanlış kapanmış, konum "
                         + std::to_string(found.begin - start_) + ")");
}

std::string_view XmlCursor::text(const Tag& open, std::string& scratch)
{
    if (open.selfClosing)
        return {};
    const char* from = p_;
    const char* lt = p_;
    while (lt < end_ && *lt != '<' && *lt != '&' && *lt != '\r')
        ++lt;
    if (lt == end_)
        fail("kapanmayan öğe");
    // The usual case: plain text right up to the end tag.
    const std::string_view plain(from, size_t(lt - from));
    const bool simple = *lt == '<' && lt + 1 < end_ && lt[1] == '/';
    if (!simple) {
        // An entity, a line end, a CDATA section or a comment: decoded from here on.
        if (!std::memchr(lt, '<', size_t(end_ - lt)))
            fail("kapanmayan öğe");
        scratch.assign(from, size_t(lt - from));
        p_ = lt;
        for (;;) {
            const char* c = p_;
            while (c < end_ && *c != '<' && *c != '&' && *c != '\r')
                ++c;
            scratch.append(p_, size_t(c - p_));
            p_ = c;
            if (c == end_)
                fail("kapanmayan öğe");
            if (*c == '&') {
                p_ = decodeEntity(c, end_, scratch);
                if (!p_) {
                    p_ = c;
                    fail("tanınmayan varlık");
                }
            } else if (*c == '\r') {
                scratch += '\n';
                p_ = c + (c + 1 < end_ && c[1] == '\n' ? 2 : 1);
            } else if (end_ - c >= 9 && std::memcmp(c, "<![CDATA[", 9) == 0) {
                const char* close = find(c + 9, end_, "]]>");
                if (!close)
                    fail("kapanmayan CDATA");
                scratch.append(c + 9, size_t(close - c - 9));
                p_ = close + 3;
            } else if (end_ - c >= 4 && std::memcmp(c, "<!--", 4) == 0) {
                const char* close = find(c + 4, end_, "-->");
                if (!close)
                    fail("kapanmayan açıklama");
                p_ = close + 3;
            } else if (c + 1 < end_ && c[1] == '/') {
                break;
            } else {
                fail("metin içinde beklenmeyen öğe");
            }
        }
        lt = p_;
    }
    p_ = lt;
    // The end tag, checked in place: "</" and the same name.
    const size_t n = open.qname.size();
    const char* q = lt + 2;
    if (end_ - q > ptrdiff_t(n) && std::memcmp(q, open.qname.data(), n) == 0 && (q[n] == '>' || isSpace(q[n]))) {
        q += n;
        while (q < end_ && isSpace(*q))
            ++q;
        if (q < end_ && *q == '>') {
            p_ = q + 1;
            return simple ? plain : std::string_view(scratch);
        }
    }
    Tag end;
    if (!next(end))
        fail("kapanmayan öğe");
    expectEnd(open, end);
    return simple ? plain : std::string_view(scratch);
}

bool XmlCursor::child(const Tag& parent, Tag& t)
{
    if (parent.selfClosing)
        return false;
    if (!next(t))
        fail("kapanmayan <" + std::string(parent.qname) + ">");
    if (!t.closing)
        return true;
    expectEnd(parent, t);
    return false;
}

void XmlCursor::skip(const Tag& open)
{
    if (open.selfClosing || open.closing)
        return;
    std::vector<std::string_view> stack{open.qname};
    Tag t;
    while (!stack.empty()) {
        if (!next(t))
            fail("kapanmayan öğe <" + std::string(stack.back()) + ">");
        if (t.closing) {
            if (t.qname != stack.back())
                fail("<" + std::string(stack.back()) + "> yanlış kapanmış");
            stack.pop_back();
        } else if (!t.selfClosing) {
            if (stack.size() >= size_t(kMaxDepth))
                fail("iç içe öğe sınırı (" + std::to_string(kMaxDepth) + ") aşılıyor");
            stack.push_back(t.qname);
        }
    }
}

bool XmlCursor::nextAttribute(std::string_view& attrs, std::string_view& name, std::string_view& value)
{
    size_t i = 0;
    while (i < attrs.size() && isSpace(attrs[i]))
        ++i;
    if (i == attrs.size())
        return false;
    const size_t nameStart = i;
    while (i < attrs.size() && attrs[i] != '=' && !isSpace(attrs[i]))
        ++i;
    name = attrs.substr(nameStart, i - nameStart);
    while (i < attrs.size() && isSpace(attrs[i]))
        ++i;
    if (i == attrs.size() || attrs[i] != '=')
        throw XmlFailure("öznitelik değeri yok: " + std::string(name));
    ++i;
    while (i < attrs.size() && isSpace(attrs[i]))
        ++i;
    if (i == attrs.size() || (attrs[i] != '"' && attrs[i] != '\''))
        throw XmlFailure("öznitelik değeri tırnaksız: " + std::string(name));
    const char quote = attrs[i++];
    size_t close = i;
    while (close < attrs.size() && attrs[close] != quote)
        ++close;
    if (close == attrs.size())
        throw XmlFailure("öznitelik değeri kapanmamış: " + std::string(name));
    value = attrs.substr(i, close - i);
    attrs = attrs.substr(close + 1);
    return true;
}

std::string XmlCursor::decode(std::string_view raw)
{
    std::string out;
    for (size_t i = 0; i < raw.size();) {
        if (raw[i] != '&') {
            out += raw[i++];
            continue;
        }
        const char* after = decodeEntity(raw.data() + i, raw.data() + raw.size(), out);
        if (!after)
            throw XmlFailure("tanınmayan varlık");
        i = size_t(after - raw.data());
    }
    return out;
}

bool locateSheetData(std::string_view xml, size_t& begin, size_t& inner, size_t& innerEnd, size_t& end,
                     std::string& prefix)
{
    size_t pos = 0;
    while ((pos = xml.find("sheetData", pos)) != std::string::npos) {
        const size_t after = pos + 9;
        const char next = after < xml.size() ? xml[after] : 0;
        size_t lt = pos;
        while (lt > 0 && xml[lt - 1] != '<' && xml[lt - 1] != '>' && xml[lt - 1] != ' ' && xml[lt - 1] != '/')
            --lt;
        const bool opening = lt > 0 && xml[lt - 1] == '<' && (next == '>' || next == '/' || next == ' ' || next == '\t'
                                                            || next == '\r' || next == '\n');
        if (!opening) {
            pos = after;
            continue;
        }
        prefix = xml.substr(lt, pos - lt);
        begin = lt - 1;
        const size_t gt = xml.find('>', after);
        if (gt == std::string::npos)
            return false;
        if (xml[gt - 1] == '/') {
            inner = innerEnd = end = gt + 1;
            return true;
        }
        inner = gt + 1;
        // The end tag is near the end of the part; searching forward would pass every cell.
        const std::string close = "</" + prefix + "sheetData";
        const size_t c = xml.rfind(close);
        if (c == std::string::npos || c < gt)
            return false;
        innerEnd = c;
        const size_t cgt = xml.find('>', c);
        if (cgt == std::string::npos)
            return false;
        end = cgt + 1;
        return true;
    }
    return false;
}

namespace {

// One <si>: one <t>, or runs <r><t> whose texts join; phonetic runs are no part of it.
// A single plain <t> is taken straight from the part.
QString readSharedItem(XmlCursor& cur, const Tag& si, std::string& scratch, std::string& joined)
{
    std::string_view first;
    bool single = false, joining = false;
    joined.clear();
    auto piece = [&](std::string_view v) {
        if (!single && !joining && v.data() != scratch.data()) {
            first = v;
            single = true;
            return;
        }
        if (single)
            joined.assign(first);
        single = false;
        joining = true;
        joined.append(v);
    };
    readStringItem(cur, si, scratch, piece);
    return decodeXString(single ? first : std::string_view(joined));
}

// The items up to the cursor's end, or up to the end of `root` when given.
void scanItems(XmlCursor& cur, const Tag* root, std::vector<QString>& out, Meter& meter)
{
    std::string scratch, joined;
    Tag si;
    for (;;) {
        if (root) {
            if (!cur.child(*root, si))
                break;
        } else if (!cur.next(si)) {
            break;
        } else if (si.closing) {
            cur.fail("beklenmeyen kapanış etiketi");
        }
        if (si.local != "si") {
            cur.skip(si);
            continue;
        }
        out.push_back(readSharedItem(cur, si, scratch, joined));
        // The table's slot twice over (the vector grows by doubling) and the text.
        meter.add(2 * sizeof(QString) + sizeof(char16_t) * size_t(out.back().size()));
    }
    meter.flush();
}

} // namespace

void scanSharedStrings(std::string_view xml, const std::string& part, std::vector<QString>& out, Charge* charge)
{
    const size_t had = out.size();
    XmlCursor cur(xml.data(), xml.data() + xml.size(), part);
    Tag root;
    do {
        if (!cur.next(root))
            cur.fail("sst öğesi yok");
    } while (root.closing);
    if (root.local != "sst")
        cur.fail("sst öğesi yok");
    const size_t body = size_t(cur.position() - xml.data());

    // A big table in pieces, each starting at an <si> with the first item's name.
    XmlCursor peek = cur;
    Tag first;
    std::vector<size_t> starts;
    if (const size_t n = piecesFor(xml.size()); n > 1 && peek.child(root, first) && first.local == "si")
        starts = pieceStarts(xml, body, xml.size(), first.qname, n);
    if (!starts.empty()) {
        starts.insert(starts.begin(), body);
        std::vector<std::vector<QString>> got(starts.size());
        std::vector<std::unique_ptr<Charge>> charges;
        for (size_t k = 0; k < starts.size(); ++k)
            charges.push_back(std::make_unique<Charge>(charge ? charge->budget() : nullptr, part));
        const bool read = readPieces(starts.size(), [&](size_t k) {
            const bool last = k + 1 == starts.size();
            XmlCursor piece(xml.data() + starts[k], last ? xml.data() + xml.size() : xml.data() + starts[k + 1], part);
            Meter meter(*charges[k]);
            scanItems(piece, last ? &root : nullptr, got[k], meter);
        });
        if (read) {
            size_t total = 0;
            for (const auto& g : got)
                total += g.size();
            out.reserve(had + total);
            for (auto& g : got) {
                out.insert(out.end(), std::make_move_iterator(g.begin()), std::make_move_iterator(g.end()));
                std::vector<QString>().swap(g); // the table is not held twice at its peak
            }
            for (auto& c : charges)
                if (charge)
                    charge->absorb(*c);
            return;
        }
    }
    Charge none(nullptr, part);
    Meter meter(charge ? *charge : none);
    scanItems(cur, &root, out, meter);
}

} // namespace kuvela::detail
