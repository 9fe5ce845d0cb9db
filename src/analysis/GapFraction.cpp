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
#include "analysis/GlobalSettings.h"
#include "analysis/LensProjection.h"
#include "analysis/Messages.h"
#include "analysis/RadialGeometry.h"
#include "analysis/SettingsCheck.h"
#include "analysis/TargetPixels.h"
#include "platform/Bitmap.h"

namespace tam32 {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

// The counts of one run, kept apart from the result variables until its end.
struct TTallies {
    double Rings[2][6] = {}, RingSums[3][6] = {};
    double Bands[2][91] = {}, BandSums[3][91] = {}, BandMax[3][91] = {};
    double Sky = 0.0;

    bool Empty() const {
        for (double All : Rings[0])
            if (All > 0.0) return false;
        return true;
    }
    void Publish() const {
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
    }
};

// The whole degree 0..90 of a zenith; the analysis area ends at zenith 90.
int ZenithBand(double Zenith) {
    if (std::isnan(Zenith)) throw EInvalidOp(kInvalidFloatOp);
    return int(std::clamp(Zenith, 0.0, 90.0));
}

}  // namespace

double SkyWeight(double Radius, double Zenith) {
    // Solid angle per unit image area is sin(theta) * dtheta/dr / r, theta
    // the lens zenith; at the very centre sin(theta) / r tends to dtheta/dr.
    const double Slope = ZenithSlopePerPixel(Radius);
    const double SinOverR = Radius > 1e-9 ? std::sin(RadiusToZenith(Radius) * kDeg) / Radius : Slope;
    return std::cos(Zenith * kDeg) * SinOverR * Slope / std::numbers::pi;
}

bool GapFractionAnalysis(const QString& FileName, TBitmap& Image, const TRect& Area) {
    if (!CircleSet || CircleRadius() <= 0.0) {
        ShowErrorMessage(QStringLiteral("ERR10"));
        return true;
    }
    if (CheckGapFractionSettings()) return true;
    if (OpenAnalysisImage(FileName)) {
        ShowErrorMessage(QStringLiteral("ERR14"));
        return true;
    }
    TAnalysisRun Run;
    HorizonRadius2 = std::pow(ZenithToRadius(90.0), 2);
    for (auto& Row : ZenithHistogram) Row.fill(0);
    const TRect Box = ClipToAnalysisImage(Area);
    if (PrepareClassification(true, Box)) {
        ShowErrorMessage(QStringLiteral("ERR17"));
        return true;
    }
    const int W = AnalysisImage->Width(), H = AnalysisImage->Height();
    QImage Gap(W, H, QImage::Format_BGR888);
    if (Gap.isNull()) throw EOutOfResources(QStringLiteral("Out of system resources"));
    // Black wherever the loop below does not write.
    const auto Blacken = [&Gap](int Y, int From, int To) {
        if (From <= To) std::memset(Gap.scanLine(Y) + std::size_t(From) * 3, 0, std::size_t(To - From + 1) * 3);
    };

    const double Cx = CircleCentreX(), Cy = CircleCentreY();
    TRadialGeometry Radial(Box);
    const bool MaskChecks = AzimuthMaskUse || SlopeCorrection;
    const bool ZenithLine = ZenithLineInUse(true);
    TTallies T;
    for (int Y = 0; Y < H; ++Y)
        if (Y < Box.Top || Y > Box.Bottom) Blacken(Y, 0, W - 1);
    for (int Y = Box.Top; Y <= Box.Bottom; ++Y) {
        const uint8_t* Row = AnalysisImage->GetScanLine(Y);
        uint8_t* GapRow = Gap.scanLine(Y);
        const TColumnSpan Span = CircleRowSpan(Y, Box);
        Blacken(Y, 0, std::min(Span.First, W) - 1);
        Blacken(Y, std::max(Span.Last + 1, 0), W - 1);
        const double Dy = Y - Cy;
        for (int X = Span.First; X <= Span.Last; ++X) {
            uint8_t* G = GapRow + std::size_t(X) * 3;
            G[0] = G[1] = G[2] = 0;
            double Zenith, Weight = 0.0, Radius = 0.0, Weighting = 0.0;
            if (Radial.Usable()) {
                if (AzimuthMaskUse && !KeptByAzimuthMask(X, Y)) continue;
                const TRadialGeometry::TSample& Sample = Radial.At(X, Y);
                Zenith = Sample.Zenith;
                Weight = Sample.SkyWeight;
                if (ZenithLine) Weighting = Radial.Weighting(X, Y);
            } else {
                if (MaskChecks) {
                    if (!KeptWithZenith(X, Y, Zenith)) continue;
                } else {
                    Zenith = PixelZenith(X, Y);
                }
                const double Dx = X - Cx;
                Radius = std::sqrt(Dx * Dx + Dy * Dy);
                if (ZenithLine) Weighting = ZenithWeighting(Zenith);
            }
            const uint8_t* P = Row + std::size_t(X) * 3;
            const int Band = ZenithBand(Zenith);
            const int Ring = std::min(Band / 15, 5);
            T.Rings[0][Ring] += 1.0;
            T.Bands[0][Band] += 1.0;
            for (int C = 0; C < 3; ++C) {
                T.RingSums[C][Ring] += P[2 - C];
                T.BandSums[C][Band] += P[2 - C];
            }
            if (IsTargetBytes(true, P, Weighting)) {
                T.Rings[1][Ring] += 1.0;
                T.Bands[1][Band] += 1.0;
                T.Sky += Radial.Usable() ? Weight : SkyWeight(Radius, Zenith);
                if (DrawResults) G[0] = G[1] = G[2] = 255;
                for (int C = 0; C < 3; ++C) T.BandMax[C][Band] = std::max<double>(T.BandMax[C][Band], P[2 - C]);
            }
        }
        EngineHost().SetStatusText(QString::number(Y) + QStringLiteral(" Line Finished!"));
    }
    // Targets that need no histogram of the area get here without a pixel.
    if (T.Empty()) {
        ShowErrorMessage(QStringLiteral("ERR17"));
        return true;
    }
    T.Publish();
    if (DrawResults) Image.SetImage(Gap);
    if (KeepAnalysisImage) Run.Keep();
    SkyFactor = 100.0 * T.Sky;
    ShowInstructionMessage(QStringLiteral("MSG10"));
    return false;
}

}  // namespace tam32
