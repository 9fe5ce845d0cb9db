#include "platform/Clipboard.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QMimeData>
#include <cstring>
#include <functional>

#include "platform/PackedDib.h"
#include "platform/WinTypes.h"
#include "common/gui_app_env.h"

namespace tam32 {
namespace {

// A bottom-up packed DIB whose every byte of pixel data is distinct.
QByteArray PackedDibOf(int W, int H, uint16_t BitCount, uint32_t ColorsUsed = 0) {
    const int stride = ((W * BitCount + 31) / 32) * 4;
    BITMAPINFOHEADER info{40, W, H, 1, BitCount, BI_RGB, uint32_t(stride * H), 3780, 3780, ColorsUsed, 0};
    QByteArray bytes(reinterpret_cast<const char*>(&info), sizeof info);
    const uint32_t entries = ColorsUsed != 0 ? ColorsUsed : BitCount <= 8 ? 1u << BitCount : 0;
    for (uint32_t i = 0; i < entries; ++i) bytes.append(QByteArray::fromRawData("\x10\x80\xF0\x00", 4));
    for (int i = 0; i < stride * H; ++i) bytes.append(char(i * 7 + 3));
    return bytes;
}

BITMAPINFOHEADER HeaderOf(const QByteArray& Packed) {
    BITMAPINFOHEADER info;
    std::memcpy(&info, Packed.constData(), sizeof info);
    return info;
}

QByteArray FileOf(const QByteArray& Packed) {
    return PackedDib::ToBmpFile(reinterpret_cast<const uint8_t*>(Packed.constData()), size_t(Packed.size()));
}

void PutBmpData(const QByteArray& File, const QImage& Image = QImage()) {
    auto* data = new QMimeData;
    data->setData("image/bmp", File);
    if (!Image.isNull()) data->setImageData(Image);
    QGuiApplication::clipboard()->setMimeData(data);
}

class ClipboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::RequireGuiApp();
        Clipboard().Clear();
    }
};

TEST_F(ClipboardTest, PackedDibsRoundTripExactly) {
    for (const QByteArray& packed : {PackedDibOf(3, 2, 24), PackedDibOf(5, 3, 8, 4), PackedDibOf(9, 2, 1)}) {
        HGLOBAL given = PackedDib::ToHandle(packed);
        Clipboard().SetAsHandle(CF_DIB, given);
        EXPECT_FALSE(IsValidMemoryHandle(given)) << "the clipboard takes the block over";
        EXPECT_TRUE(Clipboard().HasFormat(CF_DIB));
        EXPECT_TRUE(Clipboard().HasFormat(CF_BITMAP));
        EXPECT_FALSE(Clipboard().HasFormat(CF_TEXT));
        EXPECT_FALSE(QGuiApplication::clipboard()->image().isNull());

        Clipboard().Open();
        HGLOBAL got = Clipboard().GetAsHandle(CF_DIB);
        EXPECT_EQ(PackedDib::FromHandle(got), packed);
        Clipboard().Close();
        EXPECT_FALSE(IsValidMemoryHandle(got)) << "freed when the clipboard closes";
    }
}

TEST_F(ClipboardTest, AnImageAloneGivesABottomUp24BitDib) {
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    image.setPixel(0, 1, qRgb(200, 100, 50));  // bottom row, first pixel
    QGuiApplication::clipboard()->setImage(image);
    ASSERT_TRUE(Clipboard().HasFormat(CF_DIB));
    const QByteArray packed = PackedDib::FromHandle(Clipboard().GetAsHandle(CF_DIB));
    ASSERT_EQ(packed.size(), 40 + 12 * 2);
    const BITMAPINFOHEADER info = HeaderOf(packed);
    EXPECT_EQ(info.biWidth, 3);
    EXPECT_EQ(info.biHeight, 2);
    EXPECT_EQ(info.biBitCount, 24);
    EXPECT_EQ(info.biCompression, BI_RGB);
    EXPECT_EQ(uint8_t(packed[40]), 50);  // B of the bottom row's first pixel comes first
    EXPECT_EQ(uint8_t(packed[42]), 200);
}

TEST_F(ClipboardTest, LyingBmpDataIsRefusedWithoutCrashing) {
    const QByteArray packed8 = PackedDibOf(4, 4, 8, 16);
    const QByteArray good = FileOf(packed8);
    ASSERT_FALSE(good.isEmpty());
    const auto edited = [&](std::function<void(QByteArray&)> Edit) {
        QByteArray file = good;
        Edit(file);
        return file;
    };
    const auto set32 = [](QByteArray& f, int at, uint32_t v) { std::memcpy(f.data() + at, &v, 4); };
    const std::vector<std::pair<const char*, QByteArray>> lies = {
        {"truncated bits", good.left(good.size() - 5)},
        {"truncated header", good.left(30)},
        {"offset beyond the end", edited([&](QByteArray& f) { set32(f, 10, 0x7FFFFFF0); })},
        {"offset inside the table", edited([&](QByteArray& f) { set32(f, 10, 20); })},
        {"huge height", edited([&](QByteArray& f) { set32(f, 14 + 8, 100000000); })},
        {"huge colour count", edited([&](QByteArray& f) { set32(f, 14 + 32, 1000000000); })},
        {"bogus header size", edited([&](QByteArray& f) { set32(f, 14, 999); })},
        {"negative width", edited([&](QByteArray& f) { set32(f, 14 + 4, uint32_t(-4)); })},
        {"RLE larger than the data", edited([&](QByteArray& f) {
             set32(f, 14 + 16, BI_RLE8);
             set32(f, 14 + 20, 0x10000);
         })},
        {"not a bitmap", edited([&](QByteArray& f) { f[0] = 'X'; })},
    };
    for (const auto& [name, file] : lies) {
        PutBmpData(file);
        EXPECT_TRUE(Clipboard().HasFormat(CF_DIB)) << name;
        EXPECT_EQ(Clipboard().GetAsHandle(CF_DIB), nullptr) << name;

        // With a picture beside it, the picture is taken instead.
        PutBmpData(file, QImage(2, 2, QImage::Format_RGB32));
        const QByteArray fallback = PackedDib::FromHandle(Clipboard().GetAsHandle(CF_BITMAP));
        ASSERT_EQ(fallback.size(), 40 + 8 * 2) << name;
        EXPECT_EQ(HeaderOf(fallback).biBitCount, 24) << name;
    }
}

TEST_F(ClipboardTest, BitsAfterAGapAreRepacked) {
    const QByteArray packed = PackedDibOf(2, 2, 24);
    QByteArray file = FileOf(packed);
    const uint32_t offBits = 14 + 40 + 8;
    file.insert(14 + 40, QByteArray(8, '\x55'));
    std::memcpy(file.data() + 10, &offBits, 4);
    EXPECT_EQ(PackedDib::FromBmpFile(file), packed);
}

TEST_F(ClipboardTest, RefusedBlocksStayWithTheCaller) {
    QByteArray lying = PackedDibOf(4, 4, 24);
    lying.chop(10);
    HGLOBAL block = PackedDib::ToHandle(lying);
    EXPECT_THROW(Clipboard().SetAsHandle(CF_DIB, block), EInvalidGraphic);
    EXPECT_TRUE(IsValidMemoryHandle(block));
    EXPECT_THROW(Clipboard().SetAsHandle(CF_TEXT, block), EClipboardException);
    EXPECT_TRUE(IsValidMemoryHandle(block));
    GlobalFree(block);
    EXPECT_FALSE(Clipboard().HasFormat(CF_DIB));
}

TEST_F(ClipboardTest, HandlesLiveUntilTheOutermostClose) {
    Clipboard().SetAsHandle(CF_DIB, PackedDib::ToHandle(PackedDibOf(2, 2, 24)));
    Clipboard().Open();
    Clipboard().Open();
    HGLOBAL nested = Clipboard().GetAsHandle(CF_DIB);
    Clipboard().Close();
    EXPECT_TRUE(IsValidMemoryHandle(nested));
    Clipboard().Close();
    EXPECT_FALSE(IsValidMemoryHandle(nested));
    Clipboard().Close();  // unbalanced: ignored

    // Fetched while closed: valid until the next such fetch.
    HGLOBAL first = Clipboard().GetAsHandle(CF_DIB);
    EXPECT_TRUE(IsValidMemoryHandle(first));
    HGLOBAL second = Clipboard().GetAsHandle(CF_DIB);
    EXPECT_FALSE(IsValidMemoryHandle(first));
    EXPECT_TRUE(IsValidMemoryHandle(second));
    EXPECT_EQ(Clipboard().GetAsHandle(CF_TEXT), nullptr);
}

TEST_F(ClipboardTest, FormatsAddUpWithinOneOpenSession) {
    Clipboard().Open();
    Clipboard().SetAsText("abc");
    Clipboard().SetAsHandle(CF_DIB, PackedDib::ToHandle(PackedDibOf(2, 2, 24)));
    Clipboard().Close();
    EXPECT_TRUE(Clipboard().HasFormat(CF_DIB));
    EXPECT_TRUE(Clipboard().HasFormat(CF_UNICODETEXT));
    EXPECT_EQ(Clipboard().AsText(), "abc");

    Clipboard().SetAsText("alone");  // outside a session it replaces everything
    EXPECT_FALSE(Clipboard().HasFormat(CF_DIB));
    EXPECT_EQ(Clipboard().AsText(), "alone");
}

}  // namespace
}  // namespace tam32
