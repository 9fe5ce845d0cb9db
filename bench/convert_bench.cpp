// Pixel-format conversions on a 12-megapixel image (4000 x 3000): RLE8
// decoding and encoding of a compressible picture, and 8 -> 24 bits.
#include <benchmark/benchmark.h>

#include <cstring>

#include "image/PxConvert.h"
#include "image/PxMemory.h"

namespace {

using namespace tam32;

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// An 8-bit picture of horizontal bands with runs of 1..40 pixels and short
// stretches of differing pixels between them, like a posterised photograph.
struct TBenchImage {
    TBenchImage() {
        Infos.Header.biSize = 40;
        Infos.Header.biWidth = kWidth;
        Infos.Header.biHeight = kHeight;
        Infos.Header.biPlanes = 1;
        Infos.Header.biBitCount = 8;
        Infos.Header.biClrUsed = 256;
        for (int i = 0; i < 256; ++i)
            Infos.Colors[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(i / 2), static_cast<uint8_t>(255 - i), 0};
        GetMemory(Infos, DIBRowSize(8, kWidth) * kHeight, true);
        uint32_t state = 12345;
        for (int y = 0; y < kHeight; ++y) {
            uint8_t* row = Infos.Bits + static_cast<int64_t>(y) * DIBRowSize(8, kWidth);
            for (int x = 0; x < kWidth;) {
                state = state * 1664525u + 1013904223u;
                const int run = 1 + static_cast<int>((state >> 8) % 40);
                const uint8_t value = static_cast<uint8_t>(state >> 24);
                const bool literal = (state & 7) == 0;
                for (int i = 0; i < run && x < kWidth; ++i, ++x)
                    row[x] = literal ? static_cast<uint8_t>(value + i) : value;
            }
        }
    }
    ~TBenchImage() { FreeMemory(Infos.MappingHandle, Infos.Bits, true); }
    TPxDIBInfos Infos;
};

const TBenchImage& Image() {
    static const TBenchImage image;
    return image;
}

void Run(benchmark::State& State, const TPxDIBInfos& Source,
         void (*Convert)(const TPxDIBInfos&, TPxDIBInfos&, bool)) {
    for (auto _ : State) {
        TPxDIBInfos dest;
        Convert(Source, dest, true);
        benchmark::DoNotOptimize(dest.Bits);
        FreeMemory(dest.MappingHandle, dest.Bits, true);
    }
    State.SetItemsProcessed(State.iterations() * kWidth * kHeight);
}

void BM_Convert8BitRGBTo8BitRLE(benchmark::State& State) {
    Run(State, Image().Infos, Convert8BitRGBTo8BitRLE);
}

void BM_Convert8BitRLETo8BitRGB(benchmark::State& State) {
    TPxDIBInfos encoded;
    Convert8BitRGBTo8BitRLE(Image().Infos, encoded, true);
    State.counters["compressed_MB"] = encoded.BitsSize / 1e6;
    Run(State, encoded, Convert8BitRLETo8BitRGB);
    FreeMemory(encoded.MappingHandle, encoded.Bits, true);
}

void BM_Convert8BitRGBToTrueColor(benchmark::State& State) {
    Run(State, Image().Infos, Convert8BitRGBToTrueColor);
}

BENCHMARK(BM_Convert8BitRGBTo8BitRLE)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Convert8BitRLETo8BitRGB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Convert8BitRGBToTrueColor)->Unit(benchmark::kMillisecond);

}  // namespace
