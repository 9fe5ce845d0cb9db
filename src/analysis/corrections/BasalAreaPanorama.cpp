#include "analysis/corrections/BasalAreaPanorama.h"

#include <QImage>
#include <cmath>
#include <cstring>
#include <new>
#include <numbers>
#include <utility>
#include <vector>

#include "analysis/core/AnalysisImage.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/core/RowBlocks.h"
#include "analysis/corrections/CircleSampling.h"
#include "analysis/corrections/CorrectionSettingsCheck.h"
#include "analysis/geometry/LensProjection.h"
#include "analysis/geometry/OpenAnalysisImage.h"
#include "platform/Bitmap.h"
#include "platform/PageMemory.h"
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
    if (OpenAnalysisImage(FileName)) return true;  // after its message
    TAnalysisRun Run;
    HorizonRadius2 = R90 * R90;
    const int N = RoundInt(Columns);
    const double ZenithStep = 90.0 / R90;
    // Painted straight into the window picture's own format, rows from the
    // top, each row's start taken here for the threads; on huge pages the
    // fresh memory takes few faults.
    QImage Panorama(N + 1, kRows, QImage::Format_BGR888);
    if (Panorama.isNull()) throw std::bad_alloc();
    AdviseHugePages(Panorama.bits(), std::size_t(Panorama.sizeInBytes()));
    std::vector<uint8_t*> Rows(kRows);
    for (int Row = 0; Row < kRows; ++Row) Rows[std::size_t(Row)] = Panorama.scanLine(Row);
    // Each row the circle of its zenith angle, column c at the position that
    // ZenithAzimuthToXY gives for azimuth c·ColumnStep; below them the band
    // white. A block of rows on one thread, which so also takes the fresh
    // memory's pages of its own rows.
    const TCircleSampler Circles(*AnalysisImage, CircleX, CircleY, N + 1, ColumnStep);
    const std::size_t RowBytes = std::size_t(N + 1) * 3;
    ForEachBlockOf(kRowsPerBlock, 0, kBottomRow, [&](const TRowBlock& Block) {
        for (int Row = Block.First; Row <= Block.Last; ++Row) {
            uint8_t* const Pixels = Rows[std::size_t(Row)];
            if (Row > 2 * kHalf) {
                std::memset(Pixels, 255, RowBytes);
                continue;
            }
            const int K = kHalf - Row;
            Circles.SampleRow(ZenithToRadius(90.0 - K * ZenithStep), Pixels);
        }
    });
    // The horizon's values as dots in the band: 0 on its last row, 255 on its
    // first; in each column the later dot covers an earlier one.
    const auto Put = [&Rows](int Column, int Row, int Red, int Green, int Blue) {
        uint8_t* P = Rows[std::size_t(Row)] + std::size_t(Column) * 3;
        P[0] = uint8_t(Blue);
        P[1] = uint8_t(Green);
        P[2] = uint8_t(Red);
    };
    for (int Column = 0; Column <= N; ++Column) {
        const uint8_t* Horizon = Rows[kHalf] + std::size_t(Column) * 3;
        const int Blue = Horizon[0], Green = Horizon[1], Red = Horizon[2];
        Put(Column, kBottomRow - Red, 255, 0, 0);
        Put(Column, kBottomRow - Green, 0, 255, 0);
        Put(Column, kBottomRow - Blue, 0, 0, 255);
    }
    // The window picture alone holds the pixels, so drawing on it copies none.
    Image.SetImage(std::exchange(Panorama, QImage()));
    Image.Canvas().MoveTo(0, kHalf);
    Image.Canvas().LineTo(N, kHalf);
    return false;
}

}  // namespace tam32
