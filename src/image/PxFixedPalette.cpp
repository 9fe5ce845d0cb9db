#include <array>

#include "image/PxDIBTypes.h"

namespace tam32 {
namespace {

// 6 red x 7 green x 5 blue levels at 35r + 5g + b, then five extra colours.
constexpr std::array<RGBQUAD, 215> MakeFixedPalette() {
    constexpr uint8_t red[6] = {0, 51, 102, 153, 204, 255};
    constexpr uint8_t green[7] = {0, 43, 85, 128, 171, 214, 255};
    constexpr uint8_t blue[5] = {0, 64, 128, 192, 255};
    std::array<RGBQUAD, 215> table{};
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 7; ++g)
            for (int b = 0; b < 5; ++b) table[35 * r + 5 * g + b] = {blue[b], green[g], red[r], 0};
    // $000080, $008080, $800080, $C0C0C0, $808080 with red in the low byte
    constexpr TColor extras[5] = {0x000080, 0x008080, 0x800080, 0xC0C0C0, 0x808080};
    for (int i = 0; i < 5; ++i)
        table[210 + i] = {GetBValue(extras[i]), GetGValue(extras[i]), GetRValue(extras[i]), 0};
    return table;
}

}  // namespace

const std::array<RGBQUAD, 215> PxFixedPaletteColors = MakeFixedPalette();

}  // namespace tam32
