// What the program-wide settings do: a reset gives back the start-up state
// whatever was changed, the built-in values decide a run, and the name lists
// name what their index selects.
#include <gtest/gtest.h>

#include <QStringList>
#include <algorithm>
#include <iterator>
#include <optional>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "analysis/AnalysisFixture.h"
#include "analysis/canopy/CanopyTransmittance.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/geometry/OpenAnalysisImage.h"
#include "analysis/geometry/TargetPixels.h"
#include "platform/Exceptions.h"

namespace tam32::test {
namespace {

// Every setting and engine state variable; one added to the program belongs here too.
#define TAM32_EVERY_SETTING \
    CircleSet, CircleX, CircleY, CircleR, CircleCenterOffset, NorthForAnalysis, LensType, MaxViewAngle, \
    ScanPhotoRadius, AzimuthMaskUse, AzimuthMaskFrom, AzimuthMaskTo, AzimuthMaskAscending, SlopeCorrection, \
    SlopeInclination, SlopeAzimuth, BinarizeTarget, ThresholdMethod, FixedThreshold, ThresholdCondition, \
    LastThreshold, ZenithThresholdType, RecognizedGroups, OptionsCancelled, ClassifyDone, ShrinkBeforeAnalysis, \
    ColorSearchPercent, ColorSearchToleranceR, ColorSearchToleranceG, ColorSearchToleranceB, ColorSearchValue1, \
    ColorSearchValue2, ColorSearchValue3, ColorSearchX, ColorSearchY, ColorSearchCount, MaxLabelBuffSize, \
    MinLabelledArea, MaxLabelledArea, ShowLabelledNumber, CalcTraceLengthRatio, LabelTraceVectorize, \
    LabelingDuplicate, LabelTraceVectorFolder, LabelledObjectCount, AnalysisFileName, ImageDPI, \
    TargetPixelCount, NonTargetPixelCount, RGBHistogram, TargetRGBHistogram, NCType, NCStart, NCEnd, RingUse, \
    SkyFactor, RingCounts, RingColorSums, ZenithCounts, ZenithColorSums, ZenithColorMax, DifPhoto, LatitudeH, \
    LatitudeM, LatitudeS, LongitudeH, LongitudeM, LongitudeS, Tau, AboveSea, PARRatio, DiffuseRatio, DifModel, \
    TimeZone, TargetYear, TargetMonth, TargetDay, PARPeriod, PARStartMonth, PARStartDay, PAREndMonth, PAREndDay, \
    PARStartHour, PARStartMinute, PAREndHour, PAREndMinute, DistortParameter, DistortAuto, CLDFullImage, \
    FilterDefined, FilterSize, FilterDivisor, FilterKernel, GapImageFile1, GapImageFile2, GapCameraHeight1, \
    GapCameraHeight2, GapBaseDistance, GapFocalLength, GapZoomPercent, GapObjectNo1, GapObjectNo2, GapObjectNo, \
    GapObjectArea, GapObjectOutlineArea, LabelImageWidth, LabelImageHeight, GapEstimateMode, DrawResults, \
    ForceWholeImage, SettingsOverridden, KeepAnalysisImage, SavedBinarizeTarget, SavedThresholdCondition, \
    SavedThresholdMethod, SavedFixedThreshold, RGBThresholdR, RGBThresholdG, RGBThresholdB, ChannelSpanR, \
    ChannelSpanG, ChannelSpanB, ZenithThresholdSlope, ZenithThresholdIntercept, HorizonRadius2, Histogram, \
    ZenithHistogram, SepColorSums
#define TAM32_TEXT_OF(...) #__VA_ARGS__
#define TAM32_NAMES_OF(List) TAM32_TEXT_OF(List)

auto EverySetting() { return std::tie(TAM32_EVERY_SETTING); }
const QStringList kSettingNames = QString(TAM32_NAMES_OF(TAM32_EVERY_SETTING)).split(QStringLiteral(", "));

auto CopyOf(const auto& Variables) {
    return std::apply([](const auto&... Values) { return std::make_tuple(Values...); }, Variables);
}
using TSettingValues = decltype(CopyOf(EverySetting()));

// The values as the program starts, taken before any test runs.
class TStartUpState : public ::testing::Environment {
public:
    void SetUp() override {
        Values.emplace(CopyOf(EverySetting()));
        TargetDate = QDate(TargetYear, TargetMonth, TargetDay);
    }
    static inline std::optional<TSettingValues> Values;
    static inline QDate TargetDate;  // the one argument of a reset
};
::testing::Environment* const kStartUpState = ::testing::AddGlobalTestEnvironment(new TStartUpState);

// Another value for every kind of variable.
void Change(bool& Value) { Value = !Value; }
template <typename T>
    requires std::is_arithmetic_v<T>
void Change(T& Value) {
    Value = T(Value + 1);
}
void Change(QString& Value) { Value += QLatin1Char('x'); }
template <typename T>
void Change(std::vector<T>& Value) {
    Value.emplace_back();
}
template <typename T, std::size_t N>
void Change(TCheckedArray<T, N>& Value) {
    for (T& Element : Value) Change(Element);
}

void ExpectSame(bool Same, std::size_t Index) { EXPECT_TRUE(Same) << kSettingNames[qsizetype(Index)].toStdString(); }

template <std::size_t... I>
void ExpectSameValues(const TSettingValues& Now, const TSettingValues& Then, std::index_sequence<I...>) {
    (ExpectSame(std::get<I>(Now) == std::get<I>(Then), I), ...);
}

TEST(GlobalSettingsTest, ResetAfterAnyChangeGivesBackTheStateAtStartUp) {
    ASSERT_TRUE(TStartUpState::Values.has_value());
    const TSettingValues& StartUp = *TStartUpState::Values;
    constexpr std::size_t Count = std::tuple_size_v<TSettingValues>;
    ASSERT_EQ(std::size_t(kSettingNames.size()), Count);
    std::apply([](auto&... Variables) { (Change(Variables), ...); }, EverySetting());
    ResetSettingsToDefaults(TStartUpState::TargetDate);
    ExpectSameValues(CopyOf(EverySetting()), StartUp, std::make_index_sequence<Count>());
}

TEST(GlobalSettingsTest, TheTargetDateIsTodayUnlessGiven) {
    const QDate Before = QDate::currentDate();
    ResetSettingsToDefaults();
    const QDate After = QDate::currentDate();
    const QDate Target(TargetYear, TargetMonth, TargetDay);
    EXPECT_TRUE(Target == Before || Target == After);
}

using GlobalSettingsRunTest = AnalysisFixture;

TEST_F(GlobalSettingsRunTest, TheBuiltInSettingsTakeTheDarkerBluePixelsSplitByIntermeans) {
    ResetSettingsToDefaults(QDate(2024, 6, 21));
    const QString File = WriteImage(QStringLiteral("row.bmp"), 4, 1, [](int X, int) {
        return X < 2 ? TRgb{250, 250, 10} : TRgb{5, 5, 200};
    });
    ASSERT_FALSE(OpenAnalysisImage(File));
    ASSERT_FALSE(PrepareClassification(false, {0, 0, 3, 0}));
    EXPECT_EQ(FixedThreshold, 105);  // halfway between blue 10 and 200, the last value of the lower class
    EXPECT_TRUE(IsTargetPixel(false, 0, 0));
    EXPECT_FALSE(IsTargetPixel(false, 3, 0));
}

// Reports name the transmittance by DNRatioNames[NCType]: each name reads its own channel.
TEST(GlobalSettingsTest, EachDNRatioNameNamesTheChannelItsTypeReads) {
    ResetSettingsToDefaults(QDate(2024, 6, 21));
    const int Band = 10;
    ZenithCounts[0][Band] = 10.0;
    const double Means[] = {0.2, 0.5, 0.8};  // red, green, blue, as shares of 255
    for (int C = 0; C < 3; ++C) ZenithColorSums[C][Band] = 255.0 * 10.0 * Means[C];
    const std::pair<const char*, double> Expected[] = {{"Red", 0.2}, {"Green", 0.5}, {"Blue", 0.8}};
    for (int Type = 0; Type < int(DNRatioNames.size()); ++Type) {
        SCOPED_TRACE(DNRatioNames[Type].toStdString());
        const auto Named = std::find_if(std::begin(Expected), std::end(Expected), [&](const auto& E) {
            return DNRatioNames[Type].startsWith(QLatin1String(E.first));
        });
        ASSERT_NE(Named, std::end(Expected));
        EXPECT_NEAR(BandTransmittance(Band, Type), Named->second, 1e-12);
    }
}

TEST(GlobalSettingsTest, IndexesOutsideTheArraysRaiseRangeErrors) {
    EXPECT_THROW(RecognizedGroups[21], ERangeError);
    EXPECT_THROW(RecognizedGroups[-1], ERangeError);
    EXPECT_THROW(RGBHistogram[768], ERangeError);
    EXPECT_THROW(RingCounts[2][0], ERangeError);
    EXPECT_THROW(RingCounts[1][6], ERangeError);
    EXPECT_THROW(ZenithCounts[0][91], ERangeError);
    EXPECT_THROW(ZenithHistogram[91][0], ERangeError);
    EXPECT_THROW(ZenithHistogram[0][256], ERangeError);
    EXPECT_THROW(Histogram[-1], ERangeError);
    const auto& Sums = SepColorSums;
    EXPECT_THROW(Sums[4][0], ERangeError);
    EXPECT_NO_THROW(Sums[3][2]);
}

}  // namespace
}  // namespace tam32::test
