#include "platform/workbook_zip.h"

#include "platform/workbook_limits.h"
#include "platform/zip_errors.h"

#include <zip.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace kuvela::detail {

namespace {

// Fast deflate for the parts we write: DATA.xlsx is saved on every append.
constexpr zip_uint32_t kDeflateLevel = 1;

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return s;
}

std::string archiveError(zip_t* za)
{
    return zipErrorText(zip_error_code_zip(zip_get_error(za)));
}

} // namespace

namespace {

// An archive over a buffer source; `source` is handed out when the caller needs it.
zip_t* openOver(const void* data, size_t size, int flags, zip_source_t** source = nullptr)
{
    zip_error_t err;
    zip_error_init(&err);
    zip_t* za = nullptr;
    zip_source_t* src = zip_source_buffer_create(data, size, 0, &err);
    if (src)
        za = zip_open_from_source(src, flags, &err);
    if (!za) {
        if (src)
            zip_source_free(src);
        const std::string why = zipErrorText(zip_error_code_zip(&err));
        zip_error_fini(&err);
        throw ZipFailure(why);
    }
    zip_error_fini(&err);
    if (source)
        *source = src;
    return za;
}

zip_t* openArchive(const std::string& bytes)
{
    return openOver(bytes.data(), bytes.size(), ZIP_RDONLY);
}

// The entry inflated. Its stated size only sizes the first buffer, never more than
// its compressed data could plausibly hold: a crafted entry may claim gigabytes and
// hold a few bytes, or claim a few bytes and inflate to gigabytes. What is really
// inflated is bounded by the part limit and charged to the workbook's budget.
Inflated readEntry(zip_t* za, zip_uint64_t idx, const std::string& name, Charge* charge)
{
    const size_t limit = charge ? charge->limits().partBytes : WorkbookLimits{}.partBytes;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(za, idx, 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE))
        throw ZipFailure(name + ": " + archiveError(za));
    if (st.size > limit)
        throw LimitFailure(partTooLarge(name, limit));
    zip_file_t* f = zip_fopen_index(za, idx, 0);
    if (!f)
        throw ZipFailure(name + ": " + archiveError(za));
    const auto closer = std::unique_ptr<zip_file_t, decltype(&zip_fclose)>(f, zip_fclose);
    const size_t compressed = (st.valid & ZIP_STAT_COMP_SIZE) ? size_t(st.comp_size) : 0;
    const size_t plausible = compressed > (size_t(1) << 24) ? limit : std::max<size_t>(compressed * 1100, 1 << 16);
    Inflated out;
    size_t capacity = 0;
    auto grow = [&](size_t to) {
        if (charge)
            charge->addInflated(to - capacity);
        std::unique_ptr<char[]> bigger(new char[to]);
        if (out.size)
            std::memcpy(bigger.get(), out.data.get(), out.size);
        out.data = std::move(bigger);
        capacity = to;
    };
    grow(std::max<size_t>(std::min({size_t(st.size), limit, plausible}), 1));
    for (;;) {
        if (out.size == capacity) {
            // Full: one byte more tells whether the entry ends here (and has libzip
            // check its CRC) before the buffer grows.
            char probe;
            const zip_int64_t r = zip_fread(f, &probe, 1);
            if (r < 0)
                throw ZipFailure(name + ": " + zipErrorText(zip_error_code_zip(zip_file_get_error(f))));
            if (r == 0)
                break;
            if (out.size + 1 > limit)
                throw LimitFailure(partTooLarge(name, limit));
            grow(std::min(std::max(capacity * 2, size_t(1) << 16), limit));
            out.data[out.size++] = probe;
            continue;
        }
        const zip_int64_t r = zip_fread(f, out.data.get() + out.size, capacity - out.size);
        if (r < 0)
            throw ZipFailure(name + ": " + zipErrorText(zip_error_code_zip(zip_file_get_error(f))));
        if (r == 0)
            break;
        out.size += size_t(r);
    }
    // libzip trusts the stated size no more than we do; an entry that holds other
    // than it states is damaged.
    if (out.size != st.size)
        throw ZipFailure(name + ": " + zipErrorText(ZIP_ER_INCONS));
    return out;
}

} // namespace

ZipReader::ZipReader(std::string bytes) : bytes_(std::make_shared<const std::string>(std::move(bytes)))
{
    za_ = openArchive(*bytes_);
    const zip_int64_t n = zip_get_num_entries(za_, 0);
    for (zip_int64_t i = 0; i < n; ++i) {
        const char* name = zip_get_name(za_, zip_uint64_t(i), ZIP_FL_ENC_RAW);
        if (!name)
            continue;
        index_.emplace(name, zip_uint64_t(i));
        folded_.emplace(lower(name), name);
    }
}

ZipReader::~ZipReader()
{
    if (za_)
        zip_discard(za_);
}

bool ZipReader::find(const std::string& name, std::string* stored) const
{
    if (index_.count(name)) {
        if (stored)
            *stored = name;
        return true;
    }
    const auto it = folded_.find(lower(name));
    if (it == folded_.end())
        return false;
    if (stored)
        *stored = it->second;
    return true;
}

Inflated ZipReader::read(const std::string& name, Charge* charge) const
{
    std::string stored;
    if (!find(name, &stored))
        throw ZipFailure(name + " bulunamadı");
    return readEntry(za_, index_.at(stored), name, charge);
}

ZipReader::Detached ZipReader::detached(const std::string& name) const
{
    std::string stored;
    if (!find(name, &stored))
        throw ZipFailure(name + " bulunamadı");
    return Detached{bytes_, index_.at(stored), name};
}

Inflated ZipReader::Detached::read(Charge* charge) const
{
    // libzip handles are not shared between threads: this reading opens its own.
    zip_t* za = openArchive(*bytes);
    const auto closer = std::unique_ptr<zip_t, decltype(&zip_discard)>(za, zip_discard);
    return readEntry(za, index, name, charge);
}

namespace {

// A new archive made in memory: `from`'s entries in their order (compressed data
// copied as it is) with the edit applied, then the added entries.
std::string build(zip_t* from, const ZipEdit& edit)
{
    zip_source_t* out = nullptr;
    zip_t* za = openOver(nullptr, 0, ZIP_CREATE | ZIP_TRUNCATE, &out);
    zip_source_keep(out);
    const auto outGuard = std::unique_ptr<zip_source_t, decltype(&zip_source_free)>(out, zip_source_free);
    auto fail = [&](const std::string& why) {
        zip_discard(za);
        throw ZipFailure(why);
    };
    auto add = [&](const std::string& name, zip_source_t* s, bool compress) {
        if (!s)
            fail(name + ": " + archiveError(za));
        const zip_int64_t idx = zip_file_add(za, name.c_str(), s, ZIP_FL_ENC_GUESS);
        if (idx < 0) {
            zip_source_free(s);
            fail(name + ": " + archiveError(za));
        }
        if (compress)
            zip_set_file_compression(za, zip_uint64_t(idx), ZIP_CM_DEFLATE, kDeflateLevel);
        return zip_uint64_t(idx);
    };

    std::vector<bool> putDone(edit.put.size(), false);
    const zip_int64_t n = from ? zip_get_num_entries(from, 0) : 0;
    for (zip_int64_t i = 0; i < n; ++i) {
        const char* raw = zip_get_name(from, zip_uint64_t(i), ZIP_FL_ENC_RAW);
        if (!raw)
            continue;
        const std::string name = raw;
        if (std::find(edit.remove.begin(), edit.remove.end(), name) != edit.remove.end())
            continue;
        const auto put = std::find_if(edit.put.begin(), edit.put.end(), [&](const auto& p) { return p.first == name; });
        if (put != edit.put.end()) {
            putDone[size_t(put - edit.put.begin())] = true;
            add(name, zip_source_buffer(za, put->second.data(), put->second.size(), 0), true);
            continue;
        }
        const zip_uint64_t idx = add(name, zip_source_zip(za, from, zip_uint64_t(i), 0, 0, -1), false);
        zip_uint8_t os;
        zip_uint32_t attributes;
        if (zip_file_get_external_attributes(from, zip_uint64_t(i), 0, &os, &attributes) == 0)
            zip_file_set_external_attributes(za, idx, 0, os, attributes);
    }
    for (size_t k = 0; k < edit.put.size(); ++k)
        if (!putDone[k])
            add(edit.put[k].first, zip_source_buffer(za, edit.put[k].second.data(), edit.put[k].second.size(), 0), true);
    if (zip_close(za) != 0)
        fail(archiveError(za));

    if (zip_source_open(out) != 0)
        throw ZipFailure(zipErrorText(zip_error_code_zip(zip_source_error(out))));
    std::string bytes;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_source_stat(out, &st) == 0 && (st.valid & ZIP_STAT_SIZE))
        bytes.resize(size_t(st.size));
    size_t got = 0;
    zip_int64_t r = 0;
    for (;;) {
        if (got == bytes.size())
            bytes.resize(got + (1 << 16));
        r = zip_source_read(out, bytes.data() + got, bytes.size() - got);
        if (r <= 0)
            break;
        got += size_t(r);
    }
    zip_source_close(out);
    if (r < 0)
        throw ZipFailure(zipErrorText(zip_error_code_zip(zip_source_error(out))));
    bytes.resize(got);
    return bytes;
}

} // namespace

std::string ZipReader::rebuild(const ZipEdit& edit) const
{
    return build(za_, edit);
}

std::string newZip(const ZipEdit& edit)
{
    return build(nullptr, edit);
}

} // namespace kuvela::detail
