#include "platform/zip_archive.h"

#include "platform/error_numbers.h"
#include "platform/paths.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <QTemporaryDir>
#include <zip.h>

#include <memory>
#include <optional>

namespace kuvela {

ZipError::ZipError(int code, const QString& message)
    : std::runtime_error((message + QStringLiteral(" Hata No: ") + QString::number(code)).toStdString()),
      code_(code), message_(message)
{
}

namespace Zip {
namespace {

namespace fs = std::filesystem;

// Unix file types in the upper half of an entry's external attributes.
constexpr zip_uint32_t kTypeMask = 0170000;
constexpr zip_uint32_t kRegular = 0100000;
constexpr zip_uint32_t kDirectory = 0040000;

struct Entry {
    zip_uint64_t index = 0;
    QString name;        // as stored
    fs::path relative;   // where it lands under the target; empty for "./"
    bool directory = false;
    bool executable = false;
};

using Archive = std::unique_ptr<zip_t, decltype(&zip_discard)>;

[[noreturn]] void damaged(const fs::path& archive, const QString& entry = {})
{
    QString text = QStringLiteral("Arşiv dosyası bozuk ya da eksik");
    if (!entry.isEmpty())
        text += QStringLiteral(" (\"%1\" okunamadı)").arg(entry);
    throw ZipError(error_no::ArchiveDamaged, text + QStringLiteral(": ") + fromPath(archive));
}

Archive open(const fs::path& archive)
{
    int err = 0;
    const std::u8string name = archive.u8string();
    zip_t* za = zip_open(reinterpret_cast<const char*>(name.c_str()), ZIP_RDONLY | ZIP_CHECKCONS, &err);
    if (za)
        return Archive(za, &zip_discard);
    if (err == ZIP_ER_NOENT)
        throw ZipError(error_no::FileNotFound, QStringLiteral("Arşiv dosyası bulunamadı: ") + fromPath(archive));
    if (err == ZIP_ER_OPEN || err == ZIP_ER_READ || err == ZIP_ER_MEMORY)
        throw ZipError(error_no::PathFileAccess, QStringLiteral("Arşiv dosyası açılamadı: ") + fromPath(archive));
    damaged(archive);
}

// The entry's place under the target, or nothing when it would leave the target.
std::optional<fs::path> safeRelative(QString name)
{
    name.replace(u'\\', u'/');  // archives made on Windows may separate with backslashes
    if (name.isEmpty() || name.startsWith(u'/'))
        return std::nullopt;
    if (name.size() >= 2 && name.at(1) == u':')
        return std::nullopt;  // a drive letter
    fs::path rel;
    for (const QString& part : name.split(u'/', Qt::SkipEmptyParts)) {
        if (part == QLatin1String(".."))
            return std::nullopt;
        if (part != QLatin1String("."))
            rel /= toPath(part);
    }
    return rel;
}

// Every entry, checked; throws before anything is written.
std::vector<Entry> entries(zip_t* za, const fs::path& archive)
{
    const zip_int64_t count = zip_get_num_entries(za, 0);
    if (count < 0)
        damaged(archive);
    std::vector<Entry> out;
    out.reserve(size_t(count));
    for (zip_uint64_t i = 0; i < zip_uint64_t(count); ++i) {
        const char* raw = zip_get_name(za, i, ZIP_FL_ENC_GUESS);
        if (!raw)
            damaged(archive);
        Entry e;
        e.index = i;
        e.name = QString::fromUtf8(raw);
        zip_uint8_t system = 0;
        zip_uint32_t attributes = 0;
        zip_file_get_external_attributes(za, i, 0, &system, &attributes);
        const zip_uint32_t mode = system == ZIP_OPSYS_UNIX ? attributes >> 16 : 0;
        const zip_uint32_t type = mode & kTypeMask;
        const auto rel = safeRelative(e.name);
        if (!rel || (type != 0 && type != kRegular && type != kDirectory))
            throw ZipError(error_no::ArchiveUnsafeEntry,
                           QStringLiteral("Arşivdeki \"%1\" hedef klasörün dışına yazılmak istiyor, arşiv açılmadı: %2")
                               .arg(e.name, fromPath(archive)));
        e.relative = *rel;
        e.directory = e.name.endsWith(u'/') || e.name.endsWith(u'\\') || type == kDirectory;
        e.executable = (mode & 0111) != 0;
        out.push_back(std::move(e));
    }
    return out;
}

// Reads the entry to its end, so that libzip checks its CRC.
void copyEntry(zip_t* za, const Entry& e, QIODevice& out, const fs::path& archive, const QString& target)
{
    std::unique_ptr<zip_file_t, decltype(&zip_fclose)> f(zip_fopen_index(za, e.index, 0), &zip_fclose);
    if (!f)
        damaged(archive, e.name);
    char buffer[64 * 1024];
    for (;;) {
        const zip_int64_t n = zip_fread(f.get(), buffer, sizeof buffer);
        if (n < 0)
            damaged(archive, e.name);
        if (n == 0)
            break;
        if (out.write(buffer, n) != n)
            throw ZipError(error_no::PathFileAccess, QStringLiteral("Dosya yazılamadı: ") + target);
    }
}

void makeExecutable(const fs::path& file)
{
    std::error_code ec;
    fs::permissions(file, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                    fs::perm_options::add, ec);
}

[[noreturn]] void cannotWrite(const fs::path& p)
{
    throw ZipError(error_no::PathFileAccess, QStringLiteral("Dosya yazılamadı: ") + fromPath(p));
}

// A folder already under the target may be a link that leads out of it.
void ensureInside(const fs::path& folder, const fs::path& root)
{
    std::error_code ec;
    const fs::path real = fs::weakly_canonical(folder, ec);
    if (ec)
        cannotWrite(folder);
    const auto rel = real.lexically_relative(root);
    if (rel.empty() || *rel.begin() == "..")
        throw ZipError(error_no::ArchiveUnsafeEntry,
                       QStringLiteral("Hedef klasörün dışına yazılamaz: ") + fromPath(folder));
}

} // namespace

std::vector<fs::path> extractAll(const fs::path& archive, const fs::path& targetFolder)
{
    Archive za = open(archive);
    const std::vector<Entry> list = entries(za.get(), archive);

    std::error_code ec;
    fs::create_directories(targetFolder, ec);
    if (!fs::is_directory(targetFolder))
        throw ZipError(error_no::PathNotFound, QStringLiteral("Klasör oluşturulamadı: ") + fromPath(targetFolder));
    const fs::path root = fs::canonical(targetFolder, ec);
    if (ec)
        cannotWrite(targetFolder);

    // Everything is read beside the target first; a damaged entry stops before any move.
    QTemporaryDir staging(fromPath(root / ".zip-XXXXXX"));
    if (!staging.isValid())
        cannotWrite(root);
    const fs::path stage = toPath(staging.path());
    std::vector<const Entry*> files;
    for (const Entry& e : list) {
        if (e.relative.empty() || e.directory)
            continue;
        const fs::path staged = stage / e.relative;
        fs::create_directories(staged.parent_path(), ec);
        QFile out(fromPath(staged));
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            cannotWrite(root / e.relative);
        copyEntry(za.get(), e, out, archive, fromPath(root / e.relative));
        out.close();
        files.push_back(&e);
    }

    for (const Entry& e : list) {
        if (!e.directory || e.relative.empty())
            continue;
        ensureInside(root / e.relative, root);
        fs::create_directories(root / e.relative, ec);
        if (!fs::is_directory(root / e.relative))
            cannotWrite(root / e.relative);
    }
    std::vector<fs::path> written;
    for (const Entry* e : files) {
        const fs::path placed = root / e->relative;
        ensureInside(placed.parent_path(), root);
        fs::create_directories(placed.parent_path(), ec);
        if (fs::is_directory(fs::symlink_status(placed)))
            cannotWrite(placed);
        fs::rename(stage / e->relative, placed, ec);
        if (ec)
            cannotWrite(placed);
        if (e->executable)
            makeExecutable(placed);
        written.push_back(e->relative);
    }
    return written;
}

void extractOne(const fs::path& archive, const QString& member, const fs::path& targetFile)
{
    Archive za = open(archive);
    const std::vector<Entry> list = entries(za.get(), archive);
    QString wanted = member;
    wanted.replace(u'\\', u'/');
    const Entry* found = nullptr;
    for (const Entry& e : list) {
        QString name = e.name;
        if (!e.directory && name.replace(u'\\', u'/') == wanted)
            found = &e;
    }
    if (!found)
        throw ZipError(error_no::FileNotFound,
                       QStringLiteral("Arşivde \"%1\" bulunamadı: %2").arg(member, fromPath(archive)));
    std::error_code ec;
    fs::create_directories(targetFile.parent_path(), ec);
    QSaveFile out(fromPath(targetFile));
    if (!out.open(QIODevice::WriteOnly))
        cannotWrite(targetFile);
    copyEntry(za.get(), *found, out, archive, fromPath(targetFile));
    if (!out.commit())
        cannotWrite(targetFile);
    if (found->executable)
        makeExecutable(targetFile);
}

QStringList entryNames(const fs::path& archive)
{
    Archive za = open(archive);
    const zip_int64_t count = zip_get_num_entries(za.get(), 0);
    QStringList names;
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* raw = zip_get_name(za.get(), zip_uint64_t(i), ZIP_FL_ENC_GUESS);
        if (!raw)
            damaged(archive);
        names << QString::fromUtf8(raw);
    }
    return names;
}

} // namespace Zip
} // namespace kuvela
