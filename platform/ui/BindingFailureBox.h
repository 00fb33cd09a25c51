#pragma once

#include <QString>

// How a program with windows reports a library it cannot bind: the failure's
// message (naming the library and the entry) on stderr and in a message box
// with the critical icon and the program's title, then the program ends with
// exit code 1.

namespace platform {

struct BindingFailure;

// Installs that report as the binding failure handler (SetBindingFailureHandler).
void SetBindingFailureBox(const QString& title);

[[noreturn]] void ShowBindingFailure(const BindingFailure& failure, const QString& title);

} // namespace platform
