// Randomised properties of the RLE pair: whatever the encoders produce
// decodes to the same picture, and any code stream is decoded or refused
// without touching memory outside its blocks (checked by the sanitizer build).
#include <random>

#include "convert_test_util.h"
#include "image/PxConvert.h"

namespace tam32 {
namespace {

using namespace convert_test;

int FromTop(const TPxDIBInfos& Infos, int X, int Y) {
    const int h = Infos.Header.biHeight;
    return IndexAt(Infos, X, h < 0 ? Y : h - 1 - Y);
}

// Rows of runs of 3 or more pixels (but the last of a row), or of pixels
// drawn from four values.
void Fill(TImage& Image, bool Runs, std::mt19937& Random) {
    const int bits = Image.Infos.Header.biBitCount, width = Image.Infos.Header.biWidth;
    std::uniform_int_distribution<int> value(0, Runs ? (1 << bits) - 1 : 3), length(3, 300);
    for (int y = 0; y < std::abs(Image.Infos.Header.biHeight); ++y)
        for (int x = 0; x < width;)
            for (int v = value(Random), n = Runs ? length(Random) : 1; n > 0 && x < width; --n)
                SetIndex(Image.Infos, x++, y, v);
}

void CheckRoundTrip(int Bits, int Width, int Height, bool Runs, std::mt19937& Random) {
    SCOPED_TRACE(::testing::Message() << Bits << " bits " << Width << " x " << Height << (Runs ? " runs" : " noise"));
    TImage source(Bits, Width, Height), encoded, decoded;
    Fill(source, Runs, Random);
    const bool eight = Bits == 8;
    try {
        (eight ? Convert8BitRGBTo8BitRLE : Convert4BitRGBTo4BitRLE)(source.Infos, encoded.Infos, false);
    } catch (const EPxDIBCompressionFailed&) {
        EXPECT_FALSE(Runs && eight && Width >= 9);  // such rows gain enough from nine pixels on
        return;
    }
    (eight ? Convert8BitRLETo8BitRGB : Convert4BitRLETo4BitRGB)(encoded.Infos, decoded.Infos, false);
    ASSERT_GT(decoded.Infos.Header.biHeight, 0);
    for (int y = 0; y < std::abs(Height); ++y)
        for (int x = 0; x < Width; ++x)
            ASSERT_EQ(FromTop(decoded.Infos, x, y), FromTop(source.Infos, x, y)) << x << ", " << y;
}

TEST(RleRoundTrip, EncodedImagesDecodeToTheSamePicture) {
    std::mt19937 random(7);
    for (int width = 1; width <= 40; ++width)
        for (int bits : {8, 4})
            for (int sign : {1, -1})
                for (bool runs : {true, false})
                    CheckRoundTrip(bits, width, sign * static_cast<int>(1 + random() % 12), runs, random);
}

TEST(RleRoundTrip, RandomCodeStreamsAreDecodedOrRefused) {
    std::mt19937 random(20240611);
    const auto pick = [&](int Lo, int Hi) {
        return static_cast<uint8_t>(std::uniform_int_distribution<int>(Lo, Hi)(random));
    };
    int decoded = 0;
    for (int round = 0; round < 4000; ++round) {
        Bytes codes;
        for (int c = pick(0, 12); c > 0; --c) {
            switch (pick(0, 4)) {
            case 0: codes.insert(codes.end(), {pick(1, 8), pick(0, 255)}); break;
            case 1: codes.insert(codes.end(), {0, 0}); break;
            case 2: codes.insert(codes.end(), {0, 2, pick(0, 6), pick(0, 2)}); break;
            case 3: codes.insert(codes.end(), {0, pick(3, 9)});
                for (int i = pick(0, 10); i > 0; --i) codes.push_back(pick(0, 255));
                break;
            default: codes.push_back(pick(0, 255));
            }
        }
        if (pick(0, 3) > 0) codes.insert(codes.end(), {0, 1});
        const bool four = round % 2 == 1;
        TImage source(four ? 4 : 8, four ? BI_RLE4 : BI_RLE8, pick(1, 20), pick(1, 5), codes), dest;
        try {
            (four ? Convert4BitRLETo4BitRGB : Convert8BitRLETo8BitRGB)(source.Infos, dest.Infos, false);
            ++decoded;
        } catch (const EPxDIBInvalidDIB&) {
        }
    }
    EXPECT_GT(decoded, 100);
}

}  // namespace
}  // namespace tam32
