#include "platform/workbook_limits.h"

#include "platform/settings.h"

namespace kuvela::detail {

namespace {

size_t mebibyteSetting(const Settings& settings, const char* key, size_t fallback)
{
    const int mib = settings.intValue(QString::fromLatin1(key), int(fallback >> 20));
    return mib > 0 ? size_t(mib) << 20 : fallback;
}

} // namespace

WorkbookLimits WorkbookLimits::fromSettings()
{
    const Settings settings = Settings::forProgram();
    WorkbookLimits l;
    l.partBytes = mebibyteSetting(settings, "workbook/partLimitMiB", l.partBytes);
    l.memoryBytes = mebibyteSetting(settings, "workbook/memoryLimitMiB", l.memoryBytes);
    return l;
}

std::string mebibytes(size_t bytes)
{
    return std::to_string((bytes + (size_t(1) << 20) - 1) >> 20) + " MiB";
}

std::string partTooLarge(const std::string& part, size_t limit)
{
    return part + " bölümü boyut sınırını (" + mebibytes(limit) + ") aşıyor";
}

void Budget::charge(size_t bytes, const std::string& part)
{
    const size_t before = used_.fetch_add(bytes, std::memory_order_relaxed);
    if (before + bytes > limits_.memoryBytes) {
        used_.fetch_sub(bytes, std::memory_order_relaxed);
        throw LimitFailure(part + " okunurken çalışma kitabının bellek sınırı (" + mebibytes(limits_.memoryBytes)
                           + ") aşıldı");
    }
}

} // namespace kuvela::detail
