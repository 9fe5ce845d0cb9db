#include "analysis/core/SettingsFile.h"

#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <variant>

#include "platform/Exceptions.h"
#include "platform/FileSave.h"
#include "platform/IniFile.h"

namespace tam32 {
namespace {

using TIntField = int TOptionFields::*;
using TFlagField = bool TOptionFields::*;
using TTextField = QString TOptionFields::*;

// One key of the file and the field it holds. Integers are either a list's
// item number (Choice: a number outside the list is ignored) or a spin
// edit's value (clamped to Range).
struct TKey {
    const char* Section;
    const char* Name;
    std::variant<TIntField, TFlagField, TTextField> Field;
    TOptionRange Range = kUnlimited;
    bool Choice = false;
};

using F = TOptionFields;

// In the order written and read.
const TKey kKeys[] = {
    {"Threshold", "Color", &F::BinarizeTarget, kTargetItems, true},
    {"Threshold", "Type", &F::ThresholdMethod, kMethodItems, true},
    {"Threshold", "Value", &F::FixedThreshold, kThresholdRange},
    {"Threshold", "Jhoken", &F::ThresholdCondition, kConditionItems, true},
    {"Area", "MaxLabellBuffSize", &F::MaxLabelBuffSize, kLabelBufferRange},
    {"Area", "MinLabelledArea", &F::MinLabelledArea},
    {"Area", "MaxLabelledArea", &F::MaxLabelledArea},
    {"Area", "ShowLabelledNumber", &F::ShowLabelledNumber},
    {"Area", "CalcTraceLengthRatio", &F::CalcTraceLengthRatio},
    {"Area", "LabelTraceVectorize", &F::LabelTraceVectorize},
    {"Area", "LabelTraceVectorFile", &F::LabelTraceVectorFolder},
    {"Area", "LabelingDuplicate", &F::LabelingDuplicate},
    {"ScanDpi", "Dpi", &F::ImageDPI},
    {"FishEye", "ScanPhotoRadi", &F::ScanPhotoRadius},
    {"FishEye", "MaxAngle", &F::MaxViewAngle},
    {"FishEye", "AzimthMask0", &F::AzimuthMaskFrom},
    {"FishEye", "AzimthMask1", &F::AzimuthMaskTo},
    {"FishEye", "AzimthMaskUse", &F::AzimuthMaskUse},
    // The slope's inclination and azimuth under these names, as files always held them.
    {"FishEye", "AzimthCorrection", &F::SlopeInclination},
    {"FishEye", "ZenithCorrection", &F::SlopeAzimuth},
    {"FishEye", "SlopeCorrection", &F::SlopeCorrection},
    {"FishEye", "ThresholdType", &F::ZenithThresholdType, kZenithThresholdItems, true},
    {"FishEye", "ProjectType", &F::LensType, kLensItems, true},
    {"LAI", "NCType", &F::NCType, kNCTypeItems, true},
    {"LAI", "NCStart", &F::NCStart, kNCZenithRange},
    {"LAI", "NCEnd", &F::NCEnd, kNCZenithRange},
    {"PAR", "LatitudeH", &F::LatitudeH, kLatitudeRange},
    {"PAR", "LatitudeM", &F::LatitudeM, kMinuteRange},
    {"PAR", "LatitudeS", &F::LatitudeS, kMinuteRange},
    {"PAR", "LongitudeH", &F::LongitudeH, kLongitudeRange},
    {"PAR", "LongitudeM", &F::LongitudeM, kMinuteRange},
    {"PAR", "LongitudeS", &F::LongitudeS, kMinuteRange},
    {"PAR", "Tau", &F::Tau},
    {"PAR", "AboveSea", &F::AboveSea},
    {"PAR", "PPAR", &F::PARRatio},
    {"PAR", "TimrZone", &F::TimeZone},
    {"PAR", "DifModel", &F::DifModel, kDifModelItems, true},
    {"PAR", "Year", &F::TargetYear},
    {"PAR", "Month", &F::TargetMonth, kMonthRange},
    {"PAR", "Day", &F::TargetDay, kDayRange},
    {"Distort", "Parameter", &F::DistortParameter, kDistortRange},
    {"Distort", "Auto", &F::DistortAuto},
};

template <typename Member>
bool Holds(const TKey& Key, Member Field) {
    const Member* Held = std::get_if<Member>(&Key.Field);
    return Held != nullptr && *Held == Field;
}

// True when the key's value was read into its field.
bool ReadKey(const TIniFile& Ini, const TKey& Key, TOptionFields& Fields) {
    const QString Section = QLatin1String(Key.Section), Name = QLatin1String(Key.Name);
    if (!Ini.ValueExists(Section, Name)) return false;
    if (const TFlagField* Flag = std::get_if<TFlagField>(&Key.Field)) {
        Fields.**Flag = Ini.ReadBool(Section, Name, Fields.**Flag);
    } else if (const TTextField* Text = std::get_if<TTextField>(&Key.Field)) {
        Fields.**Text = Ini.ReadString(Section, Name, Fields.**Text);
    } else {
        int& Field = Fields.*std::get<TIntField>(Key.Field);
        const int Value = Ini.ReadInteger(Section, Name, Field);
        if (Key.Choice && !Key.Range.Contains(Value)) return false;
        Field = Key.Range.Clamped(Value);
    }
    return true;
}

void WriteKey(TIniFile& Ini, const TKey& Key, const TOptionFields& Fields) {
    const QString Section = QLatin1String(Key.Section), Name = QLatin1String(Key.Name);
    if (const TFlagField* Flag = std::get_if<TFlagField>(&Key.Field))
        Ini.WriteBool(Section, Name, Fields.**Flag);
    else if (const TTextField* Text = std::get_if<TTextField>(&Key.Field))
        Ini.WriteString(Section, Name, Fields.**Text);
    else
        Ini.WriteInteger(Section, Name, Fields.*std::get<TIntField>(Key.Field));
}

[[noreturn]] void WriteFailed(const QString& FileName) {
    throw EIniFileException(QStringLiteral("Unable to write to ") + FileName);
}

}  // namespace

void ReadSettingsFile(const QString& FileName, TOptionFields& Fields, const QString& ImageFile) {
    // One state of the file, however it changes meanwhile; one too large changes nothing.
    const TIniFile Ini = TIniFile::Snapshot(FileName);
    Ini.CheckSize();
    bool FixedRead = false;
    for (const TKey& Key : kKeys) {
        if (Holds(Key, &F::FixedThreshold) && !FixedRead) continue;
        const bool Read = ReadKey(Ini, Key, Fields);
        if (Holds(Key, &F::ThresholdMethod)) FixedRead = Read && Fields.ThresholdMethod == kFixedMethodItem;
        if (Holds(Key, &F::NCStart)) Fields.NCEnd = LiftedNCEnd(Fields.NCStart, Fields.NCEnd);
        if (Holds(Key, &F::LabelTraceVectorize) && Fields.LabelTraceVectorize) TickVectorize(Fields, ImageFile);
    }
}

void WriteSettingsFile(const QString& FileName, const TOptionFields& Fields) {
    // The keys go into the file's lines in memory, which then replace the file at once.
    // The file is replaced, not written: one the user may not write is kept as it is.
    const QFileInfo Old(FileName);
    if (Old.exists() && !Old.isWritable()) throw EFileSaveError(FileName, QString::fromLocal8Bit(std::strerror(EACCES)));
    try {
        TIniFile Ini = TIniFile::Draft(FileName);
        for (const TKey& Key : kKeys)
            if (!Holds(Key, &F::FixedThreshold) || Fields.ThresholdMethod == kFixedMethodItem) WriteKey(Ini, Key, Fields);
        Ini.Commit();
    } catch (const EIniFileException&) {
        WriteFailed(FileName);  // named after the file the user knows, without the detail
    }
}

bool ApplySettingsFile(const QString& FileName) {
    TOptionFields Fields = OptionFieldsFromSettings(QString());
    ReadSettingsFile(FileName, Fields, QString());
    return !ApplyOptionFields(Fields);
}

}  // namespace tam32
