#pragma once
// Records owning exactly sized heap blocks (so that a sanitizer build catches
// any read past them), pixel access independent of the converters, and
// checks of exceptions by class and message.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "image/PxMemory.h"

namespace tam32::convert_test {

using Bytes = std::vector<uint8_t>;
using TConverter = void (*)(const TPxDIBInfos&, TPxDIBInfos&, bool);

// An image record that frees its block; colour-table entries all differ.
struct TImage {
    TImage() = default;
    TImage(int BitCount, uint32_t Compression, int Width, int Height, const Bytes& Block) {
        BITMAPINFOHEADER& h = Infos.Header;
        h.biSize = 40, h.biWidth = Width, h.biHeight = Height, h.biPlanes = 1;
        h.biBitCount = static_cast<uint16_t>(BitCount), h.biCompression = Compression;
        h.biClrUsed = BitCount <= 8 ? 1u << BitCount : 0;
        for (int i = 0; i < 256; ++i)
            Infos.Colors[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7), 0};
        GetMemory(Infos, static_cast<int64_t>(Block.size()), false);
        if (!Block.empty()) std::memcpy(Infos.Bits, Block.data(), Block.size());
    }
    // Zero-filled and uncompressed.
    TImage(int BitCount, int Width, int Height)
        : TImage(BitCount, BI_RGB, Width, Height, Bytes(DIBRowSize(BitCount, Width) * std::abs(Height))) {}
    ~TImage() { FreeMemory(Infos.MappingHandle, Infos.Bits, Mapped); }
    TImage(const TImage&) = delete;
    TImage& operator=(const TImage&) = delete;

    uint8_t* Row(int BlockRow) {
        return Infos.Bits + BlockRow * DIBRowSize(Infos.Header.biBitCount, Infos.Header.biWidth);
    }
    Bytes Block() const { return Bytes(Infos.Bits, Infos.Bits + Infos.BitsSize); }

    TPxDIBInfos Infos;
    bool Mapped = false;
};

// Pixel X of block row Row of an uncompressed 1-, 4- or 8-bit image.
inline int IndexAt(const TPxDIBInfos& Infos, int X, int Row) {
    const uint8_t* row = Infos.Bits + Row * DIBRowSize(Infos.Header.biBitCount, Infos.Header.biWidth);
    switch (Infos.Header.biBitCount) {
    case 1: return (row[X / 8] >> (7 - X % 8)) & 1;
    case 4: return X % 2 == 0 ? row[X / 2] >> 4 : row[X / 2] & 0x0F;
    default: return row[X];
    }
}

inline void SetIndex(TPxDIBInfos& Infos, int X, int Row, int Value) {
    uint8_t* row = Infos.Bits + Row * DIBRowSize(Infos.Header.biBitCount, Infos.Header.biWidth);
    switch (Infos.Header.biBitCount) {
    case 1: row[X / 8] = static_cast<uint8_t>((row[X / 8] & ~(0x80 >> X % 8)) | (Value ? 0x80 >> X % 8 : 0));
        break;
    case 4: {
        const int shift = X % 2 == 0 ? 4 : 0;
        row[X / 2] = static_cast<uint8_t>((row[X / 2] & ~(0x0F << shift)) | Value << shift);
        break;
    }
    default: row[X] = static_cast<uint8_t>(Value);
    }
}

template <class E>
void ExpectError(const std::function<void()>& Action, const std::string& Message) {
    try {
        Action();
        ADD_FAILURE() << "no exception; expected " << Message;
    } catch (const E& e) {
        EXPECT_EQ(e.Message().toStdString(), Message);
    } catch (const Exception& e) {
        ADD_FAILURE() << "unexpected " << e.ClassName() << ": " << e.Message().toStdString();
    }
}

}  // namespace tam32::convert_test
