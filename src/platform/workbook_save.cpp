// Saving: the changed parts into a new package, written beside the target and renamed
// over it, so the old file stays whole until the new one is complete.
#include "platform/paths.h"
#include "platform/workbook_internal.h"
#include "platform/workbook_testing.h"
#include "platform/workbook_xml.h"

#include <QFile>
#include <QRandomGenerator>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace kuvela {

namespace detail {

namespace {

std::function<void(const std::filesystem::path&)>& beforeReplaceHook()
{
    static std::function<void(const std::filesystem::path&)> hook;
    return hook;
}

void syncFolder([[maybe_unused]] const std::filesystem::path& folder)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}

// Writes `bytes` to a new file in the target's folder and renames it over the target.
// On any failure the temporary file is gone and the target untouched.
void replaceFile(const std::filesystem::path& target, const std::string& bytes, const QString& name)
{
    const std::filesystem::path folder = target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        throw WorkbookError(76, QStringLiteral("%1 kaydedilemedi: klasör bulunamadı (%2).").arg(name, fromPath(folder)));

    QFile out;
    std::filesystem::path temp;
    for (int attempt = 0; attempt < 20; ++attempt) {
        temp = folder / toPath(QStringLiteral(".%1.%2.tmp").arg(name).arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        out.setFileName(fromPath(temp));
        if (out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            break;
        if (std::filesystem::exists(temp, ec))
            continue;
        throw WorkbookError(WorkbookError::kAccess,
                            QStringLiteral("%1 kaydedilemedi: klasöre yazılamıyor (%2).").arg(name, out.errorString()));
    }
    if (!out.isOpen())
        throw WorkbookError(WorkbookError::kAccess, QStringLiteral("%1 kaydedilemedi: geçici dosya açılamadı.").arg(name));

    auto abandon = [&](const QString& why) {
        out.close();
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        throw WorkbookError(WorkbookError::kAccess, QStringLiteral("%1 kaydedilemedi: %2").arg(name, why));
    };
    if (out.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) || !out.flush())
        abandon(QStringLiteral("dosya yazılamadı, disk dolu olabilir (%1).").arg(out.errorString()));
#ifdef Q_OS_UNIX
    if (::fsync(out.handle()) != 0)
        abandon(QStringLiteral("dosya diske yazılamadı."));
#endif
    out.close();
    if (out.error() != QFileDevice::NoError)
        abandon(out.errorString());
    // A replaced file keeps who may read it.
    if (std::filesystem::exists(target, ec))
        std::filesystem::permissions(temp, std::filesystem::status(target, ec).permissions(), ec);
    try {
        if (beforeReplaceHook())
            beforeReplaceHook()(temp);
    } catch (const std::exception& e) {
        abandon(QString::fromStdString(e.what()));
    }
    std::filesystem::rename(temp, target, ec);
    if (ec)
        abandon(QString::fromStdString(ec.message()));
    syncFolder(folder);
}

} // namespace

void Book::save(const std::filesystem::path& target)
{
    const QString name = fromPath(target.filename());
    if (isOpenInSpreadsheet(target))
        throw WorkbookError(WorkbookError::kAccess,
                            QStringLiteral("%1 şu anda bir tablo programında açık. Lütfen dosyayı kapatıp yeniden deneyin.").arg(name));

    ZipEdit edit;
    std::vector<SheetModel*> written; // edit.put's first entries, in order
    for (const auto& s : sheets) {
        SheetModel& m = modelOf(*s);
        if (m.loaded && m.changed) {
            edit.put.emplace_back(m.part, writeSheet(m));
            written.push_back(&m);
        }
    }
    if (styles.changed()) {
        ensureStylesPart();
        edit.put.emplace_back(stylesPart, styles.print());
    }
    if (dropCalcChain) {
        std::string stored;
        if (zip->find(calcChainPart, &stored))
            edit.remove.push_back(stored);
    }
    if (packageChanged) {
        std::string stored = "[Content_Types].xml";
        zip->find(stored, &stored);
        edit.put.emplace_back(stored, printPart(contentTypes));
        edit.put.emplace_back(workbookPart, printPart(workbookXml));
        edit.put.emplace_back(workbookRelsPart, printPart(workbookRels));
    }

    std::string bytes;
    try {
        bytes = zip->rebuild(edit);
    } catch (const ZipFailure& e) {
        throw WorkbookError(WorkbookError::kAccess, QStringLiteral("%1 kaydedilemedi: %2").arg(name, QString::fromStdString(e.what())));
    }
    replaceFile(target, bytes, name);

    // The saved package is what later edits start from, the written sheets' parts too.
    for (size_t i = 0; i < written.size(); ++i) {
        written[i]->around = SheetAround::of(edit.put[i].second);
    }
    zip = std::make_unique<ZipReader>(std::move(bytes));
    for (const auto& s : sheets) {
        SheetModel& m = modelOf(*s);
        m.changed = m.colsChanged = false;
    }
    styles.markSaved();
    packageChanged = false;
    if (dropCalcChain) {
        calcChainPart.clear();
        dropCalcChain = false;
    }
    path = target;
}

void setBeforeReplaceHookForTests(std::function<void(const std::filesystem::path& temp)> hook)
{
    beforeReplaceHook() = std::move(hook);
}

} // namespace detail

} // namespace kuvela
