#pragma once
// Which pixels an analysis looks at: inside the image circle (a pixel is
// tested at its top-left corner), below the horizon of a sloped ground, and
// outside the left-out azimuth sector; and the histograms of that area.
#include <array>
#include <vector>

#include "platform/WinTypes.h"

namespace tam32 {

bool InAnalysisArea(int X, int Y);

// Columns of row Y within Area (inclusive) whose corner lies in the circle:
// all of Area's columns without a circle; First > Last when none.
struct TColumnSpan {
    int First = 0, Last = -1;
};
TColumnSpan CircleRowSpan(int Y, const TRect& Area);
// Whether the azimuth mask (when in use) keeps pixel (X, Y).
bool KeptByAzimuthMask(int X, int Y);

// The runs of a row span that the azimuth mask keeps, with the answers of
// KeptByAzimuthMask: the arctangent is taken only next to the lines along the
// sector's bounds, north and the +x axis, where the answer can change; a run
// between them takes the answer of its first pixel. The whole span without a
// circle or a mask in use.
class TAzimuthMaskRuns {
public:
    TAzimuthMaskRuns();  // from the circle, north and mask settings
    // Valid until the next call.
    const std::vector<TColumnSpan>& Kept(int Y, TColumnSpan Span);

private:
    void Add(int First, int Last, bool Keep);

    bool FMasked = false;
    bool FByLines = false;  // false: every pixel is tested
    double FCentreX = 0.0, FCentreY = 0.0;
    std::array<double, 4> FSin{}, FCos{};  // of the lines' directions
    std::vector<TColumnSpan> FRuns;
};

// For a pixel of a CircleRowSpan: whether the slope and the azimuth mask keep
// it, with its zenith (slope-corrected when SlopeCorrection is set), so that
// a pixel loop computes the zenith once.
bool KeptWithZenith(int X, int Y, double& Zenith);

// Whether Rect (clipped to the analysis image) holds no pixel of the
// analysis area.
bool AreaHoldsNoPixel(const TRect& Rect);

// Counts the pixels of the analysis area within Rect (clipped to the analysis
// image): mode 0 RGBHistogram, 1 Histogram of the BinarizeTarget channel,
// 2 ZenithHistogram of that channel (added to what it holds); modes 1 and 2
// also clear TargetRGBHistogram. True when no pixel was counted.
bool BuildHistogram(int Mode, const TRect& Rect);

}  // namespace tam32
