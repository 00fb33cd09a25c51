#include "Modal.h"

#include <QDialog>

namespace platform {

namespace {

std::function<void(QDialog&)>& Hook() {
    static std::function<void(QDialog&)> hook;
    return hook;
}

} // namespace

void ShowModal(QDialog& dialog) {
    if (Hook()) {
        // A copy, so that the hook may replace or remove itself.
        const std::function<void(QDialog&)> hook = Hook();
        hook(dialog);
        return;
    }
    dialog.exec();
}

void SetModalHook(std::function<void(QDialog&)> hook) {
    Hook() = std::move(hook);
}

} // namespace platform
