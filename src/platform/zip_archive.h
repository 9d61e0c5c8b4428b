#pragma once
// Unpacking ZIP archives that come from outside (downloaded packages). An archive is
// checked whole before anything is written: an entry that would land outside the
// target folder (an absolute name, "..", a symbolic link), two entries naming one place
// ("a.txt" and "./a.txt", a file and a folder of one name) and entries that together
// pass the size limit (setting "archive/limitMiB", 1 GiB) refuse the archive. The
// entries are unpacked into a staging folder first and moved into place only when all
// of them read well; a move that fails puts back what was there. A refused archive
// leaves the target folder as it was.
#include <QString>
#include <QStringList>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace kuvela {

class ZipError : public std::runtime_error {
public:
    ZipError(int code, const QString& message, const QString& entry = {});
    int code() const { return code_; }        // " Hata No: " number
    const QString& message() const { return message_; }  // Turkish, names the archive
    const QString& entry() const { return entry_; }      // the refused entry's stored name, if one was

private:
    int code_;
    QString message_;
    QString entry_;
};

namespace Zip {

// Unpacks every entry under targetFolder (made when missing); files already there
// with the same names are replaced. Returns the files written, relative to the folder.
// Throws ZipError.
std::vector<std::filesystem::path> extractAll(const std::filesystem::path& archive,
                                              const std::filesystem::path& targetFolder);

// Unpacks the entry named `member` (its stored name, folders separated by "/") into
// targetFile, replacing it whole. Throws ZipError.
void extractOne(const std::filesystem::path& archive, const QString& member,
                const std::filesystem::path& targetFile);

// The stored names, in the archive's order, checked as for unpacking: an unsafe entry
// throws ZipError with code ArchiveUnsafeEntry and the entry's name. Throws ZipError.
QStringList entryNames(const std::filesystem::path& archive);

} // namespace Zip

} // namespace kuvela
