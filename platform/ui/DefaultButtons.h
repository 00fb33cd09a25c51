#pragma once

#include <QObject>
#include <QPointer>

class QPushButton;
class QWidget;

// The default and cancel buttons of a window, on a plain window as on a dialog.
// Enter (or the keypad's Enter) presses the command button that has the focus,
// or else the default button; Escape presses the cancel button wherever the
// focus is. A button that is disabled or hidden is not pressed. A key the focused
// control uses itself (Enter in a multi-line text box) stays with it, as do keys
// held with Shift, Ctrl or Alt. The button Enter would press is drawn as the
// default one. A form changes its default button while it runs with SetDefault,
// for example when a control gets the focus.
//
// Without a cancel button Escape is left to the window (a dialog closes).

namespace platform {

class DefaultButtons : public QObject {
public:
    // Serves window's top-level window and lives as long as it does.
    explicit DefaultButtons(QWidget* window);

    // Null for none.
    void SetDefault(QPushButton* button);
    void SetCancel(QPushButton* button);
    QPushButton* Default() const { return default_; }
    QPushButton* Cancel() const { return cancel_; }

    // The button Enter presses now: the focused command button of the window,
    // else the default button; null when there is none.
    QPushButton* EnterButton() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Press(QPushButton* button) const;
    void ShowEnterButton();

    QWidget* window_;
    QPointer<QPushButton> default_;
    QPointer<QPushButton> cancel_;
    QPointer<QPushButton> shown_;
};

} // namespace platform
