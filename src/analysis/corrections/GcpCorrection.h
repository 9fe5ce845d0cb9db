#pragma once
// The control-point correction: the photograph resampled onto a regular
// grid of world coordinates through the polynomial fitted to its ground
// control points (GcpFit.h), written to a new 24-bit BMP file whose bottom
// row holds the lowest world Y.
#include <QString>
#include <cstdint>
#include <vector>

#include "analysis/corrections/GcpFit.h"

namespace tam32 {

constexpr int kMaxGcpSide = 32767;
constexpr int64_t kMaxGcpPixels = 100'000'000;

// The typed value that a refused output size needs mended.
enum class TGcpSizeFault { None, XExtent, YExtent, PixelSize };

struct TGcpSize {
    int Width = 0, Height = 0;
    TGcpSizeFault Fault = TGcpSizeFault::None;  // the size holds only without one
};

// The output size of the extent X0..X1 by Y0..Y1 at PixelSize world units
// a pixel: each side's extent / PixelSize to the nearest integer (an exact
// half to the even one). Refused when PixelSize is not above 0 or no
// number (the pixel size's fault), a side holds no whole pixel (an empty,
// reversed or unbounded extent: that side's fault), or the output would
// exceed kMaxGcpSide pixels a side or kMaxGcpPixels pixels (the pixel
// size's fault).
TGcpSize GcpOutputSize(double X0, double X1, double Y0, double Y1, double PixelSize);

// What the correction reads of the control-point dialog.
struct TGcpModel {
    // The fit; its order is that of its coefficients' length (2 k + 1).
    TGcpFit Fit;
    int OutWidth = 0, OutHeight = 0;
    double PixelSize = 1.0;
    double X0 = 0.0, Y0 = 0.0;
    // The output size has been computed since the last change.
    bool SizeComputed = false;
};

// Writes the correction of SrcName to DstName: the pixel in column c of
// row r counted from the bottom shows world X = c PixelSize + X0,
// Y = r PixelSize + Y0, read with the bilinear sampler at the column and
// row that the fit gives in its own centred coordinates (black beyond the
// photograph). True when DstName
// was written. False when not: a model without a fit of order 1..3 or
// without a computed size of the allowed range, a source that does not
// load, or a write that failed (after its message).
bool GcpCorrectImageFile(const QString& SrcName, const QString& DstName, const TGcpModel& Model);

}  // namespace tam32
