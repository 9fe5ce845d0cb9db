#include "analysis/BasalAreaPanorama.h"

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
// Columns per block of the analysis threads: the neighbouring rays of a
// block read the photograph where its rows are still cached.
constexpr int kColumnsPerBlock = 64;
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
    if (OpenAnalysisImage(FileName)) return true;  // after its message
    TAnalysisRun Run;
    HorizonRadius2 = R90 * R90;
    const int N = RoundInt(Columns);
    const double ZenithStep = 90.0 / R90;
    TResultPicture Panorama(N + 1, kRows);

    // The radius of each row once, and the direction of each column once:
    // exactly what ZenithAzimuthToXY computes for each sample.
    std::vector<double> Radii(2 * kHalf + 1);
    for (int K = -kHalf; K <= kHalf; ++K) Radii[std::size_t(K + kHalf)] = ZenithToRadius(90.0 - K * ZenithStep);
    const TBilinearSampler Source(*AnalysisImage);
    // Each column on its own: its ray of samples, and below them the band.
    ForEachBlockOf(kColumnsPerBlock, 0, N, [&](const TRowBlock& Block) {
        for (int Row = 2 * kHalf; Row < kRows; ++Row)
            for (int Column = Block.First; Column <= Block.Last; ++Column)
                Panorama.PutResultPixel(Column, Row, 255, 255, 255);
        // Locals, which stay in registers across the picture's byte stores.
        const double* const RadiusOf = Radii.data();
        const double Step = ColumnStep;
        for (int Column = Block.First; Column <= Block.Last; ++Column) {
            const double Cos = std::cos(Column * Step), Sin = std::sin(Column * Step);
            for (int K = -kHalf; K <= kHalf; ++K) {
                const double R = RadiusOf[K + kHalf];
                int Red, Green, Blue;
                Source.SampleBilinear(Red, Green, Blue, CircleX + R * Cos, CircleY - R * Sin);
                Panorama.PutResultPixel(Column, kHalf - K, Red, Green, Blue);
                if (K != 0) continue;
                // The horizon's values as dots in the band: 0 on its last row,
                // 255 on its first; a later dot covers an earlier one.
                Panorama.PutResultPixel(Column, kBottomRow - Red, 255, 0, 0);
                Panorama.PutResultPixel(Column, kBottomRow - Green, 0, 255, 0);
                Panorama.PutResultPixel(Column, kBottomRow - Blue, 0, 0, 255);
            }
        }
    });
    Image.Assign(&Panorama.Picture());
    Image.Canvas().MoveTo(0, kHalf);
    Image.Canvas().LineTo(N, kHalf);
    return false;
}

}  // namespace tam32
