// BMP files: reading every variant the model accepts into a record built
// aside, and writing the stored image back.
#include <cstring>
#include <vector>

#include "image/PxDIBLoad.h"
#include "image/PxInternalDIB.h"
#include "image/PxMemory.h"
#include "image/PxRecordBytes.h"
#include "platform/Stream.h"

namespace tam32 {
namespace {

const QString kInvalidBitCountInfo = QStringLiteral("TPxInternalDIB.LoadFromStream: Invalid BitCout");
const QString kInvalidBitCountCore = QStringLiteral("TPxInternalDIB.LoadFromStream: Invalid BitCount");
const QString kOffBitsTooSmall = QStringLiteral("TPxInternalDIB.LoadFromFile: bfOffBits is too small");

void SkipForward(TStream& Stream, int64_t Bytes) {
    if (Bytes > 0) Stream.Seek(Bytes, SeekOrigin::Current);
}

// Reads the 40-byte header and its colour table (with bit-field masks in
// front when present); returns the minimum offset of the pixels.
int64_t ReadInfoHeader(TStream& Stream, TPxDIBInfos& Infos) {
    Stream.ReadBuffer(HeaderBytes(Infos) + 4, 36);
    BITMAPINFOHEADER& h = Infos.Header;
    h.biSize = 40;
    if (h.biXPelsPerMeter == 0) h.biXPelsPerMeter = 3780;
    if (h.biYPelsPerMeter == 0) h.biYPelsPerMeter = 3780;
    switch (h.biBitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: throw EPxDIBInvalidDIB(kInvalidBitCountInfo);
    }
    const int64_t colorCount = h.biClrUsed != 0 ? h.biClrUsed : GetNumColors(h.biBitCount);
    const int64_t maskBytes = h.biCompression == BI_BITFIELDS ? 12 : 0;
    const int64_t tableBytes = colorCount * 4 + maskBytes;
    const int64_t kept = std::min<int64_t>(tableBytes, 1024 + maskBytes);
    Stream.ReadBuffer(ColorBytes(Infos), kept);
    SkipForward(Stream, tableBytes - kept);
    h.biClrUsed = static_cast<uint32_t>(std::min<int64_t>(colorCount, 256));
    return 14 + 40 + tableBytes;
}

// Reads the 12-byte header and its triples and converts them into a
// 40-byte header with a colour table.
int64_t ReadCoreHeader(TStream& Stream, TPxDIBInfos& Infos) {
    Stream.ReadBuffer(HeaderBytes(Infos) + 4, 8);
    BITMAPCOREHEADER core;
    std::memcpy(&core, HeaderBytes(Infos), sizeof core);
    switch (core.bcBitCount) {
    case 1: case 4: case 8: case 24: break;
    default: throw EPxDIBInvalidDIB(kInvalidBitCountCore);
    }
    const int64_t tableBytes = GetNumColors(core.bcBitCount) * 3;
    Stream.ReadBuffer(HeaderBytes(Infos) + 12, tableBytes);
    return 14 + 12 + tableBytes;
}

// Size of the pixel block to read for data the model keeps as stored.
// Uncompressed pixels take exactly what the header needs; compressed data
// takes what the file header states, or else what the image header states,
// or else the rest of the stream, never more than the stream still holds.
int64_t StoredBitsSize(const BITMAPINFOHEADER& Header, int64_t StatedSize, int64_t Remaining) {
    if (IsUncompressed(Header)) return UncompressedBitsSize(Header);
    int64_t size = StatedSize;
    if (size <= 0 || size > Remaining) size = Header.biSizeImage;
    if (size <= 0 || size > Remaining) size = Remaining;
    if (size <= 0) throw EReadError(QStringLiteral("Stream read error"));
    if (size > kMaxPixelBlockSize)
        throw EPxDIBInvalidDIB(QStringLiteral("TPxInternalDIB.LoadFromStream: Invalid Width or Height"));
    return size;
}

void ReadMaskedPixels(TStream& Stream, TPxDIBInfos& Infos, bool UseFileMapping) {
    if (MaskedSourceSize(Infos.Header) > Stream.Size() - Stream.Position())
        throw EReadError(QStringLiteral("Stream read error"));
    std::vector<uint8_t> row;
    ConvertMaskedImage(Infos, UseFileMapping, [&](int64_t, int64_t RowSize) {
        row.resize(static_cast<size_t>(RowSize));
        Stream.ReadBuffer(row.data(), RowSize);
        return row.data();
    });
}

}  // namespace

void TPxInternalDIB::LoadFromStream(TStream& Stream) {
    const int64_t start = Stream.Position();
    BITMAPFILEHEADER fileHeader;
    Stream.ReadBuffer(&fileHeader, sizeof fileHeader);
    if (fileHeader.bfType != kBitmapFileType)
        throw EPxDIBInvalidDIBFile(QStringLiteral("TPxInternalDIB.LoadFromFile: File type is invalid"));

    TPxDIBInfos infos;
    TPxBitsGuard guard(infos, UseFileMapping);
    Stream.ReadBuffer(HeaderBytes(infos), 4);
    int64_t minimumOffset;
    if (infos.Header.biSize == 40) {
        minimumOffset = ReadInfoHeader(Stream, infos);
    } else if (infos.Header.biSize == 12) {
        minimumOffset = ReadCoreHeader(Stream, infos);
    } else {
        throw EPxDIBInvalidDIB(QStringLiteral("TPxInternalDIB.LoadFromStream: Invalid Bitmap Header Size"));
    }
    if (fileHeader.bfOffBits < minimumOffset) throw EPxDIBInvalidDIB(kOffBitsTooSmall);
    if (Stream.Seek(start + fileHeader.bfOffBits, SeekOrigin::Beginning) < 0)
        throw EReadError(QStringLiteral("Stream read error"));
    if (infos.Header.biSize == 12) ConvertCoreHeader(infos);

    CheckDIBDimensions(infos.Header);
    switch (infos.Header.biBitCount) {
    case 1: case 4: case 8: case 24: {
        const int64_t stated = static_cast<int64_t>(fileHeader.bfSize) - fileHeader.bfOffBits;
        const int64_t remaining = Stream.Size() - Stream.Position();
        const int64_t size = StoredBitsSize(infos.Header, stated, remaining);
        if (size > remaining) throw EReadError(QStringLiteral("Stream read error"));
        ReadPixelBlock(Stream, infos, size, UseFileMapping);
        break;
    }
    case 16: case 32:
        ReadMaskedPixels(Stream, infos, UseFileMapping);
        break;
    default:
        throw EPxDIBInvalidDIB(QStringLiteral("TPxInternalDIB.LoadFromStream: Invalid biBitCount"));
    }
    Install(infos);
    guard.Release();
}

void TPxInternalDIB::SaveToStream(TStream& Stream) const {
    const uint32_t colorCount = std::min<uint32_t>(Infos.Header.biClrUsed, 256);
    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = kBitmapFileType;
    fileHeader.bfOffBits = 54 + colorCount * 4;
    fileHeader.bfSize = fileHeader.bfOffBits + Infos.BitsSize;
    Stream.WriteBuffer(&fileHeader, sizeof fileHeader);
    Stream.WriteBuffer(&Infos.Header, sizeof Infos.Header);
    Stream.WriteBuffer(Infos.Colors, colorCount * 4);
    Stream.WriteBuffer(Infos.Bits, Infos.BitsSize);
}

}  // namespace tam32
