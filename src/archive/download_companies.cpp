#include "archive/download_companies.h"

#include "platform/paths.h"
#include "platform/workbook.h"

namespace kuvela {

std::filesystem::path downloadDataWorkbook() { return programFolder() / "Data" / "DATA.xlsx"; }

std::vector<DownloadCompany> readDownloadCompanies(const std::filesystem::path& dataWorkbook)
{
    Workbook book = Workbook::open(dataWorkbook);
    Sheet& s = book.sheet(QStringLiteral("prgDATA"));
    std::vector<DownloadCompany> out;
    for (int c = 2;; ++c) {
        const QString name = s.text(2, c);
        if (name.isEmpty())
            break;
        out.push_back({name, s.text(8, c), s.text(9, c), s.text(10, c)});
    }
    return out;
}

DownloadCompany credentialsOf(const std::vector<DownloadCompany>& companies, const QString& name)
{
    DownloadCompany found;
    for (const DownloadCompany& c : companies)
        if (c.name == name)
            found = c;
    return found;
}

} // namespace kuvela
