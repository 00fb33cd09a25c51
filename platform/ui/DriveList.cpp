#include "DriveList.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>
#include <stdexcept>
#include <string>

namespace platform {

namespace {

std::vector<MountedDrive> SystemDrives() {
    std::vector<MountedDrive> drives;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady() || volume.fileSystemType() == "squashfs" ||
            !QFileInfo(volume.rootPath()).isDir()) {
            continue;
        }
        drives.push_back({volume.rootPath(), volume.name()});
    }
    // The root file system is always there, even where it is of a kind the
    // system's list leaves out (an overlay in a container).
    if (std::none_of(drives.begin(), drives.end(),
                     [](const MountedDrive& drive) { return drive.root == "/"; })) {
        drives.push_back({"/", QString()});
    }
    return drives;
}

DriveSource& Source() {
    static DriveSource source;
    return source;
}

bool Contains(const QString& root, const QString& path) {
    return root == "/" || path == root || path.startsWith(root + '/');
}

} // namespace

std::vector<MountedDrive> MountedDrives() {
    std::vector<MountedDrive> drives = Source() ? Source()() : SystemDrives();
    for (MountedDrive& drive : drives) {
        drive.root = QDir::cleanPath(QDir(drive.root).absolutePath());
    }
    std::stable_sort(drives.begin(), drives.end(),
                     [](const MountedDrive& a, const MountedDrive& b) { return a.root < b.root; });
    // A file system mounted twice on one folder is one drive.
    drives.erase(std::unique(drives.begin(), drives.end(),
                             [](const MountedDrive& a, const MountedDrive& b) {
                                 return a.root == b.root;
                             }),
                 drives.end());
    return drives;
}

void SetDriveSource(DriveSource source) {
    Source() = std::move(source);
}

QString DriveOf(const QString& path) {
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    QString best;
    for (const MountedDrive& drive : MountedDrives()) {
        if (Contains(drive.root, clean) && drive.root.size() > best.size()) {
            best = drive.root;
        }
    }
    return best;
}

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    Fill();
    shown_ = findData(DriveOf(QDir::currentPath()));
    setCurrentIndex(shown_);
    connect(this, &QComboBox::activated, this, [this](int index) { Select(index); });
}

QString DriveList::Drive() const {
    return currentIndex() < 0 ? QString() : currentData().toString();
}

bool DriveList::SetDrive(const QString& path) {
    const int index = findData(DriveOf(path));
    if (index < 0) {
        return false;
    }
    Select(index);
    return true;
}

void DriveList::Refresh() {
    const QString before = Drive();
    Fill();
    const int kept = findData(before);
    if (kept >= 0 || before.isEmpty()) {
        shown_ = kept >= 0 ? kept : findData(DriveOf(QDir::currentPath()));
        setCurrentIndex(shown_);
        return;
    }
    shown_ = -1;
    setCurrentIndex(-1);
    Select(findData(DriveOf(before)));
}

void DriveList::Choose(int index) {
    if (index < 0 || index >= count()) {
        throw std::out_of_range("drive index " + std::to_string(index) + " of " +
                                std::to_string(count()));
    }
    if (isEnabled()) {
        Select(index);
    }
}

void DriveList::showPopup() {
    Refresh();
    QComboBox::showPopup();
}

void DriveList::Fill() {
    drives_ = MountedDrives();
    clear();
    for (const MountedDrive& drive : drives_) {
        addItem(drive.name.isEmpty() ? drive.root : drive.root + " [" + drive.name + "]",
                drive.root);
    }
}

void DriveList::Select(int index) {
    setCurrentIndex(index);
    if (index != shown_) {
        shown_ = index;
        if (onChange) {
            onChange();
        }
    }
}

} // namespace platform
