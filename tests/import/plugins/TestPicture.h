#pragma once
// The made-up picture format of the test plug-ins: a short header that says
// how big the picture is, how many bits it has and which faults the plug-in
// is to commit when it decodes it. Pixels follow a fixed pattern, so tests
// know every value without a file of pixels.
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/WinTypes.h"

namespace tam32::test {

inline constexpr char kTestMagic[8] = "SPITEST";
// The environment variable a test plug-in built with TEST_LEAVE_TRACE sets when it is loaded.
inline constexpr char kTestTraceVariable[] = "TAM32_TEST_PLUGIN_TRACE";

enum TestFault : uint32_t {
    kFailPicture = 1u << 0,       // GetPicture fails, leaving junk (no handles) behind
    kFailInfoWithJunk = 1u << 1,  // GetPictureInfo fails, leaving junk in hInfo
    kInfoText = 1u << 2,          // GetPictureInfo hands over a text block in hInfo
    kShortBits = 1u << 3,         // the pixel block is one byte short
    kShortInfo = 1u << 4,         // the BITMAPINFO block lacks its colour table
    kHugeColorCount = 1u << 5,    // biClrUsed far beyond 256
    kCoreHeaderSize = 1u << 6,    // biSize 12 with a 40-byte header
    kSameHandle = 1u << 7,        // both handles are the same block
    kForeignBits = 1u << 8,       // the pixel "handle" is plain memory
    kNullBits = 1u << 9,          // success without a pixel block
    kIgnoreStop = 1u << 10,       // goes on (and succeeds) when told to stop
    kZeroDenominator = 1u << 11,  // reports progress 0 of 0 first
    kRle8 = 1u << 12,             // 8-bit picture as RLE data
    kBitFields = 1u << 13,        // 32-bit picture with colour masks
    kFreedBits = 1u << 14,        // the pixel handle was freed before returning
    kOverstatedWidth = 1u << 15,  // the header claims a width the blocks cannot hold
};

#pragma pack(push, 1)
struct TestPictureHeader {
    char Magic[8];
    int32_t Width;
    int32_t Height;  // negative: the plug-in returns top-down rows
    uint16_t BitCount;
    uint16_t Reserved;
    uint32_t Faults;
};
#pragma pack(pop)

inline int TestColorCount(int BitCount) { return BitCount <= 8 ? 1 << BitCount : 0; }
inline RGBQUAD TestColor(int Index) {
    return {static_cast<uint8_t>(Index * 3), static_cast<uint8_t>(255 - Index), static_cast<uint8_t>(Index * 16), 0};
}
inline int TestIndex(int X, int Y, int ColorCount) { return (X + 2 * Y) % ColorCount; }
// Blue, green, red of the pixel at (X, Y), Y counted from the top.
inline RGBTRIPLE TestPixel(int X, int Y) {
    return {static_cast<uint8_t>(X * 7 + Y), static_cast<uint8_t>(X + Y * 3), static_cast<uint8_t>(X * Y)};
}
// The colour a decoder must show at (X, Y).
inline RGBTRIPLE TestExpected(int X, int Y, int BitCount) {
    if (BitCount > 8) return TestPixel(X, Y);
    const RGBQUAD c = TestColor(TestIndex(X, Y, TestColorCount(BitCount)));
    return {c.rgbBlue, c.rgbGreen, c.rgbRed};
}

inline std::vector<uint8_t> MakeTestPicture(int32_t Width, int32_t Height, uint16_t BitCount, uint32_t Faults = 0) {
    TestPictureHeader header{};
    std::memcpy(header.Magic, kTestMagic, sizeof header.Magic);
    header.Width = Width;
    header.Height = Height;
    header.BitCount = BitCount;
    header.Faults = Faults;
    std::vector<uint8_t> bytes(sizeof header);
    std::memcpy(bytes.data(), &header, sizeof header);
    return bytes;
}

}  // namespace tam32::test
