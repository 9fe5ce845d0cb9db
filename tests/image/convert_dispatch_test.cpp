// The store's format change: every chain ends in the target with the same
// picture, a failing chain leaves the store as it was, and a change to the
// current format is no change at all.
#include "convert_test_util.h"
#include "image/PxConvert.h"
#include "image/PxInternalDIB.h"

namespace tam32 {
namespace {

using namespace convert_test;

constexpr int kWidth = 37;  // odd, not a multiple of 8

// Runs of eight pixels of 0 and 1: every format holds it and both encoders gain.
int Bands(int X, int Y) { return (X / 8 + Y) % 2; }
int Alternating(int X, int) { return X % 2 + 1; }  // RLE4 runs, RLE8 literals too long to fit

int BitsOf(TPxPixelFormat F) { return F == pxPf1Bit ? 1 : F <= pxPf4BitRLE ? 4 : F <= pxPf8BitRLE ? 8 : 24; }

// Replaces the store's image by the picture Pixel (X, Y from the top) in Format.
void Install(TPxInternalDIB& Store, TPxPixelFormat Format, int Height, int (*Pixel)(int, int) = Bands) {
    const int bits = BitsOf(Format), rows = std::abs(Height);
    TImage plain(bits, kWidth, Height);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const int row = Height < 0 ? y : rows - 1 - y;
            if (bits < 24) SetIndex(plain.Infos, x, row, Pixel(x, y));
            else std::memcpy(plain.Row(row) + 3 * x, &plain.Infos.Colors[Pixel(x, y)], 3);
        }
    TPxDIBInfos infos = plain.Infos;
    if (Format == pxPf4BitRLE) Convert4BitRGBTo4BitRLE(plain.Infos, infos, Store.UseFileMapping);
    else if (Format == pxPf8BitRLE) Convert8BitRGBTo8BitRLE(plain.Infos, infos, Store.UseFileMapping);
    else {
        GetMemory(infos, plain.Infos.BitsSize, Store.UseFileMapping);
        std::memcpy(infos.Bits, plain.Infos.Bits, plain.Infos.BitsSize);
    }
    Store.Install(infos);
    Store.PaletteChangedFlag = false;
}

// Colours of the pixels, top row first, whatever the format.
std::vector<uint32_t> Picture(const TPxInternalDIB& Store) {
    TImage decoded;
    const TPxDIBInfos* p = &Store.Infos;
    if (p->Header.biCompression != BI_RGB) {
        const bool eight = p->Header.biBitCount == 8;
        (eight ? Convert8BitRLETo8BitRGB : Convert4BitRLETo4BitRGB)(*p, decoded.Infos, false);
        p = &decoded.Infos;
    }
    std::vector<uint32_t> colors;
    const int h = p->Header.biHeight, rows = std::abs(h);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < p->Header.biWidth; ++x) {
            const int row = h < 0 ? y : rows - 1 - y;
            uint32_t c = 0;
            const uint8_t* rgb = p->Header.biBitCount == 24 ? p->Bits + row * DIBRowSize(24, kWidth) + 3 * x
                                                             : &p->Colors[IndexAt(*p, x, row)].rgbBlue;
            std::memcpy(&c, rgb, 3);
            colors.push_back(c);
        }
    return colors;
}

// Expects the store to hold the same block at the same place, unflagged.
struct TSnapshot {
    explicit TSnapshot(const TPxInternalDIB& S)
        : Bits(S.Infos.Bits), Header(S.Infos.Header), Block(Bits, Bits + S.Infos.BitsSize) {}
    void Check(const TPxInternalDIB& S) const {
        EXPECT_EQ(S.Infos.Bits, Bits);
        EXPECT_EQ(std::memcmp(&S.Infos.Header, &Header, sizeof Header), 0);
        EXPECT_EQ(Bytes(S.Infos.Bits, S.Infos.Bits + S.Infos.BitsSize), Block);
        EXPECT_FALSE(S.PaletteChangedFlag);
    }
    uint8_t* Bits;
    BITMAPINFOHEADER Header;
    Bytes Block;
};

void Convert(TPxInternalDIB& Store, TPxPixelFormat Target) {
    Store.ConvertPixelFormat(Target, pxCmLow, nullptr, nullptr, clWhite);
}

TEST(Dispatch, LosslessChainsEndInTheTargetWithTheSamePicture) {
    const std::pair<TPxPixelFormat, TPxPixelFormat> chains[] = {
        {pxPf1Bit, pxPf4Bit}, {pxPf1Bit, pxPf4BitRLE}, {pxPf1Bit, pxPf8Bit}, {pxPf1Bit, pxPf8BitRLE},
        {pxPf1Bit, pxPf24Bit}, {pxPf4Bit, pxPf4BitRLE}, {pxPf4Bit, pxPf8Bit}, {pxPf4Bit, pxPf8BitRLE},
        {pxPf4Bit, pxPf24Bit}, {pxPf4BitRLE, pxPf4Bit}, {pxPf4BitRLE, pxPf8Bit}, {pxPf4BitRLE, pxPf8BitRLE},
        {pxPf4BitRLE, pxPf24Bit}, {pxPf8Bit, pxPf8BitRLE}, {pxPf8Bit, pxPf24Bit}, {pxPf8BitRLE, pxPf8Bit},
        {pxPf8BitRLE, pxPf24Bit}};
    for (const auto& [source, target] : chains)
        for (int height : {6, -6}) {
            SCOPED_TRACE(::testing::Message() << int(source) << " -> " << int(target) << ", " << height);
            TPxInternalDIB store(height > 0);
            Install(store, source, height);
            const std::vector<uint32_t> before = Picture(store);
            Convert(store, target);
            EXPECT_EQ(store.GetPixelFormat(), target);
            EXPECT_EQ(Picture(store), before);
            EXPECT_TRUE(store.PaletteChangedFlag);
            EXPECT_EQ(store.Height, 6);
            const auto rle = [](TPxPixelFormat F) { return F == pxPf4BitRLE || F == pxPf8BitRLE; };
            EXPECT_EQ(store.Infos.Header.biHeight, rle(source) || rle(target) ? 6 : height);
            EXPECT_EQ(store.Infos.Header.biClrUsed, 1u << BitsOf(source));
        }
}

TEST(Dispatch, TargetEqualToTheCurrentFormatChangesNothing) {
    for (TPxPixelFormat format : {pxPf1Bit, pxPf4Bit, pxPf4BitRLE, pxPf8Bit, pxPf8BitRLE, pxPf24Bit}) {
        TPxInternalDIB store(true);
        Install(store, format, 4);
        const TSnapshot snapshot(store);
        Convert(store, format);
        snapshot.Check(store);
    }
}

TEST(Dispatch, FailingChainLeavesTheStoreAsItWas) {
    struct TCase { TPxPixelFormat Source, Target; int (*Pixel)(int, int); std::string Message; };
    const TCase cases[] = {
        {pxPf8Bit, pxPf8BitRLE, Alternating, "Convert8BitRGBTo8BitRLE: Compression Failed"},
        // decoded and widened before the last step fails
        {pxPf4BitRLE, pxPf8BitRLE, Alternating, "Convert8BitRGBTo8BitRLE: Compression Failed"},
    };
    for (const TCase& c : cases) {
        TPxInternalDIB store(false);
        Install(store, c.Source, 4, c.Pixel);
        const TSnapshot snapshot(store);
        ExpectError<EPxDIBCompressionFailed>([&] { Convert(store, c.Target); }, c.Message);
        snapshot.Check(store);
    }
    for (TPxPixelFormat target : {pxPf1Bit, pxPf4Bit, pxPf24Bit, pxPf8BitDither, pxPf1BitDither}) {
        TPxInternalDIB store(false);
        TImage damaged(8, BI_RLE8, 4, 2, {4, 1, 0, 0});  // no end of bitmap
        store.Install(damaged.Infos);
        damaged.Infos.Bits = nullptr;  // the store owns the block now
        store.PaletteChangedFlag = false;
        const TSnapshot snapshot(store);
        ExpectError<EPxDIBInvalidDIB>([&] { Convert(store, target); },
                                      "Convert8BitRLETo8BitRGB: Bad RLE Data 0");
        snapshot.Check(store);
    }
    TPxInternalDIB store(false);
    ExpectError<EPxDIBInvalidDIBPara>([&] { Convert(store, static_cast<TPxPixelFormat>(8)); },
                                      "TPxInternalDIB.ConvertPixelFormat: Invalid Pixel Format");
}

void Count(void* Data) { ++*static_cast<int*>(Data); }

// Chains through the reductions and the dithering end in the stored format
// of the target, and only the reductions report progress.
TEST(Dispatch, ReductionAndDitherChains) {
    struct TCase { TPxPixelFormat Source, Target; TPxConvertMode Mode; bool Progress; };
    const TCase cases[] = {
        {pxPf4BitRLE, pxPf1Bit, pxCmLow, false},       {pxPf24Bit, pxPf1Bit, pxCmLow, false},
        {pxPf8BitRLE, pxPf4BitRLE, pxCmLow, true},     {pxPf24Bit, pxPf4Bit, pxCmHigh, true},
        {pxPf24Bit, pxPf8BitRLE, pxCmLow, true},       {pxPf24Bit, pxPf8Bit, pxCmHigh, true},
        {pxPf4BitRLE, pxPf8BitDither, pxCmLow, false}, {pxPf8BitRLE, pxPf1BitDither, pxCmLow, false}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.Source) << " -> " << int(c.Target));
        TPxInternalDIB store(true);
        Install(store, c.Source, 6);
        int calls = 0;
        store.ConvertPixelFormat(c.Target, c.Mode, Count, &calls, clWhite);
        const TPxPixelFormat stored = c.Target == pxPf8BitDither   ? pxPf8Bit
                                      : c.Target == pxPf1BitDither ? pxPf1Bit
                                                                   : c.Target;
        EXPECT_EQ(store.GetPixelFormat(), stored);
        EXPECT_TRUE(store.PaletteChangedFlag);
        EXPECT_EQ(calls > 0, c.Progress);
    }
}

}  // namespace
}  // namespace tam32
