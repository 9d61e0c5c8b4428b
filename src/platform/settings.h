#pragma once
// Settings live in prgDosyaları/Kuvela.ini under the program folder. Every key can be
// overridden by an environment variable: "portal/url" by KUVELA_PORTAL_URL.
#include <QString>
#include <filesystem>

namespace kuvela {

class Settings {
public:
    explicit Settings(std::filesystem::path iniFile);
    // The program's own settings file.
    static Settings forProgram();

    QString value(const QString& key, const QString& fallback = {}) const;
    int intValue(const QString& key, int fallback) const;
    static QString environmentName(const QString& key);
    const std::filesystem::path& file() const { return file_; }

private:
    std::filesystem::path file_;
};

} // namespace kuvela
