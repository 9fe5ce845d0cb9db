#pragma once
// The settings that the settings file stores, for tests that save, load or
// show them and expect every one back.
#include <QString>
#include <tuple>

#include "analysis/core/GlobalSettings.h"

namespace tam32::test {

// Every setting that the file stores.
inline auto StoredSettings() {
    return std::tuple(BinarizeTarget, ThresholdMethod, FixedThreshold, ThresholdCondition, MaxLabelBuffSize,
                      MinLabelledArea, MaxLabelledArea, ShowLabelledNumber, CalcTraceLengthRatio, LabelTraceVectorize,
                      LabelTraceVectorFolder, LabelingDuplicate, ImageDPI, ScanPhotoRadius, MaxViewAngle,
                      AzimuthMaskFrom, AzimuthMaskTo, AzimuthMaskAscending, AzimuthMaskUse, SlopeInclination,
                      SlopeAzimuth, SlopeCorrection, ZenithThresholdType, LensType, NCType, NCStart, NCEnd, LatitudeH,
                      LatitudeM, LatitudeS, LongitudeH, LongitudeM, LongitudeS, Tau, AboveSea, PARRatio, TimeZone,
                      DifModel, TargetYear, TargetMonth, TargetDay, DistortParameter, DistortAuto);
}

// Each stored setting a value other than its built-in one; the outlines go
// to VectorFolder (ending in a slash), which must exist.
inline void UseUncommonStoredSettings(const QString& VectorFolder) {
    BinarizeTarget = 1;
    ThresholdMethod = 2;
    FixedThreshold = 77;
    ThresholdCondition = 0;
    MaxLabelBuffSize = 123456;
    MinLabelledArea = -7;
    MaxLabelledArea = 900;
    ShowLabelledNumber = false;
    CalcTraceLengthRatio = true;
    LabelTraceVectorize = true;
    LabelTraceVectorFolder = VectorFolder;
    LabelingDuplicate = true;
    ImageDPI = 300.5;
    ScanPhotoRadius = 12.25;
    MaxViewAngle = 89.5;
    AzimuthMaskFrom = 300.0;
    AzimuthMaskTo = 60.0;
    AzimuthMaskAscending = false;
    AzimuthMaskUse = true;
    SlopeInclination = 12.5;
    SlopeAzimuth = 200.25;
    SlopeCorrection = true;
    ZenithThresholdType = 3;
    LensType = 6;
    NCType = 1;
    NCStart = 10;
    NCEnd = 60;
    LatitudeH = -33;
    LatitudeM = 52;
    LatitudeS = 4;
    LongitudeH = -151;
    LongitudeM = 12;
    LongitudeS = 30;
    Tau = 0.35;
    AboveSea = 1234.5;
    PARRatio = 0.45;
    TimeZone = -5.0;
    DifModel = 1;
    TargetYear = 2024;
    TargetMonth = 2;
    TargetDay = 29;
    DistortParameter = -42.0;
    DistortAuto = true;
}

}  // namespace tam32::test
