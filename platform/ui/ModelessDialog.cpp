#include "ModelessDialog.h"

#include <QEvent>

namespace platform {

ModelessDialog::ModelessDialog(QWidget* owner, bool toolWindow) : QDialog(owner) {
    setModal(false);
    if (toolWindow) {
        setWindowFlags((windowFlags() & ~Qt::WindowType_Mask) | Qt::Tool);
    }
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    if (owner != nullptr) {
        owner->installEventFilter(this);
    }
}

void ModelessDialog::ShowModeless() {
    show();
    raise();
    activateWindow();
}

bool ModelessDialog::eventFilter(QObject* watched, QEvent* event) {
    // A spontaneous hide is the window system minimising the owner; that keeps the
    // dialog open.
    if (watched == parent() && event->type() == QEvent::Hide && !event->spontaneous() &&
        isVisible()) {
        // The dialog's reject() runs as for any close, and may stop the work the
        // dialog shows; a dialog whose reject() keeps it open goes all the same.
        close();
        if (isVisible()) {
            hide();
            if (DestroyedOnClose())
                deleteLater();
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace platform
