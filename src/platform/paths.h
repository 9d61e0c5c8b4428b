#pragma once
// Names carry Turkish letters: paths are built from UTF-8, never from bytes of a locale.
#include <QString>
#include <filesystem>

namespace kuvela {

inline std::filesystem::path toPath(const QString& s)
{
    const QByteArray u = s.toUtf8();
    return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(u.constData()), size_t(u.size())));
}

inline QString fromPath(const std::filesystem::path& p)
{
    const std::u8string u = p.u8string();
    return QString::fromUtf8(reinterpret_cast<const char*>(u.data()), qsizetype(u.size()));
}

// The program folder: KUVELA_HOME when set, else the executable's folder.
std::filesystem::path programFolder();

} // namespace kuvela
