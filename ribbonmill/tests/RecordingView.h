#pragma once

#include "TapeView.h"

#include <vector>

// A view that notes what the tape and the machine tell the window.
struct RecordingView : ribbonmill::TapeView {
    void ShowBox(int box) override { boxes.push_back(box); }
    void ShowBoxes() override { ++rows; }
    void UpdateCur(int32_t curoffset) override { marker.push_back(curoffset); }

    std::vector<int> boxes;
    int rows = 0;
    std::vector<int32_t> marker;
};
