// The bilinear sampler and the result picture of the resampling corrections.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/core/Resampling.h"
#include "import/SPIPxDIB.h"

namespace tam32::test {
namespace {

// A 24-bit picture whose red channel holds Values row by row (green and
// blue 0).
std::unique_ptr<TSPIPxDIB> RedPicture(int W, int H, std::initializer_list<int> Values) {
    auto Picture = std::make_unique<TSPIPxDIB>();
    Picture->SetBitCount(24);
    Picture->SetWidth(W);
    Picture->SetHeight(H);
    auto Value = Values.begin();
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) Picture->GetScanLine(Y)[X * 3 + 2] = uint8_t(*Value++);
    return Picture;
}

int RedAt(const TBilinearSampler& Sampler, double X, double Y) {
    int R, G, B;
    Sampler.SampleBilinear(R, G, B, X, Y);
    return R;
}

TEST(ResamplingTest, SamplesWeighTheNeighboursInsideThePictureOnly) {
    const auto Picture = RedPicture(2, 2, {100, 200, 0, 255});
    const TBilinearSampler Sampler(*Picture);
    const struct {
        double X, Y;
        int Red;
        const char* Why;
    } Cases[] = {
        {0.0, 0.0, 100, "a pixel's own position"},
        {0.5, 0.0, 150, "half way along a row"},
        {0.5, 0.5, 139, "the middle of four: 138.75 rounds up"},
        {1.5, 0.0, 100, "half beyond the last column: half of it, not renormalised"},
        {-0.5, 0.0, 50, "in (-1, 0) the cell is truncated to 0: 1.5 x 100 - 0.5 x 200"},
        {-0.5, 1.0, 0, "extrapolated below 0 is held at 0"},
        {-1.5, -1.5, 25, "truncation, not the floor: pixel (0, 0) weighs 0.25"},
        {-2.0, 0.0, 0, "no neighbour in the picture"},
        {2.0, 1.0, 0, "the first column beyond"},
        {NAN, 0.0, 0, "no position at all"},
        {1e300, 0.0, 0, "far beyond"},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Why);
        EXPECT_EQ(RedAt(Sampler, Case.X, Case.Y), Case.Red);
    }
    // Beyond 255 when extrapolating: held at 255.
    const auto Bright = RedPicture(2, 1, {255, 0});
    EXPECT_EQ(RedAt(TBilinearSampler(*Bright), -0.5, 0.0), 255);
}

TEST(ResamplingTest, ChannelsKeepTheirOrderAndSumsAreRoundedHalfUp) {
    auto Picture = std::make_unique<TSPIPxDIB>();
    Picture->SetBitCount(24);
    Picture->SetWidth(2);
    Picture->SetHeight(1);
    uint8_t* Row = Picture->GetScanLine(0);
    const uint8_t Bytes[] = {1, 2, 3, 4, 6, 8};  // blue, green, red of each pixel
    std::copy(std::begin(Bytes), std::end(Bytes), Row);
    int R, G, B;
    TBilinearSampler(*Picture).SampleBilinear(R, G, B, 0.5, 0.0);
    EXPECT_EQ(R, 6);  // 5.5
    EXPECT_EQ(G, 4);
    EXPECT_EQ(B, 3);  // 2.5
}

TEST(ResamplingTest, ResultPixelsGoToTheirRowCountedFromEitherEnd) {
    TResultPicture Down(3, 2), Up(3, 2, TResultPicture::TRows::BottomUp);
    Down.PutResultPixel(2, 0, 10, 20, 30);
    Up.PutResultPixel(2, 0, 10, 20, 30);
    const uint8_t* DownTop = Down.Picture().GetScanLine(0) + 6;
    EXPECT_EQ(DownTop[0], 30);  // blue, green, red
    EXPECT_EQ(DownTop[1], 20);
    EXPECT_EQ(DownTop[2], 10);
    EXPECT_EQ(Up.Picture().GetScanLine(1)[8], 10);
    EXPECT_EQ(Up.Picture().GetScanLine(0)[8], 0);  // black until written
    const std::unique_ptr<TSPIPxDIB> Taken = Down.Take();
    EXPECT_EQ(Taken->GetPixelFormat(), pxPf24Bit);
    EXPECT_EQ(Taken->Width(), 3);
    EXPECT_EQ(Taken->Height(), 2);
}

}  // namespace
}  // namespace tam32::test
