#include "analysis/core/GlobalSettings.h"

#include "analysis/core/AnalysisState.h"
#include "analysis/core/Classifier.h"

namespace tam32 {

const std::array<QString, 7> ThresholdMethodNames = {
    QStringLiteral("Intermeans"),   QStringLiteral("MinimumError"), QStringLiteral("Fixed"),
    QStringLiteral("KL(Variance)"), QStringLiteral("KL(Minimum)"),  QStringLiteral("KL(Entropy)"),
    QStringLiteral("Compare")};
const std::array<QString, 3> DNRatioNames = {QStringLiteral("Red DN Ratio"), QStringLiteral("Green DN Ratio"),
                                             QStringLiteral("Blue DN Ratio")};

bool CircleSet;
int32_t CircleX, CircleY;
int32_t CircleR;
double CircleCenterOffset;
double NorthForAnalysis;
int32_t LensType;
double MaxViewAngle;
double ScanPhotoRadius;
bool AzimuthMaskUse;
double AzimuthMaskFrom;
double AzimuthMaskTo;
bool AzimuthMaskAscending;
bool SlopeCorrection;
double SlopeInclination;
double SlopeAzimuth;

int32_t BinarizeTarget;
int32_t ThresholdMethod;
int32_t FixedThreshold;
int32_t ThresholdCondition;
int32_t LastThreshold;
int32_t ZenithThresholdType;
TCheckedArray<bool, 21> RecognizedGroups;
bool OptionsCancelled;
bool ClassifyDone;
bool ShrinkBeforeAnalysis;

bool ColorSearchPercent;
int32_t ColorSearchToleranceR, ColorSearchToleranceG, ColorSearchToleranceB;
int32_t ColorSearchValue1, ColorSearchValue2, ColorSearchValue3;
int32_t ColorSearchX, ColorSearchY;
int32_t ColorSearchCount;

int32_t MaxLabelBuffSize;
int32_t MinLabelledArea;
int32_t MaxLabelledArea;
bool ShowLabelledNumber;
bool CalcTraceLengthRatio;
bool LabelTraceVectorize;
bool LabelingDuplicate;
QString LabelTraceVectorFolder;
int32_t LabelledObjectCount;
QString AnalysisFileName;

double ImageDPI;
double TargetPixelCount, NonTargetPixelCount;
TCheckedArray<double, 768> RGBHistogram;
TCheckedArray<double, 768> TargetRGBHistogram;

int32_t NCType;
int32_t NCStart, NCEnd;
TCheckedArray<bool, 5> RingUse;
double SkyFactor;
TCheckedArray<TCheckedArray<double, 6>, 2> RingCounts;
TCheckedArray<TCheckedArray<double, 6>, 3> RingColorSums;
TCheckedArray<TCheckedArray<double, 91>, 2> ZenithCounts;
TCheckedArray<TCheckedArray<double, 91>, 3> ZenithColorSums;
TCheckedArray<TCheckedArray<double, 91>, 3> ZenithColorMax;
double DifPhoto;

int32_t LatitudeH, LatitudeM, LatitudeS;
int32_t LongitudeH, LongitudeM, LongitudeS;
double Tau;
double AboveSea;
double PARRatio;
double DiffuseRatio;
int32_t DifModel;
double TimeZone;
uint16_t TargetYear, TargetMonth, TargetDay;
int32_t PARPeriod;
int32_t PARStartMonth, PARStartDay, PAREndMonth, PAREndDay;
int32_t PARStartHour, PARStartMinute, PAREndHour, PAREndMinute;

double DistortParameter;
bool DistortAuto;
bool CLDFullImage;

bool FilterDefined;
int32_t FilterSize;
int32_t FilterDivisor;
std::vector<std::vector<int32_t>> FilterKernel;

QString GapImageFile1, GapImageFile2;
float GapCameraHeight1, GapCameraHeight2;
float GapBaseDistance;
float GapFocalLength;
float GapZoomPercent;
int32_t GapObjectNo1, GapObjectNo2;
int32_t GapObjectNo;
float GapObjectArea, GapObjectOutlineArea;
float LabelImageWidth, LabelImageHeight;
bool GapEstimateMode;

void ResetSettingsToDefaults(QDate TargetDate) {
    CircleSet = false;
    CircleX = CircleY = CircleR = 0;
    CircleCenterOffset = 0.0;
    NorthForAnalysis = 0.0;
    LensType = 5;
    MaxViewAngle = 90.0;
    ScanPhotoRadius = 11.5;
    AzimuthMaskUse = false;
    AzimuthMaskFrom = 0.0;
    AzimuthMaskTo = 360.0;
    AzimuthMaskAscending = true;
    SlopeCorrection = false;
    SlopeInclination = 0.0;
    SlopeAzimuth = 0.0;

    BinarizeTarget = 2;
    ThresholdMethod = 0;
    FixedThreshold = 0;
    ThresholdCondition = 1;
    LastThreshold = 0;
    ZenithThresholdType = 0;
    RecognizedGroups = {};
    OptionsCancelled = false;
    ClassifyDone = false;
    ResetClassifier();
    ShrinkBeforeAnalysis = false;

    ColorSearchPercent = true;
    ColorSearchToleranceR = ColorSearchToleranceG = ColorSearchToleranceB = 40;
    ColorSearchValue1 = ColorSearchValue2 = ColorSearchValue3 = -1;
    ColorSearchX = ColorSearchY = 0;
    ColorSearchCount = 0;

    MaxLabelBuffSize = 20000;
    MinLabelledArea = 50;
    MaxLabelledArea = -1;
    ShowLabelledNumber = true;
    CalcTraceLengthRatio = false;
    LabelTraceVectorize = false;
    LabelingDuplicate = false;
    LabelTraceVectorFolder.clear();
    LabelledObjectCount = 0;
    AnalysisFileName.clear();

    ImageDPI = 100.0;
    TargetPixelCount = NonTargetPixelCount = 0.0;
    RGBHistogram = {};
    TargetRGBHistogram = {};

    NCType = 3;
    NCStart = 0;
    NCEnd = 74;
    RingUse.fill(true);
    SkyFactor = 0.0;
    RingCounts = {};
    RingColorSums = {};
    ZenithCounts = {};
    ZenithColorSums = {};
    ZenithColorMax = {};
    DifPhoto = 0.0;

    LatitudeH = 35;
    LatitudeM = 38;
    LatitudeS = 59;
    LongitudeH = 139;
    LongitudeM = 45;
    LongitudeS = 0;
    Tau = 0.6;
    AboveSea = 0.0;
    PARRatio = 0.51;
    DiffuseRatio = 0.15;
    DifModel = 0;
    TimeZone = 9.0;
    TargetYear = static_cast<uint16_t>(TargetDate.year());
    TargetMonth = static_cast<uint16_t>(TargetDate.month());
    TargetDay = static_cast<uint16_t>(TargetDate.day());
    PARPeriod = 0;
    PARStartMonth = PARStartDay = PAREndMonth = PAREndDay = 0;
    PARStartHour = PARStartMinute = PAREndHour = PAREndMinute = 0;

    DistortParameter = 0.0;
    DistortAuto = false;
    CLDFullImage = false;

    FilterDefined = false;
    FilterSize = 3;
    FilterDivisor = 0;
    FilterKernel.clear();

    GapImageFile1.clear();
    GapImageFile2.clear();
    GapCameraHeight1 = GapCameraHeight2 = 0.0f;
    GapBaseDistance = 0.0f;
    GapFocalLength = 36.0f;
    GapZoomPercent = 100.0f;
    GapObjectNo1 = GapObjectNo2 = 1;
    GapObjectNo = 1;
    GapObjectArea = GapObjectOutlineArea = 0.0f;
    LabelImageWidth = 1280.0f;
    LabelImageHeight = 960.0f;
    GapEstimateMode = false;

    ResetAnalysisState();
}

namespace {

// The built-in values hold from start-up on, before anything reads them.
[[maybe_unused]] const bool kDefaultsSet = (ResetSettingsToDefaults(), true);

}  // namespace

}  // namespace tam32
