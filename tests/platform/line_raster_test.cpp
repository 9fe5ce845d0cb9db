// The pixels of thin lines, against the rounding of the exact line that
// defines them.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/LineRaster.h"

using namespace tam32;

namespace {

struct TPixel {
    int64_t X, Y, Step;
    bool operator==(const TPixel&) const = default;
};

// Step i of the major axis goes to the minor row nearest the exact line:
// (2 i |dMinor| + steps) div (2 steps), with exact wide arithmetic. Only
// Count steps from FirstStep on are looked at, for lines too long to walk whole.
std::vector<TPixel> Defined(TPoint From, TPoint To, const TRect& Clip, int64_t FirstStep = 0,
                            int64_t Count = INT64_MAX) {
    const int64_t dx = int64_t(To.X) - From.X, dy = int64_t(To.Y) - From.Y;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const int64_t steps = std::abs(xMajor ? dx : dy), run = std::abs(xMajor ? dy : dx);
    std::vector<TPixel> pixels;
    for (int64_t i = FirstStep; i < steps && i - FirstStep < Count; ++i) {
        const int64_t offset = int64_t((__int128(2) * i * run + steps) / (__int128(2) * steps));
        const int64_t major = (xMajor ? From.X : From.Y) + ((xMajor ? dx : dy) < 0 ? -i : i);
        const int64_t minor = (xMajor ? From.Y : From.X) + ((xMajor ? dy : dx) < 0 ? -offset : offset);
        const int64_t x = xMajor ? major : minor, y = xMajor ? minor : major;
        if (x >= Clip.Left && x < Clip.Right && y >= Clip.Top && y < Clip.Bottom) pixels.push_back({x, y, i});
    }
    return pixels;
}

TEST(LineRaster, EveryLineTakesThePixelsNearestItsExactCourse) {
    struct TCase {
        TPoint From, To;
        TRect Clip;
    };
    const TRect wide{-2000, -2000, 2000, 2000};
    const TCase cases[] = {
        {{0, 0}, {7, 3}, wide},         {{0, 0}, {3, 7}, wide},       {{5, 5}, {-8, 1}, wide},
        {{2, -3}, {2, 9}, wide},        {{0, 0}, {9, 9}, wide},       {{-1, 4}, {13, -6}, wide},
        {{0, 0}, {1000, 999}, {10, 0, 600, 2000}},                   {{-1500, 700}, {1900, -1300}, {0, 0, 300, 200}},
        {{-40000, -39999}, {40000, 39998}, {-5, -5, 5, 5}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.From.X << "," << c.From.Y << " to " << c.To.X << "," << c.To.Y);
        std::vector<TPixel> walked;
        ForEachLinePixel(c.From, c.To, c.Clip, [&](int x, int y, int64_t step) { walked.push_back({x, y, step}); });
        EXPECT_EQ(walked, Defined(c.From, c.To, c.Clip));
    }
}

TEST(LineRaster, ALineFromFarOutsideMeetsTheClipAreaOnItsExactCourse) {
    // The clip area lies some 2^31 steps down the line, where the wide arithmetic is needed.
    const TPoint from{-2147483000, -2147000000}, to{2147483000, 2146999999};
    const TRect clip{-3, -3, 4, 4};
    std::vector<TPixel> walked;
    ForEachLinePixel(from, to, clip, [&](int x, int y, int64_t step) { walked.push_back({x, y, step}); });
    ASSERT_FALSE(walked.empty());
    EXPECT_EQ(walked, Defined(from, to, clip, int64_t(clip.Left) - from.X - 8, 32));
}

}  // namespace
