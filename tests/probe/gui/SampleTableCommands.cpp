#include "SampleTableCommands.h"

#include <QToolButton>

#include "windows/LeafImageWindow.h"
#include "windows/LookingTable.h"

namespace tam32::probe {

QAbstractButton* SampleTableButton(TLeafImageWindow& Window, const QStringList& Args) {
    TLookingTable* table = Window.LookingTable();
    if (table == nullptr || Args.isEmpty()) return nullptr;
    const QString& word = Args[0];
    if (Args.size() == 1) {
        if (word == QLatin1String("clear")) return table->SpeedButton1;
        if (word == QLatin1String("add-group")) return table->SpeedButton2;
        if (word == QLatin1String("run")) return table->SpeedButton3;
        return nullptr;
    }
    bool ok = false;
    const int row = Args[1].toInt(&ok);
    if (Args.size() != 2 || !ok) return nullptr;
    QToolButton* button = word == QLatin1String("delete-row")     ? table->SpeedButton4
                          : word == QLatin1String("delete-group") ? table->SpeedButton5
                                                                  : nullptr;
    if (button != nullptr) table->SetCurrentRow(row);
    return button;
}

}  // namespace tam32::probe
