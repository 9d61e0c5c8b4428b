#pragma once
// One running copy per program folder: an exclusive lock file in that folder.
// Of two copies started together exactly one wins; a lock left by a copy that
// died is taken over.
#include <QLockFile>
#include <QString>
#include <filesystem>

namespace kuvela {

class SingleInstance {
public:
    enum class Outcome { Alone, AnotherRunning, Failed };

    explicit SingleInstance(const std::filesystem::path& lockFile);
    // Holds the lock until this object goes.
    Outcome acquire();
    // Why Failed, in Turkish, naming the lock file.
    QString failureText() const;

private:
    QString file_;
    QLockFile lock_;
};

} // namespace kuvela
