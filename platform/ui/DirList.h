#pragma once

#include <QString>
#include <QStringList>
#include <QTreeWidget>
#include <functional>
#include <map>
#include <vector>

// A folder list: the open folder with the folders above it up to its drive's root
// (DriveList.h), each indented under the one above, and under it the open
// folder's subfolders by name, hidden ones left out. The user opens a folder by
// double-clicking it or with Enter; an entry that cannot be opened beeps and the
// list stays. Entries are numbered from 0, top to bottom; List gives their full
// paths. The list opens the current folder at first.
//
// onChange runs when the open folder changes, by the user or by SetPath and
// SetDrive.

namespace platform {

class DirList : public QTreeWidget {
public:
    explicit DirList(QWidget* parent = nullptr);

    std::function<void()> onChange;

    // The open folder, absolute.
    QString Path() const { return path_; }
    // Opens a folder (relative to the current folder); false when it cannot be
    // opened, and then the list stays as it was. Opening the open folder again
    // reads its subfolders again.
    bool SetPath(const QString& path);
    // Opens the drive with this root at its current folder: the folder the list
    // last had open on it, or when there is none, or it cannot be opened any
    // more, the root. False, and the list stays, when neither can be opened. On
    // the drive already open, it stays.
    bool SetDrive(const QString& root);

    int ListCount() const { return static_cast<int>(paths_.size()); }
    QString List(int index) const;
    // The highlighted entry, -1 for none.
    int ListIndex() const;
    // The open folder's subfolders, full paths in the order shown.
    QStringList SubFolders() const;

    // Opens an entry as the user would by double-clicking it (a disabled list
    // ignores it); false when it cannot be opened.
    bool OpenEntry(int index);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // The entries are indented without branch marks: nothing folds.
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}

private:
    bool Open(const QString& folder);

    QString path_;
    std::vector<QString> paths_;
    std::vector<QTreeWidgetItem*> items_;
    int firstSubFolder_ = 0;
    std::map<QString, QString> lastFolder_;
};

} // namespace platform
