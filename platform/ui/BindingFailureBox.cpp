#include "BindingFailureBox.h"

#include "Dialogs.h"
#include "LibraryBinding.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

void SetBindingFailureBox(const QString& title) {
    SetBindingFailureHandler(
        [title](const BindingFailure& failure) { ShowBindingFailure(failure, title); });
}

void ShowBindingFailure(const BindingFailure& failure, const QString& title) {
    std::fprintf(stderr, "%s\n", failure.message.c_str());
    MessageBox(QString::fromStdString(failure.message), title, MessageIcon::Critical);
    std::exit(1);
}

} // namespace platform
