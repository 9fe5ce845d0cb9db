// Packed DIB blocks (the clipboard's DIB format): a header, its colour table
// and the pixels in one memory block that another program may have filled,
// so every size is checked against the block before it is used.
#include <cstring>

#include "image/PxDIBLoad.h"
#include "image/PxInternalDIB.h"
#include "image/PxMemory.h"
#include "image/PxRecordBytes.h"

namespace tam32 {
namespace {

[[noreturn]] void InvalidClipboardData() {
    throw EPxDIBInvalidDIB(QStringLiteral("TPxDIB.LoadFromClipboardFormat: Invalid Clipboard Data"));
}

// Copies the header part into the record; returns its size in the block.
int64_t ReadHeaderPart(const uint8_t* Block, int64_t BlockSize, TPxDIBInfos& Infos) {
    if (BlockSize < 4) InvalidClipboardData();
    uint32_t headerSize;
    std::memcpy(&headerSize, Block, 4);
    if (headerSize == 40) {
        if (BlockSize < 40) InvalidClipboardData();
        BITMAPINFOHEADER h;
        std::memcpy(&h, Block, sizeof h);
        const int64_t colorCount = h.biClrUsed != 0 ? h.biClrUsed : GetNumColors(h.biBitCount);
        const int64_t headerPart = 40 + (h.biCompression == BI_BITFIELDS ? colorCount + 3 : colorCount) * 4;
        if (headerPart > BlockSize) InvalidClipboardData();
        std::memcpy(HeaderBytes(Infos), Block, static_cast<size_t>(std::min<int64_t>(headerPart, 1076)));
        if (Infos.Header.biXPelsPerMeter == 0) Infos.Header.biXPelsPerMeter = 3780;
        if (Infos.Header.biYPelsPerMeter == 0) Infos.Header.biYPelsPerMeter = 3780;
        Infos.Header.biClrUsed = static_cast<uint32_t>(std::min<int64_t>(colorCount, 256));
        return headerPart;
    }
    if (headerSize == 12) {
        if (BlockSize < 12) InvalidClipboardData();
        BITMAPCOREHEADER core;
        std::memcpy(&core, Block, sizeof core);
        const int64_t headerPart = 12 + GetNumColors(core.bcBitCount) * 3;
        if (headerPart > BlockSize) InvalidClipboardData();
        std::memcpy(HeaderBytes(Infos), Block, static_cast<size_t>(headerPart));
        ConvertCoreHeader(Infos);
        return headerPart;
    }
    InvalidClipboardData();
}

}  // namespace

void TPxInternalDIB::LoadFromClipboardFormat(HGLOBAL Data) {
    MemoryLock lock(Data);
    const auto* block = static_cast<const uint8_t*>(lock.Data());
    if (block == nullptr) InvalidClipboardData();
    const int64_t blockSize = static_cast<int64_t>(lock.Size());

    TPxDIBInfos infos;
    TPxBitsGuard guard(infos, UseFileMapping);
    const int64_t headerPart = ReadHeaderPart(block, blockSize, infos);
    const int64_t available = blockSize - headerPart;
    CheckDIBDimensions(infos.Header);

    const BITMAPINFOHEADER& h = infos.Header;
    switch (h.biBitCount) {
    case 1: case 4: case 8: case 24: {
        // Uncompressed pixels take what the header needs; the block must hold it.
        const int64_t size = IsUncompressed(h) ? UncompressedBitsSize(h) : available;
        if (size > available || size <= 0) InvalidClipboardData();
        GetMemory(infos, size, UseFileMapping);
        std::memcpy(infos.Bits, block + headerPart, static_cast<size_t>(size));
        break;
    }
    case 16: case 32: {
        if (MaskedSourceSize(h) > available) InvalidClipboardData();
        const uint8_t* pixels = block + headerPart;
        ConvertMaskedImage(infos, UseFileMapping,
                           [&](int64_t Y, int64_t RowSize) { return pixels + Y * RowSize; });
        break;
    }
    default:
        throw EPxDIBInvalidDIB(QStringLiteral("TPxInternalDIB.LoadFromClipboardFormat: Invalid biBitCount"));
    }
    Install(infos);
    guard.Release();
}

void TPxInternalDIB::SaveToClipboardFormat(HGLOBAL& Data) const {
    const uint32_t colorCount = std::min<uint32_t>(Infos.Header.biClrUsed, 256);
    const size_t size = 40 + colorCount * 4 + static_cast<size_t>(Infos.BitsSize);
    HGLOBAL block = GlobalAlloc(GHND, size);
    if (block == nullptr)
        throw EOutOfMemory(QStringLiteral("TPxInternalDIB.SaveToClipboardFormat: Out Of Memory"));
    {
        MemoryLock lock(block);
        auto* out = static_cast<uint8_t*>(lock.Data());
        std::memcpy(out, &Infos.Header, 40);
        std::memcpy(out + 40, Infos.Colors, colorCount * 4);
        std::memcpy(out + 40 + colorCount * 4, Infos.Bits, Infos.BitsSize);
    }
    Data = block;
}

}  // namespace tam32
