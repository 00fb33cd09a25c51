#pragma once

#include <cstdint>

// The animated ball of Pegfall: resting on the first peg, swinging on a half
// circle of radius step from peg to peg, one row per swing, then falling into
// the bin area faster at every tick until it reaches its bottom, where it is
// counted. Each swing draws PRNGOpenDouble once: a draw >= 0.5 swings to the
// left. Angle, increment and the end test of a swing are doubles as written;
// the ball's place and its bin coordinate are single precision, as the
// window keeps them.

namespace pegfall {

class PegBoard;

class FallingBall {
public:
    static constexpr double kPi = 3.1415926536;
    static constexpr double kHalfPi = 1.5707963268;
    // A swing's angle changes by this many radians a tick.
    static constexpr double kSwingStep = kPi / 20;
    // The speed of a ball leaving the last row, and what each tick adds.
    static constexpr double kFirstFallSpeed = 10;
    static constexpr double kFallAcceleration = 2;

    // Back on top of the first peg: angle 0, not falling, row 0, at the middle bin coordinate.
    void Reset(const PegBoard& board);
    // One frame. Gives the bin the ball landed in on this tick (it must then be
    // counted and reset), or -1.
    int Tick(const PegBoard& board);

    double angle = 0;
    double increment = 0;
    int pivotX = 0; // 16-bit, as the window keeps them
    int pivotY = 0;
    float position = 0;
    int row = 0;
    double fallSpeed = 0;
    bool falling = false;
    // The ball picture's top-left corner.
    float left = 0;
    float top = 0;

private:
    void Place(const PegBoard& board);
};

} // namespace pegfall
