#pragma once
// The package layer under Workbook: entries read from a ZIP held in memory, and a new
// ZIP made from it in which only the named entries change.
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

struct zip;

namespace kuvela::detail {

class Charge;

// What went wrong in the package, in words for a Turkish message.
struct ZipFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// An inflated entry. Its buffer is not zero-filled first: inflating writes every byte.
struct Inflated {
    std::unique_ptr<char[]> data;
    size_t size = 0;
    std::string_view view() const { return {data.get(), size}; }
    std::string str() const { return std::string(view()); }
};

struct ZipEdit {
    std::vector<std::pair<std::string, std::string>> put; // replaced or added, in this order
    std::vector<std::string> remove;
};

class ZipReader {
public:
    // Takes the archive's bytes; throws ZipFailure when they are no ZIP.
    explicit ZipReader(std::string bytes);
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    const std::string& bytes() const { return *bytes_; }
    // The entry's stored name; part names are matched without regard to case, as
    // packages are.
    bool find(const std::string& name, std::string* stored = nullptr) const;
    // The entry inflated, within the part limit; charged to `charge` when given.
    Inflated read(const std::string& name, Charge* charge = nullptr) const;
    // An entry to be read elsewhere, on another thread: it keeps the archive's bytes.
    struct Detached {
        std::shared_ptr<const std::string> bytes;
        unsigned long long index;
        std::string name;
        Inflated read(Charge* charge = nullptr) const;
    };
    Detached detached(const std::string& name) const;
    // A new archive: these entries with the edit applied. Entries the edit does not
    // name keep their compressed data as it was.
    std::string rebuild(const ZipEdit& edit) const;

private:
    std::shared_ptr<const std::string> bytes_; // shared with reads running elsewhere
    struct zip* za_ = nullptr;
    std::unordered_map<std::string, unsigned long long> index_;      // exact name
    std::unordered_map<std::string, std::string> folded_;            // lower case -> name
};

// A new archive of the edit's entries alone.
std::string newZip(const ZipEdit& edit);

} // namespace kuvela::detail
