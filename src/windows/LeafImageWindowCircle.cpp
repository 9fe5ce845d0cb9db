// The fisheye circle of an image window.
#include <array>
#include <cmath>
#include <numbers>

#include "analysis/core/EngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/geometry/CircleDetection.h"
#include "analysis/geometry/LensProjection.h"
#include "platform/Canvas.h"
#include "platform/Rounding.h"
#include "windows/ImageView.h"
#include "windows/ImageWindowFrame.h"
#include "windows/LeafImageWindow.h"
#include "windows/MenuItemState.h"

namespace tam32 {
namespace {

constexpr int kEquisolidLens = 5;
// One spoke every 10 degrees of azimuth.
constexpr int kAzimuthSpokes = 36;
// Pale yellow, behind the black azimuth labels.
constexpr TColor kLabelCell = 0xE1FFFF;

}  // namespace

void TLeafImageWindow::DrawCircleOutline(int R) {
    FPicture->Canvas().Ellipse(FCircleX - R - FCircleOdd, FCircleY - R - FCircleOdd, FCircleX + R + 1,
                               FCircleY + R + 1);
}

void TLeafImageWindow::DrawCentreMark(bool FullCross) {
    TCanvas& canvas = FPicture->Canvas();
    const int x = FCircleX;
    const int y = FCircleY;
    if (!FullCross) {
        canvas.MoveTo(x - 5, y);
        canvas.LineTo(x + 5, y);
        canvas.MoveTo(x, y - 5);
        canvas.LineTo(x, y + 5);
    } else {
        canvas.MoveTo(0, y);
        canvas.LineTo(FPicture->Width() - 1, y);
        canvas.MoveTo(x, 0);
        canvas.LineTo(x, FPicture->Height() - 1);
    }
}

void TLeafImageWindow::DrawCircleArea() {
    TCanvas& canvas = FPicture->Canvas();
    const TCanvasToolsScope tools(canvas);
    canvas.Pen.Color = 0xFFFFFF;
    canvas.Pen.Mode = TPenMode::pmNot;
    canvas.Brush.Style = TBrushStyle::bsClear;
    // A shown circle is erased with the mark it was drawn with, even when
    // the lens type has changed since.
    const bool fullCross = FCircleShown ? FShownFullCross : LensType == kNormalLensType;
    FCircleShown = !FCircleShown;
    FShownFullCross = fullCross;
    DrawCircleOutline(FCircleR);
    DrawCentreMark(fullCross);
    Image1->update();
}

void TLeafImageWindow::EraseCircleArea() {
    if (FCircleShown) DrawCircleArea();
}

void TLeafImageWindow::DrawCircleAreaScale() {
    if (!CircleSet) {
        ShowErrorMessage(QStringLiteral("ERR10"));
        return;
    }
    if (!FNorthSet) {
        ShowErrorMessage(QStringLiteral("ERR11"));
        return;
    }
    // A shown circle is taken off first and put back over the scale: the
    // scale paints over its pixels, and erasing it later (to move it) would
    // invert them to black gaps in the scale.
    const bool circleShown = FCircleShown;
    if (circleShown) DrawCircleArea();
    {
        TCanvas& canvas = FPicture->Canvas();
        const TCanvasToolsScope tools(canvas);
        canvas.Pen.Color = 0xFFFFFF;
        canvas.Pen.Mode = TPenMode::pmCopy;
        canvas.Brush.Style = TBrushStyle::bsClear;
        DrawCircleOutline(FCircleR);
        for (int k = 1; k <= 9; ++k) DrawCircleOutline(TruncInt(ZenithToRadius(10.0 * k) + 0.5));
        const int x = FCircleX;
        const int y = FCircleY;
        const int r90 = TruncInt(ZenithToRadius(90.0) + 0.5);
        std::array<TPoint, kAzimuthSpokes> ends;
        for (int i = 0; i < kAzimuthSpokes; ++i) {
            const double a = (10.0 * i - FNorthAngle) * std::numbers::pi / 180.0;
            ends[i] = {x + TruncInt(std::cos(a) * r90 + 0.5), y + TruncInt(std::sin(a) * r90 + 0.5)};
            canvas.MoveTo(x, y);
            canvas.LineTo(ends[i].X, ends[i].Y);
        }
        // The labels go over every spoke, dark on a light cell: readable on
        // the sky, on the canopy and on the black border around the circle.
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.Brush.Color = kLabelCell;
        for (int i = 0; i < kAzimuthSpokes; ++i) {
            // Labels sit outside the spoke's end, away from the centre.
            const QString label = QString::number(10 * i);
            const int lx = x > ends[i].X ? ends[i].X - canvas.TextWidth(label) : ends[i].X;
            const int ly = y > ends[i].Y ? ends[i].Y - canvas.TextHeight(label) : ends[i].Y;
            canvas.TextOut(lx, ly, label);
        }
        DrawCentreMark(LensType == kNormalLensType);
    }
    if (circleShown) DrawCircleArea();
    Image1->update();
}

void TLeafImageWindow::SetCircleArea(int X, int Y, int R, int Odd) {
    EraseCircleArea();
    FCircleX = X;
    FCircleY = Y;
    FCircleR = R;
    FCircleOdd = Odd != 0 ? 1 : 0;
    FCircleSet = true;
    StoreCircleArea();
    DrawCircleArea();
    ThresholdCondition = 0;
    ResetTools();
}

void TLeafImageWindow::StoreCircleArea() {
    CircleSet = FCircleSet;
    CircleX = FCircleX;
    CircleY = FCircleY;
    CircleR = FCircleR;
    CircleCenterOffset = FCircleOdd != 0 ? 0.5 : 0.0;
}

void TLeafImageWindow::LoadCircleArea() {
    FCircleSet = CircleSet;
    FCircleX = CircleX;
    FCircleY = CircleY;
    FCircleR = CircleR;
    FCircleOdd = CircleCenterOffset != 0.0 ? 1 : 0;
}

void TLeafImageWindow::CircleChosen() {
    FPickTool = ptMoveCircle;
    FTagArea = WholePicture();
    ResetTools();
    ThresholdCondition = 0;
}

void TLeafImageWindow::AutoDetectCircleArea() {
    ResetTools();
    const int w = FPicture->Width();
    const int h = FPicture->Height();
    if (LensType == kNormalLensType || LensType == kEquisolidLens) {
        // A circle already drawn is erased before the new one is drawn.
        EraseCircleArea();
        CircleSet = true;
        CircleX = w / 2 - 1;
        CircleY = h / 2 - 1;
        CircleR = LensType == kNormalLensType
                      ? static_cast<int>(std::trunc(std::sqrt(double(w / 2) * (w / 2) + double(h / 2) * (h / 2)) + 0.5))
                      : h * 577 / 1200;
        CircleCenterOffset = 0.0;
        LoadCircleArea();
        DrawCircleArea();
        CircleChosen();
        return;
    }
    if (DetectCircleArea(FWorkFileName)) {
        EngineHost().ShowMessage(QStringLiteral("Error"));
        return;
    }
    if (!CircleSet) {
        FCircleSet = false;
        return;
    }
    EraseCircleArea();
    LoadCircleArea();
    DrawCircleArea();
    CircleChosen();
    FPickMode = true;
    SetChecked(FFrame.MenuItem("CircleAreaCenter1"), true);
}

void TLeafImageWindow::SetCircleAreaDiameter() {
    QString text = QString::number(2 * FCircleR + FCircleOdd);
    if (!EngineHost().InputQuery(GetDialogMessage(QStringLiteral("DMS107")), GetDialogMessage(QStringLiteral("DMS20")),
                                 text))
        return;
    bool ok = false;
    const int d = text.trimmed().toInt(&ok);
    // A circle of no size would leave every analysis without pixels.
    if (!ok || d <= 0) {
        ShowErrorMessage(QStringLiteral("ERR23"));
        return;
    }
    SetCircleDiameter(d);
}

void TLeafImageWindow::SetCircleDiameter(int D) {
    EraseCircleArea();
    FCircleR = D / 2;
    FCircleOdd = D % 2;
    if (!FCircleSet) {
        FCircleSet = true;
        FCircleX = FPicture->Width() / 2;
        FCircleY = FPicture->Height() / 2;
    }
    StoreCircleArea();
    DrawCircleArea();
    CircleChosen();
    FPickMode = true;
    SetChecked(FFrame.MenuItem("CircleAreaCenter1"), true);
}

}  // namespace tam32
