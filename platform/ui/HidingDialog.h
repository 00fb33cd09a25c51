#pragma once

#include <QDialog>

// A modal form that stays loaded between showings: closing it in any way (its
// title bar's close button, the window menu, close()) only hides it, like its own
// OK button would, so ShowModal returns and the form keeps its controls and data
// for the next showing. Escape does not close it. It is destroyed with its owner
// or by the program.

class QCloseEvent;
class QKeyEvent;

namespace platform {

class HidingDialog : public QDialog {
public:
    explicit HidingDialog(QWidget* owner);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace platform
