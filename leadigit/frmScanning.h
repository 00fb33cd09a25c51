#pragma once

#include "ModelessDialog.h"

class QLabel;
class QPushButton;
class frmLeadigit;

// The progress window of a folder scan: the path of a file just listed, and
// Stop. Closing it by its frame or with Escape stops the scan too; the scan
// closes the window when it ends.
class frmScanning : public platform::ModelessDialog {
public:
    explicit frmScanning(frmLeadigit& owner);

    void cmdStop_Click();

    QLabel* lblFile = nullptr;
    QPushButton* cmdStop = nullptr;

protected:
    void reject() override;

private:
    frmLeadigit& owner_;
};
