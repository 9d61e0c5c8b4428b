#pragma once
// A new workbook of texts for the user, saved under Raporlar and opened with the
// desktop's spreadsheet program.
#include <QDateTime>
#include <QString>
#include <filesystem>
#include <map>
#include <utility>

namespace kuvela::documents {

using SheetTexts = std::map<std::pair<int, int>, QString>;  // (row, column) from 1

// Writes the texts as strings into the first sheet of a new workbook at
// Raporlar/Kitap-<yyyyMMdd-hhmmss>.xlsx of the program folder (a further "-2", "-3"
// when that name is taken) and returns its path. Throws WorkbookError.
std::filesystem::path saveReportBook(const SheetTexts& texts, const QDateTime& now);

} // namespace kuvela::documents
