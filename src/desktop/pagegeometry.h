#pragma once
// Integer halves for the page layouts: a size divided by 2 and rounded to the nearest
// integer, halves to even (345 -> 172, 347 -> 174), as the page rules are stated.

namespace kvl {

constexpr int halfOf(int size)
{
    const int q = size / 2;
    if (size % 2 == 0)
        return q;
    // An exact half: round towards the even neighbour.
    const int lower = size > 0 ? q : q - 1;
    return lower % 2 == 0 ? lower : lower + 1;
}

static_assert(halfOf(345) == 172 && halfOf(347) == 174 && halfOf(400) == 200 && halfOf(1) == 0);

} // namespace kvl
