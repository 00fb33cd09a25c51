#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;

namespace platform {
class DefaultButtons;
class Slider;
} // namespace platform

// The main window of Reactimer: the number of stages and of trials per stage,
// whether a warm-up comes first and whether the keys sound, and the commands
// that begin a test and that open stored results.
class frmReactimer : public QWidget {
public:
    explicit frmReactimer(QWidget* parent = nullptr);
    ~frmReactimer() override;

    void cmdTest_Click();
    void cmdOpen_Click();

    QLabel* lblNums = nullptr;
    platform::Slider* slNums = nullptr;
    QLabel* lblTrials = nullptr;
    platform::Slider* slTrials = nullptr;
    QCheckBox* chkWarmup = nullptr;
    QCheckBox* chkSounds = nullptr;
    QPushButton* cmdTest = nullptr;
    QPushButton* cmdOpen = nullptr;

    // The program's page of the help, opened by F1 here and in the results window.
    static constexpr const char* kHelpTopic = "reactimer.htm";

private:
    platform::DefaultButtons* buttons_ = nullptr;
};
