#include "platform/workbook_pieces.h"

#include <algorithm>
#include <cstring>
#include <thread>

namespace kuvela::detail {

namespace {
// Below this a piece costs more in thread start and joining than it saves.
constexpr size_t kPieceBytes = size_t(384) << 10;
} // namespace

size_t piecesFor(size_t bytes)
{
    const size_t threads = std::max(1u, std::thread::hardware_concurrency());
    return std::clamp<size_t>(bytes / kPieceBytes, 1, std::min<size_t>(threads, 16));
}

std::vector<size_t> pieceStarts(std::string_view text, size_t from, size_t to, std::string_view qname, size_t pieces)
{
    std::vector<size_t> starts;
    if (pieces < 2 || to <= from || qname.empty())
        return starts;
    const size_t step = (to - from) / pieces;
    size_t at = from + step;
    for (size_t k = 1; k < pieces && at < to; ++k, at = std::max(at, from + k * step)) {
        const char* p = text.data() + at;
        const char* end = text.data() + to;
        while ((p = static_cast<const char*>(std::memchr(p, '<', size_t(end - p))))) {
            const size_t left = size_t(end - p) - 1;
            if (left > qname.size() && std::memcmp(p + 1, qname.data(), qname.size()) == 0) {
                const char c = p[1 + qname.size()];
                if (c == ' ' || c == '>' || c == '/' || c == '\t' || c == '\r' || c == '\n')
                    break;
            }
            ++p;
        }
        if (!p)
            break;
        starts.push_back(size_t(p - text.data()));
        at = starts.back() + 1;
    }
    return starts;
}

} // namespace kuvela::detail
