#include "analysis/geometry/LightLevel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "analysis/core/PictureRows.h"
#include "analysis/core/RowBlocks.h"
#include "platform/Bitmap.h"

namespace tam32 {
namespace {

using TLevels = std::array<uint8_t, 256>;

// The new value of every byte value under one factor, so that the pixel loop only looks up.
TLevels Levels(float Factor) {
    TLevels Result{};
    for (int V = 1; V < 256; ++V) {
        const double Scaled = std::nearbyint(std::pow(V / 255.0, 1.0 / Factor) * 255.0);
        Result[V] = static_cast<uint8_t>(std::clamp(Scaled, 0.0, 255.0));
    }
    return Result;
}

}  // namespace

void ApplyLightLevel(TBitmap& Picture, float Red, float Green, float Blue) {
    if (Red * Green * Blue == 0) return;
    Picture.SetPixelFormat(TPixelFormat::pf24bit);
    const TLevels B = Levels(Blue), G = Levels(Green), R = Levels(Red);
    const std::size_t RowBytes = std::size_t(Picture.Width()) * 3;
    const std::vector<uint8_t*> Rows = WritableRows(Picture, {0, 0, Picture.Width() - 1, Picture.Height() - 1});
    ForEachRowBlock(0, Picture.Height() - 1, [&](const TRowBlock& Block) {
        for (int Y = Block.First; Y <= Block.Last; ++Y) {
            uint8_t* Row = Rows[std::size_t(Y)];
            // A 24-bit pixel holds blue, green and red in that order.
            for (uint8_t* P = Row; P < Row + RowBytes; P += 3) {
                P[0] = B[P[0]];
                P[1] = G[P[1]];
                P[2] = R[P[2]];
            }
        }
    });
}

}  // namespace tam32
