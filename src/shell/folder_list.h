#pragma once
// The file pane's folder list: shows the subfolders of its path. Setting the path,
// by the user or by code, always announces the change, as the window's handlers
// expect ("setting Dir1's path runs Dir1_Change").
#include <QListWidget>
#include <QString>

namespace kuvela {

class FolderList : public QListWidget {
    Q_OBJECT
    Q_PROPERTY(QString path READ path WRITE setPath NOTIFY pathChanged)

public:
    explicit FolderList(QWidget* parent = nullptr);

    QString path() const { return path_; }
    // False, and nothing changes, when the folder does not exist.
    bool setPath(const QString& folder);
    // Lists the subfolders of the path again.
    void refresh();

signals:
    void pathChanged(const QString& path);

private:
    QString path_;
};

} // namespace kuvela
