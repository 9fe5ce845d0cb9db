#pragma once
// What the options dialog's controls hold, as plain values: the texts of its
// number fields as typed, the values of its spin edits, the ticks of its
// check boxes and the items chosen in its lists. The dialog shows them and
// reads them back, the settings file is read into them and written from them
// (SettingsFile.h), and only OK makes them the program-wide settings: all of
// them, or none when one field holds no sound value.
#include <QString>
#include <array>
#include <climits>
#include <optional>

namespace tam32 {

// The values a spin edit or a list of items accepts.
struct TOptionRange {
    int Min;
    int Max;
    bool Contains(int Value) const { return Value >= Min && Value <= Max; }
    int Clamped(int Value) const { return Value < Min ? Min : Value > Max ? Max : Value; }
};

inline constexpr TOptionRange kTargetItems{0, 5};
inline constexpr TOptionRange kMethodItems{0, 6};
inline constexpr TOptionRange kConditionItems{0, 2};
inline constexpr TOptionRange kThresholdRange{0, 255};
inline constexpr TOptionRange kDistortRange{-100, 100};
inline constexpr TOptionRange kToleranceRange{0, 255};
inline constexpr TOptionRange kLabelBufferRange{0, 3000000};
inline constexpr TOptionRange kUnlimited{INT_MIN, INT_MAX};
inline constexpr TOptionRange kLensItems{0, 7};
inline constexpr TOptionRange kNCTypeItems{0, 3};
inline constexpr TOptionRange kZenithThresholdItems{0, 4};
inline constexpr TOptionRange kNCZenithRange{0, 89};
inline constexpr TOptionRange kLatitudeRange{-90, 90};
inline constexpr TOptionRange kLongitudeRange{-180, 180};
inline constexpr TOptionRange kMinuteRange{0, 60};
inline constexpr TOptionRange kDifModelItems{0, 1};
inline constexpr TOptionRange kMonthRange{1, 12};
inline constexpr TOptionRange kDayRange{1, 31};
// The method item that takes its threshold from the threshold field.
inline constexpr int kFixedMethodItem = 2;

struct TOptionFields {
    // Threshold and image: the chosen target, method and condition are the
    // ones OK applies.
    int BinarizeTarget = 0;
    int ThresholdMethod = 0;
    int FixedThreshold = 0;
    int ThresholdCondition = 0;
    QString ImageDPI;
    int DistortParameter = 0;
    bool DistortAuto = false;
    int ColorSearchToleranceR = 0, ColorSearchToleranceG = 0, ColorSearchToleranceB = 0;
    bool ColorSearchPercent = false;
    // Labelling.
    int MaxLabelBuffSize = 0, MinLabelledArea = 0, MaxLabelledArea = 0;
    bool ShowLabelledNumber = false, CalcTraceLengthRatio = false, LabelTraceVectorize = false;
    bool LabelingDuplicate = false;
    QString LabelTraceVectorFolder;
    // Lens, azimuth mask, slope and LAI.
    int LensType = 0;
    QString MaxViewAngle, ScanPhotoRadius, AzimuthMaskFrom, AzimuthMaskTo;
    bool AzimuthMaskUse = false;
    QString SlopeInclination, SlopeAzimuth;
    bool SlopeCorrection = false;
    int NCType = 0, ZenithThresholdType = 0, NCStart = 0, NCEnd = 0;
    std::array<bool, 5> RingUse{};
    // Site and date; the two ratios in percent.
    int LatitudeH = 0, LatitudeM = 0, LatitudeS = 0;
    int LongitudeH = 0, LongitudeM = 0, LongitudeS = 0;
    QString Tau, AboveSea, PARRatio, DiffuseRatio, TimeZone;
    int DifModel = 0;
    int TargetYear = 0, TargetMonth = 0, TargetDay = 0;
};

// The fields as the dialog's Setup shows the settings, for an image window
// whose work file is ImageFile.
TOptionFields OptionFieldsFromSettings(const QString& ImageFile);

// Ticking "save outline vectors" ticks the perimeter calculation too and
// fills the folder: the stored folder when it exists, else the image's.
void TickVectorize(TOptionFields& Fields, const QString& ImageFile);
QString VectorFolderWhenTicked(const QString& ImageFile);
// The end of the NC zenith range once the start is set: above the start.
int LiftedNCEnd(int Start, int End);

// The fields that OK may refuse, in the order it checks them.
enum class TOptionField {
    ScanPhotoRadius,
    MaxViewAngle,
    AzimuthMaskFrom,
    AzimuthMaskTo,
    SlopeInclination,
    SlopeAzimuth,
    ImageDPI,
    Tau,
    AboveSea,
    PARRatio,
    DiffuseRatio,
    TimeZone,
    TargetYear,
    TargetDay,
};

// OK: every field is checked before any setting changes. A text that is not
// a number, a resolution or view angle not above 0, a negative τ, altitude
// or ratio, a time zone outside -12..14 h, a year outside 1..9999 or a date
// that does not exist shows "ERR22" and is returned, and no setting
// changes; otherwise every setting takes its field and nullopt is returned.
std::optional<TOptionField> ApplyOptionFields(const TOptionFields& Fields);

}  // namespace tam32
