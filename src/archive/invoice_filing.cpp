#include "archive/invoice_filing.h"

#include "platform/clock.h"
#include "platform/error_numbers.h"
#include "platform/paths.h"
#include "platform/settings.h"
#include "platform/zip_archive.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <algorithm>
#include <functional>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace kuvela {

namespace fs = std::filesystem;

SalesFolders SalesFolders::ofCompany(const QString& company)
{
    return {programFolder() / toPath(QStringLiteral("Firmalarım")) / toPath(company)
            / toPath(QStringLiteral("Satış Faturaları"))};
}

fs::path SalesFolders::temp() const { return root / "Temp"; }
fs::path SalesFolders::html() const { return root / "Html"; }
fs::path SalesFolders::xml() const { return root / "Xml"; }
fs::path SalesFolders::zip() const { return root / "Zip"; }

QStringList folderFileNames(const fs::path& folder)
{
    QStringList names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeEc;
        if (it->is_regular_file(typeEc))
            names << fromPath(it->path().filename());
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

namespace {

bool isPackageName(const QString& name) { return name.toLower().endsWith(QLatin1String(".zip")); }

bool isPartialDownload(const QString& name)
{
    return name.endsWith(QLatin1String(".crdownload")) || name.startsWith(QLatin1String(".org.chromium."));
}

// What a failed write tells the user: its cause, never the paths.
QString writeCause(const std::error_code& ec)
{
    if (ec == std::errc::filename_too_long)
        return QStringLiteral("dosya adı çok uzun");
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted
        || ec == std::errc::read_only_file_system)
        return QStringLiteral("yazma izni yok");
    if (ec == std::errc::no_space_on_device)
        return QStringLiteral("diskte yer kalmadı");
    if (ec == std::errc::not_a_directory || ec == std::errc::no_such_file_or_directory)
        return QStringLiteral("klasör açılamadı");
    return QStringLiteral("dosya yazılamadı");
}

QString packageFault(const ZipError& e)
{
    if (e.code() == error_no::ArchiveUnsafeEntry)
        return QStringLiteral("pakette güvensiz bir girdi var (%1)").arg(e.entry());
    if (e.code() == error_no::ArchiveDamaged)
        return QStringLiteral("paket bozuk ya da eksik");
    return QStringLiteral("paket açılamadı");
}

// Written beside the target under a scratch name, to be renamed over it: a failed copy
// never leaves half a file under the filed name. Returns the scratch file.
fs::path stageCopy(const fs::path& from, const fs::path& to, std::error_code& ec)
{
    fs::create_directories(to.parent_path(), ec);
    const fs::path fresh = to.parent_path() / ".dosyalaniyor.tmp";
    fs::copy_file(from, fresh, fs::copy_options::overwrite_existing, ec);
    return fresh;
}

bool sameBytes(const fs::path& a, const fs::path& b)
{
    QFile fa(fromPath(a)), fb(fromPath(b));
    return fa.size() == fb.size() && fa.open(QIODevice::ReadOnly) && fb.open(QIODevice::ReadOnly)
        && fa.readAll() == fb.readAll();
}

// Keeps a package in Zip under `name`, never over another file: a name taken by other
// bytes becomes "<name> (2).zip", "(3)"…; one holding these very bytes keeps it already
// (a package fetched again). Returns the name it is kept under; empty when it could not be.
QString keepPackage(const fs::path& package, const fs::path& zipFolder, const QString& name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    QString free = name;
    for (int n = 2;; ++n) {
        const fs::path target = zipFolder / toPath(free);
        std::error_code ec;
        const fs::file_status there = fs::symlink_status(target, ec);
        if (!fs::exists(there))
            break;
        if (fs::is_regular_file(there) && sameBytes(package, target))
            return free;
        free = name.left(dot) + QStringLiteral(" (%1)").arg(n) + name.mid(dot);
    }
    std::error_code ec;
    const fs::path target = zipFolder / toPath(free);
    const fs::path fresh = stageCopy(package, target, ec);
    if (!ec)
        fs::rename(fresh, target, ec);
    if (!ec)
        return free;
    fs::remove(fresh, ec);
    return {};
}

std::function<bool(const fs::path&)>& undoCopyHook()
{
    static std::function<bool(const fs::path&)> hook;
    return hook;
}

// Takes back a copy already renamed into place when a later one failed.
bool undoCopy(const fs::path& copy)
{
    if (undoCopyHook())
        return undoCopyHook()(copy);
    std::error_code ec;
    fs::remove(copy, ec);
    return !ec;
}

// "<number>-<tail>.zip": a package in Zip that was not filed.
QString keptPackageName(const QString& gibFatNo, const QString& package)
{
    return fileSafeText(gibFatNo + u'-' + packageTail(package) + QStringLiteral(".zip"));
}

// The invoice number a package carries in its XML copy: the ID element directly under
// the document's root. The copy is found by its extension, as a browser's second copy
// "<stem> (1).zip" still holds "<stem>.xml". Empty when the package or its XML cannot be read.
QString packageInvoiceNumber(const fs::path& package, const fs::path& scratchFolder)
{
    const fs::path unpacked = scratchFolder / ".numara.xml";
    QString number;
    try {
        const QStringList entries = Zip::entryNames(package);
        const auto member = std::find_if(entries.begin(), entries.end(), [](const QString& e) {
            return !e.contains(u'/') && e.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive);
        });
        if (member == entries.end())
            return number;
        Zip::extractOne(package, *member, unpacked);
        QFile f(fromPath(unpacked));
        if (f.open(QIODevice::ReadOnly)) {
            QXmlStreamReader xml(&f);
            for (int depth = 0; number.isEmpty() && !xml.atEnd();) {
                const QXmlStreamReader::TokenType t = xml.readNext();
                if (t == QXmlStreamReader::EndElement)
                    --depth;
                else if (t == QXmlStreamReader::StartElement && ++depth == 2 && xml.name() == QLatin1String("ID")) {
                    number = xml.readElementText().trimmed();
                    --depth;
                }
            }
            if (xml.hasError())
                number.clear();
        }
    } catch (const ZipError&) {
    }
    std::error_code ec;
    fs::remove(unpacked, ec);
    return number;
}

// A copy written beside its target under a scratch name, not yet renamed over it.
struct StagedCopy {
    QString folder; // "Html", "Xml" or "Zip", as the failure text names it
    fs::path fresh, target;
    bool existed;
};

} // namespace

QStringList packageNames(const fs::path& temp)
{
    QStringList out;
    for (const QString& n : folderFileNames(temp))
        if (isPackageName(n))
            out << n;
    return out;
}

bool emptyFolder(const fs::path& folder)
{
    // By the listed paths themselves: a name that is no valid UTF-8 must go as well.
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeEc;
        if (it->is_regular_file(typeEc))
            files.push_back(it->path());
    }
    bool all = !ec || ec == std::errc::no_such_file_or_directory;
    for (const fs::path& f : files) {
        std::error_code removeEc;
        fs::remove(f, removeEc);
        all = all && !removeEc && !fs::exists(fs::symlink_status(f, removeEc));
    }
    return all;
}

bool emptyTempBeforeDownload(const SalesFolders& folders)
{
    for (const QString& package : packageNames(folders.temp())) {
        const fs::path path = folders.temp() / toPath(package);
        const QString number = packageInvoiceNumber(path, folders.temp());
        // One that tells no number is kept under its own name, for a look by hand.
        if (keepPackage(path, folders.zip(), number.isEmpty() ? package : keptPackageName(number, package)).isEmpty())
            return false;
    }
    return emptyFolder(folders.temp());
}

namespace detail {
void setUndoCopyForTests(std::function<bool(const fs::path&)> undo) { undoCopyHook() = std::move(undo); }
} // namespace detail

int packageWaitMs() { return Settings::forProgram().intValue(QStringLiteral("download/packageWaitMs"), 30000); }

bool awaitPackage(const fs::path& temp, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    qint64 lastSize = -1;
    QString lastName;
    for (;;) {
        const QStringList names = folderFileNames(temp);
        const bool partial = std::any_of(names.begin(), names.end(), isPartialDownload);
        const QStringList packages = packageNames(temp);
        if (!partial && packages.size() == 1) {
            std::error_code ec;
            const qint64 size = qint64(fs::file_size(temp / toPath(packages.front()), ec));
            if (!ec && size > 0 && size == lastSize && packages.front() == lastName)
                return true;
            lastSize = ec ? -1 : size;
            lastName = packages.front();
        } else {
            lastSize = -1;
        }
        if (timer.elapsed() >= timeoutMs)
            return false;
        waitMs(100);
    }
}

FilingResult fileInvoicePackage(const SalesFolders& folders, PortalInvoiceRow& row, FilingWindow window,
                                PackagePick pick)
{
    FilingResult result;
    const QStringList packages = packageNames(folders.temp());
    if (packages.isEmpty())
        return result; // nothing to file; Temp stays as it is
    const QString package = pick == PackagePick::First ? packages.front() : packages.back();
    result.package = package;
    const fs::path packagePath = folders.temp() / toPath(package);

    row.gibFatUn = invoiceTitleField(row.gibFatUn);
    row.gibFatVN = invoiceTaxNumberField(row.gibFatVN);

    const QString stem = package.chopped(4);
    std::vector<StagedCopy> staged;
    try {
        Zip::entryNames(packagePath); // refuses the package before anything of it is written
        bool tooLong = true;
        auto fail = [&](const QString& folder, const std::error_code& ec) {
            result.failedCopies << folder + QStringLiteral(": ") + writeCause(ec);
            tooLong = tooLong && ec == std::errc::filename_too_long;
        };
        // All or nothing: every copy is written beside its target first and renamed over
        // it only once all were written, so a failed filing leaves no copy that would
        // later pass for a filed invoice.
        auto stage = [&](const QString& folder, const fs::path& from, const fs::path& to) {
            std::error_code ec;
            const bool existed = fs::exists(to, ec);
            StagedCopy c{folder, stageCopy(from, to, ec), to, existed};
            if (ec) {
                fail(folder, ec);
                fs::remove(c.fresh, ec);
            } else {
                staged.push_back(c);
            }
        };
        for (const QString& ext : {QStringLiteral("html"), QStringLiteral("xml")}) {
            const bool html = ext == QLatin1String("html");
            const QString folder = html ? QStringLiteral("Html") : QStringLiteral("Xml");
            const QString member = stem + u'.' + ext;
            const fs::path unpacked = folders.temp() / toPath(member);
            try {
                Zip::extractOne(packagePath, member, unpacked);
            } catch (const ZipError& e) {
                if (e.code() != error_no::FileNotFound)
                    throw;
                result.failedCopies << folder + QStringLiteral(": pakette ") + member + QStringLiteral(" yok");
                tooLong = false;
                continue;
            }
            stage(folder, unpacked,
                  (html ? folders.html() : folders.xml()) / toPath(invoiceFileName(row, window, package, ext)));
        }
        // Filed under its full name only beside its copies; otherwise kept under the short name.
        if (result.failedCopies.isEmpty())
            stage(QStringLiteral("Zip"), packagePath, folders.zip() / toPath(invoicePackageFileName(row, package)));
        // The Html copy goes in last: it is what marks an invoice as filed, so a failed
        // filing never leaves it behind, not even when taking back the others fails.
        std::reverse(staged.begin(), staged.end());
        for (size_t i = 0; i < staged.size() && result.failedCopies.isEmpty(); ++i) {
            std::error_code ec;
            fs::rename(staged[i].fresh, staged[i].target, ec);
            if (ec) {
                fail(staged[i].folder, ec);
                // A copy of the same name filed before held this invoice already and stays.
                for (size_t j = 0; j < i; ++j)
                    if (!staged[j].existed && !undoCopy(staged[j].target)) {
                        result.failedCopies << staged[j].folder + QStringLiteral(": kopya geri alınamadı");
                        tooLong = false;
                    }
            }
        }
        result.kind = result.failedCopies.isEmpty() ? FilingResult::Kind::Filed : FilingResult::Kind::CopyFailed;
        result.namesTooLong = !result.failedCopies.isEmpty() && tooLong;
    } catch (const ZipError& e) {
        result.kind = FilingResult::Kind::Unsafe;
        result.reason = packageFault(e);
        result.failedCopies.clear();
    }
    for (const StagedCopy& c : staged) {
        std::error_code ec;
        fs::remove(c.fresh, ec);
    }
    if (!result.filed()) {
        // Never unpacked further, never lost: kept for a look by hand.
        result.keptAs = keepPackage(packagePath, folders.zip(), keptPackageName(row.gibFatNo, package));
    }
    if (result.filed() || !result.keptAs.isEmpty())
        emptyFolder(folders.temp());
    return result;
}

QString filingFailureText(const QString& gibFatNo, const FilingResult& result)
{
    QString why;
    switch (result.kind) {
    case FilingResult::Kind::Filed:
        return {};
    case FilingResult::Kind::NoPackage:
        why = QStringLiteral("paket gelmedi.");
        break;
    case FilingResult::Kind::Unsafe:
        why = result.reason;
        break;
    case FilingResult::Kind::CopyFailed:
        why = result.namesTooLong
            ? QStringLiteral("dosya adı çok uzun")
            : QStringLiteral("dosyalar yazılamadı (") + result.failedCopies.join(QStringLiteral(", ")) + u')';
        break;
    }
    if (result.kind != FilingResult::Kind::NoPackage)
        why += result.keptAs.isEmpty() ? QStringLiteral("; paket Temp klasöründe bırakıldı.")
                                       : QStringLiteral("; paket Zip klasöründe saklandı.");
    return gibFatNo + QStringLiteral(" nolu fatura indirilemedi: ") + why;
}

QString tempNotEmptiedText(const QString& gibFatNo)
{
    return gibFatNo + QStringLiteral(" nolu fatura indirilemedi: Temp klasörü boşaltılamadı.");
}

bool isAlreadyFiled(const fs::path& htmlFolder, const QString& gibFatNo)
{
    if (gibFatNo.isEmpty())
        return false;
    const QStringList names = folderFileNames(htmlFolder);
    return std::any_of(names.begin(), names.end(),
                       [&](const QString& n) { return n.contains(gibFatNo, Qt::CaseInsensitive); });
}

QString alreadyFiledText(const QString& gibFatNo) { return gibFatNo + QStringLiteral(" seri nolu fatura daha önce indirilmiş..!"); }

QByteArray unapprovedInvoiceReport(const PortalInvoiceRow& row, const QString& company, const QString& rptStr,
                                   const QString& versionText, const QDateTime& now)
{
    const QString dashes(85, u'-');
    const QStringList lines{
        QStringLiteral("ONAYSIZ FATURA RAPORU : "),
        dashes,
        QStringLiteral("Seri No      : ") + row.gibFatNo,
        QStringLiteral("Tarih        : ") + row.gibFatTar,
        QStringLiteral("Düzenleyen   : ") + company,
        QStringLiteral("Alıcı VKNo   : ") + row.gibFatVN,
        QStringLiteral("Alıcı Ünvanı : ") + row.gibFatUn,
        QStringLiteral("Durumu       : ") + rptStr,
        dashes,
        QStringLiteral("Hakkında     : ") + QStringLiteral("Bu rapor dosyası Kuvela ") + versionText
            + QStringLiteral(" tarafından otomatik olarak oluşturuldu."),
        QStringLiteral("Rapor Zamanı : ") + now.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")),
    };
    QByteArray out;
    for (const QString& l : lines)
        out += l.toUtf8() + "\r\n";
    return out;
}

QString reportStatusText(const QString& gibFatIpt)
{
    return gibFatIpt == QLatin1String("----------") ? QStringLiteral("İPTAL") : QStringLiteral("İPTAL-") + gibFatIpt;
}

QString reportFileName(const QString& gibFatNo, const QString& rptStr) { return gibFatNo + u'-' + rptStr + QStringLiteral(".txt"); }

void writeUnapprovedInvoiceReport(const SalesFolders& folders, const QString& rptFatName, const QByteArray& report)
{
    const fs::path target = folders.html() / toPath(fileSafeText(rptFatName));
    QSaveFile f(fromPath(target));
    if (!f.open(QIODevice::WriteOnly) || f.write(report) != report.size() || !f.commit())
        throw std::runtime_error(
            QStringLiteral("Rapor dosyası yazılamadı: %1 (%2)").arg(fromPath(target), f.errorString()).toStdString());
}

} // namespace kuvela
