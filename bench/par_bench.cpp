// The PAR estimate for a whole year on a 12-megapixel hemispherical
// photograph (a bright sky disc of radius 1480 with dark leaf patches)
// against one gap fraction analysis of the same file, which the estimate
// runs first. Target: the year estimate within 1.5 times the gap fraction.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "analysis/AnalysisImage.h"
#include "analysis/AnalysisState.h"
#include "analysis/DecodedImageCache.h"
#include "analysis/GapFraction.h"
#include "analysis/GlobalSettings.h"
#include "analysis/PAREstimate.h"
#include "import/SPIBitmap.h"
#include "import/SPIs.h"
#include "platform/Bitmap.h"

namespace {

using namespace tam32;

constexpr int kWidth = 4000, kHeight = 3000, kRadius = 1480;

// Written as plain BMP bytes: Qt's BMP writer leaves the processor's upper
// vector registers dirty on some machines, which slows every later
// trigonometric call of the process about tenfold and would measure that
// instead of the analyses.
struct TPhotoFile {
    std::string Path =
        (std::filesystem::temp_directory_path() / ("tam32-par-bench-" + std::to_string(getpid()) + ".bmp")).string();
    TPhotoFile() {
        const uint32_t RowBytes = kWidth * 3, DataBytes = RowBytes * kHeight;  // 4000 * 3 is a multiple of 4
        std::vector<uint8_t> File(54 + DataBytes, 0);
        const auto Put = [&File](size_t At, uint32_t Value, int Bytes) {
            for (int I = 0; I < Bytes; ++I) File[At + I] = uint8_t(Value >> (8 * I));
        };
        File[0] = 'B';
        File[1] = 'M';
        Put(2, 54 + DataBytes, 4);
        Put(10, 54, 4);
        Put(14, 40, 4);
        Put(18, kWidth, 4);
        Put(22, kHeight, 4);  // bottom-up rows
        Put(26, 1, 2);
        Put(28, 24, 2);
        Put(34, DataBytes, 4);
        for (int Y = 0; Y < kHeight; ++Y) {
            uint8_t* Row = File.data() + 54 + size_t(kHeight - 1 - Y) * RowBytes;
            for (int X = 0; X < kWidth; ++X) {
                const double Dx = X + 0.5 - kWidth / 2, Dy = Y + 0.5 - kHeight / 2;
                const bool Inside = Dx * Dx + Dy * Dy <= double(kRadius) * kRadius;
                const bool Leaf = ((X / 53) ^ (Y / 41)) % 3 == 0;
                Row[3 * X] = Row[3 * X + 1] = Row[3 * X + 2] = uint8_t(!Inside ? 0 : (Leaf ? 40 : 200));
            }
        }
        std::ofstream(Path, std::ios::binary).write(reinterpret_cast<const char*>(File.data()), std::streamsize(File.size()));
    }
    ~TPhotoFile() { std::filesystem::remove(Path); }
};

const TPhotoFile& Photo() {
    static const TPhotoFile Instance;
    return Instance;
}

struct TPlugins {
    TSPIs Host;
    TPlugins() {
        RegisterSPIBitmap();
        Host.OnSearch = [](TObject*, TSPI* SPI, bool& Accept) { Accept = dynamic_cast<TInSPI*>(SPI) != nullptr; };
        Host.Loaded();
    }
    ~TPlugins() { UnregisterSPIBitmap(); }
};

void PrepareRun() {
    ResetSettingsToDefaults(QDate(2024, 6, 21));
    ResetAnalysisState();
    CircleSet = true;
    CircleX = kWidth / 2;
    CircleY = kHeight / 2;
    CircleR = kRadius;
    CircleCenterOffset = 0.5;
    ThresholdCondition = 0;  // bright sky is the gap
    ThresholdMethod = 2;     // fixed: the picture has only three levels
    FixedThreshold = 128;
    NorthForAnalysis = 90.0;
    PARPeriod = 3;
}

void Run(benchmark::State& State, bool (*Routine)(const QString&, TBitmap&, const TRect&)) {
    const TPlugins Plugins;
    const QString File = QString::fromStdString(Photo().Path);
    for (auto _ : State) {
        State.PauseTiming();
        PrepareRun();
        ClearDecodedImageCache();
        TBitmap Picture;
        State.ResumeTiming();
        if (Routine(File, Picture, TRect{0, 0, kWidth - 1, kHeight - 1})) State.SkipWithError("analysis failed");
    }
}

void BM_GapFractionAnalysis(benchmark::State& State) { Run(State, GapFractionAnalysis); }
BENCHMARK(BM_GapFractionAnalysis)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PAREstimateYear(benchmark::State& State) { Run(State, PAREstimate); }
BENCHMARK(BM_PAREstimateYear)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
