#pragma once

#include <cmath>
#include <cstdint>

namespace tovrimo {

// Nearest integer, a tie going to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
// Every computed value that becomes an integer goes through here.
inline int64_t nearestEven(double x)
{
    return static_cast<int64_t>(std::nearbyint(x));  // default rounding mode: to nearest, ties even
}

// Halving in layout formulas: integer division truncating toward zero (-5 -> -2).
inline int64_t halfTowardZero(int64_t x)
{
    return x / 2;
}

}  // namespace tovrimo
