#pragma once
// The download report of the issued invoices: one sheet per result page, each new
// sheet before the active one, every value a text cell; and its live preview.
#include "platform/workbook.h"

#include <QString>
#include <QWidget>
#include <filesystem>
#include <optional>

class QTabWidget;
class QTableWidget;

namespace kuvela {

// <program folder>/Raporlar/<company>-<yyyy-MM> Satış Faturaları İndirme Raporu.xlsx
std::filesystem::path downloadReportPath(const QString& company, const QString& yilveay);

// A non-modal window that shows the rows as they are written.
class DownloadReportPreview : public QWidget {
    Q_OBJECT
public:
    explicit DownloadReportPreview(QWidget* parent);
    void newPage(const QString& sheetName);
    void setCell(int row, int col, const QString& text);
    QTabWidget* tabs() const { return tabs_; }

private:
    QTabWidget* tabs_;
    QTableWidget* current_ = nullptr;
};

class DownloadReport {
public:
    explicit DownloadReport(DownloadReportPreview* preview = nullptr);

    // Page k's sheet "Sayfa<k+1>", before the active sheet and made active.
    void newPage();
    // A text cell of the current page; an empty text leaves the cell empty.
    void setCell(int row, int col, const QString& text);
    int pages() const { return pages_; }

    // Saves, making Raporlar when missing; the reason when it could not be saved.
    std::optional<QString> saveAs(const std::filesystem::path& file);

private:
    Workbook book_;
    Sheet* sheet_ = nullptr;
    int pages_ = 0;
    DownloadReportPreview* preview_;
};

} // namespace kuvela
