#include "shell/program_end.h"

#include <QCoreApplication>

namespace kuvela {
namespace {
std::unique_ptr<ProgramEnd>& slot()
{
    static std::unique_ptr<ProgramEnd> current;
    return current;
}
} // namespace

void ProgramEnd::end(int code)
{
    requested_ = true;
    code_ = code;
    QCoreApplication::exit(code);
}

ProgramEnd& ProgramEnd::instance()
{
    auto& s = slot();
    if (!s)
        s = std::make_unique<ProgramEnd>();
    return *s;
}

std::unique_ptr<ProgramEnd> ProgramEnd::replace(std::unique_ptr<ProgramEnd> next)
{
    auto& s = slot();
    auto previous = std::move(s);
    s = std::move(next);
    return previous;
}

ScopedRecordingProgramEnd::ScopedRecordingProgramEnd()
{
    auto rec = std::make_unique<RecordingProgramEnd>();
    rec_ = rec.get();
    previous_ = ProgramEnd::replace(std::move(rec));
}

ScopedRecordingProgramEnd::~ScopedRecordingProgramEnd()
{
    ProgramEnd::replace(std::move(previous_));
}

} // namespace kuvela
