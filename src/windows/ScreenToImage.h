#pragma once
// Screen positions on the zoomed picture to image pixels. Each screen pixel
// lies over exactly one image pixel: the one it shows. (Rounding v × Den / Num
// + 0.5 to nearest would skip every other pixel at 1:1 and could name a pixel
// beyond the one under the mouse.)
#include <cmath>

namespace tam32 {

inline int ScreenToImage(int V, int ScaleNum, int ScaleDen) {
    return static_cast<int>(std::floor(static_cast<double>(V) * ScaleDen / ScaleNum));
}

}  // namespace tam32
