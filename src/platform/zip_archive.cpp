#include "platform/zip_archive.h"

#include "platform/error_numbers.h"
#include "platform/paths.h"
#include "platform/workbook_limits.h"
#include "platform/zip_errors.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <QTemporaryDir>
#include <zip.h>

#include <map>
#include <memory>
#include <optional>

namespace kuvela {

ZipError::ZipError(int code, const QString& message, const QString& entry)
    : std::runtime_error((message + QStringLiteral(" Hata No: ") + QString::number(code)).toStdString()),
      code_(code), message_(message), entry_(entry)
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
    QString normal;      // "d/a.txt" for "./d//a.txt" and "d\a.txt"; empty for "./"
    fs::path relative;   // where it lands under the target; empty for "./"
    bool directory = false;
    bool executable = false;
    zip_uint64_t size = 0; // as the archive states it; what is read is counted again
};

using Archive = std::unique_ptr<zip_t, decltype(&zip_discard)>;

// What all the entries of one archive may take on disk, unpacked.
zip_uint64_t sizeLimit()
{
    return detail::mebibyteSetting("archive/limitMiB", size_t(1) << 30);
}

[[noreturn]] void damaged(const fs::path& archive, const QString& entry = {}, int zipError = ZIP_ER_OK)
{
    QString text = QStringLiteral("Arşiv dosyası bozuk ya da eksik");
    const QString reason = QString::fromStdString(detail::zipErrorText(zipError));
    if (!entry.isEmpty())
        text += QStringLiteral(" (\"%1\" okunamadı: %2)").arg(entry, reason);
    else if (zipError != ZIP_ER_OK)
        text += QStringLiteral(" (%1)").arg(reason);
    throw ZipError(error_no::ArchiveDamaged, text + QStringLiteral(": ") + fromPath(archive));
}

[[noreturn]] void tooLarge(const fs::path& archive, zip_uint64_t limit)
{
    throw ZipError(error_no::ArchiveTooLarge,
                   QStringLiteral("Arşiv açıldığında boyut sınırını (%1 MiB) aşıyor, arşiv açılmadı: %2")
                       .arg(QString::number(limit >> 20), fromPath(archive)));
}

Archive open(const fs::path& archive)
{
    std::error_code ec;
    if (!fs::exists(archive, ec))
        throw ZipError(error_no::FileNotFound, QStringLiteral("Arşiv dosyası bulunamadı: ") + fromPath(archive));
    int err = 0;
    const std::u8string name = archive.u8string();
    zip_t* za = zip_open(reinterpret_cast<const char*>(name.c_str()), ZIP_RDONLY | ZIP_CHECKCONS, &err);
    if (za)
        return Archive(za, &zip_discard);
    if (err == ZIP_ER_OPEN || err == ZIP_ER_READ || err == ZIP_ER_MEMORY)
        throw ZipError(error_no::PathFileAccess, QStringLiteral("Arşiv dosyası açılamadı: ") + fromPath(archive));
    // Anything else, a missing entry's ZIP_ER_NOENT included, is the archive's own fault.
    damaged(archive, {}, err);
}

// The entry's name with "/" between its parts and no empty or "." parts; nothing when
// it would leave the target.
std::optional<QString> normalName(QString name)
{
    name.replace(u'\\', u'/');  // archives made on Windows may separate with backslashes
    if (name.isEmpty() || name.startsWith(u'/'))
        return std::nullopt;
    if (name.size() >= 2 && name.at(1) == u':')
        return std::nullopt;  // a drive letter
    QStringList kept;
    for (const QString& part : name.split(u'/', Qt::SkipEmptyParts)) {
        if (part == QLatin1String(".."))
            return std::nullopt;
        if (part != QLatin1String("."))
            kept << part;
    }
    return kept.join(u'/');
}

[[noreturn]] void clash(const Entry& e, const QString& other, const fs::path& archive)
{
    throw ZipError(error_no::ArchiveUnsafeEntry,
                   QStringLiteral("Arşivdeki \"%1\" ile \"%2\" aynı yere yazılmak istiyor, arşiv açılmadı: %3")
                       .arg(e.name, other, fromPath(archive)),
                   e.name);
}

// Two entries for one file, or a file where another entry needs a folder.
void refuseClashes(const std::vector<Entry>& list, const fs::path& archive)
{
    std::map<QString, const Entry*> files, folders;
    for (const Entry& e : list) {
        if (e.normal.isEmpty())
            continue;
        if (e.directory) {
            folders.emplace(e.normal, &e);
            continue;
        }
        const auto [it, added] = files.emplace(e.normal, &e);
        if (!added)
            clash(e, it->second->name, archive);
        // Every folder the file lies in is a folder.
        for (qsizetype slash = e.normal.indexOf(u'/'); slash >= 0; slash = e.normal.indexOf(u'/', slash + 1))
            folders.emplace(e.normal.left(slash), &e);
    }
    for (const auto& [name, folder] : folders)
        if (const auto f = files.find(name); f != files.end())
            clash(*f->second, folder->name, archive);
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
            damaged(archive, {}, zip_error_code_zip(zip_get_error(za)));
        Entry e;
        e.index = i;
        e.name = QString::fromUtf8(raw);
        zip_uint8_t system = 0;
        zip_uint32_t attributes = 0;
        zip_file_get_external_attributes(za, i, 0, &system, &attributes);
        const zip_uint32_t mode = system == ZIP_OPSYS_UNIX ? attributes >> 16 : 0;
        const zip_uint32_t type = mode & kTypeMask;
        const auto normal = normalName(e.name);
        if (!normal || (type != 0 && type != kRegular && type != kDirectory))
            throw ZipError(error_no::ArchiveUnsafeEntry,
                           QStringLiteral("Arşivdeki \"%1\" hedef klasörün dışına yazılmak istiyor, arşiv açılmadı: %2")
                               .arg(e.name, fromPath(archive)),
                           e.name);
        e.normal = *normal;
        e.relative = toPath(e.normal);
        e.directory = e.name.endsWith(u'/') || e.name.endsWith(u'\\') || type == kDirectory;
        e.executable = (mode & 0111) != 0;
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(za, i, 0, &st) == 0 && (st.valid & ZIP_STAT_SIZE))
            e.size = st.size;
        out.push_back(std::move(e));
    }
    refuseClashes(out, archive);
    return out;
}

// Reads the entry to its end, so that libzip checks its CRC. What is written is
// counted against `room`, whatever size the entry states.
void copyEntry(zip_t* za, const Entry& e, QIODevice& out, const fs::path& archive, const QString& target,
               zip_uint64_t& room, zip_uint64_t limit)
{
    std::unique_ptr<zip_file_t, decltype(&zip_fclose)> f(zip_fopen_index(za, e.index, 0), &zip_fclose);
    if (!f)
        damaged(archive, e.name, zip_error_code_zip(zip_get_error(za)));
    char buffer[64 * 1024];
    for (;;) {
        const zip_int64_t n = zip_fread(f.get(), buffer, sizeof buffer);
        if (n < 0)
            damaged(archive, e.name, zip_error_code_zip(zip_file_get_error(f.get())));
        if (n == 0)
            break;
        if (zip_uint64_t(n) > room)
            tooLarge(archive, limit);
        room -= zip_uint64_t(n);
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

// What is already under the target must take the archive's files and folders: a
// folder where a file goes, or a file where a folder goes, refuses the archive.
void checkTarget(const std::vector<Entry>& list, const fs::path& root)
{
    std::error_code ec;
    for (const Entry& e : list) {
        if (e.relative.empty())
            continue;
        fs::path at = root;
        for (auto part = e.relative.begin(); part != e.relative.end(); ++part) {
            at /= *part;
            const bool last = std::next(part) == e.relative.end();
            const fs::file_status st = fs::symlink_status(at, ec);
            if (!fs::exists(st))
                break;
            const bool wantFolder = !last || e.directory;
            if (wantFolder) {
                ensureInside(at, root);
                if (!fs::is_directory(at, ec))
                    cannotWrite(at);
            } else if (fs::is_directory(st)) {
                cannotWrite(at); // a link in a file's place is replaced itself, never followed
            }
        }
    }
}

// The moves into the target, undone in reverse order when one fails.
class Placement {
public:
    explicit Placement(fs::path backup) : backup_(std::move(backup)) {}
    ~Placement()
    {
        if (!done_)
            undo();
    }
    void folder(const fs::path& p)
    {
        std::error_code ec;
        std::vector<fs::path> missing;
        for (fs::path at = p; !fs::exists(fs::symlink_status(at, ec)); at = at.parent_path())
            missing.push_back(at);
        for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
            if (!fs::create_directory(*it, ec) && !fs::is_directory(*it))
                cannotWrite(*it);
            createdFolders_.push_back(*it);
        }
    }
    void file(const fs::path& staged, const fs::path& placed)
    {
        std::error_code ec;
        folder(placed.parent_path());
        Move m{placed, {}};
        if (fs::exists(fs::symlink_status(placed, ec))) {
            m.kept = backup_ / std::to_string(moves_.size());
            fs::rename(placed, m.kept, ec);
            if (ec)
                cannotWrite(placed);
        }
        fs::rename(staged, placed, ec);
        if (ec) {
            if (!m.kept.empty())
                fs::rename(m.kept, placed, ec);
            cannotWrite(placed);
        }
        moves_.push_back(std::move(m));
    }
    void commit() { done_ = true; }

private:
    void undo()
    {
        std::error_code ec;
        for (auto it = moves_.rbegin(); it != moves_.rend(); ++it) {
            fs::remove(it->placed, ec);
            if (!it->kept.empty())
                fs::rename(it->kept, it->placed, ec);
        }
        for (auto it = createdFolders_.rbegin(); it != createdFolders_.rend(); ++it)
            fs::remove(*it, ec); // only while empty
    }

    struct Move {
        fs::path placed, kept;
    };
    fs::path backup_;
    std::vector<Move> moves_;
    std::vector<fs::path> createdFolders_;
    bool done_ = false;
};

// Failures of the file system or of memory inside the layer become its own errors.
template <class F>
auto guarded(const fs::path& archive, F&& work)
{
    try {
        return work();
    } catch (const ZipError&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw ZipError(error_no::PathFileAccess, QStringLiteral("Arşiv açılamadı, bellek yetmedi: ") + fromPath(archive));
    } catch (const fs::filesystem_error& e) {
        cannotWrite(e.path1().empty() ? archive : e.path1());
    } catch (...) {
        throw ZipError(error_no::ArchiveDamaged,
                       QStringLiteral("Arşiv açılamadı, beklenmeyen bir hata oluştu: ") + fromPath(archive));
    }
}

std::vector<fs::path> unpack(const fs::path& archive, const fs::path& targetFolder)
{
    Archive za = open(archive);
    const std::vector<Entry> list = entries(za.get(), archive);
    const zip_uint64_t limit = sizeLimit();
    zip_uint64_t stated = 0;
    for (const Entry& e : list)
        stated += std::min(e.size, limit + 1);
    if (stated > limit)
        tooLarge(archive, limit);

    std::error_code ec;
    const bool existed = fs::exists(targetFolder, ec);
    fs::create_directories(targetFolder, ec);
    if (!fs::is_directory(targetFolder))
        throw ZipError(error_no::PathNotFound, QStringLiteral("Klasör oluşturulamadı: ") + fromPath(targetFolder));
    // A folder made for an archive that is then refused goes again.
    struct MadeFolder {
        fs::path path;
        bool keep;
        ~MadeFolder()
        {
            std::error_code ignored;
            if (!keep)
                fs::remove(path, ignored);
        }
    } made{targetFolder, existed};
    const fs::path root = fs::canonical(targetFolder, ec);
    if (ec)
        cannotWrite(targetFolder);
    checkTarget(list, root);

    // Everything is read into the staging folder first; a damaged entry stops before
    // the target changes.
    std::vector<fs::path> written;
    {
        QTemporaryDir staging(fromPath(root / ".zip-XXXXXX"));
        if (!staging.isValid())
            cannotWrite(root);
        const fs::path stage = toPath(staging.path());
        const fs::path files = stage / "yeni", backup = stage / "eski";
        fs::create_directory(files);
        fs::create_directory(backup);
        zip_uint64_t room = limit;
        std::vector<std::pair<const Entry*, fs::path>> staged;
        for (const Entry& e : list) {
            if (e.relative.empty() || e.directory)
                continue;
            const fs::path at = files / std::to_string(staged.size());
            QFile out(fromPath(at));
            if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
                cannotWrite(root / e.relative);
            copyEntry(za.get(), e, out, archive, fromPath(root / e.relative), room, limit);
            out.close();
            if (out.error() != QFileDevice::NoError)
                cannotWrite(root / e.relative);
            staged.emplace_back(&e, at);
        }

        Placement place(backup);
        for (const Entry& e : list)
            if (e.directory && !e.relative.empty())
                place.folder(root / e.relative);
        for (const auto& [e, at] : staged) {
            place.file(at, root / e->relative);
            if (e->executable)
                makeExecutable(root / e->relative);
            written.push_back(e->relative);
        }
        place.commit();
    }
    made.keep = true;
    return written;
}

} // namespace

std::vector<fs::path> extractAll(const fs::path& archive, const fs::path& targetFolder)
{
    return guarded(archive, [&] { return unpack(archive, targetFolder); });
}

void extractOne(const fs::path& archive, const QString& member, const fs::path& targetFile)
{
    guarded(archive, [&] {
        Archive za = open(archive);
        const std::vector<Entry> list = entries(za.get(), archive);
        const auto wanted = normalName(member);
        const Entry* found = nullptr;
        for (const Entry& e : list)
            if (!e.directory && wanted && e.normal == *wanted)
                found = &e;
        if (!found)
            throw ZipError(error_no::FileNotFound,
                           QStringLiteral("Arşivde \"%1\" bulunamadı: %2").arg(member, fromPath(archive)));
        const zip_uint64_t limit = sizeLimit();
        if (found->size > limit)
            tooLarge(archive, limit);
        std::error_code ec;
        fs::create_directories(targetFile.parent_path(), ec);
        QSaveFile out(fromPath(targetFile));
        if (!out.open(QIODevice::WriteOnly))
            cannotWrite(targetFile);
        zip_uint64_t room = limit;
        copyEntry(za.get(), *found, out, archive, fromPath(targetFile), room, limit);
        if (!out.commit())
            cannotWrite(targetFile);
        if (found->executable)
            makeExecutable(targetFile);
    });
}

QStringList entryNames(const fs::path& archive)
{
    return guarded(archive, [&] {
        Archive za = open(archive);
        QStringList names;
        for (const Entry& e : entries(za.get(), archive))
            names << e.name;
        return names;
    });
}

} // namespace Zip
} // namespace kuvela
