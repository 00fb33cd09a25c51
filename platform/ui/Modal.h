#pragma once

#include <functional>

class QDialog;

// Modal forms: ShowModal runs a dialog until it is closed, blocking its owner.
// Tests install a hook that receives the dialog instead, so no test waits on a
// window; the hook may press its buttons or read its controls.

namespace platform {

void ShowModal(QDialog& dialog);

// Null removes the hook.
void SetModalHook(std::function<void(QDialog&)> hook);

} // namespace platform
