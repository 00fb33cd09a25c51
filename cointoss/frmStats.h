#pragma once

#include "ModelessDialog.h"

#include <cstdint>
#include <vector>

namespace platform {
class Surface;
}

// A chart window of Cointoss, "One-block statistics": the counts of the runs of
// each length from 1 up as horizontal bars. Each is a snapshot that its owner
// fills before showing it, and it is destroyed when closed.
class frmStats : public platform::ModelessDialog {
public:
    explicit frmStats(QWidget* owner);

    // stats becomes a new array 0 to upper, all 0.
    void ReDimStats(int32_t upper);
    void SetStats(int32_t pos, int32_t val);
    // The window's outer height, title bar and borders included, in twips;
    // limited to the screen's available height.
    void SetOuterHeightTwips(int64_t twips);
    // The outer height in pixels that the last SetOuterHeightTwips asked for.
    int RequestedOuterHeight() const { return requestedOuterHeight_; }

    platform::Surface* surface = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Form_Paint();

    std::vector<int32_t> stats_{0};
    int requestedOuterHeight_ = 0;
};
