// The mouse on an image window: button down, move and up carry out the
// active tool; Escape gives up a three-point circle begun.
#include <QKeyEvent>
#include <algorithm>
#include <cmath>
#include <optional>

#include "analysis/colour/ColourAnalyses.h"
#include "analysis/core/EngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/core/SettingsCheck.h"
#include "analysis/geometry/LensProjection.h"
#include "import/ShownPicture.h"
#include "platform/Canvas.h"
#include "platform/DelphiFormat.h"
#include "platform/Rounding.h"
#include "windows/CircleFrom3Points.h"
#include "windows/EdgeViews.h"
#include "windows/ImageView.h"
#include "windows/ImageWindowFrame.h"
#include "windows/LeafImageWindow.h"
#include "windows/MenuItemState.h"
#include "windows/NamedWidgets.h"

namespace tam32 {
namespace {

double Length(TPoint From, TPoint To) {
    const double dx = To.X - From.X;
    const double dy = To.Y - From.Y;
    return std::sqrt(dx * dx + dy * dy);
}

// "Image resolution: 123.45(dpi)", a blank line and the question.
QString ResolutionQuestion(double Dpi, const QString& QuestionCode) {
    return GetDialogMessage(QStringLiteral("DMS8")) + Format(QStringLiteral("%5.2f"), {Dpi}) +
           QStringLiteral("(dpi)\n\n") + GetDialogMessage(QuestionCode);
}

// A resolution that lengths can be divided by: finite and above 0, which
// neither a line of no length, an object of no area or no target pixel, nor a
// length or area of 0, below 0 or too small to divide by gives; "ERR33" for
// one that is not.
bool UsableResolution(double Dpi) {
    if (std::isfinite(Dpi) && Dpi > 0.0) return true;
    ShowErrorMessage(QStringLiteral("ERR33"));
    return false;
}

}  // namespace

TPoint TLeafImageWindow::ClampedImagePoint(int X, int Y) const {
    return {std::clamp(ImageX(X), 0, FOrgWidth - 1), std::clamp(ImageY(Y), 0, FOrgHeight - 1)};
}

void TLeafImageWindow::Image1MouseDown(Qt::MouseButton Button, int X, int Y) {
    if (FOrgWidth <= 0 || FOrgHeight <= 0) return;
    const TPoint p = ClampedImagePoint(X, Y);
    if (FTagAreaMode) {
        // The old rectangle goes with the pen it was drawn with.
        EraseTagRectangle();
        TPen& pen = FPicture->Canvas().Pen;
        pen.Mode = TPenMode::pmNot;
        // Wide enough to stay visible when the picture is shown reduced.
        if (FScaleDen > 1) pen.Width = FScaleDen;
        if (FScaleNum > 1) pen.Width = FScaleNum;
        FTagArea.setCoords(p.X, p.Y, p.X, p.Y);
        FTagDragging = true;
    }
    if (FMeasureMode) MeasureToolDown(Button, p);
    if (FPickMode) PickToolDown(p);
}

void TLeafImageWindow::MeasureToolDown(Qt::MouseButton Button, TPoint P) {
    EraseRubberLine();
    switch (FMeasureTool) {
        case mtDistance:
            FLineStart = FLineEnd = P;
            DrawMarker(P, TPenMode::pmCopy);
            break;
        case mtNorthDirection:
        case mtZenithAngle:
            // From the circle's centre; without a circle, from the pressed point.
            FLineStart = FCircleSet ? TPoint{FCircleX, FCircleY} : P;
            FLineEnd = P;
            if (FCircleSet) ToggleRubberLine();
            break;
        case mtAngle:
            if (!FAngleFirstLeg) {
                DrawMarker(P, TPenMode::pmCopy);
                FLineStart = FLineEnd = P;
            } else {
                // The vertex stays: the second leg starts where the first did.
                FLineEnd = P;
                ToggleRubberLine();
            }
            break;
        case mtPolyline:
            if (FPolyPrev.X == -1 || FPolyPrev.Y == -1) {
                FPolyPrev = P;
                FPolyLength = 0.0;
            } else {
                FPolyCur = P;
                DrawLine(FPolyPrev, FPolyCur, clRed, TPenMode::pmCopy);
                FPolyLength += Length(FPolyPrev, FPolyCur);
                FPolyPrev = FPolyCur;
            }
            DrawMarker(P, TPenMode::pmCopy);
            if (Button == Qt::RightButton) {
                if (!CheckLengthSettings())
                    EngineHost().AppendResultLine(
                        FormatDialogMessage(QStringLiteral("DMS84"), {FPolyLength * 2.54 / ImageDPI}));
                FPolyPrev = {-1, -1};
                FPolyLength = 0.0;
            }
            break;
        default:
            FLineStart = FLineEnd = P;
    }
    FMeasureDragging = true;
}

void TLeafImageWindow::PickToolDown(TPoint P) {
    switch (FPickTool) {
        case ptMoveCircle:
            if (!FCircleSet) return;
            FCircleDragging = true;
            RefreshEdgeViews();
            FFrame.ShowEdgeView();
            break;
        case ptCircle3Points:
            MarkCirclePoint(P);
            FCirclePoints[static_cast<size_t>(FCirclePointCount++)] = P;
            if (FCirclePointCount == 3) TakeThirdCirclePoint();
            break;
        case ptSamplePoint: TakeSamplePoint(P); break;
        case ptSearchColor: PickSearchColor(P); break;
        case ptGCP: TakeGCP(P); break;
        default: break;
    }
}

void TLeafImageWindow::TakeThirdCirclePoint() {
    FCirclePointCount = 0;
    const std::optional<int> radius = CircleFrom3Points(FCirclePoints);
    if (!radius) {
        // Points on one line have no circle through them: start again.
        ShowInstructionMessage(QStringLiteral("MSG7"));
        return;
    }
    // The crosses stay with the circle made from them.
    FCrossUnder.clear();
    EraseCircleArea();
    FCircleR = *radius;
    FCircleOdd = 0;
    FCircleX = FCirclePoints[3].X;
    FCircleY = FCirclePoints[3].Y;
    EngineHost().AppendResultLine(FormatDialogMessage(QStringLiteral("DMS3"), {FCircleX, FCircleY}));
    EngineHost().AppendResultLine(FormatDialogMessage(QStringLiteral("DMS4"), {FCircleR}));
    FCircleSet = true;
    StoreCircleArea();
    DrawCircleArea();
    ThresholdCondition = 0;
    ResetTools();
    FPickMode = true;
}

void TLeafImageWindow::keyPressEvent(QKeyEvent* Event) {
    if (Event->key() == Qt::Key_Escape && FPickMode && FPickTool == ptCircle3Points && !FCrossUnder.empty()) {
        EraseCirclePoints();
        return;
    }
    QScrollArea::keyPressEvent(Event);
}

void TLeafImageWindow::Image1MouseMove(int X, int Y) {
    if (FFrame.ActiveImageWindow() != this || FOrgWidth <= 0 || FOrgHeight <= 0) return;
    const TPoint p = ClampedImagePoint(X, Y);
    DragTo(p);
    if (FPickMode && FCircleDragging && FPickTool == ptMoveCircle) {
        EraseCircleArea();
        FCircleX = p.X;
        FCircleY = p.Y;
        DrawCircleArea();
        RefreshEdgeViews();
        FFrame.ShowEdgeView();
    }
    FFrame.SetPositionText(QStringLiteral("(%1,%2)").arg(p.X).arg(p.Y));
}

void TLeafImageWindow::DragTo(TPoint P) {
    if (FTagAreaMode && FTagDragging) {
        EraseTagRectangle();
        // The box holds the picture's pixels only, also when released beyond it.
        FTagArea.setRight(std::clamp(P.X, 0, FOrgWidth - 1));
        FTagArea.setBottom(std::clamp(P.Y, 0, FOrgHeight - 1));
        ToggleTagRectangle();
        const QRect& a = FTagArea;
        EngineHost().SetStatusText(Format(QStringLiteral("(%d,%d)-(%d,%d):%d x %d pixels"),
                                          {a.left(), a.top(), a.right(), a.bottom(), a.right() - a.left(),
                                           a.bottom() - a.top()}));
    }
    // The polyline tool draws its segments on button down only.
    if (!FMeasureMode || !FMeasureDragging || FMeasureTool == mtPolyline) return;
    if (FMeasureTool == mtMouseDetectCircle) {
        EraseCircleArea();
        FLineEnd = P;
        const TPoint s = FLineStart;
        FCircleSet = true;
        FCircleX = (s.X + P.X) / 2;
        FCircleY = (s.Y + P.Y) / 2;
        FCircleR = RoundInt(Length({FCircleX - 1, FCircleY - 1}, s));
        FCircleOdd = static_cast<int>(RoundInt(Length({P.X - 1, P.Y - 1}, s)) % 2);
        DrawCircleArea();
    } else {
        EraseRubberLine();
        FLineEnd = P;
        ToggleRubberLine();
        EngineHost().SetStatusText(
            Format(QStringLiteral("(%d,%d)-(%d,%d)"), {FLineStart.X, FLineStart.Y, FLineEnd.X, FLineEnd.Y}));
    }
}

void TLeafImageWindow::Image1MouseUp(int X, int Y) {
    // The drag ends at the release point itself, also beyond the picture;
    // each tool then applies its own rules to it. A moved circle keeps the
    // centre its last move gave it, on the picture.
    DragTo({ImageX(X), ImageY(Y)});
    if (FTagDragging) FinishTagArea();
    if (FMeasureDragging) MeasureToolUp();
    if (FCircleDragging && FCircleSet) {
        FCircleDragging = false;
        CircleX = FCircleX;
        CircleY = FCircleY;
        FFrame.HideEdgeView();
    }
}

void TLeafImageWindow::FinishTagArea() {
    FTagDragging = false;
    // Redrawn in its final order of corners, so that a later erase meets
    // exactly the pixels drawn.
    EraseTagRectangle();
    const int l = std::min(FTagArea.left(), FTagArea.right());
    const int r = std::max(FTagArea.left(), FTagArea.right());
    const int t = std::min(FTagArea.top(), FTagArea.bottom());
    const int b = std::max(FTagArea.top(), FTagArea.bottom());
    if (int64_t(r - l) * (b - t) < 5) {
        FTagArea = WholePicture();
    } else {
        FTagArea.setCoords(l, t, r, b);
        ToggleTagRectangle();
    }
    if (FScaleByArea) FinishScaleByArea();
}

void TLeafImageWindow::MeasureToolUp() {
    FMeasureDragging = false;
    switch (FMeasureTool) {
        case mtLineProfile: FinishLineProfile(); break;
        case mtDistance: FinishDistance(); break;
        case mtNorthDirection: FinishNorthDirection(); break;
        case mtAngle: FinishAngle(); break;
        case mtScaleByLine: FinishScaleByLine(); break;
        case mtMouseDetectCircle:
            // Published at once, so the scale and the analyses see the
            // circle just dragged.
            StoreCircleArea();
            ResetTools();
            FMeasureMode = true;
            SetChecked(FFrame.MenuItem("MouseDetectCircleArea1"), true);
            break;
        case mtZenithAngle: FinishZenithAngle(); break;
        case mtCorrectDistortion: FinishTiltLine(); break;
        default: break;  // the polyline works on button down
    }
}

void TLeafImageWindow::FinishDistance() {
    // The measured line replaces the rubber line in the picture.
    DrawLine(FLineStart, FLineEnd, clRed, TPenMode::pmCopy);
    FLineShown = false;
    DrawMarker(FLineEnd, TPenMode::pmCopy);
    if (CheckLengthSettings()) return;
    EngineHost().AppendResultLine(
        FormatDialogMessage(QStringLiteral("DMS1"), {Length(FLineStart, FLineEnd) * 2.54 / ImageDPI, FLineStart.X,
                                                     FLineStart.Y, FLineEnd.X, FLineEnd.Y}));
}

void TLeafImageWindow::FinishNorthDirection() {
    const bool wasSet = FNorthSet;
    const double wasAngle = FNorthAngle;
    if (FCircleSet) {
        StoreCircleArea();
        FNorthAngle = PixelAzimuth(FLineEnd.X, FLineEnd.Y);
        FNorthSet = true;
    }
    QString text = Format(QStringLiteral("%f"), {AzimuthAsWritten(FNorthAngle, 2)});
    const bool typed = EngineHost().InputQuery(GetDialogMessage(QStringLiteral("DMS10")),
                                               GetDialogMessage(QStringLiteral("DMS11")), text);
    const std::optional<double> azimuth = typed ? TypedNumber(text) : std::nullopt;
    if (!azimuth) {
        // Cancelled, or no number: north stays as it was before the drag.
        FNorthSet = wasSet;
        FNorthAngle = wasAngle;
        return;
    }
    FNorthAngle = WrappedAzimuth(FNorthAngle - *azimuth);
}

void TLeafImageWindow::FinishAngle() {
    // The leg and its end stay in the picture in red.
    DrawLine(FLineStart, FLineEnd, clRed, TPenMode::pmCopy);
    FLineShown = false;
    DrawMarker(FLineEnd, TPenMode::pmCopy);
    const double angle = DirectionAngle(FLineStart.X, FLineStart.Y, FLineEnd.X, FLineEnd.Y);
    if (!FAngleFirstLeg) {
        FFirstAngle = angle;
        FAngleEnd = FLineEnd;
        FAngleFirstLeg = true;
        EngineHost().ShowMessage(GetDialogMessage(QStringLiteral("DMS14")));
        return;
    }
    double d = std::fabs(angle - FFirstAngle);
    if (d > 180.0) d = 360.0 - d;
    EngineHost().AppendResultLine(GetDialogMessage(QStringLiteral("DMS12")) + Format(QStringLiteral("%5.2f"), {d}));
    // The legs measured are shown inverted: both for a finished angle, the
    // second alone when another second leg follows.
    if (EngineHost().Confirm(GetDialogMessage(QStringLiteral("DMS13")))) {
        FAngleFirstLeg = false;
        DrawLine(FLineStart, FAngleEnd, clRed, TPenMode::pmNot);
        DrawMarker(FLineStart, TPenMode::pmNot);
        DrawMarker(FAngleEnd, TPenMode::pmNot);
    }
    DrawLine(FLineStart, FLineEnd, clRed, TPenMode::pmNot);
    DrawMarker(FLineEnd, TPenMode::pmNot);
}

void TLeafImageWindow::FinishScaleByLine() {
    const double length = Length(FLineStart, FLineEnd);
    const std::optional<double> cm = TypedNumber(
        InputBox(GetDialogMessage(QStringLiteral("DMS15")), GetDialogMessage(QStringLiteral("DMS16")), QString()));
    if (!cm) return;
    const double dpi = 2.54 * length / *cm;
    if (UsableResolution(dpi) && EngineHost().Confirm(ResolutionQuestion(dpi, QStringLiteral("DMS19"))))
        ImageDPI = dpi;
}

void TLeafImageWindow::FinishScaleByArea() {
    // The box stays in the picture while its classes are counted.
    EraseTagRectangle();
    {
        TCanvas& canvas = FPicture->Canvas();
        canvas.Pen.Mode = TPenMode::pmCopy;
        const int l = FTagArea.left(), t = FTagArea.top(), r = FTagArea.right(), b = FTagArea.bottom();
        const TPoint corners[] = {{l, t}, {l, b}, {r, b}, {r, t}, {l, t}};
        canvas.Polyline(corners);
    }
    if (SepColorAnalysis(FWorkFileName, *FPicture, TagRect())) {
        ShowErrorMessage(QStringLiteral("ERR12"));
        return;
    }
    QString typed;
    if (EngineHost().Confirm(GetDialogMessage(QStringLiteral("DMS5"))) &&
        EngineHost().InputQuery(GetDialogMessage(QStringLiteral("DMS6")), GetDialogMessage(QStringLiteral("DMS7")),
                                typed)) {
        const std::optional<double> cm2 = TypedNumber(typed);
        if (!cm2 || *cm2 <= 0) {
            ShowStatusMessage(QStringLiteral("DIALOG_CODE_"), QStringLiteral("DMS108"));
        } else {
            const double dpi = std::sqrt(TargetPixelCount / *cm2) * 2.54;
            if (UsableResolution(dpi) && EngineHost().Confirm(ResolutionQuestion(dpi, QStringLiteral("DMS9"))))
                ImageDPI = dpi;
        }
    }
    // The painted classes go: the picture is read again.
    FPicture = LoadPictureAsBitmap(FWorkFileName);
    Image1->SetPicture(FPicture.get());
    AfterAnalysisPainted();
}

void TLeafImageWindow::FinishLineProfile() {
    if (ColorLineProfile(FWorkFileName, FLineStart, FLineEnd)) {
        ShowErrorMessage(QStringLiteral("ERR12"));
        return;
    }
    FPicture->Canvas().Pen.Mode = TPenMode::pmNot;
    EraseRubberLine();
}

void TLeafImageWindow::PickSearchColor(TPoint P) {
    if (!EngineHost().Confirm(GetDialogMessage(QStringLiteral("DMS2")))) return;
    ColorSearchX = P.X;
    ColorSearchY = P.Y;
    if (SearchColors(FWorkFileName, *FPicture, TagRect())) {
        ShowErrorMessage(QStringLiteral("ERR7"));
        return;
    }
    // The reference colour serves the colour-search target of later analyses.
    FColorSampled = true;
    FSampleColor1 = ColorSearchValue1;
    FSampleColor2 = ColorSearchValue2;
    FSampleColor3 = ColorSearchValue3;
    AfterAnalysisPainted();
}

void TLeafImageWindow::FinishZenithAngle() {
    if (!FCircleSet) return;
    StoreCircleArea();
    const double zenith = PixelZenith(FLineEnd.X, FLineEnd.Y);
    double azimuth = PixelAzimuth(FLineEnd.X, FLineEnd.Y);
    if (FNorthSet) azimuth -= FNorthAngle;
    EngineHost().AppendResultLine(
        FormatDialogMessage(QStringLiteral("DMS17"), {FPointNo + 1, zenith, 90.0 - zenith}) +
        Format(QStringLiteral(" %6.3f"), {AzimuthAsWritten(azimuth, 3)}));
    DrawMarker(FLineEnd, TPenMode::pmCopy);
    FPicture->Canvas().TextOut(FLineEnd.X, FLineEnd.Y, QString::number(FPointNo + 1));
    ++FPointNo;
}

void TLeafImageWindow::RefreshEdgeViews() {
    if (TBitmap* strip = FFrame.EdgeView()) DrawEdgeViews(*strip, *FPicture, FCircleX, FCircleY, FCircleR);
}

}  // namespace tam32
