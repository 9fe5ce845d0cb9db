#pragma once
// The pixels that the gap fraction analysis counts, shared by the analysis
// and by its series over every fixed threshold: the pixels of the area
// within the circle that the slope and the azimuth mask keep, row by row,
// each with its zenith band and ring, the weighting of the threshold line
// and its sky weight. Also the steps before the count, with their messages,
// and the counts that a run publishes.
#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "analysis/core/AnalysisImage.h"
#include "analysis/core/EngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/PictureRows.h"
#include "analysis/core/RowBlocks.h"
#include "analysis/geometry/AnalysisArea.h"
#include "analysis/geometry/LensProjection.h"
#include "analysis/geometry/RadialGeometry.h"
#include "analysis/geometry/TargetPixels.h"
#include "platform/Exceptions.h"

namespace tam32 {

// The circle ("ERR10") and the settings ("ERR22") checked, then the image
// opened ("ERR14"). True on failure, after the message.
bool OpenGapFractionImage(const QString& FileName);
// Under the caller's TAnalysisRun: the horizon set, Area clipped to the
// image into Box and the target's thresholds prepared (failing with "ERR17",
// or "ERR31" for a box without a pixel).
bool PrepareGapFractionArea(const TRect& Area, TRect& Box);
// Whether the target is a fixed threshold on the red, green or blue channel.
inline bool FixedChannelThreshold() {
    return ThresholdMethod == 2 && BinarizeTarget >= 0 && BinarizeTarget <= 2;
}

// One counted pixel: where it is, its bytes and its place among the zeniths.
struct TCountedPixel {
    int X, Y;
    const uint8_t* Bytes;  // blue, green, red
    int Band, Ring;
    double Weighting;  // ZenithWeighting of its zenith while the threshold line is in use, else 0
    // From the geometry table, or computed from the radius and zenith when the table is not usable.
    bool Tabled;
    double TabledWeight, Radius, Zenith;
    double SkyWeight() const { return Tabled ? TabledWeight : tam32::SkyWeight(Radius, Zenith); }
};

// The counts of one run, kept apart from the result variables until its end.
struct TGapTallies {
    double Rings[2][6] = {}, RingSums[3][6] = {};
    double Bands[2][91] = {}, BandSums[3][91] = {}, BandMax[3][91] = {};
    double Sky = 0.0;

    bool Empty() const;
    // Into the ring and band results and SkyFactor.
    void Publish() const;
    // Adds the counts of the rows after those counted so far.
    void Add(const TGapTallies& Later);
    // Counts Pixel among all pixels of its ring and band, with its colours.
    void CountPixel(const TCountedPixel& Pixel) {
        Rings[0][Pixel.Ring] += 1.0;
        Bands[0][Pixel.Band] += 1.0;
        for (int C = 0; C < 3; ++C) {
            RingSums[C][Pixel.Ring] += Pixel.Bytes[2 - C];
            BandSums[C][Pixel.Band] += Pixel.Bytes[2 - C];
        }
    }
};

// The whole degree 0..90 of a zenith; the analysis area ends at zenith 90.
inline int ZenithBand(double Zenith) {
    if (std::isnan(Zenith)) throw EInvalidOp(kInvalidFloatOp);
    return int(std::clamp(Zenith, 0.0, 90.0));
}

// The 15-degree ring 0..5 of a band, looked up: a division per pixel costs
// as much as the rest of the pixel's counting.
inline int BandRing(int Band) {
    static constexpr auto kRings = [] {
        std::array<uint8_t, 91> Rings{};
        for (int B = 0; B <= 90; ++B) Rings[std::size_t(B)] = uint8_t(std::min(B / 15, 5));
        return Rings;
    }();
    return kRings[std::size_t(Band)];
}

// Visit(Pixel) for each counted pixel of the rows of Block within Box, row by
// row. Safe on the analysis threads while Visit touches only its block's own data.
template <typename TVisit>
void ForEachCountedPixel(const TRowBlock& Block, const TRect& Box, const TRadialGeometry& Radial,
                         const TPictureRows& Picture, bool ZenithLine, TVisit&& Visit) {
    const double Cx = CircleCentreX(), Cy = CircleCentreY();
    // Read once: the visits' stores could otherwise make them be read per pixel.
    const bool Tabled = Radial.Usable(), Masked = AzimuthMaskUse, MaskChecks = AzimuthMaskUse || SlopeCorrection;
    for (int Y = Block.First; Y <= Block.Last; ++Y) {
        const uint8_t* Row = Picture.Row(Y);
        const TColumnSpan Span = CircleRowSpan(Y, Box);
        if (Span.First > Span.Last) continue;
        const double Dy = Y - Cy;
        if (Tabled) {
            const TRadialGeometry::TRow Geometry = Radial.Row(Y);
            for (int X = Span.First; X <= Span.Last; ++X) {
                if (Masked && !KeptByAzimuthMask(X, Y)) continue;
                TCountedPixel P{X, Y, Row + std::size_t(X) * 3, Geometry.Band(X), 0, 0.0, true, Geometry.SkyWeight(X),
                                0.0, 0.0};
                P.Ring = BandRing(P.Band);
                if (ZenithLine) P.Weighting = Geometry.Weighting(X);
                Visit(P);
            }
            continue;
        }
        for (int X = Span.First; X <= Span.Last; ++X) {
            // A local, so that the pixel's fields can stay in registers.
            double Zenith;
            if (MaskChecks) {
                if (!KeptWithZenith(X, Y, Zenith)) continue;
            } else {
                Zenith = PixelZenith(X, Y);
            }
            const double Dx = X - Cx;
            TCountedPixel P{X, Y, Row + std::size_t(X) * 3, ZenithBand(Zenith), 0, 0.0, false, 0.0,
                            std::sqrt(Dx * Dx + Dy * Dy), Zenith};
            P.Ring = BandRing(P.Band);
            if (ZenithLine) P.Weighting = ZenithWeighting(Zenith);
            Visit(P);
        }
    }
}

}  // namespace tam32
