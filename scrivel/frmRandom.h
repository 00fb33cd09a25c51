#pragma once

#include <QDialog>

class QPushButton;

namespace platform {
class MultiLineTextBox;
}

// The random text of one generation, shown modally and saved as a text file. OK
// closes the window; each generation opens a fresh one.
class frmRandom : public QDialog {
public:
    explicit frmRandom(QWidget* owner);

    void cmdOK_Click();
    void cmdSave_Click();

    platform::MultiLineTextBox* txtText = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSave = nullptr;
};
