#pragma once
// The pixel loop of the corrections that re-project a hemispherical
// photograph onto its own circle (tilt, north-up and slope): each pixel of
// the analysis area asks for the sky direction it is to show, and takes the
// colour that the source photograph has in that direction. The analysis
// area is the circle of HorizonRadius2, which the caller sets, less the
// pixels below a sloped ground's horizon and the left-out azimuth sector.
//
// Directions travel as the cosine and sine of their angles rather than as
// angles: a pixel's direction angle is its offset from the centre over its
// distance, and its lens zenith comes from a table by distance, so the loop
// takes no arctangent, sine or cosine of its own.
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "analysis/core/AnalysisState.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Resampling.h"
#include "analysis/core/RowBlocks.h"
#include "analysis/geometry/AnalysisArea.h"
#include "analysis/geometry/LensProjection.h"
#include "platform/VectorState.h"
#include "platform/WinTypes.h"

namespace tam32 {

// A pixel's own direction: the cosine and sine of its direction angle
// (PixelAzimuth), its zenith in degrees (PixelZenith, slope-corrected when
// SlopeCorrection is on) and that zenith's sine and cosine.
struct TPixelSky {
    double CosAzimuth, SinAzimuth, Zenith, SinZenith, CosZenith;
};

// The direction a pixel is to show: the cosine and sine of its direction
// angle in the source and its zenith in degrees.
struct TSourceDirection {
    double CosAzimuth, SinAzimuth, Zenith;
};

// The lens zenith (without the slope) of every pixel of the circle, with
// its sine and cosine, computed once per distance from the centre. With the
// centre in a pixel's middle or on its corner, the pixels lie symmetrically
// about it in both axes and across the diagonal, so a pixel is looked up by
// its larger and its smaller axis distance; any other centre is computed
// pixel by pixel.
class TLensZeniths {
public:
    // For the pixels of a W x H picture within HorizonRadius2.
    TLensZeniths(int W, int H);
    TPixelSky At(int X, int Y, double CosAzimuth, double SinAzimuth) const;

private:
    struct TCell {
        double Zenith, Sin, Cos;
    };
    static TCell Compute(double Dx, double Dy);
    // Axis offset K from the centre pixel to its distance index.
    int64_t Index(int64_t K) const { return FHalf > 0.0 && K >= 1 ? K - 1 : (K < 0 ? -K : K); }

    bool FTabled = false;
    int64_t FCentreX = 0, FCentreY = 0, FSize = 0;
    double FHalf = 0.0;  // distance of the first pixel from the centre along an axis
    std::unique_ptr<TCell[]> FCells;  // the larger index I, the smaller J at I (I + 1) / 2 + J
};

// The direction (Cos, Sin) turned clockwise by Degrees, as a direction
// angle less Degrees.
class TTurnBack {
public:
    explicit TTurnBack(double Degrees);
    TSourceDirection operator()(double Cos, double Sin, double Zenith) const {
        return {Cos * FCos + Sin * FSin, Sin * FCos - Cos * FSin, Zenith};
    }

private:
    double FCos, FSin;
};

// The slope-corrected zenith of SlopeCorrectedZenith, from the pixel's
// direction cosines: its cosine is cos t cos I + sin t sin I cos(p - A),
// t the lens zenith, p the azimuth from north, I and A the slope's
// inclination and azimuth.
class TSlopedZenith {
public:
    TSlopedZenith();
    TPixelSky operator()(const TPixelSky& Level) const;

private:
    TTurnBack FFromDownhill;
    double FCosInclination, FSinInclination;
};

// Direction(Pixel) gives the source direction that a pixel of the analysis
// area is to show; it is called from the analysis threads. Pixels whose
// source position lies beyond the horizon radius stay black, as do those
// outside the analysis area.
template <typename TDirection>
void ResampleAnalysisArea(TResultPicture& Out, const TBilinearSampler& Source, TDirection&& Direction) {
    const int W = Out.Width(), H = Out.Height();
    ClearUpperVectorState();  // the loading may have left it dirty, and the table comes first
    const TLensZeniths Zeniths(W, H);
    const TSlopedZenith Sloped;
    // One row's pixels and their source directions, then their radii: the
    // lens model runs over the row in one tight loop.
    struct TRowScratch {
        TAzimuthMaskRuns Mask;
        std::vector<int> Columns;
        std::vector<TSourceDirection> Wanted;
        std::vector<double> Radii;
    };
    TBlockSlots<TRowScratch> Scratches;
    ForEachResultRowBlock(H, [&](const TRowBlock& Block) {
        TRowScratch& Row = Scratches[Block.Slot];
        // Locals, which stay in registers across the picture's byte stores.
        const TRect Whole{0, 0, W - 1, H - 1};
        const double Cx = CircleCentreX(), Cy = CircleCentreY();
        // The source positions are taken from the pixel's corner: half a
        // pixel off the exact centre when the circle's centre lies on a corner.
        const double X0 = CircleX + 0.5, Y0 = CircleY + 0.5, Offset = CircleCenterOffset;
        for (int Y = Block.First; Y <= Block.Last; ++Y) {
            const double Dy = Y - Cy;
            Row.Columns.clear();
            Row.Wanted.clear();
            for (const TColumnSpan& Run : Row.Mask.Kept(Y, CircleRowSpan(Y, Whole)))
                for (int X = Run.First; X <= Run.Last; ++X) {
                    const double Dx = X - Cx, Distance = std::sqrt(Dx * Dx + Dy * Dy);
                    // The centre itself lies at 270 degrees, as PixelAzimuth has it.
                    TPixelSky Pixel = Distance > 0.0 ? Zeniths.At(X, Y, Dx / Distance, -Dy / Distance)
                                                     : Zeniths.At(X, Y, 0.0, -1.0);
                    if (SlopeCorrection) {
                        Pixel = Sloped(Pixel);
                        if (Pixel.Zenith > 90.0) continue;
                    }
                    Row.Columns.push_back(X);
                    Row.Wanted.push_back(Direction(Pixel));
                }
            Row.Radii.resize(Row.Wanted.size());
            for (std::size_t I = 0; I < Row.Wanted.size(); ++I) Row.Radii[I] = ZenithToRadius(Row.Wanted[I].Zenith);
            for (std::size_t I = 0; I < Row.Wanted.size(); ++I) {
                const double Sx = Row.Radii[I] * Row.Wanted[I].CosAzimuth, Sy = Row.Radii[I] * Row.Wanted[I].SinAzimuth;
                if ((Sx + Offset) * (Sx + Offset) + (Sy - Offset) * (Sy - Offset) > HorizonRadius2) continue;
                int Red, Green, Blue;
                Source.SampleBilinear(Red, Green, Blue, X0 + Sx, Y0 - Sy);
                Out.PutResultPixel(Row.Columns[I], Y, Red, Green, Blue);
            }
        }
    });
}

}  // namespace tam32
