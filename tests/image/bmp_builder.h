#pragma once
// Builds BMP files and packed DIB blocks byte by byte, including lying ones,
// for the reader tests and the hostile-file corpus.
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/WinTypes.h"

namespace tam32::test {

struct BmpSpec {
    uint32_t HeaderSize = 40;
    int32_t Width = 1;
    int32_t Height = 1;
    uint16_t BitCount = 24;
    uint32_t Compression = BI_RGB;
    uint32_t ClrUsed = 0;
    uint32_t SizeImage = 0;
    int32_t XPels = 3780, YPels = 3780;
    std::vector<uint32_t> Masks;   // written after the header when not empty
    std::vector<RGBQUAD> Colors;   // written as quads (or triples for a 12-byte header)
    std::vector<uint8_t> Bits;
    std::optional<uint32_t> FileSize;  // bfSize; default: the real size
    std::optional<uint32_t> OffBits;   // bfOffBits; default: where the bits start
    uint16_t Type = kBitmapFileType;
};

template <typename T>
void Append(std::vector<uint8_t>& Out, const T& Value) {
    const auto* p = reinterpret_cast<const uint8_t*>(&Value);
    Out.insert(Out.end(), p, p + sizeof(T));
}

// The header, masks and colour table (a packed DIB without pixels).
inline std::vector<uint8_t> MakeHeaderPart(const BmpSpec& S) {
    std::vector<uint8_t> out;
    if (S.HeaderSize == 12) {
        BITMAPCOREHEADER core{12, static_cast<uint16_t>(S.Width), static_cast<uint16_t>(S.Height), 1, S.BitCount};
        Append(out, core);
        for (const RGBQUAD& c : S.Colors) Append(out, RGBTRIPLE{c.rgbBlue, c.rgbGreen, c.rgbRed});
        return out;
    }
    BITMAPINFOHEADER h{S.HeaderSize, S.Width,  S.Height, 1,       S.BitCount, S.Compression,
                       S.SizeImage,  S.XPels,  S.YPels,  S.ClrUsed, 0};
    Append(out, h);
    for (size_t i = 40; i < S.HeaderSize; ++i) out.push_back(0);
    for (uint32_t m : S.Masks) Append(out, m);
    for (const RGBQUAD& c : S.Colors) Append(out, c);
    return out;
}

inline std::vector<uint8_t> MakeBmp(const BmpSpec& S) {
    const std::vector<uint8_t> headerPart = MakeHeaderPart(S);
    const uint32_t offBits = S.OffBits.value_or(static_cast<uint32_t>(14 + headerPart.size()));
    const uint32_t realSize = static_cast<uint32_t>(14 + headerPart.size() + S.Bits.size());
    std::vector<uint8_t> out;
    BITMAPFILEHEADER f{S.Type, S.FileSize.value_or(realSize), 0, 0, offBits};
    Append(out, f);
    out.insert(out.end(), headerPart.begin(), headerPart.end());
    while (out.size() < offBits && out.size() < 14 + headerPart.size() + 4096) out.push_back(0);
    out.insert(out.end(), S.Bits.begin(), S.Bits.end());
    return out;
}

inline std::vector<uint8_t> MakePackedDib(const BmpSpec& S) {
    std::vector<uint8_t> out = MakeHeaderPart(S);
    out.insert(out.end(), S.Bits.begin(), S.Bits.end());
    return out;
}

inline std::vector<RGBQUAD> GreyTable(int Count) {
    std::vector<RGBQUAD> table(Count);
    for (int i = 0; i < Count; ++i) {
        const auto v = static_cast<uint8_t>(Count > 1 ? i * 255 / (Count - 1) : 0);
        table[i] = {v, v, v, 0};
    }
    return table;
}

inline uint32_t ReadU32(const std::vector<uint8_t>& Data, size_t Offset) {
    uint32_t v;
    std::memcpy(&v, Data.data() + Offset, 4);
    return v;
}

}  // namespace tam32::test
