#pragma once
// The row counter that long pixel loops show in the status panel: the text
// of "DMS29" formatted with the rows done and the row count. The text is
// looked up once per run, not once per row; a text that does not take two
// numbers is shown as it stands followed by them, as FormatDialogMessage
// shows it.
#include <QString>

namespace tam32 {

struct TRowBlock;

// "Y Line Finished!" for each row Y of a block of a pixel pass, in order.
void ShowLinesFinished(const TRowBlock& Block);

class TRowProgress {
public:
    explicit TRowProgress(int Rows);
    // Row (1-based) of the rows is done.
    void Show(int Row) const;

private:
    int FRows;
    QString FText;
};

}  // namespace tam32
