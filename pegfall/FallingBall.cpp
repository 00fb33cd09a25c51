#include "FallingBall.h"

#include "Conversions.h"
#include "PegBoard.h"
#include "PrngLibrary.h"

#include <cmath>

namespace pegfall {

void FallingBall::Reset(const PegBoard& board) {
    angle = 0;
    falling = false;
    row = 0;
    position = static_cast<float>(board.Levels() / 2.0);
    pivotX = Round16(board.PegLeft(0, 0) + PegBoard::kPegSize / 2 - board.Step() -
                     PegBoard::kBallSize / 2);
    pivotY = Round16(board.PegTop(0) - PegBoard::kBallSize);
    // Centred on the first peg and resting on it.
    left = static_cast<float>(pivotX + board.Step());
    top = static_cast<float>(pivotY);
}

int FallingBall::Tick(const PegBoard& board) {
    if (falling) {
        // Both sums in single precision, as the window's coordinates are.
        const float bottom = top + static_cast<float>(PegBoard::kBallSize);
        const float binsBottom =
            static_cast<float>(board.Results().top) + static_cast<float>(board.Results().height);
        if (bottom >= binsBottom)
            return static_cast<int>(platform::RoundHalfEven(position));
        top = static_cast<float>(top + fallSpeed);
        fallSpeed += kFallAcceleration;
        return -1;
    }
    if (angle <= 0 || angle >= kPi) {
        ++row;
        if (row > board.Levels()) {
            // Off the last row: the fall begins.
            fallSpeed = kFirstFallSpeed;
            top = static_cast<float>(top + kFirstFallSpeed);
            falling = true;
            return -1;
        }
        pivotX = Round16(board.PegLeft(0, 0) + PegBoard::kPegSize / 2 - PegBoard::kBallSize / 2 +
                         (position - board.Levels() / 2.0) * 2 * board.Step());
        if (platform::PRNGOpenDouble() >= 0.5) {
            increment = kSwingStep;
            position -= 0.5f;
        } else {
            increment = -kSwingStep;
            position += 0.5f;
        }
        pivotY = Round16(board.PegTop(0) - PegBoard::kBallSize + row * board.Step());
        angle = kHalfPi;
    }
    angle += increment;
    Place(board);
    return -1;
}

void FallingBall::Place(const PegBoard& board) {
    left = static_cast<float>(pivotX + std::cos(angle) * board.Step());
    top = static_cast<float>(pivotY - std::sin(angle) * board.Step());
}

} // namespace pegfall
