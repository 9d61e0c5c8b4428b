#pragma once
// The folder tree every company keeps under Firmalarım.
#include <QString>
#include <QStringList>
#include <filesystem>

namespace kuvela {

// "Firmalarım": the root of the company trees, in the program folder.
QString companiesFolderName();

// The fifteen folders of one company's tree, relative to Firmalarım, in the order
// they are made: the company folder itself first ("<company>", "<company>/Proforma", ...).
QStringList companyTreeFolders(const QString& company);

// A company name is used as one folder name: empty, ".", ".." and names holding a
// path separator or a control character would leave Firmalarım.
bool isUsableCompanyName(const QString& company);

struct CompanyTreeResult {
    int created = 0;       // folders made by this call
    bool refused = false;  // unusable name, or a file stands where the company folder belongs
    QString failure;       // Turkish text when a folder could not be made
};

// Makes whatever is missing of the company's tree (Firmalarım included); an existing
// folder and its files are left as they are. Stops at the first folder it cannot make.
CompanyTreeResult makeCompanyTree(const std::filesystem::path& programFolder, const QString& company);

struct CompanyTreesReport {
    int created = 0;
    QStringList refused;   // companies that got no tree
    QStringList failures;  // one Turkish text per company whose tree stayed incomplete
};

// The tree of each company in turn; one company's failure does not stop the others.
CompanyTreesReport makeCompanyTrees(const std::filesystem::path& programFolder, const QStringList& companies);

} // namespace kuvela
