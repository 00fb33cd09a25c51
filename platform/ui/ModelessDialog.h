#pragma once

#include <QDialog>

// A dialog window owned by a main window and shown without blocking it. It stays
// above its owner, is closed when the owner is closed or hidden from code (hidden
// even when its reject() keeps it open, as a progress window's does), and is
// destroyed with it. Closing only hides it, so the form can show it again with the
// controls as they were; a dialog set to be destroyed when closed is deleted
// instead (soon after, by the event loop), so each showing is a fresh window. A
// tool window has the small title bar of a palette.

namespace platform {

class ModelessDialog : public QDialog {
public:
    explicit ModelessDialog(QWidget* owner, bool toolWindow = false);

    // Shows the dialog, or brings it to the front when already shown.
    void ShowModeless();

    void SetDestroyedOnClose(bool destroyed) { setAttribute(Qt::WA_DeleteOnClose, destroyed); }
    bool DestroyedOnClose() const { return testAttribute(Qt::WA_DeleteOnClose); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace platform
