#pragma once

#include <cstdint>

// What a tape and its machine tell the window that shows them: a box of the
// row of twenty to show again, the whole row, and the head's position counted
// from the first box. A tape without a view tells no one.

namespace ribbonmill {

class TapeView {
public:
    virtual ~TapeView() = default;

    // Box `box` (0 to 19) shows its cell's symbol again.
    virtual void ShowBox(int box) = 0;
    // Every box shows its cell's symbol again.
    virtual void ShowBoxes() = 0;
    // The head marker goes to box `curoffset`, or to the scroll button on the
    // side the head has left the window.
    virtual void UpdateCur(int32_t curoffset) = 0;
};

} // namespace ribbonmill
