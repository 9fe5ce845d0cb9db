// The analysis of a 12-megapixel photograph against the decoding of it, each
// reference measured in the same run:
// - the gap fraction of a 24-bit BMP within 1.5 times loading and saving it;
// - decoding a JPEG of the photograph, its gap fraction over every pixel of
//   the circle and the LAI report within 1.3 times decoding it with libjpeg
//   into a BMP file (what djpeg -bmp does);
// - the gap fraction on one thread, for the share the cores take.
// The year's PAR estimate against one gap fraction is in par_bench.cpp.
#include <benchmark/benchmark.h>

#include <QImage>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "BenchJpeg.h"
#include "BenchPhotoRun.h"
#include "BenchTempFile.h"
#include "analysis/canopy/GapFraction.h"
#include "analysis/canopy/LAIReports.h"
#include "analysis/core/RowBlocks.h"
#include "import/SPIPxDIB.h"

namespace {

using namespace tam32;

// The photograph as a JPEG, written on first use and removed at exit.
const std::string& PhotoJpegFile() {
    static const struct TPhotoFile {
        std::string Path = bench::TempFileName("photo", ".jpg");
        TPhotoFile() {
            const QImage photo = bench::HemisphericalPhoto();
            bench::WriteJpegFile(Path, photo.width(), photo.height(), [&photo](int y, uint8_t* row) {
                const uint8_t* bgr = photo.constScanLine(y);  // stored blue, green, red
                for (int x = 0; x < photo.width(); ++x) {
                    row[3 * x] = bgr[3 * x + 2];
                    row[3 * x + 1] = bgr[3 * x + 1];
                    row[3 * x + 2] = bgr[3 * x];
                }
            });
        }
        ~TPhotoFile() { std::filesystem::remove(Path); }
    } file;
    return file.Path;
}

void GapSettings(TBitmap&) {
    bench::StartFromPhotoSettings();
    ThresholdMethod = 2;
    FixedThreshold = 128;
}

void BM_BmpLoadAndSave(benchmark::State& state) {
    const bench::TPlugins plugins;
    const QString in = QString::fromStdString(bench::PhotoBmpFile());
    const QString out = QString::fromStdString(bench::TempFileName("saved", ".bmp"));
    for (auto _ : state) {
        TSPIPxDIB picture;
        picture.LoadFromFile(in);
        picture.SaveToFile(out);
    }
    std::filesystem::remove(out.toStdString());
}
BENCHMARK(BM_BmpLoadAndSave)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BmpGapFraction(benchmark::State& state) {
    SetAnalysisThreads(int(state.range(0)));
    bench::RunOnPhoto(state, GapFractionAnalysis, GapSettings);
    SetAnalysisThreads(0);
}
// 0: every core; 1: one thread.
BENCHMARK(BM_BmpGapFraction)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Decodes the JPEG with libjpeg and writes the picture as a 24-bit BMP file.
void BM_JpegDecodeToBmp(benchmark::State& state) {
    const std::string in = PhotoJpegFile(), out = bench::TempFileName("decoded", ".bmp");
    for (auto _ : state) {
        std::size_t stride = 0, height = 0;
        std::vector<uint8_t> pixels;
        bench::ReadJpegFile(
            in,
            [&](const jpeg_decompress_struct& Info) {
                stride = (std::size_t(Info.output_width) * 3 + 3) / 4 * 4;
                height = Info.output_height;
                pixels.resize(stride * height);
            },
            // Bottom-up rows, as the BMP stores them.
            [&](int Y) { return pixels.data() + stride * (height - 1 - std::size_t(Y)); }, JCS_EXT_BGR);
        FILE* target = std::fopen(out.c_str(), "wb");
        std::fwrite(pixels.data(), 1, pixels.size(), target);
        std::fclose(target);
    }
    std::filesystem::remove(out);
}
BENCHMARK(BM_JpegDecodeToBmp)->Unit(benchmark::kMillisecond)->UseRealTime();

bool GapFractionAndLAIReport(const QString& file, TBitmap& picture, const TRect& area) {
    return GapFractionAnalysis(file, picture, area) || ShowLAIResults(file);
}

void BM_JpegGapFractionAndLAIReport(benchmark::State& state) {
    bench::RunOnPhoto(state, GapFractionAndLAIReport, GapSettings, QString::fromStdString(PhotoJpegFile()));
}
BENCHMARK(BM_JpegGapFractionAndLAIReport)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
