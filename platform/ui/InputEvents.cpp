#include "InputEvents.h"

namespace platform {

int ButtonCode(Qt::MouseButtons buttons) {
    int code = 0;
    if (buttons & Qt::LeftButton) {
        code |= kLeftButton;
    }
    if (buttons & Qt::RightButton) {
        code |= kRightButton;
    }
    if (buttons & Qt::MiddleButton) {
        code |= kMiddleButton;
    }
    return code;
}

int ShiftCode(Qt::KeyboardModifiers modifiers) {
    int code = 0;
    if (modifiers & Qt::ShiftModifier) {
        code |= kShiftKey;
    }
    if (modifiers & Qt::ControlModifier) {
        code |= kCtrlKey;
    }
    if (modifiers & Qt::AltModifier) {
        code |= kAltKey;
    }
    return code;
}

bool IsFocusMove(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

} // namespace platform
