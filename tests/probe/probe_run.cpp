// tam32-probe run ROUTINE[+ROUTINE...] IMAGE [--ini FILE] [--set Name=Value]...
//     [--circle X,Y,R[,ODD]] [--north DEG] [--area L,T,R,B] [--out RESULT.bmp] [--print Name]...
// Starts from the built-in settings, loads the settings file as the options
// dialog's Load does, applies each --set, publishes the circle, north and box
// area as the image window does (the whole picture without --area), runs the
// routines in order and prints what the engine shows: "STATUS: text",
// "MEMO: line", "GRID name row col: text", "MESSAGE: text", "CHART: caption";
// then "Name = value" for each --print (an array row by row, the first row on
// the "Name =" line). Exit 0 when every routine succeeded, 2 when one
// reported failure (the later ones do not run).
#include <QFile>
#include <QLocale>
#include <climits>
#include <cstdio>

#include "ProbeCommands.h"
#include "ProbeRun.h"
#include "analysis/AnalysisState.h"
#include "analysis/CircleDetection.h"
#include "analysis/EngineHost.h"
#include "analysis/GapFraction.h"
#include "analysis/GlobalSettings.h"
#include "import/SPIBitmap.h"
#include "import/SPIs.h"
#include "platform/Bitmap.h"
#include "platform/IniFile.h"

namespace tam32::probe {

std::map<QString, TProbeRoutine>& ProbeRoutines() {
    static std::map<QString, TProbeRoutine> Routines;
    return Routines;
}

namespace {

void PrintLine(const QString& Line) {
    std::printf("%s\n", Line.toUtf8().constData());
    std::fflush(stdout);
}

class TPrintingHost final : public TEngineHost {
public:
    TPrintingHost() : FPrevious(SetEngineHost(this)) {}
    ~TPrintingHost() override { SetEngineHost(FPrevious); }

    void SetStatusText(const QString& Text) override { PrintLine(QStringLiteral("STATUS: ") + Text); }
    void AppendResultLine(const QString& Line) override { PrintLine(QStringLiteral("MEMO: ") + Line); }
    void SetResultGridRowCount(TResultGrid, int) override {}
    void SetResultGridCell(TResultGrid Grid, int Col, int Row, const QString& Text) override {
        const char* Name = Grid == TResultGrid::Classification ? "Classification" : "GapEstimate";
        PrintLine(QStringLiteral("GRID %1 %2 %3: %4").arg(QLatin1String(Name)).arg(Row).arg(Col).arg(Text));
    }
    void ShowResultPage(TResultPage) override {}
    void ShowChart(const TChartData& Chart) override { PrintLine(QStringLiteral("CHART: ") + Chart.Caption); }
    void ShowMessage(const QString& Text) override { PrintLine(QStringLiteral("MESSAGE: ") + Text); }
    bool Confirm(const QString&) override { return false; }
    bool InputQuery(const QString&, const QString&, QString&) override { return false; }
    void SetClipboardText(const QString&) override {}

private:
    TEngineHost* FPrevious;
};

double ReadNumber(const TIniFile& Ini, const QString& Section, const QString& Key, double Default) {
    bool Ok = false;
    const double Value = QLocale::c().toDouble(Ini.ReadString(Section, Key, QString()).trimmed(), &Ok);
    return Ok ? Value : Default;
}

int ReadClamped(const TIniFile& Ini, const QString& Section, const QString& Key, int Default, int Lo, int Hi) {
    return std::clamp(Ini.ReadInteger(Section, Key, Default), Lo, Hi);
}

// The keys that the options dialog's Load reads, each defaulting to the
// current value; a [Threshold] key that is missing leaves its setting alone.
void LoadSettingsFile(const QString& FileName) {
    const TIniFile Ini(FileName);
    const QString T = QStringLiteral("Threshold"), A = QStringLiteral("Area"), F = QStringLiteral("FishEye"),
                  L = QStringLiteral("LAI"), P = QStringLiteral("PAR"), D = QStringLiteral("Distort");
    if (const int V = Ini.ReadInteger(T, QStringLiteral("Color"), -1); V >= 0) BinarizeTarget = V;
    if (const int V = Ini.ReadInteger(T, QStringLiteral("Type"), -1); V >= 0) {
        ThresholdMethod = V;
        if (V == 2) FixedThreshold = ReadClamped(Ini, T, QStringLiteral("Value"), FixedThreshold, 0, 255);
    }
    if (const int V = Ini.ReadInteger(T, QStringLiteral("Jhoken"), -1); V >= 0) ThresholdCondition = V;
    MaxLabelBuffSize = ReadClamped(Ini, A, QStringLiteral("MaxLabellBuffSize"), MaxLabelBuffSize, 0, 3000000);
    MinLabelledArea = Ini.ReadInteger(A, QStringLiteral("MinLabelledArea"), MinLabelledArea);
    MaxLabelledArea = Ini.ReadInteger(A, QStringLiteral("MaxLabelledArea"), MaxLabelledArea);
    ShowLabelledNumber = Ini.ReadBool(A, QStringLiteral("ShowLabelledNumber"), ShowLabelledNumber);
    CalcTraceLengthRatio = Ini.ReadBool(A, QStringLiteral("CalcTraceLengthRatio"), CalcTraceLengthRatio);
    LabelTraceVectorize = Ini.ReadBool(A, QStringLiteral("LabelTraceVectorize"), LabelTraceVectorize);
    LabelTraceVectorFolder = Ini.ReadString(A, QStringLiteral("LabelTraceVectorFile"), LabelTraceVectorFolder);
    LabelingDuplicate = Ini.ReadBool(A, QStringLiteral("LabelingDuplicate"), LabelingDuplicate);
    ImageDPI = ReadNumber(Ini, QStringLiteral("ScanDpi"), QStringLiteral("Dpi"), ImageDPI);
    ScanPhotoRadius = ReadNumber(Ini, F, QStringLiteral("ScanPhotoRadi"), ScanPhotoRadius);
    MaxViewAngle = ReadNumber(Ini, F, QStringLiteral("MaxAngle"), MaxViewAngle);
    AzimuthMaskFrom = ReadNumber(Ini, F, QStringLiteral("AzimthMask0"), AzimuthMaskFrom);
    AzimuthMaskTo = ReadNumber(Ini, F, QStringLiteral("AzimthMask1"), AzimuthMaskTo);
    AzimuthMaskAscending = AzimuthMaskFrom < AzimuthMaskTo;
    AzimuthMaskUse = Ini.ReadBool(F, QStringLiteral("AzimthMaskUse"), AzimuthMaskUse);
    SlopeInclination = ReadNumber(Ini, F, QStringLiteral("AzimthCorrection"), SlopeInclination);
    SlopeAzimuth = ReadNumber(Ini, F, QStringLiteral("ZenithCorrection"), SlopeAzimuth);
    SlopeCorrection = Ini.ReadBool(F, QStringLiteral("SlopeCorrection"), SlopeCorrection);
    ZenithThresholdType = ReadClamped(Ini, F, QStringLiteral("ThresholdType"), ZenithThresholdType, 0, 4);
    LensType = ReadClamped(Ini, F, QStringLiteral("ProjectType"), LensType, 0, 7);
    NCType = ReadClamped(Ini, L, QStringLiteral("NCType"), NCType, 0, 3);
    NCStart = ReadClamped(Ini, L, QStringLiteral("NCStart"), NCStart, 0, 89);
    NCEnd = ReadClamped(Ini, L, QStringLiteral("NCEnd"), NCEnd, 0, 89);
    LatitudeH = ReadClamped(Ini, P, QStringLiteral("LatitudeH"), LatitudeH, -90, 90);
    LatitudeM = ReadClamped(Ini, P, QStringLiteral("LatitudeM"), LatitudeM, 0, 60);
    LatitudeS = ReadClamped(Ini, P, QStringLiteral("LatitudeS"), LatitudeS, 0, 60);
    LongitudeH = ReadClamped(Ini, P, QStringLiteral("LongitudeH"), LongitudeH, -180, 180);
    LongitudeM = ReadClamped(Ini, P, QStringLiteral("LongitudeM"), LongitudeM, 0, 60);
    LongitudeS = ReadClamped(Ini, P, QStringLiteral("LongitudeS"), LongitudeS, 0, 60);
    Tau = ReadNumber(Ini, P, QStringLiteral("Tau"), Tau);
    AboveSea = ReadNumber(Ini, P, QStringLiteral("AboveSea"), AboveSea);
    PARRatio = ReadNumber(Ini, P, QStringLiteral("PPAR"), PARRatio * 100.0) / 100.0;
    TimeZone = ReadNumber(Ini, P, QStringLiteral("TimrZone"), TimeZone);
    DifModel = ReadClamped(Ini, P, QStringLiteral("DifModel"), DifModel, 0, 1);
    TargetYear = uint16_t(ReadClamped(Ini, P, QStringLiteral("Year"), TargetYear, 0, 65535));
    TargetMonth = uint16_t(ReadClamped(Ini, P, QStringLiteral("Month"), TargetMonth, 1, 12));
    TargetDay = uint16_t(ReadClamped(Ini, P, QStringLiteral("Day"), TargetDay, 1, 31));
    DistortParameter = ReadClamped(Ini, D, QStringLiteral("Parameter"), int(std::nearbyint(DistortParameter)), -100, 100);
    DistortAuto = Ini.ReadBool(D, QStringLiteral("Auto"), DistortAuto);
}

bool ParseInts(const QString& Text, int Min, int Max, std::vector<int>& Values) {
    const QStringList Parts = Text.split(QLatin1Char(','));
    if (Parts.size() < Min || Parts.size() > Max) return false;
    for (const QString& Part : Parts) {
        bool Ok = false;
        Values.push_back(Part.trimmed().toInt(&Ok));
        if (!Ok) return false;
    }
    return true;
}

bool SetVariable(const QString& Assignment) {
    const qsizetype Equals = Assignment.indexOf(QLatin1Char('='));
    if (Equals <= 0) return false;
    const auto Variable = ProbeVariables().find(Assignment.left(Equals));
    return Variable != ProbeVariables().end() && Variable->second.Set && Variable->second.Set(Assignment.mid(Equals + 1));
}

int Run(const QStringList& Args) {
    if (Args.size() < 2) return kUsage;
    std::vector<TProbeRoutine*> Routines;
    for (const QString& Name : Args[0].split(QLatin1Char('+'))) {
        const auto Routine = ProbeRoutines().find(Name);
        if (Routine == ProbeRoutines().end()) return kUsage;
        Routines.push_back(&Routine->second);
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
            LoadSettingsFile(Value);
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
        } else {
            return kUsage;
        }
    }

    RegisterSPIBitmap();
    TSPIs Host;
    Host.SearchOptions = {TSPISearchOption::spsSusieDir, TSPISearchOption::spsAppDir};
    Host.OnSearch = KeepInputPlugins;
    Host.Loaded();
    TPrintingHost Printer;
    TBitmap Picture;
    bool Failed = false;
    for (TProbeRoutine* Routine : Routines)
        if ((Failed = (*Routine)(ImageFile, Picture, Area))) break;
    if (!OutFile.isEmpty()) Picture.SaveToFile(OutFile);
    for (const QString& Name : Prints) {
        QStringList Lines = ProbeVariables().at(Name).Print();
        Lines[0] = Name + QStringLiteral(" = ") + Lines[0];
        for (const QString& Line : Lines) PrintLine(Line);
    }
    UnregisterSPIBitmap();
    return Failed ? 2 : 0;
}

const RegisterProbeCommand kRun({"run",
                                 "ROUTINE[+ROUTINE...] IMAGE [--ini FILE] [--set Name=Value]... "
                                 "[--circle X,Y,R[,ODD]] [--north DEG] [--area L,T,R,B] [--out RESULT.bmp] "
                                 "[--print Name]...",
                                 Run});

const RegisterProbeRoutine kDetectCircleArea("DetectCircleArea",
                                             [](const QString& File, TBitmap&, const TRect&) { return DetectCircleArea(File); });
const RegisterProbeRoutine kGapFractionAnalysis("GapFractionAnalysis", GapFractionAnalysis);

}  // namespace
}  // namespace tam32::probe
