#include "analysis/GapFraction.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "analysis/AnalysisArea.h"
#include "analysis/AnalysisImage.h"
#include "analysis/AnalysisState.h"
#include "analysis/EngineHost.h"
#include "analysis/GapFractionPixels.h"
#include "analysis/GlobalSettings.h"
#include "analysis/LensProjection.h"
#include "analysis/Messages.h"
#include "analysis/RadialGeometry.h"
#include "analysis/RunSeries.h"
#include "analysis/SettingsCheck.h"
#include "analysis/TargetPixels.h"
#include "platform/Bitmap.h"

namespace tam32 {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

}  // namespace

bool TGapTallies::Empty() const {
    for (double All : Rings[0])
        if (All > 0.0) return false;
    return true;
}

void TGapTallies::Publish() const {
    for (int K = 0; K < 6; ++K) {
        RingCounts[0][K] = Rings[0][K];
        RingCounts[1][K] = Rings[1][K];
        for (int C = 0; C < 3; ++C) RingColorSums[C][K] = RingSums[C][K];
    }
    for (int B = 0; B <= 90; ++B) {
        ZenithCounts[0][B] = Bands[0][B];
        ZenithCounts[1][B] = Bands[1][B];
        for (int C = 0; C < 3; ++C) {
            ZenithColorSums[C][B] = BandSums[C][B];
            ZenithColorMax[C][B] = BandMax[C][B];
        }
    }
    SkyFactor = 100.0 * Sky;
}

double SkyWeight(double Radius, double Zenith) {
    // Solid angle per unit image area is sin(theta) * dtheta/dr / r, theta
    // the lens zenith; at the very centre sin(theta) / r tends to dtheta/dr.
    const double Slope = ZenithSlopePerPixel(Radius);
    const double SinOverR = Radius > 1e-9 ? std::sin(RadiusToZenith(Radius) * kDeg) / Radius : Slope;
    return std::cos(Zenith * kDeg) * SinOverR * Slope / std::numbers::pi;
}

bool OpenGapFractionImage(const QString& FileName) {
    if (!CircleSet || CircleRadius() <= 0.0) {
        ShowErrorMessage(QStringLiteral("ERR10"));
        return true;
    }
    if (CheckGapFractionSettings()) return true;
    if (OpenAnalysisImage(FileName)) {
        ShowErrorMessage(QStringLiteral("ERR14"));
        return true;
    }
    return false;
}

bool PrepareGapFractionArea(const TRect& Area, TRect& Box) {
    HorizonRadius2 = std::pow(ZenithToRadius(90.0), 2);
    for (auto& Row : ZenithHistogram) Row.fill(0);
    Box = ClipToAnalysisImage(Area);
    if (!PrepareClassification(true, Box)) return false;
    ShowErrorMessage(QStringLiteral("ERR17"));
    return true;
}

bool GapFractionAnalysis(const QString& FileName, TBitmap& Image, const TRect& Area) {
    if (OpenGapFractionImage(FileName)) return true;
    TAnalysisRun Run;
    TRect Box;
    if (PrepareGapFractionArea(Area, Box)) return true;
    const int W = AnalysisImage->Width(), H = AnalysisImage->Height();
    QImage Gap(W, H, QImage::Format_BGR888);
    if (Gap.isNull()) throw EOutOfResources(QStringLiteral("Out of system resources"));
    // Black wherever no gap pixel is counted.
    const auto Blacken = [&Gap](int Y, int From, int To) {
        if (From <= To) std::memset(Gap.scanLine(Y) + std::size_t(From) * 3, 0, std::size_t(To - From + 1) * 3);
    };
    for (int Y = 0; Y < H; ++Y)
        if (Y < Box.Top || Y > Box.Bottom) Blacken(Y, 0, W - 1);

    // The mask and the slope leave out pixels of the span, which are then not visited.
    const bool Skipping = AzimuthMaskUse || SlopeCorrection;
    const bool ZenithLine = ZenithLineInUse(true);
    uint8_t* GapRow = nullptr;
    TGapTallies T;
    ForEachCountedPixel(
        Box, *SeriesRadialGeometry(Box), ZenithLine,
        [&](int Y, const TColumnSpan& Span) {
            if (Skipping) {
                Blacken(Y, 0, W - 1);
            } else {
                Blacken(Y, 0, std::min(Span.First, W) - 1);
                Blacken(Y, std::max(Span.Last + 1, 0), W - 1);
            }
            GapRow = Gap.scanLine(Y);
        },
        [&](const TCountedPixel& Pixel) {
            uint8_t* G = GapRow + std::size_t(Pixel.X) * 3;
            G[0] = G[1] = G[2] = 0;
            T.CountPixel(Pixel);
            const uint8_t* P = Pixel.Bytes;
            if (!IsTargetBytes(true, P, Pixel.Weighting)) return;
            T.Rings[1][Pixel.Ring] += 1.0;
            T.Bands[1][Pixel.Band] += 1.0;
            T.Sky += Pixel.SkyWeight();
            if (DrawResults) G[0] = G[1] = G[2] = 255;
            for (int C = 0; C < 3; ++C)
                T.BandMax[C][Pixel.Band] = std::max<double>(T.BandMax[C][Pixel.Band], P[2 - C]);
        });
    // Targets that need no histogram of the area get here without a pixel.
    if (T.Empty()) {
        ShowErrorMessage(QStringLiteral("ERR17"));
        return true;
    }
    T.Publish();
    if (DrawResults) Image.SetImage(Gap);
    if (KeepAnalysisImage) Run.Keep();
    ShowInstructionMessage(QStringLiteral("MSG10"));
    return false;
}

}  // namespace tam32
