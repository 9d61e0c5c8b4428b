#include "shell/folder_list.h"

#include <QCollator>
#include <QDir>
#include <QLocale>
#include <algorithm>
#include <QFileInfo>

namespace kuvela {

namespace {
const QString kUp = QStringLiteral("..");
}

FolderList::FolderList(QWidget* parent)
    : QListWidget(parent)
{
    connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (item->text() == kUp)
            setPath(QFileInfo(path_).absolutePath());
        else
            setPath(QDir(path_).filePath(item->text()));
    });
}

bool FolderList::setPath(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.isDir())
        return false;
    path_ = QDir::cleanPath(info.absoluteFilePath());
    refresh();
    emit pathChanged(path_);
    return true;
}

void FolderList::refresh()
{
    clear();
    if (path_.isEmpty())
        return;
    QDir dir(path_);
    if (!dir.isRoot())
        addItem(kUp);
    // Sorted as a Turkish reader expects: Ç after C, I before İ, Ş after S.
    QStringList names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCollator order{QLocale(QLocale::Turkish, QLocale::Turkey)};
    order.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), order);
    addItems(names);
}

} // namespace kuvela
