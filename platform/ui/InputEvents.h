#pragma once

#include <Qt>

// Mouse and key events as the forms receive them: pixel coordinates relative to
// the control, buttons and modifier keys as bit masks, keys as Qt::Key codes.

namespace platform {

enum MouseButtons : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum ShiftKeys : int { kShiftKey = 1, kCtrlKey = 2, kAltKey = 4 };

struct MouseEvent {
    int button = 0; // the button that changed (press, release) or those held (move)
    int shift = 0;  // ShiftKeys held
    int x = 0;
    int y = 0;
};

struct KeyEvent {
    int key = 0; // a Qt::Key value, e.g. Qt::Key_Left
    int shift = 0;
};

// The codes above from Qt's.
int ButtonCode(Qt::MouseButtons buttons);
int ShiftCode(Qt::KeyboardModifiers modifiers);

// Whether a focus change is one the forms see as GotFocus and LostFocus: a move
// between the controls of a window, not the window being activated or left, nor a
// pop-up menu taking the focus for a while.
bool IsFocusMove(Qt::FocusReason reason);

} // namespace platform
