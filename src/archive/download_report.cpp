#include "archive/download_report.h"

#include "platform/paths.h"

#include <QHeaderView>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <system_error>

namespace kuvela {

std::filesystem::path downloadReportPath(const QString& company, const QString& yilveay)
{
    return programFolder() / "Raporlar"
        / toPath(company + u'-' + yilveay + QStringLiteral(" Satış Faturaları İndirme Raporu.xlsx"));
}

DownloadReportPreview::DownloadReportPreview(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , tabs_(new QTabWidget(this))
{
    setObjectName(QStringLiteral("DownloadReportPreview"));
    setWindowTitle(QStringLiteral("Satış Faturaları İndirme Raporu"));
    (new QVBoxLayout(this))->addWidget(tabs_);
    resize(900, 400);
}

void DownloadReportPreview::newPage(const QString& sheetName)
{
    current_ = new QTableWidget(0, 0, tabs_);
    tabs_->insertTab(tabs_->currentIndex() < 0 ? 0 : tabs_->currentIndex(), current_, sheetName);
    tabs_->setCurrentWidget(current_);
}

void DownloadReportPreview::setCell(int row, int col, const QString& text)
{
    if (!current_)
        return;
    current_->setRowCount(std::max(current_->rowCount(), row));
    current_->setColumnCount(std::max(current_->columnCount(), col));
    current_->setItem(row - 1, col - 1, new QTableWidgetItem(text));
    current_->scrollToItem(current_->item(row - 1, col - 1));
}

DownloadReport::DownloadReport(DownloadReportPreview* preview)
    : book_(Workbook::create(QStringLiteral("Sayfa1")))
    , preview_(preview)
{
    if (preview_)
        preview_->newPage(QStringLiteral("Sayfa1"));
}

void DownloadReport::newPage()
{
    ++pages_;
    const QString name = QStringLiteral("Sayfa%1").arg(pages_ + 1);
    sheet_ = &book_.insertSheetBeforeActive(name);
    if (preview_)
        preview_->newPage(name);
}

void DownloadReport::setCell(int row, int col, const QString& text)
{
    if (!sheet_ || text.isEmpty())
        return;
    sheet_->setString(row, col, text);
    if (preview_)
        preview_->setCell(row, col, text);
}

std::optional<QString> DownloadReport::saveAs(const std::filesystem::path& file)
{
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    if (ec)
        return QString::fromStdString(ec.message());
    try {
        book_.saveAs(file);
    } catch (const WorkbookError& e) {
        return e.message();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return std::nullopt;
}

} // namespace kuvela
