// The mouse tools of an image window: choosing one, and the marks they draw.
#include <cmath>

#include "analysis/core/EngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/geometry/LensProjection.h"
#include "platform/Canvas.h"
#include "platform/Rounding.h"
#include "windows/ImageView.h"
#include "windows/ImageWindowFrame.h"
#include "windows/LeafImageWindow.h"
#include "windows/MenuItemState.h"

namespace tam32 {

void TLeafImageWindow::ToggleTagRectangle() {
    TCanvas& canvas = FPicture->Canvas();
    const TCanvasToolsScope tools(canvas);
    canvas.Pen.Mode = TPenMode::pmNot;
    const int l = FTagArea.left(), t = FTagArea.top(), r = FTagArea.right(), b = FTagArea.bottom();
    const TPoint corners[] = {{l, t}, {l, b}, {r, b}, {r, t}, {l, t}};
    canvas.Polyline(corners);
    FTagShown = !FTagShown;
    Image1->update();
}

void TLeafImageWindow::ToggleRubberLine() {
    DrawLine(FLineStart, FLineEnd, FPicture->Canvas().Pen.Color, TPenMode::pmNot);
    FLineShown = !FLineShown;
}

void TLeafImageWindow::EraseTagRectangle() {
    if (FTagShown) ToggleTagRectangle();
}

void TLeafImageWindow::EraseRubberLine() {
    if (FLineShown) ToggleRubberLine();
}

void TLeafImageWindow::DrawMarker(TPoint P, TPenMode Mode) {
    TCanvas& canvas = FPicture->Canvas();
    const TCanvasToolsScope tools(canvas);
    canvas.Pen.Color = clRed;
    canvas.Pen.Mode = Mode;
    canvas.Ellipse(P.X - 3, P.Y - 3, P.X + 3, P.Y + 3);
    Image1->update();
}

void TLeafImageWindow::MarkCirclePoint(TPoint P) {
    const QRect under = QRect(P.X - 3, P.Y - 3, 7, 7).intersected(FPicture->Image().rect());
    FCrossUnder.emplace_back(under, FPicture->Image().copy(under));
    DrawLine({P.X - 3, P.Y}, {P.X + 3, P.Y}, clRed, TPenMode::pmCopy);
    DrawLine({P.X, P.Y - 3}, {P.X, P.Y + 3}, clRed, TPenMode::pmCopy);
}

void TLeafImageWindow::EraseCirclePoints() {
    FCirclePointCount = 0;
    if (FCrossUnder.empty()) return;
    // The last cross first: each patch holds what lay under it when drawn.
    TCanvas& canvas = FPicture->Canvas();
    for (auto patch = FCrossUnder.rbegin(); patch != FCrossUnder.rend(); ++patch) {
        const QRect& r = patch->first;
        canvas.StretchDrawImage(Rect(r.left(), r.top(), r.right() + 1, r.bottom() + 1), patch->second);
    }
    FCrossUnder.clear();
    Image1->update();
}

void TLeafImageWindow::DrawLine(TPoint From, TPoint To, TColor Colour, TPenMode Mode) {
    TCanvas& canvas = FPicture->Canvas();
    const TCanvasToolsScope tools(canvas);
    canvas.Pen.Color = Colour;
    canvas.Pen.Mode = Mode;
    canvas.MoveTo(From.X, From.Y);
    canvas.LineTo(To.X, To.Y);
    Image1->update();
}

void TLeafImageWindow::ResetTools() {
    EraseCirclePoints();
    SetEnabled(FFrame.MenuItem("DoLAIEstimateAll"), false);
    EraseTagRectangle();
    EraseRubberLine();
    FAngleFirstLeg = false;
    FTagAreaMode = false;
    FMeasureMode = false;
    FPickMode = false;
    FScaleByArea = false;
    for (const char* name : {"SetTagArea1", "LineProfile1", "SetNorthDirection1", "CircleAreaCenter1",
                             "MouseDetectCircleArea1", "CircleAreaBy3Points", "DistanceMeasurement1",
                             "DistanceMeasurement2", "AngleMeasurement1", "AngleMeasurement2", "CalcScaleByLine1",
                             "CalcScaleByArea1", "DoSearchColors1"})
        SetChecked(FFrame.MenuItem(name), false);
    FFrame.HideEdgeView();
    for (const char* name : {"CircleAreaCenter1", "SetNorthDirection1", "DoLAIEstimate1", "DoPAREstimate1",
                             "SunTrackToCircleImage1", "CircleAreaScale1"})
        SetEnabled(FFrame.MenuItem(name), FCircleSet);
}

void TLeafImageWindow::ChooseMeasureTool(int Tool, const char* MenuItemName) {
    ResetTools();
    FMeasureMode = true;
    FMeasureTool = Tool;
    SetChecked(FFrame.MenuItem(MenuItemName), true);
}

void TLeafImageWindow::ChoosePickTool(int Tool, const char* MenuItemName) {
    ResetTools();
    FPickMode = true;
    FPickTool = Tool;
    SetChecked(FFrame.MenuItem(MenuItemName), true);
}

void TLeafImageWindow::SetTagArea() {
    ResetTools();
    FTagAreaMode = true;
    FScaleByArea = false;
    SetChecked(FFrame.MenuItem("SetTagArea1"), true);
    TPen& pen = FPicture->Canvas().Pen;
    pen.Width = 1;
    pen.Color = clBlack;
    pen.Mode = TPenMode::pmNot;
}

void TLeafImageWindow::StartDistanceMeasurement() { ChooseMeasureTool(mtDistance, "DistanceMeasurement1"); }

void TLeafImageWindow::StartSetNorthDirection() {
    ChooseMeasureTool(mtNorthDirection, "SetNorthDirection1");
    if (FCircleSet) EngineHost().ShowMessage(GetDialogMessage(QStringLiteral("DMS22")));
}

void TLeafImageWindow::StartAngleMeasurement() {
    ChooseMeasureTool(mtAngle, "AngleMeasurement1");
    ShowInstructionMessage(QStringLiteral("MSG4"));
    EngineHost().ShowResultPage(TResultPage::Report);
}

void TLeafImageWindow::StartCalcScaleByLine() {
    ChooseMeasureTool(mtScaleByLine, "CalcScaleByLine1");
    ShowInstructionMessage(QStringLiteral("MSG6"));
}

void TLeafImageWindow::StartMouseDetectCircleArea() {
    ChooseMeasureTool(mtMouseDetectCircle, "MouseDetectCircleArea1");
    FTagArea = WholePicture();
    EngineHost().ShowMessage(GetDialogMessage(QStringLiteral("DMS21")));
}

void TLeafImageWindow::StartZenithAngleMeasurement() {
    if (LensType == kNormalLensType) {
        // A normal lens: the circle through the picture's corners. The one
        // shown goes first, so no outline is left behind.
        EraseCircleArea();
        const int w = FPicture->Width() / 2;
        const int h = FPicture->Height() / 2;
        FCircleSet = true;
        FCircleX = w - 1;
        FCircleY = h;
        FCircleR = RoundInt(std::sqrt(double(w) * w + double(h) * h));
        FCircleOdd = 1;
        StoreCircleArea();
        DrawCircleArea();
    }
    if (FCircleSet) {
        ChooseMeasureTool(mtZenithAngle, "AngleMeasurement2");
        StoreCircleArea();
        ShowInstructionMessage(QStringLiteral("MSG5"));
    } else {
        ShowErrorMessage(QStringLiteral("ERR10"));
    }
    EngineHost().ShowResultPage(TResultPage::Report);
    FPointNo = 0;
}

void TLeafImageWindow::StartPolylineMeasurement() {
    ChooseMeasureTool(mtPolyline, "DistanceMeasurement2");
    FPolyPrev = {-1, -1};
    FPolyLength = 0.0;
}

void TLeafImageWindow::StartMoveCircleArea() {
    if (!FCircleSet) return;
    ChoosePickTool(ptMoveCircle, "CircleAreaCenter1");
}

void TLeafImageWindow::StartCircleAreaBy3Points() {
    ChoosePickTool(ptCircle3Points, "CircleAreaBy3Points");
    FCirclePointCount = 0;
    ShowInstructionMessage(QStringLiteral("MSG7"));
}

void TLeafImageWindow::StartLineProfile() {
    ChooseMeasureTool(mtLineProfile, "LineProfile1");
    TPen& pen = FPicture->Canvas().Pen;
    pen.Width = 1;
    pen.Color = clBlack;
    pen.Mode = TPenMode::pmNot;
}

void TLeafImageWindow::StartSearchColors() { ChoosePickTool(ptSearchColor, "DoSearchColors1"); }

void TLeafImageWindow::StartCalcScaleByArea() {
    // The box tool with its pen, whose box then gives the scale.
    SetTagArea();
    SetChecked(FFrame.MenuItem("SetTagArea1"), false);
    FScaleByArea = true;
    SetChecked(FFrame.MenuItem("CalcScaleByArea1"), true);
    ShowInstructionMessage(QStringLiteral("MSG8"));
}

}  // namespace tam32
