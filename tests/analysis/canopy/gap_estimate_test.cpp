// The two-photograph gap estimate's distance and real area.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/canopy/GapEstimate.h"

namespace tam32 {
namespace {

// The real area of Pixels of a W x H picture whose frame diagonal spans
// 2 x Distance x 21.5 / Focal (half the 35-mm frame's diagonal, 21.5 mm,
// seen at Distance through the focal length).
double FrameShare(double Distance, double Focal, double W, double H, double Pixels) {
    const double Diagonal = 2.0 * Distance * 21.5 / Focal;
    const double FrameW = Diagonal * W / std::hypot(W, H), FrameH = Diagonal * H / std::hypot(W, H);
    return FrameW * FrameH * Pixels / (W * H);
}

TEST(GapEstimateTest, TheSizeRatioGivesTheDistanceAndTheNearerPhotographTheArea) {
    struct TCase {
        const char* Name;
        TGapPhotograph Photo1, Photo2;
        bool ByArea, ByOutline;
        double Distance;  // by the areas
        double NearW, NearH, NearPixels;
    };
    const TCase Cases[] = {
        {"400 and 100 pixels", {400, 380, 640, 480}, {100, 90, 640, 480}, true, true, 0.3, 640, 480, 400},
        {"swapped", {100, 90, 640, 480}, {400, 380, 640, 480}, true, true, 0.3, 640, 480, 400},
        {"the nearer photograph's own size", {100, 90, 320, 240}, {400, 380, 800, 400}, true, true, 0.3, 800, 400, 400},
        {"nine times the pixels", {900, 0, 640, 480}, {100, 0, 640, 480}, true, false, 0.15, 640, 480, 900},
        {"equal areas", {400, 380, 640, 480}, {400, 90, 640, 480}, false, true, 0, 0, 0, 0},
        {"an area of 0", {0, 380, 640, 480}, {400, 90, 640, 480}, false, true, 0, 0, 0, 0},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        const TGapEstimate Estimate = EstimateGap(Case.Photo1, Case.Photo2, 0.3f, 36.0f);
        ASSERT_EQ(Estimate.ByArea.has_value(), Case.ByArea);
        ASSERT_EQ(Estimate.ByOutline.has_value(), Case.ByOutline);
        if (!Case.ByArea) continue;
        EXPECT_NEAR(Estimate.ByArea->Distance, Case.Distance, 1e-6);
        EXPECT_NEAR(Estimate.ByArea->RealArea,
                    FrameShare(Case.Distance, 36.0, Case.NearW, Case.NearH, Case.NearPixels), 1e-9);
    }
}

}  // namespace
}  // namespace tam32
