// Serpentine error diffusion of any uncompressed 1-, 4-, 8- or 24-bit image
// to the fixed 215-colour palette or to black and white.
#include <array>
#include <utility>

#include "image/PxMemory.h"
#include "image/PxReduce.h"
#include "image/PxReduceSupport.h"

namespace tam32 {
using namespace reduction;
namespace {

// Quantisation by lookup on the corrected value V'. The 8-bit dither keeps
// every error within +-32 (no channel's levels lie more than 64 apart, and a
// value outside 0..255 returns at most 29/32 of its excess), so V' stays in
// -29..284, well inside the tables.
constexpr int kTableMin = -256, kTableMax = 512;

struct TLevel {
    int16_t Value;  // the palette level chosen
    uint8_t Index;  // its share of the palette index, 35r, 5g or b
};

struct TLevelTable {
    TLevel At[kTableMax - kTableMin + 1];
    const TLevel& operator[](int32_t V) const { return At[V - kTableMin]; }
};

// Upper holds the last value of each level but the top one.
template <size_t N>
constexpr TLevelTable MakeLevels(const std::array<int, N>& Upper, const std::array<int, N + 1>& Values,
                                 int IndexStep) {
    TLevelTable t{};
    for (int v = kTableMin; v <= kTableMax; ++v) {
        size_t k = 0;
        while (k < N && v > Upper[k]) ++k;
        t.At[v - kTableMin] = {static_cast<int16_t>(Values[k]), static_cast<uint8_t>(k * IndexStep)};
    }
    return t;
}

constexpr TLevelTable kRedLevels = MakeLevels<5>({25, 76, 127, 178, 230}, {0, 51, 102, 153, 204, 255}, 35);
constexpr TLevelTable kGreenLevels =
    MakeLevels<6>({21, 63, 106, 149, 192, 233}, {0, 43, 85, 128, 171, 214, 255}, 5);
constexpr TLevelTable kBlueLevels = MakeLevels<4>({31, 95, 159, 223}, {0, 64, 128, 192, 255}, 1);

// Quantisers take the corrected blue, green and red values of pixel X, write
// the pixel and return the errors in the same variables.
struct TFixedQuantiser {
    uint8_t* Row;
    void operator()(int64_t X, int32_t& B, int32_t& G, int32_t& R) const {
        const TLevel& b = kBlueLevels[B];
        const TLevel& g = kGreenLevels[G];
        const TLevel& r = kRedLevels[R];
        Row[X] = static_cast<uint8_t>(r.Index + g.Index + b.Index);
        B = b.Value - B;
        G = g.Value - G;
        R = r.Value - R;
    }
};

struct TMonoQuantiser {
    uint8_t* Row;
    void operator()(int64_t X, int32_t& B, int32_t& G, int32_t& R) const {
        const int32_t white = B + G + R >= 384;
        Row[X >> 3] |= static_cast<uint8_t>(white << (7 - (X & 7)));
        const int32_t level = white * 255;
        B = level - B;
        G = level - G;
        R = level - R;
    }
};

// Correction of one channel: 12, 12 and 5 (of 32) of the errors above, just
// before and above that; division truncating toward zero.
inline int32_t Corrected(int32_t Value, int32_t Above, int32_t Prev, int32_t Behind) {
    return Value - (12 * Above + 12 * Prev + 5 * Behind) / 32;
}

// One row in direction Dir; channels in pixel byte order (blue, green, red).
// Error rows have an always-zero entry on either side: entry x + 1 belongs to
// pixel x. The errors of the pixel just before stay in registers.
template <int Dir, typename TQuantiser>
void DiffuseRow(const uint8_t* Pixels, int64_t Width, const int32_t* Prev, int32_t* Cur, TQuantiser Q) {
    int32_t eb = 0, eg = 0, er = 0;
    int64_t x = Dir > 0 ? 0 : Width - 1;
    for (int64_t k = 0; k < Width; ++k, x += Dir) {
        const int32_t* above = Prev + (x + 1) * 3;
        const int32_t* behind = above - Dir * 3;
        const uint8_t* p = Pixels + x * 3;
        int32_t b = Corrected(p[0], above[0], eb, behind[0]);
        int32_t g = Corrected(p[1], above[1], eg, behind[1]);
        int32_t r = Corrected(p[2], above[2], er, behind[2]);
        Q(x, b, g, r);
        int32_t* out = Cur + (x + 1) * 3;
        out[0] = eb = b;
        out[1] = eg = g;
        out[2] = er = r;
    }
}

// The blue, green, red bytes of one stored row: a 24-bit row as it is,
// otherwise decoded through the colour table into Buffer.
const uint8_t* RowColors(const TPxDIBInfos& Source, const uint8_t* Row, int64_t Width, uint8_t* Buffer) {
    const int bits = Source.Header.biBitCount;
    if (bits == 24) return Row;
    for (int64_t x = 0; x < Width; ++x) {
        const int index = bits == 8   ? Row[x]
                          : bits == 4 ? (Row[x >> 1] >> (x & 1 ? 0 : 4)) & 15
                                      : (Row[x >> 3] >> (7 - (x & 7))) & 1;
        const RGBQUAD& c = Source.Colors[index];
        Buffer[3 * x] = c.rgbBlue;
        Buffer[3 * x + 1] = c.rgbGreen;
        Buffer[3 * x + 2] = c.rgbRed;
    }
    return Buffer;
}

// Other sources (compressed, 16 or 32 bits) hold no pixels this can read.
void RequireDitherSource(const TPxDIBInfos& Source, const char* Routine, const char* Message) {
    const int bits = Source.Header.biBitCount;
    if ((bits != 1 && bits != 4 && bits != 8 && bits != 24) || Source.Header.biCompression != BI_RGB)
        throw EPxDIBBadDIBType(QString::fromLatin1(Message));
    RequirePixelBlock(Source, Routine);
}

// Rows are taken in pixel-block order; even ones (0, 2, ...) run left to right.
template <typename TQuantiser>
void Diffuse(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping, int BitCount,
             int ColorCount, const RGBQUAD* Colors) {
    TPxDIBInfos dest = NewImageLike(Source, BitCount, ColorCount, Colors, UseFileMapping);
    TPxBitsGuard guard(dest, UseFileMapping);
    const int64_t width = Source.Header.biWidth, rows = ImageRows(Source);
    const int64_t srcStride = ImageStride(Source), dstStride = ImageStride(dest);
    std::vector<int32_t> prev((width + 2) * 3), cur((width + 2) * 3);
    std::vector<uint8_t> buffer(Source.Header.biBitCount == 24 ? 0 : width * 3);
    for (int64_t r = 0; r < rows; ++r) {
        std::swap(prev, cur);  // every entry of the new current row is written before it is read
        const uint8_t* pixels = RowColors(Source, SourceRow(Source, srcStride, r), width, buffer.data());
        const TQuantiser q{dest.Bits + r * dstStride};
        if (r % 2 == 0)
            DiffuseRow<1>(pixels, width, prev.data(), cur.data(), q);
        else
            DiffuseRow<-1>(pixels, width, prev.data(), cur.data(), q);
    }
    Dest = dest;
    guard.Release();
}

}  // namespace

void DitherToFixed8Bit(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping) {
    RequireDitherSource(Source, "DitherToFixed8Bit", "DitherToFixed8Bit: Invalid Bitcount or Compression");
    Diffuse<TFixedQuantiser>(Source, Dest, UseFileMapping, 8, static_cast<int>(PxFixedPaletteColors.size()),
                             PxFixedPaletteColors.data());
}

void DitherTo1Bit(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping) {
    RequireDitherSource(Source, "DitherTo1Bit", "DitherTo1Bit: Invalid Bitcount or Compression");
    Diffuse<TMonoQuantiser>(Source, Dest, UseFileMapping, 1, 2, kBlackWhiteColors);
}

}  // namespace tam32
