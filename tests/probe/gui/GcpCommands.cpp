#include "GcpCommands.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "common/user_reach.h"
#include "windows/AfinDlg.h"
#include "windows/LeafImageWindow.h"

namespace tam32::probe {

bool GcpCommand(TLeafImageWindow& Window, const QStringList& Args, QAbstractButton*& Press) {
    TAfinDlg* dialog = Window.AfinDlg();
    if (dialog == nullptr || Args.size() < 2) return false;
    const QString& word = Args[0];
    if (word == QLatin1String("press") && Args.size() == 2) {
        auto* button = dialog->findChild<QPushButton*>(Args[1]);
        if (button == nullptr) return false;
        test::TurnToPageOf(*button);
        Press = button;
        return true;
    }
    if (word == QLatin1String("type") && Args.size() == 3) {
        if (auto* edit = dialog->findChild<QLineEdit*>(Args[1])) {
            edit->setText(Args[2]);
            return true;
        }
        bool ok = false;
        const int order = Args[2].toInt(&ok);
        if (Args[1] != dialog->DimFiit->objectName() || !ok) return false;
        dialog->DimFiit->setValue(order);
        return true;
    }
    bool ok = false;
    const int row = word.toInt(&ok);
    if (!ok || Args.size() != 3 || row < 1 || row >= dialog->RowCount()) return false;
    dialog->SetCell(1, row, Args[1]);
    dialog->SetCell(2, row, Args[2]);
    return true;
}

}  // namespace tam32::probe
