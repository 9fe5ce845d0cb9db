#include "platform/sourcemanager/SourceSettingsDialog.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>

#include "platform/sourcemanager/ParentWindow.h"
#include "platform/sourcemanager/SaneDevice.h"

namespace tam32::sourcemanager {

SourceSettingsDialog::SourceSettingsDialog(SaneDevice& Device, const QString& Title, QWindow* Parent, bool Modal,
                                           std::function<void(bool Scan)> Finished)
    : FDialog(std::make_unique<QDialog>()) {
    QDialog* dialog = FDialog.get();
    dialog->setWindowTitle(Title);
    dialog->setObjectName(QStringLiteral("SourceSettingsDialog"));
    auto* layout = new QFormLayout(dialog);

    QComboBox* mode = nullptr;
    const QStringList modes = Device.Modes();
    if (!modes.isEmpty()) {
        mode = new QComboBox(dialog);
        mode->addItems(modes);
        mode->setCurrentText(Device.Mode());
        layout->addRow(QStringLiteral("Mode"), mode);
    }
    QSpinBox* resolution = nullptr;
    if (const auto range = Device.Resolutions()) {
        resolution = new QSpinBox(dialog);
        resolution->setRange(range->Min, range->Max);
        resolution->setSingleStep(range->Step);
        resolution->setSuffix(QStringLiteral(" dpi"));
        resolution->setValue(Device.Resolution());
        layout->addRow(QStringLiteral("Resolution"), resolution);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Scan"));
    layout->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    // The mode first: it may change what resolutions the device offers.
    QObject::connect(dialog, &QDialog::finished, dialog, [&Device, mode, resolution, Finished](int Result) {
        const bool scan = Result == QDialog::Accepted;
        if (scan && mode != nullptr) Device.SetMode(mode->currentText());
        if (scan && resolution != nullptr) Device.SetResolution(resolution->value());
        Finished(scan);
    });
    dialog->setWindowModality(Modal ? Qt::ApplicationModal : Qt::NonModal);
    AttachToParent(*dialog, Parent);
    dialog->show();
}

SourceSettingsDialog::~SourceSettingsDialog() {
    FDialog->disconnect();  // closing it here is no answer of the user's
}

}  // namespace tam32::sourcemanager
