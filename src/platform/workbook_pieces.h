#pragma once
// The two big parts of a workbook, a sheet's cells and the shared strings, read in
// pieces on several threads. A piece begins at a tag that looks like the start of an
// item; that is only a guess, so any failure in any piece sends the part back to a
// reading from its start, which then gives the result or the error a single reading
// would. A piece that ends inside a tag, a comment or an element fails, so a guess
// that succeeds was a real item boundary.
#include <cstddef>
#include <exception>
#include <future>
#include <string_view>
#include <system_error>
#include <vector>

namespace kuvela::detail {

// Thrown in a reading that nobody waits for any more.
struct Cancelled {};

// How many pieces a part of `bytes` is read in: one for any but a big part.
size_t piecesFor(size_t bytes);

// Offsets in (from, to) where a piece may begin, ascending, about evenly apart: each a
// '<' followed by `qname` and a character that ends a tag name. At most `pieces - 1`.
std::vector<size_t> pieceStarts(std::string_view text, size_t from, size_t to, std::string_view qname, size_t pieces);

// Runs read(0) here and read(1) .. read(n - 1) on threads of their own, and waits for
// all. False when any failed or no thread could be had; a cancellation is passed on.
template <class Read>
bool readPieces(size_t n, Read read)
{
    std::vector<std::future<void>> others;
    bool ok = true;
    try {
        others.reserve(n);
        for (size_t k = 1; k < n; ++k)
            others.push_back(std::async(std::launch::async, [&read, k] { read(k); }));
    } catch (const std::system_error&) {
        ok = false;
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    std::exception_ptr cancelled;
    auto settle = [&](auto&& run) {
        try {
            run();
        } catch (const Cancelled&) {
            cancelled = std::current_exception();
        } catch (...) {
            ok = false;
        }
    };
    if (ok)
        settle([&] { read(0); });
    for (auto& f : others)
        settle([&] { f.get(); });
    if (cancelled)
        std::rethrow_exception(cancelled);
    return ok;
}

} // namespace kuvela::detail
