#pragma once
// Screen positions on the zoomed picture to image pixels. Each screen pixel
// lies over exactly one image pixel: the one it shows. (Rounding v × Den / Num
// + 0.5 to nearest would skip every other pixel at 1:1 and could name a pixel
// beyond the one under the mouse.)
#include <algorithm>
#include <cmath>

namespace tam32 {

inline int ScreenToImage(int V, int ScaleNum, int ScaleDen) {
    // A release far beyond a much reduced picture stays within int, with
    // room for the tools' sums of two points.
    constexpr double kLimit = 1e9;
    return static_cast<int>(std::clamp(std::floor(static_cast<double>(V) * ScaleDen / ScaleNum), -kLimit, kLimit));
}

}  // namespace tam32
