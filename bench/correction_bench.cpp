// The image corrections on the 12-megapixel hemispherical photograph, each
// loading the BMP file afresh, against one gap fraction analysis of the same
// file (BM_GapFractionAnalysis of par_bench.cpp; run them together with
// --benchmark_filter='GapFractionAnalysis|CLDFile|Correct|Panorama').
// Targets: the distortion-corrected file within 2 times the gap fraction,
// the north-up and slope-corrected file and the tilt-corrected view within
// 4 times, the panorama of a horizon radius of 1400 pixels (8798 columns)
// within 1 time. The photograph keeps the default lens, whose calibration
// polynomials are the dearest to evaluate. The files go to the temporary
// folder and are removed at exit.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "BenchPhotoRun.h"
#include "BenchTempFile.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/corrections/BasalAreaPanorama.h"
#include "analysis/corrections/HemiImageCorrection.h"
#include "analysis/corrections/TiltCorrection.h"
#include "analysis/geometry/DistortionCorrection.h"

namespace {

using namespace tam32;

// The file the writing corrections write, removed at exit.
const QString& OutputFile() {
    static const struct TOutput {
        std::string Path = bench::TempFileName("corrected", ".bmp");
        ~TOutput() { std::filesystem::remove(Path); }
    } output;
    static const QString path = QString::fromStdString(output.Path);
    return path;
}

void PrepareRun(TBitmap&) {
    bench::StartFromPhotoSettings();
}

void BM_MakeCLDFile(benchmark::State& State) {
    bench::RunOnPhoto(
        State, [](const QString& File, TBitmap&, const TRect&) { return MakeCLDFile(File, OutputFile()); },
        [](TBitmap& Picture) {
            PrepareRun(Picture);
            DistortParameter = 20.0;
            CLDFullImage = true;
        });
}
BENCHMARK(BM_MakeCLDFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CorrectHemiImageFileWithSlope(benchmark::State& State) {
    bench::RunOnPhoto(
        State, [](const QString& File, TBitmap&, const TRect&) { return !CorrectHemiImageFile(File, OutputFile()); },
        [](TBitmap& Picture) {
            PrepareRun(Picture);
            NorthForAnalysis = 90.0;
            SlopeCorrection = true;
            SlopeInclination = 20.0;
            SlopeAzimuth = 180.0;
        });
}
BENCHMARK(BM_CorrectHemiImageFileWithSlope)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ViewTiltCorrectedImage(benchmark::State& State) {
    bench::RunOnPhoto(
        State,
        [](const QString& File, TBitmap& Image, const TRect&) {
            return ViewTiltCorrectedImage(File, Image, 5.0, 3.0, 0.0);
        },
        PrepareRun);
}
BENCHMARK(BM_ViewTiltCorrectedImage)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BAMeasurementPanorama(benchmark::State& State) {
    bench::RunOnPhoto(
        State, [](const QString& File, TBitmap& Image, const TRect&) { return BAMeasurement(File, Image); },
        [](TBitmap& Picture) {
            PrepareRun(Picture);
            CircleR = 1400;
            CircleCenterOffset = 0.0;
            LensType = 0;
        });
}
BENCHMARK(BM_BAMeasurementPanorama)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
