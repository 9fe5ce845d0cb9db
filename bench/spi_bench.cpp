// A 12-megapixel JPEG photograph through the plug-in host into a 24-bit
// analysis image, against libjpeg decoding the same file alone (same default
// settings, into a new buffer each time). Target: the host at most 15 %
// slower.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "BenchJpeg.h"
#include "BenchTempFile.h"
#include "import/SPIPxDIB.h"
#include "import/SPIs.h"

namespace {

using namespace tam32;

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// A photograph-like picture (smooth shading, edges and grain), written once.
const std::string& PhotoFile() {
    static const std::string path = [] {
        const std::string file = bench::TempFileName("spi-bench", ".jpg");
        std::mt19937 random(12345);
        std::uniform_int_distribution<int> grain(-12, 12);
        bench::WriteJpegFile(file, kWidth, kHeight, [&](int y, uint8_t* row) {
            for (int x = 0; x < kWidth; ++x) {
                const bool leaf = ((x / 97) ^ (y / 61)) % 3 == 0;
                const int shade = (x * 255 / kWidth + y * 255 / kHeight) / 2 + grain(random);
                row[3 * x] = static_cast<uint8_t>(std::clamp(leaf ? shade / 3 : shade, 0, 255));
                row[3 * x + 1] = static_cast<uint8_t>(std::clamp(leaf ? shade / 2 + 40 : shade, 0, 255));
                row[3 * x + 2] = static_cast<uint8_t>(std::clamp(leaf ? shade / 4 : 255 - shade / 3, 0, 255));
            }
        });
        std::atexit([] { std::filesystem::remove(PhotoFile()); });
        return file;
    }();
    return path;
}

void BM_LibjpegAlone(benchmark::State& State) {
    const std::string& file = PhotoFile();
    for (auto _ : State) {
        size_t stride = 0;
        std::unique_ptr<uint8_t[]> pixels;
        bench::ReadJpegFile(
            file,
            [&](const jpeg_decompress_struct& Info) {
                stride = size_t{3} * Info.output_width;
                pixels.reset(new uint8_t[stride * Info.output_height]);
            },
            [&](int Y) { return pixels.get() + stride * size_t(Y); });
        benchmark::DoNotOptimize(pixels.get());
    }
}
BENCHMARK(BM_LibjpegAlone)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HostIntoSPIPxDIB(benchmark::State& State) {
    const std::string& file = PhotoFile();
    // The plug-ins beside the program, as the program finds them.
    static const std::unique_ptr<TSPIs> host = [] {
        auto spis = std::make_unique<TSPIs>();
        spis->SearchOptions = {TSPISearchOption::spsAppDir};
        spis->Loaded();
        return spis;
    }();
    for (auto _ : State) {
        TSPIPxDIB dib;
        dib.LoadFromFile(QString::fromStdString(file));
        dib.SetPixelFormat(pxPf24Bit);
        benchmark::DoNotOptimize(dib.DIB().Infos.Bits);
    }
}
BENCHMARK(BM_HostIntoSPIPxDIB)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
