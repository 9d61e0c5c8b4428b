#pragma once
// The companies of DATA.xlsx prgDATA as the download window reads them: one column
// each from column B, up to the first empty name in row 2.
#include <QString>
#include <filesystem>
#include <vector>

namespace kuvela {

struct DownloadCompany {
    QString name;    // row 2, also its folder name
    QString user;    // row 8
    QString pass;    // row 9
    QString ledger;  // row 10
};

// Throws WorkbookError when the workbook or its sheet cannot be read.
std::vector<DownloadCompany> readDownloadCompanies(const std::filesystem::path& dataWorkbook);
// <program folder>/Data/DATA.xlsx
std::filesystem::path downloadDataWorkbook();

// The credentials of the company named exactly so (the last such column wins);
// both empty when it is not there.
DownloadCompany credentialsOf(const std::vector<DownloadCompany>& companies, const QString& name);

} // namespace kuvela
