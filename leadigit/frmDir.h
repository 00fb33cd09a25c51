#pragma once

#include <QDialog>
#include <QString>

class QPushButton;

namespace platform {
class DirList;
class DriveList;
} // namespace platform

// The chooser of the folder to scan: a drive list over a folder list, OK and
// Cancel. Its fields keep their values between uses; closing it by its frame
// or with Escape counts as Cancel.
class frmDir : public QDialog {
public:
    explicit frmDir(QWidget* owner);

    void Drive1_Change();
    void cmdOK_Click();
    void cmdCancel_Click();

    // The folder chosen with OK.
    QString path;
    bool cancelled = false;

    platform::DriveList* Drive1 = nullptr;
    platform::DirList* Dir1 = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    void reject() override;

private:
    // Set while the drive list is put back after a drive failed to open.
    bool restoring_ = false;
};
