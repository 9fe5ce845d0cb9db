// The settings, engine state and results that "tam32-probe run" sets with
// --set Name=Value and prints with --print Name.
#include "ProbeRun.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/GlobalSettings.h"

namespace tam32::probe {

std::map<QString, TProbeVariable>& ProbeVariables() {
    static std::map<QString, TProbeVariable> Variables;
    return Variables;
}

namespace {

TAM32_PROBE_SCALAR(CircleSet);
TAM32_PROBE_SCALAR(CircleX);
TAM32_PROBE_SCALAR(CircleY);
TAM32_PROBE_SCALAR(CircleR);
TAM32_PROBE_SCALAR(CircleCenterOffset);
TAM32_PROBE_SCALAR(NorthForAnalysis);
TAM32_PROBE_SCALAR(LensType);
TAM32_PROBE_SCALAR(MaxViewAngle);
TAM32_PROBE_SCALAR(ScanPhotoRadius);
TAM32_PROBE_SCALAR(AzimuthMaskUse);
TAM32_PROBE_SCALAR(AzimuthMaskFrom);
TAM32_PROBE_SCALAR(AzimuthMaskTo);
TAM32_PROBE_SCALAR(AzimuthMaskAscending);
TAM32_PROBE_SCALAR(SlopeCorrection);
TAM32_PROBE_SCALAR(SlopeInclination);
TAM32_PROBE_SCALAR(SlopeAzimuth);
TAM32_PROBE_SCALAR(BinarizeTarget);
TAM32_PROBE_SCALAR(ThresholdMethod);
TAM32_PROBE_SCALAR(FixedThreshold);
TAM32_PROBE_SCALAR(ThresholdCondition);
TAM32_PROBE_SCALAR(LastThreshold);
TAM32_PROBE_SCALAR(ZenithThresholdType);
TAM32_PROBE_SCALAR(OptionsCancelled);
TAM32_PROBE_SCALAR(ShrinkBeforeAnalysis);
TAM32_PROBE_SCALAR(ColorSearchPercent);
TAM32_PROBE_SCALAR(ColorSearchToleranceR);
TAM32_PROBE_SCALAR(ColorSearchToleranceG);
TAM32_PROBE_SCALAR(ColorSearchToleranceB);
TAM32_PROBE_SCALAR(ColorSearchValue1);
TAM32_PROBE_SCALAR(ColorSearchValue2);
TAM32_PROBE_SCALAR(ColorSearchValue3);
TAM32_PROBE_SCALAR(ImageDPI);
TAM32_PROBE_SCALAR(NCType);
TAM32_PROBE_SCALAR(NCStart);
TAM32_PROBE_SCALAR(NCEnd);
TAM32_PROBE_SCALAR(SkyFactor);
TAM32_PROBE_SCALAR(LatitudeH);
TAM32_PROBE_SCALAR(LatitudeM);
TAM32_PROBE_SCALAR(LatitudeS);
TAM32_PROBE_SCALAR(LongitudeH);
TAM32_PROBE_SCALAR(LongitudeM);
TAM32_PROBE_SCALAR(LongitudeS);
TAM32_PROBE_SCALAR(Tau);
TAM32_PROBE_SCALAR(AboveSea);
TAM32_PROBE_SCALAR(PARRatio);
TAM32_PROBE_SCALAR(DiffuseRatio);
TAM32_PROBE_SCALAR(DifModel);
TAM32_PROBE_SCALAR(TimeZone);
TAM32_PROBE_SCALAR(TargetYear);
TAM32_PROBE_SCALAR(TargetMonth);
TAM32_PROBE_SCALAR(TargetDay);
TAM32_PROBE_SCALAR(PARPeriod);
TAM32_PROBE_SCALAR(DistortParameter);
TAM32_PROBE_SCALAR(DistortAuto);
TAM32_PROBE_SCALAR(DrawResults);
TAM32_PROBE_SCALAR(KeepAnalysisImage);
TAM32_PROBE_SCALAR(RGBThresholdR);
TAM32_PROBE_SCALAR(RGBThresholdG);
TAM32_PROBE_SCALAR(RGBThresholdB);
TAM32_PROBE_SCALAR(ChannelSpanR);
TAM32_PROBE_SCALAR(ChannelSpanG);
TAM32_PROBE_SCALAR(ChannelSpanB);
TAM32_PROBE_SCALAR(ZenithThresholdSlope);
TAM32_PROBE_SCALAR(ZenithThresholdIntercept);
TAM32_PROBE_SCALAR(HorizonRadius2);
// Printed and set as five flags: RingUse=1 1 0 1 1.
bool SetRingUse(const QString& Text) {
    const QStringList Flags = Text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    TCheckedArray<bool, 5> Rings{};
    if (Flags.size() != qsizetype(Rings.size())) return false;
    for (size_t I = 0; I < Rings.size(); ++I)
        if (!ParseValue(Flags[qsizetype(I)], Rings[I])) return false;
    RingUse = Rings;
    return true;
}
const RegisterProbeVariable kRingUse("RingUse", {[] { return QStringList{RowText(RingUse)}; }, SetRingUse});
TAM32_PROBE_ROWS(RingCounts);
TAM32_PROBE_ROWS(RingColorSums);
TAM32_PROBE_ROWS(ZenithCounts);
TAM32_PROBE_ROWS(ZenithColorSums);
TAM32_PROBE_ROWS(ZenithColorMax);
TAM32_PROBE_ROWS(Histogram);
TAM32_PROBE_ROWS(RGBHistogram);

}  // namespace
}  // namespace tam32::probe
