#pragma once

#include "ModelessDialog.h"

#include <QString>

class QLabel;
class QPushButton;
class frmCodetree;

namespace platform {
class TextBox;
}

// The target dialog of the Save command: where to write the compressed form of
// the opened plain file, or the decompressed form of the opened compressed one.
// The main window sets its captions before it shows it. It has no default
// button: Enter presses only the button that has the focus.
class frmFile : public platform::ModelessDialog {
public:
    static constexpr int kCompressContext = 43;
    static constexpr int kDecompressContext = 44;

    explicit frmFile(frmCodetree& owner);

    // Puts the chosen file of the save dialog into txtFile; a cancel keeps the text.
    void cmdBrowse_Click();
    // Writes to the path in txtFile, then closes; an empty path does nothing.
    void cmdCompress_Click();
    // The help page of the current help context.
    QString HelpPage() const;

    // The opened file is a compressed one.
    bool comp = false;
    int helpContext = kCompressContext;

    QLabel* lblCompress = nullptr;
    platform::TextBox* txtFile = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QPushButton* cmdCompress = nullptr;

private:
    frmCodetree& owner_;
};
