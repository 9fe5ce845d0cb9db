#pragma once
// The geometry of the two-photograph gap estimate: one object (a canopy
// gap) photographed from two camera heights on one vertical line. The ratio
// of its two apparent sizes and the difference of the heights give its
// distance from the nearer camera; that distance, the lens and the size of
// the nearer camera's picture give its real area.
#include <optional>

namespace tam32 {

// The object as the labelling measured it in one photograph, in pixels.
struct TGapPhotograph {
    float Area = 0.0f;         // the object's pixels
    float OutlineArea = 0.0f;  // inside its traced outline; 0 when not traced
    float Width = 0.0f, Height = 0.0f;  // of the labelled picture
};

struct TGapDistance {
    float Distance = 0.0f;  // metres
    float RealArea = 0.0f;  // square metres
};

// The estimate from the object's areas and from its outline areas.
struct TGapEstimate {
    TGapPhotograph Photo1, Photo2;
    std::optional<TGapDistance> ByArea, ByOutline;
};

// Base: the height difference (m); FocalLength: the 35-mm equivalent focal
// length (mm). Each way, the distance is Base / (sqrt(larger / smaller) - 1)
// of the object's two sizes, and the real area is that of the larger size
// in the picture of the photograph showing it (the first only when strictly
// larger), whose frame diagonal spans 2 x distance x 21.5 / FocalLength.
// None for sizes that are equal or not above 0, or for a lens or picture
// without size.
TGapEstimate EstimateGap(const TGapPhotograph& Photo1, const TGapPhotograph& Photo2, float Base, float FocalLength);

}  // namespace tam32
