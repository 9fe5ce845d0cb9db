#include <QLocale>
#include <algorithm>
#include <cmath>

#include "ProbePrinting.h"
#include "ProbeRun.h"
#include "ProbeSettings.h"
#include "analysis/GlobalSettings.h"
#include "platform/IniFile.h"

namespace tam32::probe {
namespace {

double ReadNumber(const TIniFile& Ini, const QString& Section, const QString& Key, double Default) {
    bool Ok = false;
    const double Value = QLocale::c().toDouble(Ini.ReadString(Section, Key, QString()).trimmed(), &Ok);
    return Ok ? Value : Default;
}

int ReadClamped(const TIniFile& Ini, const QString& Section, const QString& Key, int Default, int Lo, int Hi) {
    return std::clamp(Ini.ReadInteger(Section, Key, Default), Lo, Hi);
}

}  // namespace

// A [Threshold] key that is missing leaves its setting alone.
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

void PrintVariable(const QString& Name) {
    QStringList lines = ProbeVariables().at(Name).Print();
    lines[0] = Name + QStringLiteral(" = ") + lines[0];
    for (const QString& line : lines) PrintLine(line);
}

}  // namespace tam32::probe
