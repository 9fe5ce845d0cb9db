// The pieces under the host: the interface's layout and the memory functions
// the program exports to plug-ins, the size rules for a plug-in's DIB, the
// BMP view over separate blocks, and small helpers.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <dlfcn.h>
#include <algorithm>
#include <numeric>

#include "import/BitmapFileView.h"
#include "import/FileExtension.h"
#include "import/SPIDIBLayout.h"
#include "platform/LargeBlocks.h"
#include "platform/MulDiv.h"
#include "platform/SpiAbi.h"

using namespace tam32;

static_assert(sizeof(SpiPictureInfo) == 32);
static_assert(offsetof(SpiPictureInfo, x_density) == 16);
static_assert(offsetof(SpiPictureInfo, colorDepth) == 20);
static_assert(offsetof(SpiPictureInfo, hInfo) == 24);

TEST(SpiHostMemory, PluginsFindTheProgramsMemoryFunctions) {
    for (const char* name : {"SpiLocalAlloc", "SpiLocalLock", "SpiLocalUnlock", "SpiLocalFree", "SpiLocalSize"})
        EXPECT_NE(dlsym(RTLD_DEFAULT, name), nullptr) << name;
}

TEST(SpiHostMemory, BlocksAreTheProgramsHandles) {
    // Cleared even when the plug-in does not ask for it.
    SpiHandle block = SpiLocalAlloc(SPI_LMEM_MOVEABLE, 48);
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(IsValidMemoryHandle(static_cast<HLOCAL>(block)));
    EXPECT_EQ(LocalSize(static_cast<HLOCAL>(block)), 48u);
    auto* bytes = static_cast<uint8_t*>(SpiLocalLock(block));
    EXPECT_EQ(bytes[47], 0);
    EXPECT_EQ(SpiLocalUnlock(block), 0);
    EXPECT_EQ(SpiLocalFree(block), nullptr);
    // What is not a live handle is refused, not freed.
    uint8_t junk[64] = {};
    EXPECT_EQ(SpiLocalFree(junk), static_cast<SpiHandle>(junk));
    EXPECT_EQ(SpiLocalSize(junk), 0u);
    EXPECT_EQ(SpiLocalLock(block), nullptr);
}

TEST(MulDiv, RoundsHalvesAwayFromZeroAndRefusesZero) {
    EXPECT_EQ(MulDiv(1, 97, 2), 49);
    EXPECT_EQ(MulDiv(-1, 97, 2), -49);
    EXPECT_EQ(MulDiv(1, 1, 3), 0);
    EXPECT_EQ(MulDiv(2, 1, 3), 1);
    EXPECT_EQ(MulDiv(5, 3, -2), -8);
    EXPECT_EQ(MulDiv(7, 1, 0), -1);
    EXPECT_EQ(MulDiv(INT32_MAX, 4, 1), -1);
}

TEST(FileExtension, IsTakenFromTheFileNamePart) {
    EXPECT_EQ(ExtractFileExt(QStringLiteral("/a/b.JPG")), QStringLiteral(".JPG"));
    EXPECT_EQ(ExtractFileExt(QStringLiteral("x.tar.gz")), QStringLiteral(".gz"));
    EXPECT_EQ(ExtractFileExt(QStringLiteral("/a.d/file")), QString());
    EXPECT_EQ(ExtractFileExt(QStringLiteral("photo")), QString());
    EXPECT_TRUE(IsBmpFileName(QStringLiteral("/x/Y.BmP")));
    EXPECT_FALSE(IsBmpFileName(QStringLiteral("/x.bmp/y")));
    EXPECT_FALSE(IsBmpFileName(QStringLiteral("y.bmpx")));
}

TEST(DIBLayout, SizesComeFromTheHeader) {
    BITMAPINFOHEADER h{40, 7, -5, 1, 8, BI_RGB, 0, 0, 0, 0, 0};
    auto layout = DIBLayoutOf(h);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->ColorCount, 256);
    EXPECT_EQ(layout->InfoSize, 1064);
    EXPECT_EQ(layout->ImageSize, 8 * 5);
    EXPECT_EQ(layout->Height, -5);

    h.biBitCount = 24;
    EXPECT_EQ(DIBLayoutOf(h)->InfoSize, 40);
    // Colour masks belong to the BITMAPINFO.
    h.biBitCount = 32;
    h.biCompression = BI_BITFIELDS;
    EXPECT_EQ(DIBLayoutOf(h)->InfoSize, 52);
    // RLE data is as long as the header says.
    h = {40, 7, 5, 1, 8, BI_RLE8, 123, 0, 0, 16, 0};
    EXPECT_EQ(DIBLayoutOf(h)->ImageSize, 123);
    EXPECT_EQ(DIBLayoutOf(h)->InfoSize, 40 + 64);
    h.biSizeImage = 0;
    EXPECT_FALSE(DIBLayoutOf(h));
}

TEST(DIBLayout, HeadersThatDescribeNoStorablePictureAreRefused) {
    const BITMAPINFOHEADER good{40, 4, 4, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    ASSERT_TRUE(DIBLayoutOf(good));
    const auto refused = [&](auto Change) {
        BITMAPINFOHEADER h = good;
        Change(h);
        return !DIBLayoutOf(h);
    };
    EXPECT_TRUE(refused([](auto& h) { h.biSize = 108; }));
    EXPECT_TRUE(refused([](auto& h) { h.biWidth = 0; }));
    EXPECT_TRUE(refused([](auto& h) { h.biHeight = 0; }));
    EXPECT_TRUE(refused([](auto& h) { h.biHeight = INT32_MIN; }));
    EXPECT_TRUE(refused([](auto& h) { h.biBitCount = 7; }));
    EXPECT_TRUE(refused([](auto& h) { h.biCompression = BI_RLE8; }));  // 24 bits cannot be RLE8
    EXPECT_TRUE(refused([](auto& h) { h.biCompression = 9; }));
    EXPECT_TRUE(refused([](auto& h) { h.biClrUsed = 257; }));
    EXPECT_TRUE(refused([](auto& h) { h.biWidth = h.biHeight = 30000; }));  // past the model's 2 GB
}

TEST(DIBLayout, ABlockSmallerThanItsHeaderSaysIsRefused) {
    const BITMAPINFOHEADER h{40, 3, 2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    HLOCAL info = LocalAlloc(LHND, sizeof h);
    std::memcpy(LocalLock(info), &h, sizeof h);
    LocalUnlock(info);
    HLOCAL bits = LocalAlloc(LHND, 24);
    HLOCAL shortBits = LocalAlloc(LHND, 23);
    EXPECT_TRUE(CheckDecodedDIB(info, bits));
    EXPECT_FALSE(CheckDecodedDIB(info, shortBits));
    EXPECT_FALSE(CheckDecodedDIB(info, info));
    EXPECT_FALSE(CheckDecodedDIB(info, nullptr));
    LocalFree(info);
    LocalFree(bits);
    LocalFree(shortBits);
}

TEST(BitmapFileView, ReadsTheThreePartsAsOneFile) {
    const std::vector<uint8_t> info = {1, 2, 3, 4, 5};
    const std::vector<uint8_t> bits = {6, 7, 8};
    TBitmapFileView view(info.data(), 5, bits.data(), 3);
    ASSERT_EQ(view.Size(), 14 + 5 + 3);
    std::vector<uint8_t> all(22);
    EXPECT_EQ(view.Read(all.data(), 100), 22);
    BITMAPFILEHEADER header;
    std::memcpy(&header, all.data(), sizeof header);
    EXPECT_EQ(header.bfType, kBitmapFileType);
    EXPECT_EQ(uint32_t{header.bfSize}, 22u);
    EXPECT_EQ(uint32_t{header.bfOffBits}, 19u);
    EXPECT_EQ(std::vector<uint8_t>(all.begin() + 14, all.end()), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));

    // Across a part boundary, and past the end.
    view.SetPosition(17);
    uint8_t piece[4] = {};
    EXPECT_EQ(view.Read(piece, 4), 4);
    EXPECT_EQ(std::vector<uint8_t>(piece, piece + 4), (std::vector<uint8_t>{4, 5, 6, 7}));
    EXPECT_EQ(view.Read(piece, 4), 1);
    EXPECT_EQ(view.Read(piece, 4), 0);
    EXPECT_EQ(view.Seek(-1, SeekOrigin::Beginning), -1);
    EXPECT_EQ(view.Write(piece, 1), 0);

    TMemoryStream out;
    view.WriteTo(out);
    EXPECT_EQ(out.Data(), all);
}

TEST(LargeBlocks, AreCopiedAndClearedWholeAndNoFurther) {
    for (size_t size : {size_t{0}, size_t{1}, size_t{4097}, (size_t{9} << 20) + 13}) {
        std::vector<uint8_t> from(size);
        std::iota(from.begin(), from.end(), uint8_t{7});
        std::vector<uint8_t> to(size + 1, 0xEE);
        CopyBlock(to.data(), from.data(), size);
        EXPECT_TRUE(std::equal(from.begin(), from.end(), to.begin())) << size;
        EXPECT_EQ(to[size], 0xEE) << size;
        ClearBlock(to.data(), size);
        EXPECT_EQ(std::count(to.begin(), to.end(), 0), static_cast<ptrdiff_t>(size)) << size;
        EXPECT_EQ(to[size], 0xEE) << size;
    }
}
