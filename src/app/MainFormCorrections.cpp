// The frame's commands for corrected pictures of the active image window:
// the distortion-corrected picture written to a new file and opened, or
// shown in the window; the north-up and slope-corrected photograph, the
// filtered picture and the control-point-corrected photograph written to a
// new file and opened; and the filter's kernel.
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <cmath>
#include <optional>

#include "analysis/core/EngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/corrections/SpatialFilter.h"
#include "analysis/geometry/DistortionCorrection.h"
#include "app/CorrectedPictureName.h"
#include "app/FilterDlg.h"
#include "app/MainForm.h"
#include "platform/PictureFormats.h"
#include "windows/LeafImageWindow.h"

namespace tam32 {
namespace {

// "ERR4" and False when the distortion parameter is too small to correct.
bool DistortionParameterUsable() {
    if (std::fabs(DistortParameter) >= 0.1) return true;
    ShowErrorMessage(QStringLiteral("ERR4"));
    return false;
}

// The extensions of the picture formats that the program reads: the
// built-in readers' and the loaded plug-ins'.
QStringList ReadableExtensions() {
    QStringList extensions;
    for (const TFileFormat& format : PictureFormats::FileFormats()) extensions << format.Extension;
    return extensions;
}

// The name of the new BMP file that the user gives in Dialog, preset to
// Preset's name with the extension ".BMP", as CorrectedPictureName makes
// it; empty when cancelled, or when refused after a message box. The
// dialog is left without a preset name.
QString AskBitmapName(QFileDialog& Dialog, const QString& Preset) {
    const QFileInfo preset(Preset);
    Dialog.setAcceptMode(QFileDialog::AcceptSave);
    Dialog.setFileMode(QFileDialog::AnyFile);
    // The frame asks itself before it replaces a file.
    Dialog.setOption(QFileDialog::DontConfirmOverwrite);
    Dialog.setNameFilter(QStringLiteral("Bitmap (*.BMP)"));
    Dialog.setDirectory(preset.absolutePath());
    Dialog.selectFile(preset.completeBaseName() + QStringLiteral(".BMP"));
    QString name;
    if (Dialog.exec() == QDialog::Accepted && !Dialog.selectedFiles().isEmpty()) name = Dialog.selectedFiles().first();
    Dialog.selectFile(QString());
    Dialog.setNameFilter(QString());
    if (name.isEmpty()) return name;
    const std::optional<QString> written = CorrectedPictureName(name, ReadableExtensions());
    if (!written)
        EngineHost().ShowMessage(FormatDialogMessage(QStringLiteral("DMS116"), {QDir::toNativeSeparators(name)}));
    return written.value_or(QString());
}

}  // namespace

// The parameter is checked also without an image window.
void TMainForm::MakeCLDFile0Click() {
    if (!DistortionParameterUsable()) return;
    CLDFullImage = true;
    MakeCLDFileAs();
}

void TMainForm::MakeCLDFile1Click() {
    if (!DistortionParameterUsable()) return;
    CLDFullImage = false;
    MakeCLDFileAs();
}

void TMainForm::MakeCLDFileAs() {
    if (FActiveImageWindow == nullptr) return;
    const QString work = FActiveImageWindow->FWorkFileName;
    const QString name = AskBitmapName(*SaveDialog, work);
    if (name.isEmpty() || !MayWriteFile(name)) return;
    if (!MakeCLDFile(work, name)) CreateMDIChild(name, false);
}

void TMainForm::ViewCLDImage0Click() {
    if (FActiveImageWindow == nullptr || !DistortionParameterUsable()) return;
    CLDFullImage = true;
    FActiveImageWindow->ViewDistortionCorrectedImage();
}

void TMainForm::ViewCLDImage1Click() {
    if (FActiveImageWindow == nullptr || !DistortionParameterUsable()) return;
    CLDFullImage = false;
    FActiveImageWindow->ViewDistortionCorrectedImage();
}

void TMainForm::ViewCorrectedHemiImageClick() {
    if (FActiveImageWindow == nullptr) return;
    if (!SlopeCorrection) {
        ShowErrorMessage(QStringLiteral("ERR28"));
        return;
    }
    TLeafImageWindow* window = FActiveImageWindow;
    const QString name = AskBitmapName(*SaveDialog, window->FFileName);
    if (name.isEmpty() || !MayWriteFile(name)) return;
    if (window->ViewCorrectedHemiImage(name)) CreateMDIChild(name, false);
}

void TMainForm::SelectFilterClick() {
    TFilterDlg dialog(this);
    dialog.exec();
}

void TMainForm::DoFilteringClick() {
    if (FActiveImageWindow == nullptr || !FilterDefined) return;
    const QString work = FActiveImageWindow->FWorkFileName;
    const QString name = AskBitmapName(*SaveDialog, work);
    if (name.isEmpty() || !MayWriteFile(name)) return;
    if (!FilterImageFile(work, name)) CreateMDIChild(name, false);
}

void TMainForm::AfineTransClick() {
    if (FActiveImageWindow == nullptr) return;
    TLeafImageWindow* window = FActiveImageWindow;
    if (!window->HasGcpFit()) {
        ShowErrorMessage(QStringLiteral("ERR29"));
        return;
    }
    const QString name = AskBitmapName(*SaveDialog, window->FFileName);
    if (name.isEmpty() || !MayWriteFile(name)) return;
    if (window->DoAfineTrans(name)) CreateMDIChild(name, false);
}

}  // namespace tam32
