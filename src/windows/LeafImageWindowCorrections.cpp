// The image corrections of an image window: the tilt tool, the panorama for
// basal-area counts, the distortion-corrected picture in place and the
// north-up and slope-corrected photograph written to a file.
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/corrections/BasalAreaPanorama.h"
#include "analysis/corrections/HemiImageCorrection.h"
#include "analysis/corrections/TiltCorrection.h"
#include "analysis/geometry/DistortionCorrection.h"
#include "windows/ImageView.h"
#include "windows/ImageWindowFrame.h"
#include "windows/LeafImageWindow.h"

namespace tam32 {

void TLeafImageWindow::StartCorrectDistortion() {
    // The line profile's tool, menu mark and pen, with the tilt estimate at
    // the end of the line; no menu item chooses it.
    StartLineProfile();
    FMeasureTool = mtCorrectDistortion;
}

void TLeafImageWindow::FinishTiltLine() {
    // Without a circle, or when the estimate refuses the line, the rubber
    // line stays shown until the next press erases it.
    if (!FCircleSet) {
        ShowErrorMessage(QStringLiteral("ERR10"));
        return;
    }
    StoreCircleArea();
    NorthForAnalysis = 0.0;
    // A refused estimate has said why.
    if (EstimateTilt(FWorkFileName, *FPicture, {FLineStart, FLineEnd})) return;
    // The turned photograph holds the turned line but none of the marks.
    ForgetMarks();
    DrawCircleArea();
}

void TLeafImageWindow::DoBAMeasurement() {
    if (!FCircleSet) {
        ShowErrorMessage(QStringLiteral("ERR10"));
        return;
    }
    StoreCircleArea();
    NorthForAnalysis = FNorthAngle;
    if (BAMeasurement(FWorkFileName, *FPicture)) return;
    // The panorama is a picture of its own size, shown whole at full size.
    ForgetMarks();
    FPictureWidth = FPicture->Width();
    FPictureHeight = FPicture->Height();
    FOrgWidth = -1;
    FOrgHeight = -1;
    SetViewScale(1, 1);
    FFrame.SetSizeText(SizeText());
}

void TLeafImageWindow::ViewDistortionCorrectedImage() {
    if (ViewCLDImage(FWorkFileName, *FPicture)) return;
    ForgetMarks();
    Image1->update();
}

bool TLeafImageWindow::ViewCorrectedHemiImage(const QString& OutFile) {
    if (!SlopeCorrection) return false;
    if (!FCircleSet) {
        ShowErrorMessage(QStringLiteral("ERR10"));
        return false;
    }
    StoreCircleArea();
    NorthForAnalysis = FNorthAngle;
    return CorrectHemiImageFile(FWorkFileName, OutFile);
}

}  // namespace tam32
