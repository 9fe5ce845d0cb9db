#pragma once
// One analysis routine timed on the benchmark photograph: before each run,
// outside the timing, Prepare sets the settings (and the window's picture,
// for a routine that paints into the one it is given) and the kept decoding
// is dropped, so that every run decodes the file.
#include <benchmark/benchmark.h>

#include <QString>

#include "BenchHemiPhoto.h"
#include "BenchPlugins.h"
#include "analysis/core/DecodedImageCache.h"
#include "platform/Bitmap.h"

namespace tam32::bench {

using TPhotoRoutine = bool (*)(const QString& FileName, TBitmap& Image, const TRect& Area);

// File: the photograph as a BMP unless given.
template <typename TPrepare>
void RunOnPhoto(benchmark::State& State, TPhotoRoutine Routine, TPrepare Prepare, QString File = {}) {
    const TPlugins plugins;
    const QString file = File.isEmpty() ? QString::fromStdString(PhotoBmpFile()) : File;
    for (auto _ : State) {
        State.PauseTiming();
        ClearDecodedImageCache();
        TBitmap picture;
        Prepare(picture);
        State.ResumeTiming();
        if (Routine(file, picture, TRect{0, 0, kPhotoWidth - 1, kPhotoHeight - 1})) State.SkipWithError("analysis failed");
    }
}

}  // namespace tam32::bench
