// The settings, engine state and results that "tam32-probe run" sets with
// --set Name=Value and prints with --print Name.
#include <QLocale>
#include <cmath>
#include <type_traits>

#include "ProbeRun.h"
#include "analysis/AnalysisState.h"
#include "analysis/GlobalSettings.h"

namespace tam32::probe {

std::map<QString, TProbeVariable>& ProbeVariables() {
    static std::map<QString, TProbeVariable> Variables;
    return Variables;
}

namespace {

template <typename T>
QString Text(const T& Value) {
    if constexpr (std::is_same_v<T, bool>) return Value ? QStringLiteral("1") : QStringLiteral("0");
    else if constexpr (std::is_floating_point_v<T>) {
        // Counts read as whole numbers; anything else in the fewest digits that give it back.
        if (std::trunc(Value) == Value && std::fabs(Value) < 1e15) return QString::number(qint64(Value));
        return QLocale::c().toString(double(Value), 'g', QLocale::FloatingPointShortest);
    }
    else return QString::number(Value);
}

template <typename T>
bool Parse(const QString& Text, T& Value) {
    bool Ok = false;
    if constexpr (std::is_same_v<T, bool>) {
        const QString L = Text.toLower();
        if (L == QLatin1String("1") || L == QLatin1String("true")) Value = true;
        else if (L == QLatin1String("0") || L == QLatin1String("false")) Value = false;
        else return false;
        return true;
    } else if constexpr (std::is_floating_point_v<T>) {
        const double V = QLocale::c().toDouble(Text, &Ok);
        if (Ok) Value = T(V);
    } else {
        const qlonglong V = Text.toLongLong(&Ok);
        Ok = Ok && std::in_range<T>(V);
        if (Ok) Value = T(V);
    }
    return Ok;
}

template <typename T>
TProbeVariable Scalar(T& Variable) {
    return {[&Variable] { return QStringList{Text(Variable)}; },
            [&Variable](const QString& Value) { return Parse(Value, Variable); }};
}

template <typename Row>
QString RowText(const Row& Values) {
    QStringList Parts;
    for (const auto& Value : Values) Parts << Text(Value);
    return Parts.join(QLatin1Char(' '));
}

template <typename Array>
TProbeVariable Rows(const Array& Variable) {
    return {[&Variable] {
                QStringList Lines;
                if constexpr (std::is_arithmetic_v<std::decay_t<decltype(Variable[0])>>) {
                    Lines << RowText(Variable);
                } else {
                    for (const auto& Row : Variable) Lines << RowText(Row);
                }
                return Lines;
            },
            {}};
}

#define TAM32_SCALAR(Name) const RegisterProbeVariable k##Name(#Name, Scalar(Name))
#define TAM32_ROWS(Name) const RegisterProbeVariable k##Name(#Name, Rows(Name))

TAM32_SCALAR(CircleSet);
TAM32_SCALAR(CircleX);
TAM32_SCALAR(CircleY);
TAM32_SCALAR(CircleR);
TAM32_SCALAR(CircleCenterOffset);
TAM32_SCALAR(NorthForAnalysis);
TAM32_SCALAR(LensType);
TAM32_SCALAR(MaxViewAngle);
TAM32_SCALAR(AzimuthMaskUse);
TAM32_SCALAR(AzimuthMaskFrom);
TAM32_SCALAR(AzimuthMaskTo);
TAM32_SCALAR(AzimuthMaskAscending);
TAM32_SCALAR(SlopeCorrection);
TAM32_SCALAR(SlopeInclination);
TAM32_SCALAR(SlopeAzimuth);
TAM32_SCALAR(BinarizeTarget);
TAM32_SCALAR(ThresholdMethod);
TAM32_SCALAR(FixedThreshold);
TAM32_SCALAR(ThresholdCondition);
TAM32_SCALAR(LastThreshold);
TAM32_SCALAR(ZenithThresholdType);
TAM32_SCALAR(ShrinkBeforeAnalysis);
TAM32_SCALAR(ColorSearchPercent);
TAM32_SCALAR(ColorSearchToleranceR);
TAM32_SCALAR(ColorSearchToleranceG);
TAM32_SCALAR(ColorSearchToleranceB);
TAM32_SCALAR(ColorSearchValue1);
TAM32_SCALAR(ColorSearchValue2);
TAM32_SCALAR(ColorSearchValue3);
TAM32_SCALAR(ImageDPI);
TAM32_SCALAR(NCType);
TAM32_SCALAR(NCStart);
TAM32_SCALAR(NCEnd);
TAM32_SCALAR(SkyFactor);
TAM32_SCALAR(LatitudeH);
TAM32_SCALAR(LatitudeM);
TAM32_SCALAR(LatitudeS);
TAM32_SCALAR(LongitudeH);
TAM32_SCALAR(LongitudeM);
TAM32_SCALAR(LongitudeS);
TAM32_SCALAR(Tau);
TAM32_SCALAR(AboveSea);
TAM32_SCALAR(PARRatio);
TAM32_SCALAR(DiffuseRatio);
TAM32_SCALAR(DifModel);
TAM32_SCALAR(TimeZone);
TAM32_SCALAR(TargetYear);
TAM32_SCALAR(TargetMonth);
TAM32_SCALAR(TargetDay);
TAM32_SCALAR(PARPeriod);
TAM32_SCALAR(DistortParameter);
TAM32_SCALAR(DistortAuto);
TAM32_SCALAR(DrawResults);
TAM32_SCALAR(KeepAnalysisImage);
TAM32_SCALAR(RGBThresholdR);
TAM32_SCALAR(RGBThresholdG);
TAM32_SCALAR(RGBThresholdB);
TAM32_SCALAR(ChannelSpanR);
TAM32_SCALAR(ChannelSpanG);
TAM32_SCALAR(ChannelSpanB);
TAM32_SCALAR(ZenithThresholdSlope);
TAM32_SCALAR(ZenithThresholdIntercept);
TAM32_SCALAR(HorizonRadius2);
TAM32_ROWS(RingUse);
TAM32_ROWS(RingCounts);
TAM32_ROWS(RingColorSums);
TAM32_ROWS(ZenithCounts);
TAM32_ROWS(ZenithColorSums);
TAM32_ROWS(ZenithColorMax);
TAM32_ROWS(Histogram);
TAM32_ROWS(RGBHistogram);

}  // namespace
}  // namespace tam32::probe
