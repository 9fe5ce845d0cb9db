// The spatial filter and the control-point correction of the 12-megapixel
// photograph, each loading the BMP file afresh and writing a BMP file,
// against one gap fraction analysis of the same file (BM_GapFractionAnalysis
// of par_bench.cpp; run them together with
// --benchmark_filter='GapFractionAnalysis|FilterImageFile|GcpCorrect').
// Targets: a 3 x 3 filter within 2 times the gap fraction, a 9 x 9 filter
// within 8 times, and an order-3 correction to 4000 x 3000 pixels within
// 2 times.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "BenchPhotoRun.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/corrections/FilterKernel.h"
#include "analysis/corrections/GcpCorrection.h"
#include "analysis/corrections/SpatialFilter.h"

namespace {

using namespace tam32;

// The file that the running benchmark writes, removed when it ends.
QString OutputFile;

struct TOutput {
    explicit TOutput(const char* Tag) : Path(bench::TempFileName(Tag, ".bmp")) {
        OutputFile = QString::fromStdString(Path);
    }
    ~TOutput() { std::filesystem::remove(Path); }
    std::string Path;
};

// A kernel of Size x Size weights that differ from place to place.
TFilterKernel Kernel(int Size) {
    TFilterKernel kernel;
    kernel.Size = Size;
    for (int i = 0; i < Size * Size; ++i) kernel.Weights.push_back(1 + i % 3);
    kernel.Divisor = 2 * Size * Size;
    return kernel;
}

void Filter(benchmark::State& State, int Size) {
    const TOutput output("filtered");
    bench::RunOnPhoto(
        State, [](const QString& File, TBitmap&, const TRect&) { return FilterImageFile(File, OutputFile); },
        [Size](TBitmap&) {
            bench::StartFromPhotoSettings();
            StoreFilterKernel(Kernel(Size));
        });
}

void BM_FilterImageFile3x3(benchmark::State& State) { Filter(State, 3); }
BENCHMARK(BM_FilterImageFile3x3)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FilterImageFile9x9(benchmark::State& State) { Filter(State, 9); }
BENCHMARK(BM_FilterImageFile9x9)->Unit(benchmark::kMillisecond)->UseRealTime();

// An order-3 mapping close to the identity, with the photograph's size:
// every term in use, a few pixels read from beyond the edges.
void BM_GcpCorrectImageFileOrder3(benchmark::State& State) {
    const TOutput output("gcp");
    static TGcpModel model;
    model.Fit.Centred.Col = {5.0, 0.99, 0.002, 1e-6, -2e-7, -1e-10, 3e-11};
    model.Fit.Centred.Row = {-4.0, 0.001, 1.01, 3e-7, -1e-6, 2e-11, -1e-10};
    model.OutWidth = bench::kPhotoWidth;
    model.OutHeight = bench::kPhotoHeight;
    model.PixelSize = 1.0;
    model.SizeComputed = true;
    bench::RunOnPhoto(
        State,
        [](const QString& File, TBitmap&, const TRect&) { return !GcpCorrectImageFile(File, OutputFile, model); },
        [](TBitmap&) { bench::StartFromPhotoSettings(); });
}
BENCHMARK(BM_GcpCorrectImageFileOrder3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
