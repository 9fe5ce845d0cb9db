// A plug-in for the host's tests only. It decodes the made-up pictures of
// TestPicture.h and commits the faults they ask for; compile-time switches
// choose its API version, its formats and which exports it has:
//   TEST_API_VERSION "00IN" (default), TEST_FORMATS 1 (test formats), 2 (bmp), 0 (none)
//   TEST_NO_PLUGININFO, TEST_NO_GETPICTURE, TEST_WITH_PREVIEW, TEST_ARCHIVE_EXPORTS,
//   TEST_INFO_UNTERMINATED (fills every info buffer without an end), TEST_INFO_ENDLESS,
//   TEST_LEAVE_TRACE (sets kTestTraceVariable as soon as the library is loaded).
#include <cstdlib>
#include <cstring>
#include <vector>

#include "TestPicture.h"
#include "platform/SpiAbi.h"
#include "support/SpiInput.h"
#include "support/SpiPluginInfo.h"

#ifndef TEST_API_VERSION
#define TEST_API_VERSION "00IN"
#endif
#ifndef TEST_FORMATS
#define TEST_FORMATS 1
#endif

namespace {

using namespace tam32;
using namespace tam32::test;
using namespace tam32::spi;

#if TEST_FORMATS == 1
constexpr SpiFormat kFormats[] = {{"*.tst", "Test pictures"}, {"*.ta;*.tb", "Two patterns"}, {"plain", "No period"}};
constexpr SpiPluginTexts kTexts = {TEST_API_VERSION, "Test plug-in", kFormats};
#elif TEST_FORMATS == 2
constexpr SpiFormat kFormats[] = {{"*.bmp", "Test bitmaps"}};
constexpr SpiPluginTexts kTexts = {TEST_API_VERSION, "Test plug-in", kFormats};
#else
constexpr SpiPluginTexts kTexts = {TEST_API_VERSION, "Test plug-in", {}};
#endif

// Addresses that are no memory handle (and no heap block, so nothing leaks).
uint8_t gJunk[64];

bool ReadTestHeader(const uint8_t* Data, size_t Size, TestPictureHeader& Header) {
    if (Data == nullptr || Size < sizeof Header) return false;
    std::memcpy(&Header, Data, sizeof Header);
    return std::memcmp(Header.Magic, kTestMagic, sizeof Header.Magic) == 0;
}

int32_t OpenTestPicture(const char* Buf, intptr_t Len, uint32_t Flag, TestPictureHeader& Header) {
    SpiInput input;
    if (input.Open(Buf, Len, Flag) != SPI_SUCCESS || input.ReadAll() != SPI_SUCCESS) return SPI_FILE_READ_ERROR;
    return ReadTestHeader(input.Data(), input.Size(), Header) ? SPI_SUCCESS : SPI_UNKNOWN_FORMAT;
}

void PutBits(std::vector<uint8_t>& Row, int X, int Bits, unsigned Value) {
    const int bit = X * Bits;
    Row[static_cast<size_t>(bit / 8)] |= static_cast<uint8_t>(Value << (8 - Bits - bit % 8));
}

// The stored pixel rows of the picture (or its RLE data), bottom-up unless
// the height is negative. False when the host asked to stop.
bool BuildPixels(const TestPictureHeader& H, int Bits, bool Rle, SpiProgressCallback Callback, intptr_t LData,
                 std::vector<uint8_t>& Pixels) {
    const int width = H.Width;
    const int rows = std::abs(H.Height);
    const int colors = TestColorCount(Bits);
    const size_t stride = static_cast<size_t>((width * Bits + 31) / 32 * 4);
    Pixels.clear();
    for (int stored = 0; stored < rows; ++stored) {
        if (Callback != nullptr && Callback(stored, rows, LData) != 0 && (H.Faults & kIgnoreStop) == 0) return false;
        const int y = H.Height > 0 ? rows - 1 - stored : stored;
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < width; ++x) {
            if (Bits <= 8) {
                PutBits(row, x, Bits, static_cast<unsigned>(TestIndex(x, y, colors)));
            } else {
                const RGBTRIPLE p = TestPixel(x, y);
                uint8_t* out = &row[static_cast<size_t>(x * Bits / 8)];
                out[0] = p.rgbtBlue;
                out[1] = p.rgbtGreen;
                out[2] = p.rgbtRed;
            }
        }
        if (Rle) {
            for (int x = 0; x < width; ++x) Pixels.insert(Pixels.end(), {1, row[static_cast<size_t>(x)]});
            Pixels.insert(Pixels.end(), {0, 0});
        } else {
            Pixels.insert(Pixels.end(), row.begin(), row.end());
        }
    }
    if (Rle) Pixels.insert(Pixels.end(), {0, 1});
    if (Callback != nullptr) Callback(rows, rows, LData);
    return true;
}

SpiHandle NewBlock(const void* Data, size_t Size) {
    SpiHandle handle = SpiLocalAlloc(SPI_LMEM_MOVEABLE | SPI_LMEM_ZEROINIT, Size);
    if (handle != nullptr && Size != 0) {
        std::memcpy(SpiLocalLock(handle), Data, Size);
        SpiLocalUnlock(handle);
    }
    return handle;
}

[[maybe_unused]] int32_t MakePicture(const TestPictureHeader& H, SpiHandle* HBInfo, SpiHandle* HBm, SpiProgressCallback Callback,
                    intptr_t LData) {
    const uint32_t faults = H.Faults;
    if ((faults & kFailPicture) != 0) {
        *HBInfo = gJunk;
        *HBm = gJunk + 8;
        return SPI_BROKEN_DATA;
    }
    if ((faults & kZeroDenominator) != 0 && Callback != nullptr) Callback(0, 0, LData);
    const bool bitFields = (faults & kBitFields) != 0;
    const bool rle = (faults & kRle8) != 0;
    const int bits = bitFields ? 32 : H.BitCount;
    const int colors = TestColorCount(bits);
    std::vector<uint8_t> pixels;
    if (!BuildPixels(H, bits, rle, Callback, LData, pixels)) return SPI_ABORTED;

    std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header{};
    header.biSize = (faults & kCoreHeaderSize) != 0 ? 12 : 40;
    header.biWidth = (faults & kOverstatedWidth) != 0 ? 100000 : H.Width;
    header.biHeight = H.Height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<uint16_t>(bits);
    header.biCompression = rle ? BI_RLE8 : bitFields ? BI_BITFIELDS : BI_RGB;
    header.biSizeImage = rle ? static_cast<uint32_t>(pixels.size()) : 0;
    // An 8-bit picture leaves the count to its bit depth.
    header.biClrUsed = (faults & kHugeColorCount) != 0 ? 0x10000000u : bits == 8 ? 0u : static_cast<uint32_t>(colors);
    std::memcpy(info.data(), &header, sizeof header);
    if (bitFields) {
        const uint32_t masks[3] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
        const auto* bytes = reinterpret_cast<const uint8_t*>(masks);
        info.insert(info.end(), bytes, bytes + sizeof masks);
    }
    if ((faults & kShortInfo) == 0)
        for (int i = 0; i < colors; ++i) {
            const RGBQUAD c = TestColor(i);
            info.insert(info.end(), {c.rgbBlue, c.rgbGreen, c.rgbRed, 0});
        }
    if ((faults & kShortBits) != 0) pixels.pop_back();

    *HBInfo = NewBlock(info.data(), info.size());
    if ((faults & kSameHandle) != 0) {
        *HBm = *HBInfo;
    } else if ((faults & kForeignBits) != 0) {
        *HBm = gJunk;
    } else if ((faults & kNullBits) != 0) {
        *HBm = nullptr;
    } else {
        *HBm = NewBlock(pixels.data(), pixels.size());
        if ((faults & kFreedBits) != 0) SpiLocalFree(*HBm);
    }
    return SPI_SUCCESS;
}

#ifdef TEST_LEAVE_TRACE
// Runs when the library is loaded, before the host can call or check anything.
__attribute__((constructor)) void LeaveTrace() { setenv(kTestTraceVariable, "loaded", 1); }
#endif

}  // namespace

extern "C" {

#ifndef TEST_NO_PLUGININFO
SPI_EXPORT int32_t GetPluginInfo(int32_t infono, char* buf, int32_t buflen) {
#if defined(TEST_INFO_UNTERMINATED)
    if (infono > 3) return 0;
    std::memset(buf, infono == 0 ? '0' : 'x', static_cast<size_t>(buflen));
    return buflen;
#elif defined(TEST_INFO_ENDLESS)
    return AnswerPluginInfo({TEST_API_VERSION, "Endless", {}}, infono > 1 ? 1 : infono, buf, buflen);
#else
    return AnswerPluginInfo(kTexts, infono, buf, buflen);
#endif
}
#endif

SPI_EXPORT int32_t IsSupported(const char*, uintptr_t dw) {
    TestPictureHeader header;
    return ReadTestHeader(reinterpret_cast<const uint8_t*>(dw), sizeof header, header) ? 1 : 0;
}

SPI_EXPORT int32_t GetPictureInfo(const char* buf, intptr_t len, uint32_t flag, SpiPictureInfo* lpInfo) {
    TestPictureHeader header;
    const int32_t opened = OpenTestPicture(buf, len, flag, header);
    if (opened != SPI_SUCCESS) return opened;
    if ((header.Faults & kFailInfoWithJunk) != 0) {
        lpInfo->hInfo = gJunk;
        return SPI_BROKEN_DATA;
    }
    *lpInfo = SpiPictureInfo{};
    lpInfo->width = header.Width;
    lpInfo->height = header.Height;
    lpInfo->colorDepth = static_cast<int16_t>(header.BitCount);
    if ((header.Faults & kInfoText) != 0) lpInfo->hInfo = NewBlock("test", 5);
    return SPI_SUCCESS;
}

#ifndef TEST_NO_GETPICTURE
SPI_EXPORT int32_t GetPicture(const char* buf, intptr_t len, uint32_t flag, SpiHandle* pHBInfo, SpiHandle* pHBm,
                              SpiProgressCallback lpPrgressCallback, intptr_t lData) {
    TestPictureHeader header;
    const int32_t opened = OpenTestPicture(buf, len, flag, header);
    if (opened != SPI_SUCCESS) return opened;
    return MakePicture(header, pHBInfo, pHBm, lpPrgressCallback, lData);
}
#endif

#ifdef TEST_WITH_PREVIEW
// The preview is always one pixel of blue 1, green 2, red 3.
SPI_EXPORT int32_t GetPreview(const char* buf, intptr_t len, uint32_t flag, SpiHandle* pHBInfo, SpiHandle* pHBm,
                              SpiProgressCallback, intptr_t) {
    TestPictureHeader header;
    const int32_t opened = OpenTestPicture(buf, len, flag, header);
    if (opened != SPI_SUCCESS) return opened;
    BITMAPINFOHEADER info{40, 1, 1, 1, 24, BI_RGB, 4, 0, 0, 0, 0};
    const uint8_t pixel[4] = {1, 2, 3, 0};
    *pHBInfo = NewBlock(&info, sizeof info);
    *pHBm = NewBlock(pixel, sizeof pixel);
    return SPI_SUCCESS;
}
#endif

#ifdef TEST_ARCHIVE_EXPORTS
SPI_EXPORT int32_t GetArchiveInfo() { return SPI_NOT_IMPLEMENTED; }
SPI_EXPORT int32_t GetFileInfo() { return SPI_NOT_IMPLEMENTED; }
SPI_EXPORT int32_t GetFile() { return SPI_NOT_IMPLEMENTED; }
#endif

}  // extern "C"
