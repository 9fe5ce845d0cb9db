// The bitmap graphic: sharing and copy-on-write, size and bit-count
// changes, pixel access from the top row, palettes and change events.
#include <gtest/gtest.h>

#include "bmp_builder.h"
#include "image/PxDIB.h"
#include "platform/Stream.h"

using namespace tam32;
using namespace tam32::test;

namespace {

TPxDIB* MakeImage(TPxDIB& Dib, int W, int H, int Bits) {
    Dib.SetBitCount(Bits);
    Dib.SetWidth(W);
    Dib.SetHeight(H);
    return &Dib;
}

}  // namespace

TEST(PxDIBSharing, AssignSharesAndTheFirstChangeCopies) {
    TPxDIB a, b;
    MakeImage(a, 4, 3, 24);
    a.SetPixels(1, 1, RGBToColor(1, 2, 3));
    b.Assign(&a);
    EXPECT_EQ(&a.DIB(), &b.DIB());
    EXPECT_EQ(a.DIB().RefCount, 2);

    EXPECT_EQ(b.GetPixels(1, 1), RGBToColor(1, 2, 3));
    EXPECT_EQ(a.DIB().RefCount, 2);  // reading pixels does not copy

    uint8_t* row = b.GetScanLine(1);
    EXPECT_NE(&a.DIB(), &b.DIB());
    EXPECT_EQ(a.DIB().RefCount, 1);
    EXPECT_EQ(b.DIB().RefCount, 1);
    row[3] = 99;
    EXPECT_EQ(GetBValue(b.GetPixels(1, 1)), 99);
    EXPECT_EQ(a.GetPixels(1, 1), RGBToColor(1, 2, 3));
}

TEST(PxDIBSharing, AssignCopiesTheSettingsAndNilResets) {
    TPxDIB a, b;
    MakeImage(a, 2, 2, 24);
    a.ConvertMode = pxCmHigh;
    a.MonoColor = 0x0000FF;
    a.PaletteMode = pxPmMono;
    b.Assign(&a);
    EXPECT_EQ(b.ConvertMode, pxCmHigh);
    EXPECT_EQ(b.MonoColor, 0x0000FF);
    EXPECT_EQ(b.PaletteMode, pxPmMono);
    b.Assign(&b);
    EXPECT_EQ(a.DIB().RefCount, 2);
    b.Assign(nullptr);
    EXPECT_EQ(b.Width(), 1);
    EXPECT_EQ(b.GetBitCount(), 8);
    EXPECT_EQ(a.DIB().RefCount, 1);
}

TEST(PxDIBSharing, ALoadReplacesOnlyThisGraphicsShare) {
    TPxDIB a, b;
    MakeImage(a, 2, 2, 24);
    b.Assign(&a);
    BmpSpec s;
    s.Width = 5;
    s.Bits = std::vector<uint8_t>(16, 7);
    TMemoryStream stream(MakeBmp(s));
    b.LoadFromStream(stream);
    EXPECT_EQ(b.Width(), 5);
    EXPECT_EQ(a.Width(), 2);
    EXPECT_EQ(a.DIB().RefCount, 1);
}

TEST(PxDIBSize, SettersMakeBlankImagesAndRefuseBadValues) {
    TPxDIB dib;
    MakeImage(dib, 3, 3, 24);
    dib.SetPixels(0, 0, clWhite);
    dib.SetWidth(3);
    EXPECT_EQ(dib.GetPixels(0, 0), clWhite);  // same width: nothing happens
    dib.SetWidth(4);
    EXPECT_EQ(dib.GetPixels(0, 0), clBlack);  // new blank image

    try {
        dib.SetWidth(0);
        ADD_FAILURE();
    } catch (const EPxDIBInvalidDIBPara& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("TPxDIB.SetWidth: Invalid Width"));
    }
    try {
        dib.SetHeight(0);
        ADD_FAILURE();
    } catch (const EPxDIBInvalidDIBPara& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("TPxDIB.SetWidth: Invalid Height"));
    }
    EXPECT_THROW(dib.SetBitCount(16), EPxDIBInvalidDIBPara);
    EXPECT_EQ(dib.Width(), 4);
}

TEST(PxDIBSize, NegativeHeightMakesATopDownImage) {
    TPxDIB dib;
    MakeImage(dib, 2, 3, 8);
    dib.SetPixels(0, 0, 9);
    dib.SetHeight(3);  // same height: nothing
    EXPECT_EQ(dib.GetPixels(0, 0), 9);
    dib.SetHeight(-3);  // the same rows top-down: a new blank image
    EXPECT_EQ(dib.DIB().Infos.Header.biHeight, -3);
    EXPECT_EQ(dib.Height(), 3);
    EXPECT_EQ(dib.GetPixels(0, 0), 0);
    EXPECT_EQ(dib.GetScanLine(0), dib.DIB().Infos.Bits);
    TPxDIB up;
    MakeImage(up, 2, 4, 8);
    EXPECT_EQ(up.GetScanLine(3), up.DIB().Infos.Bits);  // bottom-up: the last row is stored first
}

TEST(PxDIBPixels, EachDepthReadsAndWritesItsOwnBits) {
    for (int bits : {1, 4, 8, 24}) {
        SCOPED_TRACE(bits);
        TPxDIB dib;
        MakeImage(dib, 9, 2, bits);
        const TColor value = bits == 1 ? 1 : bits == 4 ? 0xA : bits == 8 ? 200 : RGBToColor(1, 2, 3);
        dib.SetPixels(8, 1, value);
        dib.SetPixels(7, 1, bits == 24 ? clWhite : 1);
        EXPECT_EQ(dib.GetPixels(8, 1), value);
        EXPECT_EQ(dib.GetPixels(0, 1), 0);
        EXPECT_EQ(dib.GetPixels(8, 0), 0);
    }
    TPxDIB dib;
    MakeImage(dib, 1, 1, 24);
    dib.SetPixels(0, 0, 0x0000FF);
    EXPECT_EQ(dib.GetScanLine(0)[2], 255);  // red is the third byte
    EXPECT_EQ(dib.GetScanLine(0)[0], 0);
}

TEST(PxDIBPixels, RangeAndTypeChecks) {
    TPxDIB dib;
    MakeImage(dib, 2, 2, 8);
    EXPECT_THROW(dib.SetPixels(0, 0, 256), ERangeError);
    EXPECT_THROW(dib.SetPixels(0, 0, -1), ERangeError);
    EXPECT_THROW(dib.GetPixels(2, 0), EPxDIBPixelPositionRange);
    EXPECT_THROW(dib.SetPixels(0, -1, 0), EPxDIBPixelPositionRange);
    try {
        dib.GetScanLine(2);
        ADD_FAILURE();
    } catch (const EPxDIBPixelPositionRange& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("TPxDIB.GetScanLine: y is Out of Range"));
    }
    MakeImage(dib, 2, 2, 24);
    EXPECT_THROW(dib.SetPixels(0, 0, static_cast<TColor>(0x80000005)), ERangeError);

    BmpSpec s;
    s.Width = 2;
    s.BitCount = 8;
    s.Compression = BI_RLE8;
    s.Colors = GreyTable(256);
    s.Bits = {2, 5, 0, 1};
    TMemoryStream stream(MakeBmp(s));
    dib.LoadFromStream(stream);
    try {
        dib.GetPixels(50, 50);  // the type is checked before the position
        ADD_FAILURE();
    } catch (const EPxDIBBadDIBType& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("TPxDIB.GetPixels: Bad DIB Type"));
    }
    EXPECT_THROW(dib.GetScanLine(0), EPxDIBBadDIBType);
}

TEST(PxDIBPalette, OwnAndSharedDisplayPalettes) {
    TPxDIB a, b;
    a.PaletteMode = pxPmMono;
    b.PaletteMode = pxPmMono;
    EXPECT_EQ(a.GetPalette(), b.GetPalette());
    EXPECT_EQ(a.GetPalette()->Entries().size(), 2u);
    a.PaletteMode = pxPmFixed;
    ASSERT_EQ(a.GetPalette()->Entries().size(), 215u);
    EXPECT_EQ(a.GetPalette()->Entries()[209].peBlue, 255);
    EXPECT_EQ(a.GetPalette()->Entries()[210].peRed, 0x80);

    TPxDIB c;
    MakeImage(c, 2, 2, 24);
    EXPECT_EQ(c.GetPalette(), nullptr);  // no colour table
    HPALETTE grey = CreatePalette({{0, 0, 0, 0}, {128, 128, 128, 0}, {255, 255, 255, 0}});
    c.SetPalette(grey);
    EXPECT_EQ(c.DIB().Infos.Header.biClrUsed, 3u);
    EXPECT_EQ(c.DIB().Infos.Colors[1].rgbGreen, 128);
    EXPECT_EQ(c.GetPalette(), grey);
    // The same palette given to a second graphic is shared, not taken over twice.
    TPxDIB d;
    d.SetPalette(c.GetPalette());
    c.SetPalette(nullptr);
    EXPECT_EQ(c.DIB().Infos.Header.biClrUsed, 0u);
    EXPECT_EQ(d.GetPalette()->Entries().size(), 3u);
}

TEST(PxDIBEvents, OnlyRealChangesFireTheChangeEvent) {
    TPxDIB dib;
    MakeImage(dib, 2, 2, 24);
    int changes = 0;
    dib.OnChange = [&](TObject*) { ++changes; };
    dib.SetPixelFormat(pxPf24Bit);
    dib.SetWidth(2);
    EXPECT_EQ(changes, 0);
    dib.SetWidth(3);
    EXPECT_EQ(changes, 1);
    dib.SetPixels(0, 0, 5);  // pixel writes send no notification
    EXPECT_EQ(changes, 1);
}

TEST(PxDIBEvents, FailedLoadLeavesTheGraphicAsItWas) {
    TPxDIB dib;
    MakeImage(dib, 3, 2, 24);
    dib.SetPixels(2, 1, clWhite);
    int changes = 0;
    dib.OnChange = [&](TObject*) { ++changes; };
    std::vector<uint8_t> junk = {'B', 'M', 1, 2, 3};
    TMemoryStream stream(junk);
    EXPECT_THROW(dib.LoadFromStream(stream), EReadError);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(dib.Width(), 3);
    EXPECT_EQ(dib.GetPixels(2, 1), clWhite);
}

TEST(PxDIBProgress, TrueColourToEightBitReportsEveryLeaf) {
    TPxDIB dib;
    MakeImage(dib, 4, 4, 24);
    std::vector<std::pair<TProgressStage, int>> events;
    QString message;
    dib.OnProgress = [&](TObject*, TProgressStage stage, uint8_t percent, bool, const TRect&, const QString& msg) {
        events.push_back({stage, percent});
        message = msg;
    };
    dib.SetPixelFormat(pxPf8Bit);
    EXPECT_EQ(message, QStringLiteral("PixelFormat 24Bit -> 8Bit"));
    ASSERT_EQ(events.size(), 1u + 255u + 1u);
    EXPECT_EQ(events.front(), std::make_pair(TProgressStage::psStarting, 0));
    EXPECT_EQ(events[128], std::make_pair(TProgressStage::psRunning, 128 * 100 / 256));
    EXPECT_EQ(events.back(), std::make_pair(TProgressStage::psEnding, 100));
    EXPECT_EQ(dib.DIB().Infos.Header.biClrUsed, 1u);
}

TEST(PxDIBRegistry, DibExtensionAndClipboardFormat) {
    RegisterPxDIB();
    EXPECT_EQ(PictureFormats::FindFileFormat(QStringLiteral(".DIB")), &TPxDIB::ClassInfo);
    EXPECT_EQ(PictureFormats::FindClipboardFormat(CF_DIB), &TPxDIB::ClassInfo);
    auto graphic = TPxDIB::ClassInfo.Create();
    EXPECT_STREQ(graphic->ClassName(), "TPxDIB");
    UnregisterPxDIB();
    EXPECT_EQ(PictureFormats::FindFileFormat(QStringLiteral("dib")), nullptr);
}
