#include "platform/workbook_limits.h"

#include "platform/settings.h"

#include <QCoreApplication>

namespace kuvela::detail {

size_t mebibyteSetting(const char* key, size_t fallback)
{
    // Tools without an application object have no program folder: the environment alone.
    const bool programKnown = QCoreApplication::instance() || qEnvironmentVariableIsSet("KUVELA_HOME");
    const Settings settings = programKnown ? Settings::forProgram() : Settings(std::filesystem::path());
    const int mib = settings.intValue(QString::fromLatin1(key), int(fallback >> 20));
    return mib > 0 ? size_t(mib) << 20 : fallback;
}

WorkbookLimits WorkbookLimits::fromSettings()
{
    WorkbookLimits l;
    l.partBytes = mebibyteSetting("workbook/partLimitMiB", l.partBytes);
    l.memoryBytes = mebibyteSetting("workbook/memoryLimitMiB", l.memoryBytes);
    l.totalBytes = mebibyteSetting("workbook/totalLimitMiB", l.totalBytes);
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

void Budget::inflated(size_t bytes, const std::string& part)
{
    if (inflated_.fetch_add(bytes, std::memory_order_relaxed) + bytes > limits_.totalBytes)
        throw LimitFailure(part + " okunurken çalışma kitabının toplam boyut sınırı (" + mebibytes(limits_.totalBytes)
                           + ") aşıldı");
}

} // namespace kuvela::detail
