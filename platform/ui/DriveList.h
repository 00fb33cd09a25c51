#pragma once

#include <QComboBox>
#include <QString>
#include <functional>
#include <vector>

// The drives of this platform are its mounted file systems, each named by the
// folder it is mounted on (its root). The list comes from the installed drive
// source: by default the system's mounted volumes that are ready, without
// package images (squashfs) and without pseudo file systems, and always "/";
// tests install their own.

namespace platform {

struct MountedDrive {
    QString root; // absolute, without a trailing "/" except for "/" itself
    QString name; // the volume label, empty when it has none
};

using DriveSource = std::function<std::vector<MountedDrive>()>;

// The drives, ordered by root.
std::vector<MountedDrive> MountedDrives();
// Null restores the system's list.
void SetDriveSource(DriveSource source);
// The root of the drive holding path (the longest root that contains it), or an
// empty text when no drive does.
QString DriveOf(const QString& path);

// A drop-down list of the drives, shown as their root and label ("/media/stick
// [STICK]"). At first it shows the drive of the current folder; the list is read
// again when the user opens it, so that new drives show.
//
// onChange runs when the user chooses another drive than the one shown, and when
// SetDrive changes it. Leadigit's chooser opens the folder list on the chosen
// drive there, and when that fails reports it and puts the drive list back with
// SetDrive(folder list's path).

class DriveList : public QComboBox {
public:
    explicit DriveList(QWidget* parent = nullptr);

    std::function<void()> onChange;

    // The chosen drive's root, empty when there is none.
    QString Drive() const;
    // Chooses the drive holding path; false, and nothing changes, when no drive does.
    bool SetDrive(const QString& path);
    std::vector<MountedDrive> Drives() const { return drives_; }

    // Reads the drives again, keeping the chosen one when it is still there, else
    // choosing the drive that holds its root (raising Change).
    void Refresh();

    // Chooses drive index as the user would; a disabled list ignores it.
    void Choose(int index);

    void showPopup() override;

private:
    void Fill();
    void Select(int index);

    std::vector<MountedDrive> drives_;
    int shown_ = -1;
};

} // namespace platform
