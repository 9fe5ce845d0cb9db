#pragma once
// The program-wide analysis settings and results. There is no settings
// object: the engine, the image windows and the dialogs read and write these
// variables directly by name, on the user-interface thread only. Angles are
// in degrees, image coordinates in pixels (origin top left, y down).
// Variables without a stated default start at 0, False or empty.
#include <QDate>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "analysis/core/CheckedArray.h"

namespace tam32 {

// Indexed by ThresholdMethod; read by the LAI reports and batch rows.
extern const std::array<QString, 7> ThresholdMethodNames;
// Indexed by NCType 0..2.
extern const std::array<QString, 3> DNRatioNames;

// ---- Image circle, lens and slope --------------------------------------------
extern bool CircleSet;                 // False: no fisheye circle defined
extern int32_t CircleX, CircleY;       // pixel of the circle centre
extern int32_t CircleR;                // radius in whole pixels
extern double CircleCenterOffset;      // 0.5 for an odd diameter, else 0.0
extern double NorthForAnalysis;        // north on the image, counter-clockwise from +x
extern int32_t LensType;               // 5: projection model 0..7; stored
extern double MaxViewAngle;            // 90.0; stored
extern double ScanPhotoRadius;         // 11.5 mm; stored
extern bool AzimuthMaskUse;            // False; stored
extern double AzimuthMaskFrom;         // 0.0; stored
extern double AzimuthMaskTo;           // 360.0; stored
extern bool AzimuthMaskAscending;      // True: AzimuthMaskFrom < AzimuthMaskTo
extern bool SlopeCorrection;           // False; stored
extern double SlopeInclination;        // 0.0; stored
extern double SlopeAzimuth;            // 0.0; stored

// ---- Pixel classification and thresholds -------------------------------------
extern int32_t BinarizeTarget;         // 2: 0 red, 1 green, 2 blue, 3 class, 4 colour search, 5 RGB; stored
extern int32_t ThresholdMethod;        // 0: index into ThresholdMethodNames; stored
// The targets that are not a single channel.
inline constexpr int32_t kClassificationTarget = 3, kColourSearchTarget = 4, kRGBTarget = 5;
extern int32_t FixedThreshold;         // 0: the working threshold 0..255; stored
extern int32_t ThresholdCondition;     // 1: 0 ">=", 1 "<=", 2 "=", 3 compares as ">="; stored
extern int32_t LastThreshold;          // working threshold of the last analysis
extern int32_t ZenithThresholdType;    // 0: none, 1..4 zenith-dependent models; stored
extern TCheckedArray<bool, 21> RecognizedGroups;
extern bool OptionsCancelled;
extern bool ClassifyDone;              // False: no trained classifier in force
extern bool ShrinkBeforeAnalysis;      // False

// ---- Colour search -----------------------------------------------------------
extern bool ColorSearchPercent;        // True
extern int32_t ColorSearchToleranceR, ColorSearchToleranceG, ColorSearchToleranceB;  // 40 each
extern int32_t ColorSearchValue1, ColorSearchValue2, ColorSearchValue3;           // -1 each
extern int32_t ColorSearchX, ColorSearchY;
extern int32_t ColorSearchCount;

// ---- Labelling and object measurement ----------------------------------------
extern int32_t MaxLabelBuffSize;       // 20000; stored
extern int32_t MinLabelledArea;        // 50; stored
extern int32_t MaxLabelledArea;        // -1 (no upper limit); stored
extern bool ShowLabelledNumber;        // True; stored
extern bool CalcTraceLengthRatio;      // False; stored
extern bool LabelTraceVectorize;       // False; stored
extern bool LabelingDuplicate;         // False; stored
extern QString LabelTraceVectorFolder; // ends in a separator when set; stored
extern int32_t LabelledObjectCount;
extern QString AnalysisFileName;

// ---- Scale and colour statistics ---------------------------------------------
extern double ImageDPI;                // 100.0; stored
extern double TargetPixelCount, NonTargetPixelCount;
// Red 0..255, green 256..511, blue 512..767.
extern TCheckedArray<double, 768> RGBHistogram;
extern TCheckedArray<double, 768> TargetRGBHistogram;

// ---- Leaf area index ---------------------------------------------------------
extern int32_t NCType;                 // 3: 0..2 DN ratio, 3 binarisation; stored
extern int32_t NCStart, NCEnd;         // 0, 74; stored
extern TCheckedArray<bool, 5> RingUse; // True each
extern double SkyFactor;
// [0] all pixels, [1] target pixels, per 15-degree ring.
extern TCheckedArray<TCheckedArray<double, 6>, 2> RingCounts;
// [red, green, blue] sums per ring.
extern TCheckedArray<TCheckedArray<double, 6>, 3> RingColorSums;
// [0] all pixels, [1] target pixels, per one-degree zenith band.
extern TCheckedArray<TCheckedArray<double, 91>, 2> ZenithCounts;
extern TCheckedArray<TCheckedArray<double, 91>, 3> ZenithColorSums;
extern TCheckedArray<TCheckedArray<double, 91>, 3> ZenithColorMax;
extern double DifPhoto;                // nothing sets it; the batch column reads 0

// ---- Site, time and radiation ------------------------------------------------
extern int32_t LatitudeH, LatitudeM, LatitudeS;     // 35, 38, 59; stored
extern int32_t LongitudeH, LongitudeM, LongitudeS;  // 139, 45, 0 (east positive); stored
extern double Tau;                     // 0.6; stored
extern double AboveSea;                // 0.0 m; stored
extern double PARRatio;                // 0.51; stored
extern double DiffuseRatio;            // 0.15
extern int32_t DifModel;               // 0: 0 SOC, 1 UOC; stored
extern double TimeZone;                // 9.0 h; stored
extern uint16_t TargetYear, TargetMonth, TargetDay;  // today; stored
extern int32_t PARPeriod;              // 0; -1 after the period dialog was cancelled
extern int32_t PARStartMonth, PARStartDay, PAREndMonth, PAREndDay;
extern int32_t PARStartHour, PARStartMinute, PAREndHour, PAREndMinute;

// ---- Lens distortion correction ----------------------------------------------
extern double DistortParameter;        // 0.0; stored
extern bool DistortAuto;               // False; stored
extern bool CLDFullImage;              // False

// ---- Spatial filter ----------------------------------------------------------
extern bool FilterDefined;             // False
extern int32_t FilterSize;             // 3
extern int32_t FilterDivisor;
extern std::vector<std::vector<int32_t>> FilterKernel;  // [column][row]

// ---- Two-photograph gap estimate ---------------------------------------------
extern QString GapImageFile1, GapImageFile2;
extern float GapCameraHeight1, GapCameraHeight2;  // 0.0
extern float GapBaseDistance;          // 0.0
extern float GapFocalLength;           // 36.0
extern float GapZoomPercent;           // 100.0
extern int32_t GapObjectNo1, GapObjectNo2;  // 1 each
extern int32_t GapObjectNo;            // 1
extern float GapObjectArea, GapObjectOutlineArea;
extern float LabelImageWidth, LabelImageHeight;  // 1280.0, 960.0
extern bool GapEstimateMode;           // False

// Gives every setting, result and engine state variable its built-in value,
// as at start-up; TargetDate becomes TargetYear, TargetMonth, TargetDay.
void ResetSettingsToDefaults(QDate TargetDate = QDate::currentDate());

}  // namespace tam32
