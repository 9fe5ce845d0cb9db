#include "WindowCommands.h"

#include <QLocale>

#include "windows/LeafImageWindow.h"

namespace tam32::probe {
namespace {

// A command without arguments.
TWindowCommand Plain(void (TLeafImageWindow::*Command)()) {
    return [Command](TLeafImageWindow& Window, const QStringList& Args) {
        if (!Args.isEmpty()) return false;
        (Window.*Command)();
        return true;
    };
}

QString Number(double Value) { return QLocale::c().toString(Value, 'g', QLocale::FloatingPointShortest); }
QString Flag(bool Value) { return Value ? QStringLiteral("1") : QStringLiteral("0"); }
QString PointText(const TPoint& P) { return QStringLiteral("%1 %2").arg(P.X).arg(P.Y); }

}  // namespace

const std::map<QString, TWindowSelector>& WindowTools() {
    static const std::map<QString, TWindowSelector> tools = {
        {"SetTagArea", &TLeafImageWindow::SetTagArea},
        {"StartDistanceMeasurement", &TLeafImageWindow::StartDistanceMeasurement},
        {"StartSetNorthDirection", &TLeafImageWindow::StartSetNorthDirection},
        {"StartAngleMeasurement", &TLeafImageWindow::StartAngleMeasurement},
        {"StartCalcScaleByLine", &TLeafImageWindow::StartCalcScaleByLine},
        {"StartMouseDetectCircleArea", &TLeafImageWindow::StartMouseDetectCircleArea},
        {"StartZenithAngleMeasurement", &TLeafImageWindow::StartZenithAngleMeasurement},
        {"StartPolylineMeasurement", &TLeafImageWindow::StartPolylineMeasurement},
        {"StartMoveCircleArea", &TLeafImageWindow::StartMoveCircleArea},
        {"StartCircleAreaBy3Points", &TLeafImageWindow::StartCircleAreaBy3Points},
        {"StartCorrectDistortion", &TLeafImageWindow::StartCorrectDistortion},
        {"StartGetPoints", &TLeafImageWindow::StartGetPoints},
        {"StartLineProfile", &TLeafImageWindow::StartLineProfile},
        {"StartSearchColors", &TLeafImageWindow::StartSearchColors},
        {"StartCalcScaleByArea", &TLeafImageWindow::StartCalcScaleByArea},
        {"StartGetGCP", &TLeafImageWindow::StartGetGCP},
    };
    return tools;
}

const std::map<QString, TWindowCommand>& WindowCommands() {
    static const std::map<QString, TWindowCommand> commands = {
        {"EnhanceView", Plain(&TLeafImageWindow::EnhanceView)},
        {"ReduceView", Plain(&TLeafImageWindow::ReduceView)},
        {"ChangeLightLevel", Plain(&TLeafImageWindow::ChangeLightLevel)},
        {"ViewOriginalImage", Plain(&TLeafImageWindow::ViewOriginalImage)},
        {"AutoDetectCircleArea", Plain(&TLeafImageWindow::AutoDetectCircleArea)},
        {"SetCircleAreaDiameter", Plain(&TLeafImageWindow::SetCircleAreaDiameter)},
        {"DrawCircleAreaScale", Plain(&TLeafImageWindow::DrawCircleAreaScale)},
        {"DoLAIEstimate", Plain(&TLeafImageWindow::DoLAIEstimate)},
        {"DoLAIEstimateAll",
         [](TLeafImageWindow& Window, const QStringList& Args) {
             if (Args.isEmpty()) return false;
             Window.DoLAIEstimateAll(Args);
             return true;
         }},
        {"DoLAIEstimateUseSettingFile",
         [](TLeafImageWindow& Window, const QStringList& Args) {
             if (Args.size() != 1) return false;
             Window.DoLAIEstimateUseSettingFile(Args[0]);
             return true;
         }},
        {"DoPARSetTimes", Plain(&TLeafImageWindow::DoPARSetTimes)},
        {"DoPARPeriod", Plain(&TLeafImageWindow::DoPARPeriod)},
        {"DoPARThisDay", Plain(&TLeafImageWindow::DoPARThisDay)},
        {"DoPARMonth", Plain(&TLeafImageWindow::DoPARMonth)},
        {"DoPARMonthMean", Plain(&TLeafImageWindow::DoPARMonthMean)},
        {"DoPARMonthYear", Plain(&TLeafImageWindow::DoPARMonthYear)},
        {"DoPARMonthYearMean", Plain(&TLeafImageWindow::DoPARMonthYearMean)},
        {"DrawDaySunTrack", Plain(&TLeafImageWindow::DrawDaySunTrack)},
        {"DrawMonthSunTrack", Plain(&TLeafImageWindow::DrawMonthSunTrack)},
        {"DrawYearSunTrack", Plain(&TLeafImageWindow::DrawYearSunTrack)},
        {"DoBAMeasurement", Plain(&TLeafImageWindow::DoBAMeasurement)},
        {"ViewDistortionCorrectedImage", Plain(&TLeafImageWindow::ViewDistortionCorrectedImage)},
        {"ViewCorrectedHemiImage",
         [](TLeafImageWindow& Window, const QStringList& Args) {
             if (Args.size() != 1) return false;
             Window.ViewCorrectedHemiImage(Args[0]);
             return true;
         }},
        {"ViewClassifiedImage", Plain(&TLeafImageWindow::ViewClassifiedImage)},
        {"DoLabellAnalysis", Plain(&TLeafImageWindow::DoLabellAnalysis)},
        {"DoTopoAnalysis", Plain(&TLeafImageWindow::DoTopoAnalysis)},
        {"ViewHistgram", Plain(&TLeafImageWindow::ViewHistgram)},
        {"DoSepColorAnalysis", Plain(&TLeafImageWindow::DoSepColorAnalysis)},
        {"DoAfineTrans",
         [](TLeafImageWindow& Window, const QStringList& Args) {
             if (Args.size() != 1) return false;
             Window.DoAfineTrans(Args[0]);
             return true;
         }},
    };
    return commands;
}

std::optional<QString> WindowField(const TLeafImageWindow& Window, const QString& Name) {
    const QRect& area = Window.FTagArea;
    const std::map<QString, std::function<QString()>> fields = {
        {"Circle", [&] { return QStringLiteral("%1 %2 %3").arg(Window.FCircleX).arg(Window.FCircleY).arg(Window.FCircleR); }},
        {"FCircleSet", [&] { return Flag(Window.FCircleSet); }},
        {"FCircleX", [&] { return QString::number(Window.FCircleX); }},
        {"FCircleY", [&] { return QString::number(Window.FCircleY); }},
        {"FCircleR", [&] { return QString::number(Window.FCircleR); }},
        {"FCircleOdd", [&] { return QString::number(Window.FCircleOdd); }},
        {"FNorthSet", [&] { return Flag(Window.FNorthSet); }},
        {"FNorthAngle", [&] { return Number(Window.FNorthAngle); }},
        {"FTagArea", [&] { return QStringLiteral("%1 %2 %3 %4").arg(area.left()).arg(area.top()).arg(area.right()).arg(area.bottom()); }},
        {"FLineStart", [&] { return PointText(Window.FLineStart); }},
        {"FLineEnd", [&] { return PointText(Window.FLineEnd); }},
        {"FScaleNum", [&] { return QString::number(Window.FScaleNum); }},
        {"FScaleDen", [&] { return QString::number(Window.FScaleDen); }},
        {"FPictureWidth", [&] { return QString::number(Window.FPictureWidth); }},
        {"FPictureHeight", [&] { return QString::number(Window.FPictureHeight); }},
        {"FFileName", [&] { return Window.FFileName; }},
        {"FWorkFileName", [&] { return Window.FWorkFileName; }},
        {"FIsTempImage", [&] { return Flag(Window.FIsTempImage); }},
        {"FAnalysed", [&] { return Flag(Window.FAnalysed); }},
        {"FColorSampled", [&] { return Flag(Window.FColorSampled); }},
        {"FTagAreaMode", [&] { return Flag(Window.FTagAreaMode); }},
        {"FMeasureMode", [&] { return Flag(Window.FMeasureMode); }},
        {"FPickMode", [&] { return Flag(Window.FPickMode); }},
        {"FMeasureTool", [&] { return QString::number(Window.FMeasureTool); }},
        {"FPickTool", [&] { return QString::number(Window.FPickTool); }},
        {"FPointNo", [&] { return QString::number(Window.FPointNo); }},
        {"FCirclePointCount", [&] { return QString::number(Window.FCirclePointCount); }},
        {"FFirstAngle", [&] { return Number(Window.FFirstAngle); }},
        {"FPolyLength", [&] { return Number(Window.FPolyLength); }},
    };
    const auto field = fields.find(Name);
    if (field == fields.end()) return std::nullopt;
    return field->second();
}

}  // namespace tam32::probe
