// The analysis core on a 12-megapixel hemispherical photograph (a bright sky
// disc of radius 1480 with dark leaf patches, black outside): the gap
// fraction analysis from a BMP file and from a JPEG through the plug-in host
// (against decoding that JPEG alone), each decoding its file afresh, and the
// circle detection; and a repeated run that reuses the decoding. Targets:
// gap fraction from BMP under 0.25 s, from JPEG at most 0.15 s more than its
// decoding, circle detection under 0.05 s.
#include <benchmark/benchmark.h>

#include <QImage>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include <jpeglib.h>
#include <unistd.h>

#include "BenchJpeg.h"
#include "BenchPlugins.h"
#include "analysis/AnalysisImage.h"
#include "analysis/AnalysisState.h"
#include "analysis/CircleDetection.h"
#include "analysis/DecodedImageCache.h"
#include "analysis/GapFraction.h"
#include "analysis/GlobalSettings.h"
#include "platform/Bitmap.h"

namespace {

using namespace tam32;

constexpr int kWidth = 4000, kHeight = 3000, kRadius = 1480;

QImage Photo() {
    QImage Image(kWidth, kHeight, QImage::Format_RGB888);
    std::mt19937 Random(4711);
    std::uniform_int_distribution<int> Grain(-10, 10);
    for (int Y = 0; Y < kHeight; ++Y) {
        uint8_t* Row = Image.scanLine(Y);
        for (int X = 0; X < kWidth; ++X) {
            const double Dx = X + 0.5 - kWidth / 2, Dy = Y + 0.5 - kHeight / 2;
            const bool Inside = Dx * Dx + Dy * Dy <= double(kRadius) * kRadius;
            const bool Leaf = ((X / 53) ^ (Y / 41)) % 3 == 0;
            const int Sky = std::clamp(200 + Grain(Random), 0, 255), Dark = std::clamp(40 + Grain(Random), 0, 255);
            const uint8_t V = uint8_t(!Inside ? 0 : (Leaf ? Dark : Sky));
            Row[3 * X] = uint8_t(std::min(255, V + 30 * Inside));  // red: the whole disc is bright
            Row[3 * X + 1] = V;
            Row[3 * X + 2] = V;
        }
    }
    return Image;
}

std::string TempName(const char* Extension) {
    return (std::filesystem::temp_directory_path() / ("tam32-analysis-bench-" + std::to_string(getpid()) + Extension))
        .string();
}

void WriteJpeg(const QImage& Image, const std::string& File) {
    bench::WriteJpegFile(File, kWidth, kHeight, [&](int Y, uint8_t* Row) {
        std::memcpy(Row, Image.constScanLine(Y), size_t{3} * kWidth);
    });
}

// The two files, written once and removed at exit.
struct TFiles {
    std::string Bmp = TempName(".bmp"), Jpeg = TempName(".jpg");
    TFiles() {
        const QImage Image = Photo();
        Image.save(QString::fromStdString(Bmp), "BMP");
        WriteJpeg(Image, Jpeg);
    }
    ~TFiles() {
        std::filesystem::remove(Bmp);
        std::filesystem::remove(Jpeg);
    }
};

const TFiles& Files() {
    static const TFiles Instance;
    return Instance;
}

using bench::TPlugins;

void PrepareGapRun() {
    ResetSettingsToDefaults();
    ResetAnalysisState();
    CircleSet = true;
    CircleX = kWidth / 2;
    CircleY = kHeight / 2;
    CircleR = kRadius;
    CircleCenterOffset = 0.5;
    ThresholdCondition = 0;  // bright sky is the gap; blue channel, intermeans, lens type 5
}

// Cold runs decode the file each time; repeated runs reuse the kept decoding.
void RunGap(benchmark::State& State, const std::string& File, bool Cold) {
    const TPlugins Plugins;
    PrepareGapRun();
    TBitmap Picture;
    const QString Name = QString::fromStdString(File);
    for (auto _ : State) {
        if (Cold) ClearDecodedImageCache();
        if (GapFractionAnalysis(Name, Picture, {0, 0, kWidth - 1, kHeight - 1})) State.SkipWithError("analysis failed");
        benchmark::DoNotOptimize(SkyFactor);
    }
    ClearDecodedImageCache();
}

void BM_GapFractionFromBmp(benchmark::State& State) { RunGap(State, Files().Bmp, true); }
void BM_GapFractionFromJpeg(benchmark::State& State) { RunGap(State, Files().Jpeg, true); }
void BM_GapFractionRepeatedJpeg(benchmark::State& State) { RunGap(State, Files().Jpeg, false); }

void BM_JpegDecodeAlone(benchmark::State& State) {
    const TPlugins Plugins;
    const QString Name = QString::fromStdString(Files().Jpeg);
    for (auto _ : State) {
        TSPIPxDIB Image;
        Image.LoadFromFile(Name);
        Image.SetPixelFormat(pxPf24Bit);
        benchmark::DoNotOptimize(Image.Width());
    }
}

void BM_DetectCircleArea(benchmark::State& State) {
    const TPlugins Plugins;
    ResetSettingsToDefaults();
    ResetAnalysisState();
    const QString Name = QString::fromStdString(Files().Bmp);
    for (auto _ : State) {
        ClearDecodedImageCache();
        if (DetectCircleArea(Name)) State.SkipWithError("no circle found");
        benchmark::DoNotOptimize(CircleR);
    }
}

BENCHMARK(BM_GapFractionFromBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GapFractionFromJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GapFractionRepeatedJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegDecodeAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DetectCircleArea)->Unit(benchmark::kMillisecond);

}  // namespace
