#include "windows/LightLevel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "platform/Bitmap.h"

namespace tam32 {
namespace {

using TLevels = std::array<uint8_t, 256>;

TLevels Levels(float Factor) {
    TLevels levels{};
    for (int v = 1; v < 256; ++v) {
        const double scaled = std::nearbyint(std::pow(v / 255.0, 1.0 / Factor) * 255.0);
        levels[v] = static_cast<uint8_t>(std::clamp(scaled, 0.0, 255.0));
    }
    return levels;
}

}  // namespace

void ApplyLightLevel(TBitmap& Picture, float Red, float Green, float Blue) {
    if (Red * Green * Blue == 0) return;
    Picture.SetPixelFormat(TPixelFormat::pf24bit);
    // A 24-bit row holds blue, green and red in that order.
    const std::array<TLevels, 3> levels = {Levels(Blue), Levels(Green), Levels(Red)};
    const int rowBytes = Picture.Width() * 3;
    for (int y = 0; y < Picture.Height(); ++y) {
        uint8_t* row = Picture.ScanLine(y);
        for (int i = 0; i < rowBytes; ++i) row[i] = levels[i % 3][row[i]];
    }
}

}  // namespace tam32
