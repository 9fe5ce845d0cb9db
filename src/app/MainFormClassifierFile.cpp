// The frame's commands for the classifier file: the active classifier saved
// for other images and later runs, and loaded again.
#include <QFileDialog>

#include "analysis/colour/ClassifierFile.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "app/MainForm.h"

namespace tam32 {

void TMainForm::SaveDisc3Pars1Click() {
    if (ActiveImageWindow() == nullptr) return;
    if (!ClassifyDone) {
        ShowErrorMessage(QStringLiteral("ERR3"));
        return;
    }
    SaveDialog->setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog->setFileMode(QFileDialog::AnyFile);
    // The frame asks itself before it replaces a file.
    SaveDialog->setOption(QFileDialog::DontConfirmOverwrite);
    if (SaveDialog->exec() != QDialog::Accepted || SaveDialog->selectedFiles().isEmpty()) return;
    const QString name = SaveDialog->selectedFiles().first();
    if (MayWriteFile(name)) SaveClassifierFile(name);
}

void TMainForm::ReLoadDisc3Pars1Click() {
    if (ActiveImageWindow() == nullptr) return;
    OpenDialog->setAcceptMode(QFileDialog::AcceptOpen);
    OpenDialog->setFileMode(QFileDialog::ExistingFile);
    // Not the pictures' filter: a classifier file has no extension of its own.
    OpenDialog->setNameFilter(QString());
    if (OpenDialog->exec() != QDialog::Accepted || OpenDialog->selectedFiles().isEmpty()) return;
    LoadClassifierFile(OpenDialog->selectedFiles().first());
}

}  // namespace tam32
