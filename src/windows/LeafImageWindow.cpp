#include "windows/LeafImageWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QSpinBox>
#include <algorithm>
#include <cstdint>

#include "analysis/core/EngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/geometry/LightLevel.h"
#include "import/ShownPicture.h"
#include "windows/AfinDlg.h"
#include "windows/ImageView.h"
#include "windows/ImageWindowFrame.h"
#include "windows/LookingTable.h"
#include "windows/MenuItemState.h"
#include "windows/OKBottomDlg.h"
#include "windows/ScreenToImage.h"

namespace tam32 {
namespace {

// Unbounded zoom steps must not overflow the size nor exceed what a widget takes.
int ScaledLength(int Length, int Num, int Den) {
    const int64_t scaled = static_cast<int64_t>(Length) * Num / Den;
    return static_cast<int>(std::clamp<int64_t>(scaled, 0, QWIDGETSIZE_MAX));
}

}  // namespace

TLeafImageWindow::TLeafImageWindow(TImageWindowFrame& Frame, QWidget* Parent)
    : QScrollArea(Parent), Image1(new TImageView), FFrame(Frame), FPicture(std::make_unique<TBitmap>()) {
    setWindowTitle(QStringLiteral("LeafImageWindow"));
    setWidgetResizable(false);
    setWidget(Image1);
    Image1->SetPicture(FPicture.get());
    connect(Image1, &TImageView::MouseMoved, this,
            [this](QPoint Position) { Image1MouseMove(Position.x(), Position.y()); });
    connect(Image1, &TImageView::MousePressed, this,
            [this](Qt::MouseButton Button, QPoint Position) { Image1MouseDown(Button, Position.x(), Position.y()); });
    connect(Image1, &TImageView::MouseReleased, this,
            [this](QPoint Position) { Image1MouseUp(Position.x(), Position.y()); });
    // A new window has no circle, so none is published until one is set.
    CircleSet = false;
    SetChecked(FFrame.MenuItem("SetTagArea1"), true);
}

TLeafImageWindow::~TLeafImageWindow() {
    if (FFrame.ActiveImageWindow() == this) FFrame.SetActiveImageWindow(nullptr);
}

void TLeafImageWindow::OpenPicture(const QString& Name, bool Temporary, std::unique_ptr<TBitmap> Picture) {
    setWindowTitle(Name);
    FFileName = Name;
    FWorkFileName = Name;
    FIsTempImage = Temporary;
    FPicture = std::move(Picture);
    Image1->SetPicture(FPicture.get());
    FPictureWidth = FPicture->Width();
    FPictureHeight = FPicture->Height();
    FCircleX = FPictureWidth / 2;
    FCircleY = FPictureHeight / 2;
    SetViewScale(1, 1);
}

void TLeafImageWindow::ChangeLightLevel() {
    TOKBottomDlg dialog(this);
    dialog.Mode = TOKBottomDlg::mdLightLevel;
    if (dialog.exec() != QDialog::Accepted) return;
    ApplyLightLevel(*FPicture, dialog.SpinEdit11->value() / 10.0f, dialog.SpinEdit12->value() / 10.0f,
                    dialog.SpinEdit13->value() / 10.0f);
    Image1->update();
}

void TLeafImageWindow::ViewOriginalImage() {
    std::unique_ptr<TBitmap> picture = LoadPictureAsBitmap(FFileName);
    FWorkFileName = FFileName;
    FPicture = std::move(picture);
    Image1->SetPicture(FPicture.get());
    FPictureWidth = FPicture->Width();
    FPictureHeight = FPicture->Height();
    FAnalysed = false;
    ForgetMarks();
    if (FCircleSet && EngineHost().Confirm(GetDialogMessage(QStringLiteral("DMS18")))) {
        DrawCircleArea();
    } else {
        FCircleSet = false;
        FNorthSet = false;
    }
    FScaleByArea = false;
    // The file may have changed its size since it was opened.
    FOrgWidth = -1;
    FOrgHeight = -1;
    SetViewScale(1, 1);
    ResetTools();
    SetChecked(FFrame.MenuItem("SetTagArea1"), true);
    FTagAreaMode = true;
}

void TLeafImageWindow::SetViewScale(int Num, int Den) {
    if (FOrgWidth < 0) FOrgWidth = FPicture->Width();
    if (FOrgHeight < 0) FOrgHeight = FPicture->Height();
    // Marks are drawn into the picture: a repaint at the new size does not
    // remove them, so they are erased while the window still knows them.
    EraseTagRectangle();
    EraseRubberLine();
    FScaleNum = Num;
    FScaleDen = Den;
    Image1->resize(ScaledLength(FOrgWidth, Num, Den), ScaledLength(FOrgHeight, Num, Den));
    Image1->update();
    FTagDragging = false;
    FMeasureDragging = false;
    if (FCircleDragging) FFrame.HideEdgeView();
    FCircleDragging = false;
    FTagArea = WholePicture();
}

QRect TLeafImageWindow::WholePicture() const { return QRect(QPoint(0, 0), QPoint(FOrgWidth - 1, FOrgHeight - 1)); }

void TLeafImageWindow::ForgetMarks() {
    FCircleShown = false;
    FTagShown = false;
    FLineShown = false;
    FCrossUnder.clear();
}

void TLeafImageWindow::EnhanceView() {
    if (FScaleDen > 1)
        --FScaleDen;
    else
        ++FScaleNum;
    SetViewScale(FScaleNum, FScaleDen);
}

void TLeafImageWindow::ReduceView() {
    if (FScaleNum > 1)
        --FScaleNum;
    else
        ++FScaleDen;
    SetViewScale(FScaleNum, FScaleDen);
}

void TLeafImageWindow::SearchSettings() {
    FFrame.SetActiveImageWindow(this);
    FFrame.SetSizeText(SizeText());
    for (const char* name : {"SetTagArea1", "LineProfile1", "DistanceMeasurement1", "SetNorthDirection1",
                             "CircleAreaCenter1"})
        SetChecked(FFrame.MenuItem(name), false);
    SetEnabled(FFrame.MenuItem("DoLAIEstimate1"), false);
    for (const char* name : {"CircleAreaCenter1", "SetNorthDirection1", "DoLAIEstimate1", "DoPAREstimate1",
                             "SunTrackToCircleImage1", "CircleAreaScale1"})
        SetEnabled(FFrame.MenuItem(name), FCircleSet);
    if (FCircleSet)
        StoreCircleArea();
    else
        SetEnabled(FFrame.MenuItem("DoLAIEstimateAll"), false);
    // The window's tool comes back with it.
    if (FPickMode) {
        FMeasureMode = false;
        switch (FPickTool) {
            case ptSamplePoint:
            case ptGCP: FTagAreaMode = false; break;
            case ptMoveCircle:
                if (FCircleSet) {
                    SetChecked(FFrame.MenuItem("CircleAreaCenter1"), true);
                    FTagAreaMode = false;
                } else {
                    FPickMode = false;
                    FTagAreaMode = true;
                }
                break;
            case ptSearchColor:
                FTagAreaMode = false;
                SetChecked(FFrame.MenuItem("DoSearchColors1"), true);
                break;
            default:
                FPickMode = false;
                FTagAreaMode = true;
        }
    }
    if (FTagAreaMode) {
        SetChecked(FFrame.MenuItem("SetTagArea1"), true);
        FPickMode = false;
        FMeasureMode = false;
    }
    if (FMeasureMode) {
        FPickMode = false;
        FTagAreaMode = false;
        if (FMeasureTool == mtLineProfile) SetChecked(FFrame.MenuItem("LineProfile1"), true);
        if (FMeasureTool == mtDistance) SetChecked(FFrame.MenuItem("DistanceMeasurement1"), true);
        if (FMeasureTool == mtNorthDirection) SetChecked(FFrame.MenuItem("SetNorthDirection1"), true);
    }
}

int TLeafImageWindow::ImageX(int ScreenX) const { return ScreenToImage(ScreenX, FScaleNum, FScaleDen); }

int TLeafImageWindow::ImageY(int ScreenY) const { return ScreenToImage(ScreenY, FScaleNum, FScaleDen); }

QString TLeafImageWindow::SizeText() const {
    return QStringLiteral("%1×%2 pixels").arg(FPicture->Width()).arg(FPicture->Height());
}

void TLeafImageWindow::closeEvent(QCloseEvent* Event) {
    if (FFrame.ActiveImageWindow() == this) FFrame.SetActiveImageWindow(nullptr);
    if (FIsTempImage) {
        QFile::remove(FWorkFileName);
        FIsTempImage = false;
    }
    // The sample table and the control-point dialog go with their window.
    if (FLookingTable != nullptr) FLookingTable->close();
    if (FAfinDlg != nullptr) FAfinDlg->deleteLater();
    Event->accept();
}

}  // namespace tam32
