#pragma once

#include <QImage>

// Pegfall's pictures: a peg of 8 x 8 pixels and a ball of 16 x 16, round, on
// a transparent ground.

namespace pegfall {

QImage PegPicture();
QImage BallPicture();

} // namespace pegfall
