#pragma once

#include <QPixmap>
#include <array>

// The five car pictures of the game, 101 x 54 each, drawn on a transparent
// ground: 3 and 4 approach, 0 and 1 come close (0 also passes), 2 is the crash.
std::array<QPixmap, 5> MakeGameCars();
