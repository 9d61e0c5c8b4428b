#pragma once
// What reading one workbook may cost. A crafted file of a few kilobytes can claim or
// inflate to gigabytes; every inflated part and everything the reader keeps is charged
// to the workbook's budget, and going past it refuses the file instead of exhausting
// memory. The sizes are settings ("workbook/partLimitMiB", "workbook/memoryLimitMiB").
#include <QString>
#include <atomic>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>

namespace kuvela::detail {

struct WorkbookLimits {
    size_t partBytes = size_t(128) << 20;   // one part, inflated
    size_t memoryBytes = size_t(160) << 20; // the inflated parts being read and the model kept
    size_t totalBytes = size_t(512) << 20;  // all parts read, inflated, added up
    static WorkbookLimits fromSettings();
};

// A limit passed; the text is Turkish and names the part and the limit.
struct LimitFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string mebibytes(size_t bytes); // "128 MiB"
// A size setting given in MiB ("archive/limitMiB"), in bytes; `fallback` when unset.
size_t mebibyteSetting(const char* key, size_t fallback);
// "xl/worksheets/sheet1.xml bölümü boyut sınırını (128 MiB) aşıyor"
std::string partTooLarge(const std::string& part, size_t limit);

// The memory budget of one workbook, shared by the threads that read its sheets.
class Budget {
public:
    explicit Budget(WorkbookLimits limits) : limits_(limits) {}
    const WorkbookLimits& limits() const { return limits_; }
    // Charges `bytes` for `part`; throws LimitFailure (charging nothing) when over.
    void charge(size_t bytes, const std::string& part);
    void release(size_t bytes) { used_.fetch_sub(bytes, std::memory_order_relaxed); }
    // Counts inflated bytes of a part read; throws LimitFailure past the total.
    void inflated(size_t bytes, const std::string& part);

private:
    WorkbookLimits limits_;
    std::atomic<size_t> used_{0};
    std::atomic<size_t> inflated_{0};
};

// Charges made while reading one thing, given back when it is done (an inflated
// part, a parse tree) unless kept.
class Charge {
public:
    Charge(Budget* budget, std::string part) : budget_(budget), part_(std::move(part)) {}
    ~Charge()
    {
        if (budget_ && !kept_)
            budget_->release(total_);
    }
    Charge(const Charge&) = delete;
    Charge& operator=(const Charge&) = delete;

    WorkbookLimits limits() const { return budget_ ? budget_->limits() : WorkbookLimits{}; }
    Budget* budget() const { return budget_; }

    void add(size_t bytes)
    {
        if (budget_ && bytes) {
            budget_->charge(bytes, part_);
            total_ += bytes;
        }
    }
    // Inflated bytes of a part: counted toward the workbook's total, and charged.
    void addInflated(size_t bytes)
    {
        if (budget_ && bytes) {
            budget_->inflated(bytes, part_);
            add(bytes);
        }
    }
    // Takes over what `other` charged to the same budget.
    void absorb(Charge& other)
    {
        total_ += other.total_;
        other.total_ = 0;
    }
    // The model keeps what was charged: it stays on the budget while the workbook lives.
    void keep() { kept_ = true; }

private:
    Budget* budget_;
    std::string part_;
    size_t total_ = 0;
    bool kept_ = false;
};

// Charges in small steps gathered and passed on in larger ones: the reader counts
// every row and string without an atomic operation for each.
class Meter {
public:
    explicit Meter(Charge& charge) : charge_(charge) {}
    void add(size_t bytes)
    {
        pending_ += bytes;
        if (pending_ >= kStep)
            flush();
    }
    void flush()
    {
        charge_.add(pending_);
        pending_ = 0;
    }

private:
    static constexpr size_t kStep = size_t(1) << 20;
    Charge& charge_;
    size_t pending_ = 0;
};

// The deepest element nesting and the most elements a part read into a tree may have.
constexpr int kMaxDepth = 256;
constexpr size_t kMaxTreeElements = size_t(1) << 20;
// The most worksheets a workbook may have.
constexpr size_t kMaxSheets = 4096;

} // namespace kuvela::detail
