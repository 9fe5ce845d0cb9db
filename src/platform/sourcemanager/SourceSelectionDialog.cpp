#include "platform/sourcemanager/SourceSelectionDialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/sourcemanager/ParentWindow.h"

namespace tam32::sourcemanager {

int ChooseSource(const std::vector<SourceDevice>& Devices, int Current, QWindow* Parent) {
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Select Source"));
    dialog.setObjectName(QStringLiteral("SelectSourceDialog"));
    auto* list = new QListWidget(&dialog);
    for (const SourceDevice& device : Devices)
        list->addItem(QStringLiteral("%1  (%2 %3)")
                          .arg(QString::fromUtf8(device.Name), QString::fromUtf8(device.Vendor),
                               QString::fromUtf8(device.Model)));
    list->setCurrentRow(Current);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Select"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(list);
    layout->addWidget(buttons);
    dialog.setWindowModality(Qt::ApplicationModal);
    AttachToParent(dialog, Parent);
    if (dialog.exec() != QDialog::Accepted) return -1;
    return list->currentRow();
}

}  // namespace tam32::sourcemanager
