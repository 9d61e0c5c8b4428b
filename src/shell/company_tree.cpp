#include "shell/company_tree.h"

#include "platform/paths.h"

#include <system_error>

namespace kuvela {

namespace fs = std::filesystem;

QString companiesFolderName()
{
    return QStringLiteral("Firmalarım");
}

QStringList companyTreeFolders(const QString& company)
{
    static const char* const kInside[] = {
        "",
        "/Proforma",
        "/Proforma/SATIŞ",
        "/Proforma/İADE",
        "/Proforma/TEVKİFAT",
        "/Proforma/İSTİSNA",
        "/Proforma/ÖZEL MATRAH",
        "/Proforma/İHRAÇ KAYITLI",
        "/Alış Faturaları",
        "/Satış Faturaları",
        "/Satış Faturaları/Temp",
        "/Satış Faturaları/Zip",
        "/Satış Faturaları/Html",
        "/Satış Faturaları/Xml",
        "/Satış Faturaları/Pdf",
    };
    QStringList out;
    for (const char* inside : kInside)
        out << company + QString::fromUtf8(inside);
    return out;
}

bool isUsableCompanyName(const QString& company)
{
    if (company.isEmpty() || company == QLatin1String(".") || company == QLatin1String(".."))
        return false;
    for (const QChar c : company)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            return false;
    return true;
}

CompanyTreeResult makeCompanyTree(const fs::path& programFolder, const QString& company)
{
    CompanyTreeResult r;
    if (!isUsableCompanyName(company)) {
        r.refused = true;
        return r;
    }
    std::error_code ec;
    const fs::path root = programFolder / toPath(companiesFolderName());
    const fs::path own = root / toPath(company);
    if (fs::exists(own, ec) && !fs::is_directory(own, ec)) {
        r.refused = true;
        return r;
    }
    QStringList folders = companyTreeFolders(company);
    folders.prepend(QString());
    for (const QString& rel : folders) {
        const fs::path dir = rel.isEmpty() ? root : root / toPath(rel);
        if (fs::is_directory(dir, ec))
            continue;
        if (!fs::create_directory(dir, ec) || ec) {
            r.failure = QStringLiteral("Klasör oluşturulamadı: %1 (%2)")
                            .arg(fromPath(dir), QString::fromLocal8Bit(ec.message().c_str()));
            return r;
        }
        ++r.created;
    }
    return r;
}

CompanyTreesReport makeCompanyTrees(const fs::path& programFolder, const QStringList& companies)
{
    CompanyTreesReport report;
    for (const QString& company : companies) {
        const CompanyTreeResult r = makeCompanyTree(programFolder, company);
        report.created += r.created;
        if (r.refused)
            report.refused << company;
        if (!r.failure.isEmpty())
            report.failures << r.failure;
    }
    return report;
}

} // namespace kuvela
