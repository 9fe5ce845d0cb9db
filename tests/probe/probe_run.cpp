// tam32-probe run ROUTINE[+ROUTINE...] IMAGE [--ini FILE] [--set Name=Value]...
//     [--circle X,Y,R[,ODD]] [--north DEG] [--area L,T,R,B] [--out RESULT.bmp] [--print Name]...
//     [--OPTION VALUE]... (options that the routines' own files register)
// Starts from the built-in settings, loads the settings file through the
// options dialog's Load and OK (exit 2 when OK refuses it), applies each
// --set, publishes the circle, north and box area as the image window does
// (the whole picture without --area), runs the routines in order and prints
// what the engine shows: "STATUS: text", "MEMO: line", "GRID name row col:
// text", "BOX: text", a chart's "CHART:", "AXIS" and "SERIES" lines; then
// "Name = value" for each --print
// (an array row by row, the first row on the "Name =" line). Exit 0 when
// every routine succeeded, 2 when one reported failure (the later ones do
// not run).
#include <QFile>
#include <QGuiApplication>
#include <QLocale>
#include <climits>
#include <cstdio>

#include "ProbeCommands.h"
#include "ProbePlugins.h"
#include "ProbePrinting.h"
#include "ProbeRun.h"
#include "ProbeSettings.h"
#include "analysis/canopy/GapFraction.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/EngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/geometry/CircleDetection.h"
#include "import/ShownPicture.h"
#include "platform/Bitmap.h"
#include "platform/IniFile.h"

namespace tam32::probe {

std::map<QString, TProbeRoutineEntry>& ProbeRoutines() {
    static std::map<QString, TProbeRoutineEntry> Routines;
    return Routines;
}

std::map<QString, TProbeRunOption>& ProbeRunOptions() {
    static std::map<QString, TProbeRunOption> Options;
    return Options;
}

bool ShowImageIfEmpty(TBitmap& Picture, const QString& File) {
    if (!Picture.Empty()) return true;
    // Read as the program's image window reads it.
    try {
        Picture.Assign(LoadPictureAsBitmap(File).get());
    } catch (const Exception&) {
        return false;
    }
    return true;
}

namespace {

// A GUI application, for its fonts, when one of the routines named in the
// argument after "run" may write text; the core application otherwise.
std::unique_ptr<QCoreApplication> MakeRunApplication(int& Argc, char** Argv) {
    bool WritesText = false;
    if (Argc > 2)
        for (const QString& Name : QString::fromLocal8Bit(Argv[2]).split(QLatin1Char('+')))
            if (const auto Routine = ProbeRoutines().find(Name); Routine != ProbeRoutines().end())
                WritesText = WritesText || Routine->second.Text == TWritesText::Yes;
    if (!WritesText) {
        // Pictures made without a screen take the resolution of the offscreen
        // one (96 dpi), which their saved headers show.
        QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
        return std::make_unique<QCoreApplication>(Argc, Argv);
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(Argc, Argv);
}

int Run(const QStringList& Args) {
    if (Args.size() < 2) return kUsage;
    std::vector<TProbeRoutine*> Routines;
    for (const QString& Name : Args[0].split(QLatin1Char('+'))) {
        const auto Routine = ProbeRoutines().find(Name);
        if (Routine == ProbeRoutines().end()) return kUsage;
        Routines.push_back(&Routine->second.Run);
    }
    const QString ImageFile = Args[1];
    ResetSettingsToDefaults();
    ResetAnalysisState();
    TRect Area{0, 0, INT_MAX, INT_MAX};  // the whole picture: analyses clip to the image
    QStringList Prints;
    QString OutFile;
    for (int I = 2; I < Args.size(); ++I) {
        const QString& Option = Args[I];
        if (I + 1 >= Args.size()) return kUsage;
        const QString Value = Args[++I];
        std::vector<int> Ints;
        if (Option == QLatin1String("--ini")) {
            if (!QFile::exists(Value)) return kUsage;
            if (!LoadSettingsFile(Value)) return 2;
        } else if (Option == QLatin1String("--set")) {
            if (!SetVariable(Value)) return kUsage;
        } else if (Option == QLatin1String("--circle")) {
            if (!ParseInts(Value, 3, 4, Ints)) return kUsage;
            CircleSet = true;
            CircleX = Ints[0];
            CircleY = Ints[1];
            CircleR = Ints[2];
            CircleCenterOffset = Ints.size() == 4 && Ints[3] != 0 ? 0.5 : 0.0;
            // Every way the image window sets a circle makes bright pixels the
            // target; a later --set can still change it.
            ThresholdCondition = 0;
        } else if (Option == QLatin1String("--north")) {
            bool Ok = false;
            NorthForAnalysis = QLocale::c().toDouble(Value, &Ok);
            if (!Ok) return kUsage;
        } else if (Option == QLatin1String("--area")) {
            if (!ParseInts(Value, 4, 4, Ints)) return kUsage;
            Area = {Ints[0], Ints[1], Ints[2], Ints[3]};
        } else if (Option == QLatin1String("--out")) {
            OutFile = Value;
        } else if (Option == QLatin1String("--print")) {
            if (!ProbeVariables().contains(Value)) return kUsage;
            Prints << Value;
            // Printed after the run, the threshold histogram is counted even when the method needs none.
            if (Value == QLatin1String("Histogram")) ThresholdHistogramRead = true;
        } else if (const auto Registered = ProbeRunOptions().find(Option); Registered != ProbeRunOptions().end()) {
            if (!Registered->second(Value)) return kUsage;
        } else {
            return kUsage;
        }
    }

    const TProbePlugins Plugins;
    TPrintingHost Printer;
    TBitmap Picture;
    bool Failed = false;
    for (TProbeRoutine* Routine : Routines)
        if ((Failed = (*Routine)(ImageFile, Picture, Area))) break;
    if (!OutFile.isEmpty()) Picture.SaveToFile(OutFile);
    for (const QString& Name : Prints) PrintVariable(Name);
    return Failed ? 2 : 0;
}

const RegisterProbeCommand kRun({"run",
                                 "ROUTINE[+ROUTINE...] IMAGE [--ini FILE] [--set Name=Value]... "
                                 "[--circle X,Y,R[,ODD]] [--north DEG] [--area L,T,R,B] [--out RESULT.bmp] "
                                 "[--print Name]... [--OPTION VALUE]...",
                                 Run, MakeRunApplication});

const RegisterProbeRoutine kDetectCircleArea("DetectCircleArea",
                                             [](const QString& File, TBitmap&, const TRect&) { return DetectCircleArea(File); });
const RegisterProbeRoutine kGapFractionAnalysis("GapFractionAnalysis", GapFractionAnalysis);

}  // namespace
}  // namespace tam32::probe
