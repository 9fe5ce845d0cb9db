#include "analysis/corrections/CircleResampling.h"

#include <algorithm>
#include <numbers>

#include "analysis/core/RowBlocks.h"

namespace tam32 {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

}  // namespace

TLensZeniths::TLensZeniths(int W, int H) {
    if (CircleCenterOffset != 0.0 && CircleCenterOffset != 0.5) return;
    FCentreX = CircleX;
    FCentreY = CircleY;
    FHalf = 0.5 - CircleCenterOffset;
    const int64_t Farthest = std::max({Index(0 - FCentreX), Index(int64_t(W) - 1 - FCentreX), Index(0 - FCentreY),
                                       Index(int64_t(H) - 1 - FCentreY)});
    const double Reach = std::floor(std::sqrt(HorizonRadius2));
    FSize = int64_t(std::min(double(Farthest), Reach)) + 1;
    // The table pays when it holds far fewer distances than the picture
    // has pixels; a centre near the picture's edge or off it is computed
    // pixel by pixel.
    const int64_t Cells = FSize * (FSize + 1) / 2;
    if (!(Reach >= 0.0) || Cells > int64_t(W) * H / 4) return;
    FTabled = true;
    // Filled on the analysis threads: a large circle's table takes as long
    // as a good part of the pixel loop.
    FCells.reset(new TCell[std::size_t(Cells)]);
    ForEachRowBlock(0, int(FSize - 1), [this](const TRowBlock& Block) {
        for (int64_t I = Block.First; I <= Block.Last; ++I) {
            const double Dx = double(I) + FHalf;
            for (int64_t J = 0; J <= I; ++J) {
                const double Dy = double(J) + FHalf;
                // Beyond the horizon no pixel asks.
                FCells[std::size_t(I * (I + 1) / 2 + J)] =
                    Dx * Dx + Dy * Dy > HorizonRadius2 ? TCell{0.0, 0.0, 0.0} : Compute(Dx, Dy);
            }
        }
    });
}

TLensZeniths::TCell TLensZeniths::Compute(double Dx, double Dy) {
    const double Zenith = RadiusToZenith(std::sqrt(Dx * Dx + Dy * Dy));
    return {Zenith, std::sin(Zenith * kDeg), std::cos(Zenith * kDeg)};
}

TPixelSky TLensZeniths::At(int X, int Y, double CosAzimuth, double SinAzimuth) const {
    TCell Cell;
    if (FTabled) {
        int64_t I = Index(int64_t(X) - FCentreX), J = Index(int64_t(Y) - FCentreY);
        if (I < J) std::swap(I, J);
        Cell = FCells[std::size_t(I * (I + 1) / 2 + J)];
    } else {
        Cell = Compute(X - CircleCentreX(), Y - CircleCentreY());
    }
    return {CosAzimuth, SinAzimuth, Cell.Zenith, Cell.Sin, Cell.Cos};
}

TTurnBack::TTurnBack(double Degrees) : FCos(std::cos(Degrees * kDeg)), FSin(std::sin(Degrees * kDeg)) {}

TSlopedZenith::TSlopedZenith()
    : FFromDownhill(NorthForAnalysis + SlopeAzimuth),
      FCosInclination(std::cos(SlopeInclination * kDeg)),
      FSinInclination(std::sin(SlopeInclination * kDeg)) {}

TPixelSky TSlopedZenith::operator()(const TPixelSky& Level) const {
    const double CosFromDownhill = FFromDownhill(Level.CosAzimuth, Level.SinAzimuth, 0.0).CosAzimuth;
    const double C = std::clamp(Level.CosZenith * FCosInclination + Level.SinZenith * FSinInclination * CosFromDownhill,
                                -1.0, 1.0);
    return {Level.CosAzimuth, Level.SinAzimuth, std::acos(C) / kDeg, std::sqrt(1.0 - C * C), C};
}

}  // namespace tam32
