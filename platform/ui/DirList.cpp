#include "DirList.h"

#include "DriveList.h"
#include "Sound.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>
#include <stdexcept>
#include <string>

namespace platform {

namespace {

QString Absolute(const QString& path) {
    return QDir::cleanPath(QDir(path).absolutePath());
}

} // namespace

DirList::DirList(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setExpandsOnDoubleClick(false);
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        for (std::size_t i = 0; i < items_.size(); ++i) {
            if (items_[i] == item) {
                OpenEntry(static_cast<int>(i));
                return;
            }
        }
    });
    if (!Open(QDir::currentPath())) {
        Open("/");
    }
}

bool DirList::SetPath(const QString& path) {
    const QString before = path_;
    if (!Open(Absolute(path))) {
        return false;
    }
    if (path_ != before && onChange) {
        onChange();
    }
    return true;
}

bool DirList::SetDrive(const QString& root) {
    const QString target = Absolute(root);
    const QString here = DriveOf(path_);
    if (!here.isEmpty() && here == target) {
        return true;
    }
    const QString before = path_;
    const auto remembered = lastFolder_.find(target);
    if (!(remembered != lastFolder_.end() && Open(remembered->second)) && !Open(target)) {
        return false;
    }
    if (!here.isEmpty()) {
        lastFolder_[here] = before;
    }
    if (path_ != before && onChange) {
        onChange();
    }
    return true;
}

QString DirList::List(int index) const {
    if (index < 0 || index >= ListCount()) {
        throw std::out_of_range("folder list index " + std::to_string(index) + " of " +
                                std::to_string(ListCount()));
    }
    return paths_[index];
}

int DirList::ListIndex() const {
    const QTreeWidgetItem* current = currentItem();
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i] == current) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

QStringList DirList::SubFolders() const {
    QStringList folders;
    for (std::size_t i = firstSubFolder_; i < paths_.size(); ++i) {
        folders.append(paths_[i]);
    }
    return folders;
}

bool DirList::OpenEntry(int index) {
    const QString folder = List(index);
    if (!isEnabled()) {
        return false;
    }
    if (!SetPath(folder)) {
        Beep();
        return false;
    }
    return true;
}

void DirList::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && ListIndex() >= 0 && List(ListIndex()) != path_) {
        OpenEntry(ListIndex());
        event->accept();
        return;
    }
    // Enter on the open folder goes on to the window (its default button).
    QTreeWidget::keyPressEvent(event);
}

bool DirList::Open(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isReadable() || !info.isExecutable()) {
        return false;
    }
    const QFileInfoList subFolders =
        QDir(folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);

    QString root = DriveOf(folder);
    if (root.isEmpty()) {
        root = "/";
    }
    QStringList chain{root};
    const QString below = root == "/" ? folder.mid(1) : folder.mid(root.size() + 1);
    for (const QString& name : below.split('/', Qt::SkipEmptyParts)) {
        chain.append(chain.back() == "/" ? "/" + name : chain.back() + "/" + name);
    }

    clear();
    paths_.clear();
    items_.clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    QTreeWidgetItem* parent = nullptr;
    for (const QString& path : chain) {
        const QString name = parent == nullptr ? path : QFileInfo(path).fileName();
        auto* item = parent == nullptr ? new QTreeWidgetItem(this, QStringList{name})
                                       : new QTreeWidgetItem(parent, QStringList{name});
        item->setIcon(0, open);
        paths_.push_back(path);
        items_.push_back(item);
        parent = item;
    }
    firstSubFolder_ = static_cast<int>(paths_.size());
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    for (const QFileInfo& sub : subFolders) {
        auto* item = new QTreeWidgetItem(parent, QStringList{sub.fileName()});
        item->setIcon(0, closed);
        paths_.push_back(Absolute(sub.filePath()));
        items_.push_back(item);
    }
    expandAll();
    path_ = folder;
    setCurrentItem(parent);
    return true;
}

} // namespace platform
