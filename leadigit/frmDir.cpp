#include "frmDir.h"

#include "Color.h"
#include "DefaultButtons.h"
#include "Dialogs.h"
#include "DirList.h"
#include "DriveList.h"
#include "Help.h"
#include "frmLeadigit.h"

#include <QPushButton>

frmDir::frmDir(QWidget* owner) : QDialog(owner) {
    setWindowTitle("Scan directory...");
    using platform::TwipsRect;
    Drive1 = new platform::DriveList(this);
    Drive1->setGeometry(TwipsRect(120, 120, 4200, 315));
    Dir1 = new platform::DirList(this);
    Dir1->setGeometry(TwipsRect(120, 540, 4200, 3000));
    cmdOK = new QPushButton("OK", this);
    cmdOK->setGeometry(TwipsRect(1080, 3660, 1500, 400));
    cmdCancel = new QPushButton("Cancel", this);
    cmdCancel->setGeometry(TwipsRect(2820, 3660, 1500, 400));
    setFixedSize(platform::TwipsToPixels(4440), platform::TwipsToPixels(4200));

    auto* buttons = new platform::DefaultButtons(this);
    buttons->SetDefault(cmdOK);
    buttons->SetCancel(cmdCancel);
    platform::BindHelpKey(this, frmLeadigit::kHelpTopic);

    // The two lists start on the same drive.
    Drive1->SetDrive(Dir1->Path());
    Drive1->onChange = [this] { Drive1_Change(); };
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void frmDir::Drive1_Change() {
    if (restoring_)
        return;
    if (Dir1->SetDrive(Drive1->Drive()))
        return;
    platform::MessageBox("This drive is unavailable", "Change drive",
                         platform::MessageIcon::Information);
    restoring_ = true;
    Drive1->SetDrive(Dir1->Path());
    restoring_ = false;
}

void frmDir::cmdOK_Click() {
    path = Dir1->Path();
    cancelled = false;
    accept();
}

void frmDir::cmdCancel_Click() {
    cancelled = true;
    QDialog::reject();
}

void frmDir::reject() {
    cmdCancel_Click();
}
