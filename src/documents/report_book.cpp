#include "documents/report_book.h"

#include "platform/paths.h"
#include "platform/workbook.h"

namespace kuvela::documents {

std::filesystem::path saveReportBook(const SheetTexts& texts, const QDateTime& now)
{
    Workbook book = Workbook::create();
    Sheet& sheet = book.sheet(1);
    for (const auto& [cell, text] : texts)
        sheet.setString(cell.first, cell.second, text);

    const std::filesystem::path folder = programFolder() / toPath(QStringLiteral("Raporlar"));
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const QString stem = QStringLiteral("Kitap-") + now.toString(QStringLiteral("yyyyMMdd-hhmmss"));
    std::filesystem::path file = folder / toPath(stem + QStringLiteral(".xlsx"));
    for (int n = 2; std::filesystem::exists(file); ++n)
        file = folder / toPath(stem + QStringLiteral("-%1.xlsx").arg(n));
    book.saveAs(file);
    return file;
}

} // namespace kuvela::documents
