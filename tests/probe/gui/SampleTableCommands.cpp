#include "SampleTableCommands.h"

#include <QToolButton>

#include "windows/LeafImageWindow.h"
#include "windows/LookingTable.h"

namespace tam32::probe {

bool SampleTableCommand(TLeafImageWindow& Window, const QStringList& Args) {
    TLookingTable* table = Window.LookingTable();
    if (table == nullptr || Args.isEmpty()) return false;
    const QString& word = Args[0];
    if (Args.size() == 1) {
        if (word == QLatin1String("clear")) table->SpeedButton1->click();
        else if (word == QLatin1String("add-group")) table->SpeedButton2->click();
        else if (word == QLatin1String("run")) table->SpeedButton3->click();
        else return false;
        return true;
    }
    bool ok = false;
    const int row = Args[1].toInt(&ok);
    if (Args.size() != 2 || !ok) return false;
    QToolButton* button = word == QLatin1String("delete-row")     ? table->SpeedButton4
                          : word == QLatin1String("delete-group") ? table->SpeedButton5
                                                                  : nullptr;
    if (button == nullptr) return false;
    table->SetCurrentRow(row);
    button->click();
    return true;
}

}  // namespace tam32::probe
