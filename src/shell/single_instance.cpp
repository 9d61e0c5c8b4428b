#include "shell/single_instance.h"

#include "platform/paths.h"

namespace kuvela {

SingleInstance::SingleInstance(const std::filesystem::path& lockFile)
    : file_(fromPath(lockFile))
    , lock_(file_)
{
    // Age never makes the lock stale; only a holder that no longer runs does.
    lock_.setStaleLockTime(0);
}

SingleInstance::Outcome SingleInstance::acquire()
{
    if (lock_.tryLock(0))
        return Outcome::Alone;
    return lock_.error() == QLockFile::LockFailedError ? Outcome::AnotherRunning : Outcome::Failed;
}

QString SingleInstance::failureText() const
{
    return QStringLiteral("Kilit dosyası oluşturulamadı: %1").arg(file_);
}

} // namespace kuvela
