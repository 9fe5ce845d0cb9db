// Packed DIB blocks, the clipboard's picture format: read back what the
// model writes, and refuse blocks whose sizes do not add up.
#include <gtest/gtest.h>

#include <cstring>

#include "bmp_builder.h"
#include "image/PxDIB.h"

using namespace tam32;
using namespace tam32::test;

namespace {

HGLOBAL BlockOf(const std::vector<uint8_t>& Bytes) {
    HGLOBAL h = GlobalAlloc(GHND, Bytes.size());
    MemoryLock lock(h);
    if (!Bytes.empty()) std::memcpy(lock.Data(), Bytes.data(), Bytes.size());
    return h;
}

struct BlockGuard {
    HGLOBAL Handle;
    ~BlockGuard() { GlobalFree(Handle); }
};

}  // namespace

TEST(PackedDib, RoundTripThroughABlock) {
    TPxDIB source;
    source.SetBitCount(24);
    source.SetWidth(3);
    source.SetHeight(2);
    source.SetPixels(2, 1, RGBToColor(10, 20, 30));
    uint16_t format = 0;
    HGLOBAL data = nullptr;
    HPALETTE palette = CreatePalette({{1, 2, 3, 0}});
    source.SaveToClipboardFormat(format, data, palette);
    BlockGuard guard{data};
    EXPECT_EQ(format, CF_DIB);
    EXPECT_EQ(palette, nullptr);
    EXPECT_EQ(GlobalSize(data), 40u + 2 * 12u);

    TPxDIB copy;
    copy.LoadFromClipboardFormat(CF_DIB, data, nullptr);
    EXPECT_EQ(copy.Width(), 3);
    EXPECT_EQ(copy.Height(), 2);
    EXPECT_EQ(copy.GetPixels(2, 1), RGBToColor(10, 20, 30));
}

TEST(PackedDib, SixteenBitAndCoreHeaderBlocks) {
    BmpSpec s;
    s.Width = 1;
    s.BitCount = 16;
    s.Bits = {0xFF, 0x7F, 0, 0};
    BlockGuard a{BlockOf(MakePackedDib(s))};
    TPxDIB dib;
    dib.LoadFromClipboardFormat(CF_DIB, a.Handle, nullptr);
    EXPECT_EQ(dib.GetPixels(0, 0), RGBToColor(255, 255, 255));

    BmpSpec core;
    core.HeaderSize = 12;
    core.BitCount = 1;
    core.Colors = {{0, 0, 0, 0}, {0, 0, 255, 0}};
    core.Bits = {0x80, 0, 0, 0};
    BlockGuard b{BlockOf(MakePackedDib(core))};
    dib.LoadFromClipboardFormat(CF_DIB, b.Handle, nullptr);
    EXPECT_EQ(dib.GetBitCount(), 1);
    EXPECT_EQ(dib.GetPixels(0, 0), 1);
    EXPECT_EQ(dib.DIB().Infos.Colors[1].rgbRed, 255);
}

TEST(PackedDib, WrongFormatOrNoDataIsRefused) {
    TPxDIB dib;
    BlockGuard block{BlockOf(std::vector<uint8_t>(64, 0))};
    EXPECT_THROW(dib.LoadFromClipboardFormat(CF_BITMAP, block.Handle, nullptr), EInvalidGraphic);
    EXPECT_THROW(dib.LoadFromClipboardFormat(CF_DIB, nullptr, nullptr), EInvalidGraphic);
}

TEST(PackedDib, BlocksThatLieAboutTheirSizesAreRefused) {
    auto valid = [] {
        BmpSpec s;
        s.Width = 4;
        s.Height = 4;
        s.BitCount = 8;
        s.ClrUsed = 4;
        s.Colors = GreyTable(4);
        s.Bits = std::vector<uint8_t>(16, 1);
        return s;
    };
    std::vector<std::pair<const char*, std::vector<uint8_t>>> blocks;
    blocks.push_back({"empty", {}});
    blocks.push_back({"ten bytes", std::vector<uint8_t>(10, 0)});
    {
        auto bytes = MakePackedDib(valid());
        bytes.resize(bytes.size() - 1);
        blocks.push_back({"short pixels", bytes});
    }
    {
        BmpSpec s = valid();
        s.ClrUsed = 100000;  // the colour table runs past the block
        blocks.push_back({"colour table", MakePackedDib(s)});
    }
    {
        BmpSpec s = valid();
        s.BitCount = 32;
        s.Bits = std::vector<uint8_t>(60, 0);  // 64 needed
        s.ClrUsed = 0;
        s.Colors.clear();
        blocks.push_back({"short 32-bit rows", MakePackedDib(s)});
    }
    {
        BmpSpec s = valid();
        s.HeaderSize = 108;
        blocks.push_back({"header size", MakePackedDib(s)});
    }
    {
        BmpSpec s = valid();
        s.Width = 1 << 30;
        blocks.push_back({"width", MakePackedDib(s)});
    }
    for (const auto& [name, bytes] : blocks) {
        SCOPED_TRACE(name);
        BlockGuard block{BlockOf(bytes)};
        TPxDIB dib;
        EXPECT_THROW(dib.LoadFromClipboardFormat(CF_DIB, block.Handle, nullptr), EPxDIBInvalidDIB);
        EXPECT_EQ(dib.Width(), 1);  // unchanged
    }
}

TEST(PackedDib, AHandleThatIsNotLiveIsRefused) {
    HGLOBAL h = GlobalAlloc(GHND, 100);
    GlobalFree(h);
    TPxDIB dib;
    EXPECT_THROW(dib.LoadFromClipboardFormat(CF_DIB, h, nullptr), EPxDIBInvalidDIB);
}
