// The JPEG job against the floor of any analysis that starts from a JPEG,
// decoding it as a stream (libjpeg's rows into one row, as djpeg does), each
// measured in the same run on the same camera-like photograph (a fisheye
// disc of sky and branches with sensor grain, at quality 92) of 12 and of 48
// megapixels:
// - the gap fraction of the blue channel at a fixed threshold over the
//   circle and the LAI report, within 1.6 times the decoding on all cores
//   and 3.0 times on one thread: in this process ("ratio_all_cores",
//   "ratio_one_thread"), and as whole processes, "tam32-probe run" against
//   "djpeg -outfile /dev/null" of the same file (libjpeg-turbo-progs),
//   medians of alternating runs ("ratio_whole_process"; the second argument
//   is 1 for one thread);
// - opening the photograph in the program's window (tam32-probe gui): the
//   peak resident memory beyond that of opening a 16 x 12 JPEG, within twice
//   the picture's 24-bit size ("memory_per_picture").
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "BenchJpeg.h"
#include "BenchPlugins.h"
#include "BenchProcess.h"
#include "BenchTempFile.h"
#include "analysis/canopy/GapFraction.h"
#include "analysis/canopy/LAIReports.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/DecodedImageCache.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/RowBlocks.h"
#include "platform/Bitmap.h"

namespace {

using namespace tam32;

struct TCameraSize {
    int Width, Height, Radius;
};
// The two sizes of the targets, with the circle over each picture.
constexpr TCameraSize kSizes[] = {{4288, 2848, 1300}, {8000, 6000, 2740}};

// A camera-like photograph of the size, written on first use and removed at exit.
struct TCameraPhoto {
    std::string Path;
    explicit TCameraPhoto(const TCameraSize& Size)
        : Path(bench::TempFileName("camera-" + std::to_string(Size.Width), ".jpg")) {
        std::mt19937 random(Size.Width);
        std::normal_distribution<double> grain(0.0, 6.0);
        const double cx = Size.Width / 2.0, cy = Size.Height / 2.0;
        bench::WriteJpegFile(
            Path, Size.Width, Size.Height,
            [&](int y, uint8_t* row) {
                for (int x = 0; x < Size.Width; ++x) {
                    const double dx = x + 0.5 - cx, dy = y + 0.5 - cy, r = std::hypot(dx, dy) / Size.Radius;
                    // Branches: bands that wind around the centre and thin out towards the zenith.
                    const double branch =
                        std::sin(std::atan2(dy, dx) * 23.0 + r * 40.0) + std::sin(r * 90.0 + dx * 0.01);
                    const bool sky = r < 1.0 && branch < 0.6 - 0.8 * r;
                    const double level = r >= 1.0 ? 4.0 : (sky ? 205.0 - 40.0 * r : 55.0 + 30.0 * std::sin(dy * 0.02));
                    for (int c = 0; c < 3; ++c) {
                        const double tint = sky ? (c == 2 ? 35.0 : c == 1 ? 5.0 : -10.0) : (c == 1 ? 12.0 : 0.0);
                        row[3 * x + c] = uint8_t(std::clamp(level + tint + grain(random), 0.0, 255.0));
                    }
                }
            },
            92);
    }
    ~TCameraPhoto() { std::filesystem::remove(Path); }
};

const TCameraPhoto& Photo(int Index) {
    static const TCameraPhoto photos[] = {TCameraPhoto(kSizes[0]), TCameraPhoto(kSizes[1])};
    return photos[Index];
}

double SecondsSince(std::chrono::steady_clock::time_point Start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
}

// libjpeg's streaming decode: every row into the same row.
double DecodeSeconds(const std::string& File) {
    const auto start = std::chrono::steady_clock::now();
    std::vector<uint8_t> row;
    bench::ReadJpegFile(
        File, [&](const jpeg_decompress_struct& Info) { row.resize(std::size_t(Info.output_width) * Info.output_components); },
        [&](int) { return row.data(); });
    return SecondsSince(start);
}

// The job on Threads analysis threads; settings and picture made outside the timing.
double JobSeconds(benchmark::State& State, const std::string& File, const TCameraSize& Size, int Threads) {
    ResetSettingsToDefaults(QDate(2024, 6, 21));
    ResetAnalysisState();
    ClearDecodedImageCache();
    CircleSet = true;
    CircleX = Size.Width / 2;
    CircleY = Size.Height / 2;
    CircleR = Size.Radius;
    ThresholdCondition = 0;  // bright sky is the gap, as the window's circle tools set it
    ThresholdMethod = 2;
    FixedThreshold = 128;
    SetAnalysisThreads(Threads);
    TBitmap picture;
    const QString file = QString::fromStdString(File);
    const auto start = std::chrono::steady_clock::now();
    if (GapFractionAnalysis(file, picture, TRect{0, 0, Size.Width - 1, Size.Height - 1}) || ShowLAIResults(file))
        State.SkipWithError("the job failed");
    const double seconds = SecondsSince(start);
    SetAnalysisThreads(0);
    return seconds;
}

// Arg: 0 for 12 megapixels, 1 for 48.
void BM_JpegJobAgainstStreamingDecode(benchmark::State& State) {
    const bench::TPlugins plugins;
    const int index = int(State.range(0));
    const std::string& file = Photo(index).Path;
    double allCores = 0.0, oneThread = 0.0;
    for (auto _ : State) {
        const double decode = DecodeSeconds(file);
        const double job = JobSeconds(State, file, kSizes[index], 0);
        allCores += job / decode;
        oneThread += JobSeconds(State, file, kSizes[index], 1) / DecodeSeconds(file);
        State.SetIterationTime(job);
    }
    State.counters["ratio_all_cores"] = allCores / double(State.iterations());
    State.counters["ratio_one_thread"] = oneThread / double(State.iterations());
}
BENCHMARK(BM_JpegJobAgainstStreamingDecode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseManualTime();

#ifdef TAM32_PROBE_PROGRAM

// The peak resident memory in bytes of the program opening File in a window.
double OpenedPeakBytes(const std::string& File) {
    const std::string script = bench::TempFileName("open-script", ".txt");
    if (FILE* out = std::fopen(script.c_str(), "w")) {
        std::fprintf(out, "open %s\n", File.c_str());
        std::fclose(out);
    }
    const bench::TProcessRun opened = bench::RunProcess({TAM32_PROBE_PROGRAM, "gui", script}, {"QT_QPA_PLATFORM=offscreen"}, true);
    std::filesystem::remove(script);
    return opened.Ok ? opened.PeakBytes : -1.0;
}

// Runs of each process, alternating: enough for a steady median on a busy machine.
constexpr int kProcessRuns = 11;

// Args: 0 for 12 megapixels, 1 for 48; 0 for all cores, 1 for one thread.
void BM_JpegJobAsWholeProcesses(benchmark::State& State) {
    const int index = int(State.range(0));
    const TCameraSize& size = kSizes[index];
    const std::string& file = Photo(index).Path;
    const std::vector<std::string> threads{State.range(1) != 0 ? "TAM32_THREADS=1" : "TAM32_THREADS=0"};
    const std::vector<std::string> decode{"djpeg", "-outfile", "/dev/null", file};
    const std::vector<std::string> job{TAM32_PROBE_PROGRAM,
                                       "run",
                                       "GapFractionAnalysis+ShowLAIResults",
                                       file,
                                       "--circle",
                                       std::to_string(size.Width / 2) + "," + std::to_string(size.Height / 2) + "," +
                                           std::to_string(size.Radius),
                                       "--set",
                                       "ThresholdMethod=2",
                                       "--set",
                                       "FixedThreshold=128"};
    double ratios = 0.0;
    for (auto _ : State) {
        std::vector<double> decodeSeconds, jobSeconds;
        for (int run = 0; run < kProcessRuns; ++run) {
            const bench::TProcessRun decoded = bench::RunProcess(decode), done = bench::RunProcess(job, threads);
            if (!decoded.Ok) State.SkipWithError("djpeg failed (is libjpeg-turbo-progs installed?)");
            if (!done.Ok) State.SkipWithError("tam32-probe failed");
            decodeSeconds.push_back(decoded.Seconds);
            jobSeconds.push_back(done.Seconds);
        }
        State.SetIterationTime(bench::Median(jobSeconds));
        ratios += bench::Median(jobSeconds) / bench::Median(decodeSeconds);
    }
    State.counters["ratio_whole_process"] = ratios / double(State.iterations());
}
BENCHMARK(BM_JpegJobAsWholeProcesses)
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1);

// A 16 x 12 JPEG, the program's own memory without a picture worth the name.
const std::string& SmallPhoto() {
    static const struct TSmall {
        std::string Path = bench::TempFileName("small", ".jpg");
        TSmall() {
            bench::WriteJpegFile(Path, 16, 12, [](int, uint8_t* row) { std::fill_n(row, 48, uint8_t(128)); });
        }
        ~TSmall() { std::filesystem::remove(Path); }
    } small;
    return small.Path;
}

void BM_OpeningAPhotographInTheProgram(benchmark::State& State) {
    const int index = int(State.range(0));
    const TCameraSize& size = kSizes[index];
    double ratios = 0.0;
    for (auto _ : State) {
        const double peak = OpenedPeakBytes(Photo(index).Path), small = OpenedPeakBytes(SmallPhoto());
        if (peak < 0.0 || small < 0.0) State.SkipWithError("tam32-probe failed");
        ratios += (peak - small) / (3.0 * size.Width * size.Height);
    }
    State.counters["memory_per_picture"] = ratios / double(State.iterations());
}
BENCHMARK(BM_OpeningAPhotographInTheProgram)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

#endif

}  // namespace
