#pragma once
// Images for the colour-reduction and dithering tests: records owning exactly
// sized heap blocks (a sanitizer build catches any read past them) and pixel
// access independent of the code under test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <vector>

#include "image/PxDIBTypes.h"
#include "image/PxMemory.h"

namespace tam32::reduce_test {

struct TRGB {
    uint8_t R, G, B;
    bool operator==(const TRGB&) const = default;
};

inline TRGB ColorOf(const RGBQUAD& Q) { return {Q.rgbRed, Q.rgbGreen, Q.rgbBlue}; }

// Frees its block. Default-constructed it is empty: a conversion's destination.
class TImage {
public:
    TImage() = default;
    TImage(int BitCount, int Width, int Height) {
        Infos.Header = {40, Width, Height, 1, static_cast<uint16_t>(BitCount), BI_RGB, 0, 3780, 3780,
                        BitCount <= 8 ? 1u << BitCount : 0u, 0};
        GetMemory(Infos, DIBRowSize(BitCount, Width) * std::abs(Height), false);
    }
    TImage(TImage&& Other) noexcept : Infos(Other.Infos), Mapped(Other.Mapped) { Other.Infos.Bits = nullptr; }
    ~TImage() { FreeMemory(Infos.MappingHandle, Infos.Bits, Mapped); }

    int Width() const { return Infos.Header.biWidth; }
    int Rows() const { return std::abs(Infos.Header.biHeight); }
    uint8_t* Row(int BlockRow) const {
        return Infos.Bits + BlockRow * DIBRowSize(Infos.Header.biBitCount, Infos.Header.biWidth);
    }
    TRGB Pixel(int X, int BlockRow) const {
        const uint8_t* p = Row(BlockRow) + 3 * X;
        return {p[2], p[1], p[0]};
    }
    void SetPixel(int X, int BlockRow, TRGB C) {
        uint8_t* p = Row(BlockRow) + 3 * X;
        p[0] = C.B, p[1] = C.G, p[2] = C.R;
    }
    void Fill(const std::function<TRGB(int X, int BlockRow)>& F) {
        for (int r = 0; r < Rows(); ++r)
            for (int x = 0; x < Width(); ++x) SetPixel(x, r, F(x, r));
    }
    // Pixel X of a 1-, 4- or 8-bit image.
    int Index(int X, int BlockRow) const {
        const int bits = Infos.Header.biBitCount, shift = 8 - bits - (X * bits) % 8;
        return (Row(BlockRow)[X * bits / 8] >> shift) & ((1 << bits) - 1);
    }
    void SetIndex(int X, int BlockRow, int Value) {
        const int bits = Infos.Header.biBitCount, shift = 8 - bits - (X * bits) % 8;
        uint8_t& b = Row(BlockRow)[X * bits / 8];
        b = static_cast<uint8_t>((b & ~(((1 << bits) - 1) << shift)) | Value << shift);
    }
    std::vector<uint8_t> Bytes() const { return {Infos.Bits, Infos.Bits + Infos.BitsSize}; }

    TPxDIBInfos Infos;
    bool Mapped = false;  // how the block was allocated, for freeing it
};

// Progress callback that counts its calls in an int.
inline void CountCall(void* Data) { ++*static_cast<int*>(Data); }

template <typename E, typename F>
void ExpectRaises(F&& Fn, const std::string& Message) {
    try {
        Fn();
        ADD_FAILURE() << "nothing raised, expected " << Message;
    } catch (const E& e) {
        EXPECT_EQ(e.Message().toStdString(), Message);
    }
}

}  // namespace tam32::reduce_test
