#pragma once
// The sample table of an image window: a small tool window above the frame
// (never above a modal dialog) listing the points clicked with the window's
// sample tool, each with its group number and the group's colour
// ($00BBGGRR, in decimal), so that the groups form blocks of rows in
// increasing order. Its buttons clear the table,
// start a new group in a new colour, delete the current row or its whole
// group, and train the classifier from the samples. Closing frees it.
#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

#include "analysis/colour/DiscriminantTraining.h"
#include "platform/WinTypes.h"

class QColorDialog;
class QTableWidget;
class QToolBar;
class QToolButton;

namespace tam32 {

class TLookingTable : public QWidget {
    Q_OBJECT
public:
    // A top-level tool window of Owner's; asks the first group's colour at
    // once and takes the captions of the caption file only when one is chosen.
    explicit TLookingTable(QWidget* Owner);

    // A row of the current group and colour at the end of the samples.
    void AddSample(int X, int Y);
    // Empties the table and asks the first group's colour again.
    void ClearSamples();
    // The buttons: clear; add a group (only once the current group has a
    // sample, and below 20 groups); run the training; delete the current
    // row; delete every row of the current row's group.
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();

    // Cell (Col, Row) with the rows of the original grid: 0 the header,
    // 1..500 the sample rows.
    QString Cell(int Col, int Row) const;
    // The row that the grid's cursor is on (0 for none), and putting it there.
    int CurrentRow() const;
    void SetCurrentRow(int Row);
    // Rows 1..FRowCount - 1 as the training reads them.
    std::vector<TSampleRow> Samples() const;

    QTableWidget* StringGrid1;
    QToolBar* ToolBar1;
    QToolButton* SpeedButton1;
    QToolButton* SpeedButton2;
    QToolButton* SpeedButton3;
    QToolButton* SpeedButton4;
    QToolButton* SpeedButton5;
    QColorDialog* ColorDialog1;
    // The next free row; rows 1..FRowCount - 1 hold samples.
    int FRowCount = 1;
    // The current group, 1..20 (0 once the only group was deleted).
    int FGroup = 1;
    TColor FGroupColor = 0;
    // The image file whose colours the training reads.
    QString FFileName;

private:
    void FormCreate();
    // The window wide enough for all the buttons, each as wide as its
    // caption needs.
    void FitToCaptions();
    std::optional<TColor> ChooseColor();
    void SetCell(int Col, int Row, const QString& Text);
    // Row Row goes; the rows below move up and "No." is renumbered.
    void DeleteRow(int Row);
    // The colour of a sample row's group cell: its "Color" when that is a
    // whole number of 0 or more.
    std::optional<TColor> RowColor(int Row) const;
};

}  // namespace tam32
