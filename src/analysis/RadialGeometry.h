#pragma once
// The zenith and the sky weight of the pixels of the image circle, computed
// once for each distance from the centre instead of once per pixel: with the
// centre in a pixel's middle or on its corner the pixels lie symmetrically
// around it, so one eighth of the distances serves the whole circle.
#include <vector>

#include "platform/WinTypes.h"

namespace tam32 {

class TRadialGeometry {
public:
    // For the pixels of Area (inclusive) within the circle, from the circle
    // and lens settings. Usable() is false when the centre lies off the
    // symmetric positions or the slope correction is on; the caller then
    // computes per pixel.
    explicit TRadialGeometry(const TRect& Area);
    bool Usable() const { return FUsable; }

    struct TSample {
        double Zenith;
        double SkyWeight;
    };
    // The sample of pixel (X, Y) of the area within the circle.
    const TSample& At(int X, int Y) const { return FRows[Index(Y - FCentreY)][Index(X - FCentreX)]; }
    // ZenithWeighting of that zenith; kept only while a zenith model is chosen.
    double Weighting(int X, int Y) const { return FWeightings[Index(Y - FCentreY)][Index(X - FCentreX)]; }

private:
    // Pixel offset K from the centre pixel to the index of |distance| - FHalf.
    int Index(int K) const { return FHalf > 0.0 && K >= 1 ? K - 1 : (K < 0 ? -K : K); }
    void Fill();

    bool FUsable = false;
    int FCentreX = 0, FCentreY = 0;
    double FHalf = 0.0;  // distance of the first pixel from the centre along an axis
    double FReach2 = 0.0;  // square of the circle's radius of zenith 90
    std::vector<std::vector<TSample>> FRows;
    std::vector<std::vector<double>> FWeightings;
};

}  // namespace tam32
