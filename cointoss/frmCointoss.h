#pragma once

#include "RunCounts.h"

#include <QString>
#include <QWidget>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace platform {
class MultiLineTextBox;
class TextBox;
} // namespace platform

// The main window of Cointoss: a sequence of "0" and "1", typed or generated at
// random, and its runs of ones counted by length, each count shown in a new
// chart window (frmStats). The window has a fixed size and works in pixels.
class frmCointoss : public QWidget {
public:
    // The program's page of the help file, opened by F1.
    static constexpr const char* kHelpTopic = "cointoss.htm";

    explicit frmCointoss(QWidget* parent = nullptr);
    ~frmCointoss() override;

    void optRandom_Click();
    void optManual_Click();
    void txtSeq_Change();
    void cmdGen_Click();
    void cmdStats_Click();
    void ShowLength();

    QString seq;
    cointoss::RunCounts counts;

    QGroupBox* frmMode = nullptr;
    QRadioButton* optManual = nullptr;
    QRadioButton* optRandom = nullptr;
    platform::TextBox* txtLength = nullptr;
    QLabel* lblChars = nullptr;
    QPushButton* cmdGen = nullptr;
    platform::MultiLineTextBox* txtSeq = nullptr;
    QPushButton* cmdStats = nullptr;
    QLabel* lblLength = nullptr;

private:
    void Form_Load();
    // txtSeq shows text without raising the manual mode's copy into seq.
    void ShowSequence(const QString& text);
};
