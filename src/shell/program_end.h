#pragma once
// How the program ends. The window asks; the process decides. Tests put a
// recorder in place, so nothing in a test run ever leaves the process.
#include <memory>
#include <vector>

namespace kuvela {

class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;
    // Remembers the request and leaves the event loop (a no-op before it runs;
    // main() asks requested() after creating the window).
    virtual void end(int code);
    bool requested() const { return requested_; }
    int code() const { return code_; }

    static ProgramEnd& instance();
    static std::unique_ptr<ProgramEnd> replace(std::unique_ptr<ProgramEnd> next);

protected:
    bool requested_ = false;
    int code_ = 0;
};

// Keeps every request and ends nothing.
class RecordingProgramEnd : public ProgramEnd {
public:
    void end(int code) override
    {
        requested_ = true;
        code_ = code;
        codes.push_back(code);
    }
    std::vector<int> codes;
};

// Installs a RecordingProgramEnd for the lifetime of the guard (tests).
class ScopedRecordingProgramEnd {
public:
    ScopedRecordingProgramEnd();
    ~ScopedRecordingProgramEnd();
    RecordingProgramEnd* operator->() { return rec_; }
    RecordingProgramEnd& operator*() { return *rec_; }

private:
    RecordingProgramEnd* rec_;
    std::unique_ptr<ProgramEnd> previous_;
};

} // namespace kuvela
