#pragma once

#include <cstdint>

// One cell of the tape: its symbol (-1 the blank, 0 to 9 a digit) and its two
// neighbours, null at the ends of the tape. Cells belong to their tape.

namespace ribbonmill {

struct clsTapeElement {
    int16_t symbol = -1;
    clsTapeElement* p = nullptr; // the cell to the left
    clsTapeElement* n = nullptr; // the cell to the right
};

} // namespace ribbonmill
