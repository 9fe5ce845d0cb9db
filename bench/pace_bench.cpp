// The passes that must keep pace with the gap fraction analysis, as whole
// processes of "tam32-probe run", each against one gap fraction run of the
// same 12-megapixel picture in the same benchmark: the processes alternate
// round by round and each ratio is of medians, so that a busy machine slows
// both sides alike. On every core (Arg 0) and on one thread (Arg 1, with
// TAM32_THREADS=1). Targets, 80 % of the ones set when the passes were first
// made fast, and the numbers' own:
// - LabellAnalysis of a canopy mask of about 7,500 objects, numbers drawn:
//   within 2.4 times the gap fraction of the mask (labels_x_gap), and within
//   1.3 times the same labelling with the numbers and the outline measures
//   off on every core (labels_x_plain);
// - on the hemispherical photograph (its circle, the built-in settings):
//   SepColorAnalysis within 1.2 times, ViewClassifiedImage with 3 groups
//   within 1.2 times, BAMeasurement within 0.8 times the gap fraction.
// The targets hold against the gap fraction as it stood when they were set,
// not against a gap fraction made faster since: TAM32_PACE_REFERENCE may
// name the tam32-probe of that build (its plug-ins and message files beside
// it), whose gap fraction then runs in each round too, first, and every
// pass is also given as a ratio to it (*_x_reference).
// Each process's median is also given in milliseconds per megapixel
// (*_ms_per_MP).
#include <benchmark/benchmark.h>

#include <QString>
#include <QStringList>
#include <cmath>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "../tests/analysis/SyntheticMasks.h"
#include "BenchClassifier.h"
#include "BenchHemiPhoto.h"
#include "BenchMaskFiles.h"
#include "BenchProcess.h"
#include "BenchTempFile.h"
#include "analysis/colour/ClassifierFile.h"

namespace {

using namespace tam32;

#ifdef TAM32_PROBE_PROGRAM

constexpr int kRounds = 7;

// One kind of probe process and the seconds of each of its runs.
struct TProcess {
    const char* Name;
    QStringList Args;
    std::vector<double> Seconds;
    QString Program = QStringLiteral(TAM32_PROBE_PROGRAM);
};

// Seconds that the probe Program takes with Args; false when it failed.
bool TimeProbe(const QString& Program, const QStringList& Args, bool OneThread, double& Seconds) {
    std::vector<std::string> arguments{Program.toStdString()};
    for (const QString& Arg : Args) arguments.push_back(Arg.toStdString());
    const bench::TProcessRun Run =
        bench::RunProcess(arguments, {"QT_QPA_PLATFORM=offscreen", OneThread ? "TAM32_THREADS=1" : "TAM32_THREADS=0"});
    Seconds = Run.Seconds;
    return Run.Ok;
}

// Runs every process once a round, in order, after the reference's gap
// fraction when TAM32_PACE_REFERENCE names its probe; the first of
// Processes is this build's gap fraction, the reference of the x_gap
// counters.
void RunRounds(benchmark::State& State, std::vector<TProcess>& Processes, double Megapixels) {
    const bool OneThread = State.range(0) == 1;
    const QString ReferenceProbe = qEnvironmentVariable("TAM32_PACE_REFERENCE");
    TProcess Reference{"reference", Processes.front().Args, {}, ReferenceProbe};
    std::vector<TProcess*> Round;
    if (!ReferenceProbe.isEmpty()) Round.push_back(&Reference);
    for (TProcess& Process : Processes) Round.push_back(&Process);
    for (auto _ : State) {
        double Total = 0.0;
        for (TProcess* Process : Round) {
            double Seconds = 0.0;
            if (!TimeProbe(Process->Program, Process->Args, OneThread, Seconds)) {
                State.SkipWithError(Process->Name);
                return;
            }
            Process->Seconds.push_back(Seconds);
            Total += Seconds;
        }
        State.SetIterationTime(Total);
    }
    const TProcess& Gap = Processes.front();
    for (const TProcess* Process : Round) {
        const std::string Name = Process->Name;
        const double Seconds = bench::Median(Process->Seconds);
        State.counters[Name + "_ms_per_MP"] = 1000.0 * Seconds / Megapixels;
        if (Process == &Reference || Process == &Gap) continue;
        State.counters[Name + "_x_gap"] = Seconds / bench::Median(Gap.Seconds);
        if (!Reference.Seconds.empty()) State.counters[Name + "_x_reference"] = Seconds / bench::Median(Reference.Seconds);
    }
}

QStringList Run(const char* Routine, const QString& File, QStringList Options) {
    return QStringList{QStringLiteral("run"), QString::fromLatin1(Routine), File} + Options;
}

// "--set Name=Value" for each setting.
QStringList Sets(std::initializer_list<const char*> Settings) {
    QStringList Options;
    for (const char* Setting : Settings) Options << QStringLiteral("--set") << QString::fromLatin1(Setting);
    return Options;
}

void BM_LabellingPace(benchmark::State& State) {
    const test::TMask Mask = test::CanopyMask(0.2);
    const bench::TMaskFile File("objects", Mask.Width, Mask.Height, Mask.Pixels.data());
    const QString Circle = QStringLiteral("%1,%2,%3")
                               .arg(Mask.Width / 2)
                               .arg(Mask.Height / 2)
                               .arg(int(std::ceil(std::hypot(Mask.Width / 2.0, Mask.Height / 2.0))));
    // White objects at Fixed 128.
    const QStringList Fixed = Sets({"ThresholdMethod=2", "FixedThreshold=128", "ThresholdCondition=0"});
    const QStringList Plain = Fixed + Sets({"ShowLabelledNumber=0", "CalcTraceLengthRatio=0"});
    std::vector<TProcess> Processes{
        {"gap", Run("GapFractionAnalysis", File.Name(), QStringList{QStringLiteral("--circle"), Circle} + Fixed), {}},
        {"labels", Run("LabellAnalysis", File.Name(), Fixed), {}},
        {"plain", Run("LabellAnalysis", File.Name(), Plain), {}},
    };
    RunRounds(State, Processes, Mask.Width * double(Mask.Height) / 1e6);
    if (Processes[1].Seconds.size() == std::size_t(kRounds))
        State.counters["labels_x_plain"] = bench::Median(Processes[1].Seconds) / bench::Median(Processes[2].Seconds);
}
BENCHMARK(BM_LabellingPace)->Arg(0)->Arg(1)->Iterations(kRounds)->Unit(benchmark::kMillisecond)->UseManualTime();

// The classifier of three groups as a file, written on first use and removed at exit.
const QString& ThreeGroupsFile() {
    static const struct TClassifierFile {
        std::string Path = bench::TempFileName("groups", ".txt");
        TClassifierFile() {
            bench::SetClassifier(3);
            SaveClassifierFile(QString::fromStdString(Path));
        }
        ~TClassifierFile() { std::filesystem::remove(Path); }
    } file;
    static const QString Path = QString::fromStdString(file.Path);
    return Path;
}

void BM_PhotographPace(benchmark::State& State) {
    const QString Photo = QString::fromStdString(bench::PhotoBmpFile());
    const QStringList Circle{
        QStringLiteral("--circle"),
        QStringLiteral("%1,%2,%3,1").arg(bench::kPhotoWidth / 2).arg(bench::kPhotoHeight / 2).arg(bench::kPhotoRadius)};
    const QStringList Classified = Circle + QStringList{QStringLiteral("--classifier"), ThreeGroupsFile()};
    std::vector<TProcess> Processes{
        {"gap", Run("GapFractionAnalysis", Photo, Circle), {}},
        {"sepcolour", Run("SepColorAnalysis", Photo, Circle), {}},
        {"classified", Run("ViewClassifiedImage", Photo, Classified), {}},
        {"panorama", Run("BAMeasurement", Photo, Circle), {}},
    };
    RunRounds(State, Processes, bench::kPhotoWidth * double(bench::kPhotoHeight) / 1e6);
}
BENCHMARK(BM_PhotographPace)->Arg(0)->Arg(1)->Iterations(kRounds)->Unit(benchmark::kMillisecond)->UseManualTime();

#endif

}  // namespace
