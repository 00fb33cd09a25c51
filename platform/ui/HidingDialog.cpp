#include "HidingDialog.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace platform {

HidingDialog::HidingDialog(QWidget* owner) : QDialog(owner) {
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void HidingDialog::closeEvent(QCloseEvent* event) {
    // Hiding ends the modal loop of ShowModal.
    event->ignore();
    hide();
}

void HidingDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace platform
