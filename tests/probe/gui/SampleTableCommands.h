#pragma once
// The buttons of an image window's sample table as a script presses them:
// "table clear|add-group|run" and "table delete-row|delete-group ROW" (ROW a
// sample row from 1, made the current row first). The colour dialogs they
// open take the script's queued answers.
#include <QStringList>

class QAbstractButton;

namespace tam32 {
class TLeafImageWindow;
}

namespace tam32::probe {

// The button that the words name (the current row set first), for the
// script to press; nullptr when the window has no table or the words do
// not fit.
QAbstractButton* SampleTableButton(TLeafImageWindow& Window, const QStringList& Args);

}  // namespace tam32::probe
