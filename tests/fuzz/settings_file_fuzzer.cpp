// Feeds arbitrary bytes to the settings file's load as the options dialog
// runs it (Load, then OK): the file is applied whole or refused, and a
// refused one leaves every setting as it was. What is applied lies within
// the ranges of the dialog's lists and fields.
#include <QDate>
#include <QString>
#include <cstdint>
#include <cstdlib>
#include <tuple>

#include "FuzzInputFile.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/SettingsFile.h"

using namespace tam32;

namespace {

const TFuzzInputFile kInput("settings");

// Every setting that the dialog applies.
auto Settings() {
    return std::tuple(BinarizeTarget, ThresholdMethod, FixedThreshold, ThresholdCondition, ColorSearchPercent,
                      ColorSearchToleranceR, ColorSearchToleranceG, ColorSearchToleranceB, MaxLabelBuffSize,
                      ScanPhotoRadius, MaxViewAngle, AzimuthMaskFrom, AzimuthMaskTo, AzimuthMaskAscending,
                      AzimuthMaskUse, SlopeInclination, SlopeAzimuth, SlopeCorrection, ZenithThresholdType, ImageDPI,
                      MinLabelledArea, MaxLabelledArea, ShowLabelledNumber, CalcTraceLengthRatio, LabelTraceVectorize,
                      LabelingDuplicate, LabelTraceVectorFolder, LensType, NCType, NCStart, NCEnd, LatitudeH,
                      LatitudeM, LatitudeS, LongitudeH, LongitudeM, LongitudeS, Tau, AboveSea, PARRatio,
                      DiffuseRatio, TimeZone, DifModel, TargetYear, TargetMonth, TargetDay, DistortParameter,
                      DistortAuto, RingUse);
}

bool WithinTheDialogsRanges() {
    return BinarizeTarget >= 0 && BinarizeTarget <= 5 && ThresholdMethod >= 0 && ThresholdMethod <= 6 &&
           FixedThreshold >= 0 && FixedThreshold <= 255 && ThresholdCondition >= 0 && ThresholdCondition <= 2 &&
           LensType >= 0 && LensType <= 7 && NCType >= 0 && NCType <= 3 && ZenithThresholdType >= 0 &&
           ZenithThresholdType <= 4 && DifModel >= 0 && DifModel <= 1 && NCStart >= 0 && NCEnd <= 89 &&
           ImageDPI > 0 && MaxViewAngle > 0 && Tau >= 0 && TimeZone >= -12 && TimeZone <= 14 &&
           QDate(TargetYear, TargetMonth, TargetDay).isValid() && TargetYear >= 1 && TargetYear <= 9999 &&
           (LabelTraceVectorFolder.isEmpty() || LabelTraceVectorFolder.endsWith(u'/'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    kInput.Write(Data, Size);
    ResetSettingsToDefaults(QDate(2026, 12, 7));
    const auto Before = Settings();
    if (!ApplySettingsFile(QString::fromStdString(kInput.Path))) {
        if (Settings() != Before) std::abort();
        return 0;
    }
    if (!WithinTheDialogsRanges()) std::abort();
    return 0;
}
