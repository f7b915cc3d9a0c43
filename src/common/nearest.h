#pragma once

#include <cmath>

namespace leafsong {

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
inline int Nearest(double v) {
    return static_cast<int>(std::nearbyint(v));
}

}  // namespace leafsong
