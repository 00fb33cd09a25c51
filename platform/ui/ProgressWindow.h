#pragma once

#include "ModelessDialog.h"

#include <QString>
#include <functional>

class QLabel;
class QPushButton;

// The progress window of a long operation, shown without blocking its owner: a
// line saying what runs, a progress bar, and Cancel. Cancel, Escape and the close
// box all ask the operation to stop (onCancel); the window stays until the
// operation has seen the cancel, ended, and hidden it. F1 shows the owner's help
// page. A program's own progress window is a thin subclass that names the label
// and the bar as its texts do.

namespace platform {

class ProgressBar;

struct ProgressWindowSetup {
    QString title;
    QString text;        // the first line shown, changeable later through Label()
    int textWidth = 300; // the least width of the line, in pixels
    QString helpTopic;
    std::function<void()> onCancel;
};

class ProgressWindow : public ModelessDialog {
public:
    ProgressWindow(QWidget* owner, ProgressWindowSetup setup);

    void cmdCancel_Click();

    QLabel* Label() const { return label_; }
    ProgressBar* Progress() const { return progress_; }

    QPushButton* cmdCancel = nullptr;

protected:
    void reject() override;

private:
    QLabel* label_ = nullptr;
    ProgressBar* progress_ = nullptr;
    std::function<void()> onCancel_;
};

} // namespace platform
