#include "analysis/BasalAreaPanorama.h"

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "analysis/AnalysisImage.h"
#include "analysis/AnalysisState.h"
#include "analysis/GlobalSettings.h"
#include "analysis/LensProjection.h"
#include "analysis/Messages.h"
#include "analysis/Resampling.h"
#include "analysis/RowBlocks.h"
#include "analysis/SettingsCheck.h"
#include "platform/Bitmap.h"
#include "platform/Rounding.h"

namespace tam32 {
namespace {

// Rows above and below the horizon row, and the height of the band of
// horizon values below the panorama.
constexpr int kHalf = 500;
constexpr int kBandRows = 257;
constexpr int kRows = 2 * kHalf + kBandRows;
constexpr int kBottomRow = kRows - 1;
// The widest picture that the window's drawing takes.
constexpr double kMostColumns = 32767.0;

}  // namespace

void ZenithAzimuthToXY(double& X, double& Y, double Zenith, double Azimuth) {
    const double R = ZenithToRadius(Zenith);
    X = CircleX + R * std::cos(Azimuth);
    Y = CircleY - R * std::sin(Azimuth);
}

bool BAMeasurement(const QString& FileName, TBitmap& Image) {
    if (CheckCorrectionSettings()) return true;
    const double R90 = ZenithToRadius(90.0);
    const double ColumnStep = 2.0 * std::atan(0.5 / R90);
    const double Columns = 2.0 * std::numbers::pi / ColumnStep + 0.5;
    // N is Columns to the nearest integer, halves to even; N + 1 columns at most.
    if (!CircleSet || !(R90 > 0.0 && std::isfinite(R90)) || !(Columns <= kMostColumns - 0.5)) {
        ShowErrorMessage(QStringLiteral("ERR10"));
        return true;
    }
    if (OpenAnalysisImage(FileName)) {
        ShowErrorMessage(QStringLiteral("ERR14"));
        return true;
    }
    TAnalysisRun Run;
    HorizonRadius2 = R90 * R90;
    const int N = RoundInt(Columns);
    const double ZenithStep = 90.0 / R90;
    TResultPicture Panorama(N + 1, kRows);

    // The radius of each row once, and the direction of each column once:
    // exactly what ZenithAzimuthToXY computes for each sample.
    std::vector<double> Radii(2 * kHalf + 1), Cosines(std::size_t(N) + 1), Sines(std::size_t(N) + 1);
    for (int K = -kHalf; K <= kHalf; ++K) Radii[std::size_t(K + kHalf)] = ZenithToRadius(90.0 - K * ZenithStep);
    for (int Column = 0; Column <= N; ++Column) {
        Cosines[std::size_t(Column)] = std::cos(Column * ColumnStep);
        Sines[std::size_t(Column)] = std::sin(Column * ColumnStep);
    }
    const TBilinearSampler Source(*AnalysisImage);
    std::vector<std::array<int, 3>> Horizon(std::size_t(N) + 1);  // red, green, blue
    // Each block of rows on its own, so that each thread writes pages of
    // its own: row kHalf - K samples the circle of zenith 90 - K steps, and
    // the rows of the band below start white.
    ForEachBlockOf(kRowsPerBlock, 0, kBottomRow, [&](const TRowBlock& Block) {
        for (int Row = Block.First; Row <= Block.Last; ++Row) {
            if (Row > 2 * kHalf) {
                for (int Column = 0; Column <= N; ++Column) Panorama.PutResultPixel(Column, Row, 255, 255, 255);
                continue;
            }
            const double R = Radii[std::size_t(2 * kHalf - Row)];
            for (int Column = 0; Column <= N; ++Column) {
                int Red, Green, Blue;
                Source.SampleBilinear(Red, Green, Blue, CircleX + R * Cosines[std::size_t(Column)],
                                      CircleY - R * Sines[std::size_t(Column)]);
                Panorama.PutResultPixel(Column, Row, Red, Green, Blue);
                if (Row == kHalf) Horizon[std::size_t(Column)] = {Red, Green, Blue};
            }
        }
    });
    // The horizon's values as dots in the band: 0 on its last row, 255 on
    // its first; a later dot covers an earlier one.
    for (int Column = 0; Column <= N; ++Column) {
        const auto [Red, Green, Blue] = Horizon[std::size_t(Column)];
        Panorama.PutResultPixel(Column, kBottomRow - Red, 255, 0, 0);
        Panorama.PutResultPixel(Column, kBottomRow - Green, 0, 255, 0);
        Panorama.PutResultPixel(Column, kBottomRow - Blue, 0, 0, 255);
    }
    Image.Assign(&Panorama.Picture());
    Image.Canvas().MoveTo(0, kHalf);
    Image.Canvas().LineTo(N, kHalf);
    return false;
}

}  // namespace tam32
