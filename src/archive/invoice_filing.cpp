#include "archive/invoice_filing.h"

#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/settings.h"
#include "platform/zip_archive.h"

#include <QElapsedTimer>
#include <QSaveFile>
#include <algorithm>
#include <functional>
#include <stdexcept>
#include <system_error>

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

// An entry that would land anywhere but beside the package.
bool unsafeEntry(const QString& name)
{
    return name.isEmpty() || name.contains(u'/') || name.contains(u'\\') || name.contains(QLatin1String(".."))
        || (name.size() >= 2 && name.at(1) == u':');
}

void copyReplacing(const fs::path& from, const fs::path& to)
{
    fs::copy_file(from, to, fs::copy_options::overwrite_existing);
}

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
    bool all = true;
    for (const QString& n : folderFileNames(folder)) {
        std::error_code ec;
        fs::remove(folder / toPath(n), ec);
        all = all && !ec;
    }
    return all;
}

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

    QStringList entries;
    try {
        entries = Zip::entryNames(packagePath);
        for (const QString& e : entries)
            if (unsafeEntry(e)) {
                result.kind = FilingResult::Kind::Unsafe;
                result.reason = QStringLiteral("pakette güvensiz bir girdi var (%1)").arg(e);
                break;
            }
    } catch (const ZipError& e) {
        result.kind = FilingResult::Kind::Unsafe;
        result.reason = e.message();
    }
    if (result.kind == FilingResult::Kind::Unsafe) {
        // Kept for a look by hand, under its own name, never unpacked.
        std::error_code ec;
        fs::create_directories(folders.zip(), ec);
        fs::copy_file(packagePath, folders.zip() / toPath(fileSafeText(package)), fs::copy_options::overwrite_existing,
                      ec);
        emptyFolder(folders.temp());
        return result;
    }

    const QString stem = package.chopped(4);
    auto attempt = [&](const QString& target, const std::function<void()>& step) {
        try {
            step();
        } catch (const ZipError& e) {
            result.failedCopies << target + QStringLiteral(": ") + e.message();
        } catch (const std::exception& e) {
            result.failedCopies << target + QStringLiteral(": ") + QString::fromUtf8(e.what());
        }
    };
    for (const QString& ext : {QStringLiteral("html"), QStringLiteral("xml")}) {
        const fs::path target = (ext == QLatin1String("html") ? folders.html() : folders.xml())
            / toPath(invoiceFileName(row, window, package, ext));
        attempt(fromPath(target), [&] { Zip::extractOne(packagePath, stem + u'.' + ext, target); });
    }
    const fs::path zipTarget = folders.zip() / toPath(invoicePackageFileName(row, package));
    attempt(fromPath(zipTarget), [&] { copyReplacing(packagePath, zipTarget); });
    emptyFolder(folders.temp());
    result.kind = result.failedCopies.isEmpty() ? FilingResult::Kind::Filed : FilingResult::Kind::CopyFailed;
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
        why = result.reason + QStringLiteral("; paket Zip klasöründe saklandı.");
        break;
    case FilingResult::Kind::CopyFailed:
        why = QStringLiteral("dosyalar yerlerine yazılamadı (") + result.failedCopies.join(QStringLiteral("; "))
            + QStringLiteral(").");
        break;
    }
    return gibFatNo + QStringLiteral(" nolu fatura indirilemedi: ") + why;
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
