// "Compare" and the LAI batch over a settings file, timed in the program
// itself: scripts of "tam32-probe gui" that open the 12-megapixel
// hemispherical photograph (a JPEG), set its circle and run the command,
// less the same script without the command. Targets, each a counter of its
// benchmark measured in the same run:
// - Compare (261 gap fraction results) within 20 x one
//   "tam32-probe run GapFractionAnalysis" of the same file at Fixed 128
//   ("ratio_to_one_run");
// - the batch grows linearly: per file, 9 files cost at most 1.5 x what 3
//   files cost ("growth_9_to_3").
// The photograph's file is written once and left to settle, as a user's
// photograph has, so that its decoding is shared as the program shares it.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QString>
#include <QStringList>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "BenchHemiPhoto.h"
#include "BenchJpeg.h"
#include "BenchProcess.h"
#include "BenchTempFile.h"

namespace {

using namespace tam32;

#ifdef TAM32_PROBE_PROGRAM

constexpr int kMostFiles = 9;
const QString kCircle = QStringLiteral("%1,%2,%3,1").arg(bench::kPhotoWidth / 2).arg(bench::kPhotoHeight / 2).arg(bench::kPhotoRadius);

// The photograph and its copies (other files, each decoded for itself),
// written on first use and removed at exit.
struct TPhotoFiles {
    std::string Folder = bench::TempFileName("compare-bench", "");
    QString Photo;
    QStringList Copies;
    TPhotoFiles() {
        std::filesystem::create_directories(Folder);
        Photo = QString::fromStdString(Folder + "/photo.jpg");
        const QImage image = bench::HemisphericalPhoto();
        bench::WriteJpegFile(Photo.toStdString(), bench::kPhotoWidth, bench::kPhotoHeight, [&](int Y, uint8_t* Row) {
            std::memcpy(Row, image.constScanLine(Y), size_t{3} * bench::kPhotoWidth);
        });
        for (int i = 1; i <= kMostFiles; ++i) {
            Copies << QString::fromStdString(Folder + "/copy" + std::to_string(i) + ".jpg");
            QFile::copy(Photo, Copies.back());
        }
        // A file changed within the file system's clock tick is decoded anew on every run.
        std::this_thread::sleep_for(std::chrono::milliseconds(2100));
    }
    ~TPhotoFiles() { std::filesystem::remove_all(Folder); }
    QString Write(const QString& Name, const QStringList& Lines) const {
        const QString path = QString::fromStdString(Folder) + QLatin1Char('/') + Name;
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(Lines.join(QLatin1Char('\n')).toUtf8());
        return path;
    }
};

const TPhotoFiles& Files() {
    static const TPhotoFiles files;
    return files;
}

// Seconds that the probe takes with Args; a failed run ends the benchmark.
double Seconds(benchmark::State& State, const QStringList& Args) {
    std::vector<std::string> arguments{TAM32_PROBE_PROGRAM};
    for (const QString& Arg : Args) arguments.push_back(Arg.toStdString());
    const bench::TProcessRun Run = bench::RunProcess(arguments, {"QT_QPA_PLATFORM=offscreen"});
    if (!Run.Ok) State.SkipWithError("tam32-probe failed");
    return Run.Seconds;
}

// The gui script that opens the photograph, sets its circle and then runs Command (if any).
double ScriptSeconds(benchmark::State& State, const QString& Name, const QString& Command, const QStringList& Settings) {
    QStringList lines{QStringLiteral("open ") + Files().Photo, QStringLiteral("circle ") + kCircle};
    if (!Command.isEmpty()) lines << Command;
    return Seconds(State, QStringList{QStringLiteral("gui"), Files().Write(Name, lines)} + Settings);
}

void BM_CompareInTheProgram(benchmark::State& State) {
    const QStringList compare{QStringLiteral("--set"), QStringLiteral("ThresholdMethod=6")};
    const QStringList oneRun{QStringLiteral("run"), QStringLiteral("GapFractionAnalysis"), Files().Photo,
                             QStringLiteral("--circle"), kCircle, QStringLiteral("--set"), QStringLiteral("ThresholdMethod=2"),
                             QStringLiteral("--set"), QStringLiteral("FixedThreshold=128")};
    double ratios = 0.0;
    for (auto _ : State) {
        const double run = Seconds(State, oneRun);
        const double opened = ScriptSeconds(State, QStringLiteral("open.txt"), QString(), compare);
        const double compared = ScriptSeconds(State, QStringLiteral("compare.txt"), QStringLiteral("command DoLAIEstimate"), compare);
        State.SetIterationTime(compared - opened);
        ratios += (compared - opened) / run;
    }
    State.counters["ratio_to_one_run"] = ratios / double(State.iterations());
}
BENCHMARK(BM_CompareInTheProgram)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

void BM_SettingsFileBatchInTheProgram(benchmark::State& State) {
    const auto batch = [&State](int Count) {
        QStringList lines;
        for (int i = 0; i < Count; ++i) lines << Files().Copies[i] + QStringLiteral(",2,128");
        const QString settings = Files().Write(QStringLiteral("batch%1.txt").arg(Count), lines);
        return ScriptSeconds(State, QStringLiteral("batch-script%1.txt").arg(Count),
                             QStringLiteral("command DoLAIEstimateUseSettingFile ") + settings, {});
    };
    double growths = 0.0;
    for (auto _ : State) {
        const double opened = ScriptSeconds(State, QStringLiteral("open.txt"), QString(), {});
        const double three = batch(3) - opened, nine = batch(kMostFiles) - opened;
        State.SetIterationTime(nine);
        growths += (nine / kMostFiles) / (three / 3);
    }
    State.counters["growth_9_to_3"] = growths / double(State.iterations());
}
BENCHMARK(BM_SettingsFileBatchInTheProgram)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

#endif

}  // namespace
