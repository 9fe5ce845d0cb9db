#include "analysis/core/OptionFields.h"

#include <QDate>
#include <QFileInfo>
#include <algorithm>
#include <limits>

#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "platform/DelphiFormat.h"
#include "platform/IniFile.h"
#include "platform/Rounding.h"

namespace tam32 {
namespace {

bool FolderExists(const QString& Folder) { return !Folder.isEmpty() && QFileInfo(Folder).isDir(); }

QString Fixed2(double Value) { return Format(QStringLiteral("%6.2f"), {Value}); }

// A number field and the values OK accepts in it; Above: the minimum itself
// is refused.
struct TNumberRule {
    TOptionField Field;
    QString TOptionFields::*Text;
    double Min;
    double Max;
    bool Above;
};

constexpr double kAny = std::numeric_limits<double>::max();

// In the order OK checks them (that of TOptionField). The resolution and
// the view angle divide later; west of Greenwich the time zone is negative.
constexpr TNumberRule kNumberRules[] = {
    {TOptionField::ScanPhotoRadius, &TOptionFields::ScanPhotoRadius, -kAny, kAny, false},
    {TOptionField::MaxViewAngle, &TOptionFields::MaxViewAngle, 0.0, kAny, true},
    {TOptionField::AzimuthMaskFrom, &TOptionFields::AzimuthMaskFrom, -kAny, kAny, false},
    {TOptionField::AzimuthMaskTo, &TOptionFields::AzimuthMaskTo, -kAny, kAny, false},
    {TOptionField::SlopeInclination, &TOptionFields::SlopeInclination, -kAny, kAny, false},
    {TOptionField::SlopeAzimuth, &TOptionFields::SlopeAzimuth, -kAny, kAny, false},
    {TOptionField::ImageDPI, &TOptionFields::ImageDPI, 0.0, kAny, true},
    {TOptionField::Tau, &TOptionFields::Tau, 0.0, kAny, false},
    {TOptionField::AboveSea, &TOptionFields::AboveSea, 0.0, kAny, false},
    {TOptionField::PARRatio, &TOptionFields::PARRatio, 0.0, kAny, false},
    {TOptionField::DiffuseRatio, &TOptionFields::DiffuseRatio, 0.0, kAny, false},
    {TOptionField::TimeZone, &TOptionFields::TimeZone, -12.0, 14.0, false},
};
constexpr size_t kNumberCount = std::size(kNumberRules);
static_assert([] {
    for (size_t I = 0; I < kNumberCount; ++I)
        if (static_cast<size_t>(kNumberRules[I].Field) != I) return false;
    return true;
}());

std::optional<double> Accepted(const TNumberRule& Rule, const TOptionFields& Fields) {
    const std::optional<double> Value = TextToFloat(Fields.*Rule.Text);
    if (!Value || *Value < Rule.Min || *Value > Rule.Max || (Rule.Above && *Value == Rule.Min)) return std::nullopt;
    return Value;
}

// Every setting from its field; Numbers in the order of kNumberRules.
void Apply(const TOptionFields& F, const std::array<double, kNumberCount>& Numbers) {
    const auto Number = [&Numbers](TOptionField Field) { return Numbers[static_cast<size_t>(Field)]; };
    BinarizeTarget = F.BinarizeTarget;
    ThresholdMethod = F.ThresholdMethod;
    if (ThresholdMethod == kFixedMethodItem) FixedThreshold = F.FixedThreshold;
    ThresholdCondition = F.ThresholdCondition;
    ColorSearchPercent = F.ColorSearchPercent;
    ColorSearchToleranceR = F.ColorSearchToleranceR;
    ColorSearchToleranceG = F.ColorSearchToleranceG;
    ColorSearchToleranceB = F.ColorSearchToleranceB;
    MaxLabelBuffSize = F.MaxLabelBuffSize;
    ScanPhotoRadius = Number(TOptionField::ScanPhotoRadius);
    MaxViewAngle = Number(TOptionField::MaxViewAngle);
    AzimuthMaskFrom = Number(TOptionField::AzimuthMaskFrom);
    AzimuthMaskTo = Number(TOptionField::AzimuthMaskTo);
    AzimuthMaskAscending = AzimuthMaskFrom < AzimuthMaskTo;
    AzimuthMaskUse = F.AzimuthMaskUse;
    SlopeInclination = Number(TOptionField::SlopeInclination);
    SlopeAzimuth = Number(TOptionField::SlopeAzimuth);
    SlopeCorrection = F.SlopeCorrection;
    ZenithThresholdType = F.ZenithThresholdType;
    ImageDPI = Number(TOptionField::ImageDPI);
    MinLabelledArea = F.MinLabelledArea;
    MaxLabelledArea = F.MaxLabelledArea;
    ShowLabelledNumber = F.ShowLabelledNumber;
    CalcTraceLengthRatio = F.CalcTraceLengthRatio;
    LabelTraceVectorize = F.LabelTraceVectorize;
    LabelingDuplicate = F.LabelingDuplicate;
    // Outline files are named by appending to the folder.
    LabelTraceVectorFolder = F.LabelTraceVectorFolder;
    if (LabelTraceVectorFolder.isEmpty())
        LabelTraceVectorize = false;
    else if (!LabelTraceVectorFolder.endsWith(u'/'))
        LabelTraceVectorFolder += u'/';
    LensType = F.LensType;
    NCType = F.NCType;
    NCStart = F.NCStart;
    NCEnd = F.NCEnd;
    LatitudeH = F.LatitudeH;
    LatitudeM = F.LatitudeM;
    LatitudeS = F.LatitudeS;
    LongitudeH = F.LongitudeH;
    LongitudeM = F.LongitudeM;
    LongitudeS = F.LongitudeS;
    Tau = Number(TOptionField::Tau);
    AboveSea = Number(TOptionField::AboveSea);
    PARRatio = Number(TOptionField::PARRatio) / 100.0;
    DiffuseRatio = Number(TOptionField::DiffuseRatio) / 100.0;
    TimeZone = Number(TOptionField::TimeZone);
    DifModel = F.DifModel;
    TargetYear = static_cast<uint16_t>(F.TargetYear);
    TargetMonth = static_cast<uint16_t>(F.TargetMonth);
    TargetDay = static_cast<uint16_t>(F.TargetDay);
    DistortParameter = F.DistortParameter;
    DistortAuto = F.DistortAuto;
    for (size_t I = 0; I < F.RingUse.size(); ++I) RingUse[I] = F.RingUse[I];
}

}  // namespace

TOptionFields OptionFieldsFromSettings(const QString& ImageFile) {
    TOptionFields F;
    F.BinarizeTarget = BinarizeTarget;
    F.ThresholdMethod = ThresholdMethod;
    F.FixedThreshold = kThresholdRange.Clamped(FixedThreshold);
    F.ThresholdCondition = ThresholdCondition;
    F.ImageDPI = Fixed2(ImageDPI);
    F.DistortParameter = RoundInt(std::clamp(DistortParameter, double(kDistortRange.Min), double(kDistortRange.Max)));
    F.DistortAuto = DistortAuto;
    F.ColorSearchToleranceR = kToleranceRange.Clamped(ColorSearchToleranceR);
    F.ColorSearchToleranceG = kToleranceRange.Clamped(ColorSearchToleranceG);
    F.ColorSearchToleranceB = kToleranceRange.Clamped(ColorSearchToleranceB);
    F.ColorSearchPercent = ColorSearchPercent;
    F.MaxLabelBuffSize = kLabelBufferRange.Clamped(MaxLabelBuffSize);
    F.MinLabelledArea = MinLabelledArea;
    F.MaxLabelledArea = MaxLabelledArea;
    F.ShowLabelledNumber = ShowLabelledNumber;
    F.CalcTraceLengthRatio = CalcTraceLengthRatio;
    F.LabelTraceVectorize = LabelTraceVectorize;
    if (F.LabelTraceVectorize)
        TickVectorize(F, ImageFile);
    else if (FolderExists(LabelTraceVectorFolder))
        F.LabelTraceVectorFolder = LabelTraceVectorFolder;
    F.LabelingDuplicate = LabelingDuplicate;
    F.LensType = LensType;
    F.MaxViewAngle = Fixed2(MaxViewAngle);
    F.ScanPhotoRadius = Fixed2(ScanPhotoRadius);
    F.AzimuthMaskFrom = Fixed2(AzimuthMaskFrom);
    F.AzimuthMaskTo = Fixed2(AzimuthMaskTo);
    F.AzimuthMaskUse = AzimuthMaskUse;
    F.SlopeInclination = Fixed2(SlopeInclination);
    F.SlopeAzimuth = Fixed2(SlopeAzimuth);
    F.SlopeCorrection = SlopeCorrection;
    F.NCType = NCType;
    F.ZenithThresholdType = ZenithThresholdType;
    F.NCStart = kNCZenithRange.Clamped(NCStart);
    F.NCEnd = kNCZenithRange.Clamped(NCEnd);
    for (size_t I = 0; I < F.RingUse.size(); ++I) F.RingUse[I] = RingUse[I];
    F.LatitudeH = kLatitudeRange.Clamped(LatitudeH);
    F.LatitudeM = kMinuteRange.Clamped(LatitudeM);
    F.LatitudeS = kMinuteRange.Clamped(LatitudeS);
    F.LongitudeH = kLongitudeRange.Clamped(LongitudeH);
    F.LongitudeM = kMinuteRange.Clamped(LongitudeM);
    F.LongitudeS = kMinuteRange.Clamped(LongitudeS);
    F.Tau = Fixed2(Tau);
    F.AboveSea = Format(QStringLiteral("%6.1f"), {AboveSea});
    F.PARRatio = Fixed2(PARRatio * 100.0);
    F.DiffuseRatio = Fixed2(DiffuseRatio * 100.0);
    F.TimeZone = Format(QStringLiteral("%f"), {TimeZone});
    F.DifModel = DifModel;
    F.TargetYear = TargetYear;
    F.TargetMonth = kMonthRange.Clamped(TargetMonth);
    F.TargetDay = kDayRange.Clamped(TargetDay);
    return F;
}

QString VectorFolderWhenTicked(const QString& ImageFile) {
    if (FolderExists(LabelTraceVectorFolder)) return LabelTraceVectorFolder;
    return ImageFile.isEmpty() ? QString() : QFileInfo(ImageFile).absolutePath() + u'/';
}

void TickVectorize(TOptionFields& Fields, const QString& ImageFile) {
    Fields.CalcTraceLengthRatio = true;
    Fields.LabelTraceVectorFolder = VectorFolderWhenTicked(ImageFile);
}

int LiftedNCEnd(int Start, int End) { return Start >= End ? kNCZenithRange.Clamped(Start + 1) : End; }

std::optional<TOptionField> ApplyOptionFields(const TOptionFields& Fields) {
    std::optional<TOptionField> Refused;
    std::array<double, kNumberCount> Numbers{};
    for (size_t I = 0; I < kNumberCount && !Refused; ++I) {
        const std::optional<double> Value = Accepted(kNumberRules[I], Fields);
        if (Value)
            Numbers[I] = *Value;
        else
            Refused = kNumberRules[I].Field;
    }
    if (!Refused && (Fields.TargetYear < 1 || Fields.TargetYear > 9999))
        Refused = TOptionField::TargetYear;
    else if (!Refused && !QDate::isValid(Fields.TargetYear, Fields.TargetMonth, Fields.TargetDay))
        Refused = TOptionField::TargetDay;
    if (Refused) {
        ShowErrorMessage(QStringLiteral("ERR22"));
        return Refused;
    }
    Apply(Fields, Numbers);
    return std::nullopt;
}

}  // namespace tam32
