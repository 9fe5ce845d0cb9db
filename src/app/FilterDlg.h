#pragma once
// The modal dialog in which the user defines the spatial filter's kernel:
// its odd size, its whole-number weights in a grid (column c, row r holding
// the weight of offset (c, r)) and the divisor of every weighted sum,
// typed or loaded from a kernel file. OK stores them in the filter
// settings; nothing is stored before.
#include <QDialog>

#include "windows/FieldRefusal.h"

class QFileDialog;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace tam32 {

struct TFilterKernel;

class TFilterDlg : public QDialog {
    Q_OBJECT
public:
    // Shows the kernel in force (its size, weights and divisor), or a 3 x 3
    // kernel of 1 with divisor 1 while none is defined.
    explicit TFilterDlg(QWidget* Parent = nullptr);

    // The grid takes the size chosen, every cell "1".
    void SpinEdit1Change();
    // Asks for a kernel file and loads it.
    void Button1Click();
    // Puts the kernel of FileName into the size, the grid (in file order, row
    // by row) and the divisor. A file that is not a whole kernel gives a
    // message box saying why, changes nothing and returns False.
    bool LoadKernelFile(const QString& FileName);
    // Stores the kernel and closes; a cell that is not a whole number of 32
    // bits, or a divisor of 0, is refused (ERR22, naming it) and keeps the
    // dialog open with the settings as they were.
    void OKBtnClick();

    // Cell (Col, Row) of the grid.
    QString Cell(int Col, int Row) const;
    void SetCell(int Col, int Row, const QString& Text);

    QTableWidget* StringGrid1;
    QSpinBox* SpinEdit1;
    QLabel* Label1;
    QSpinBox* SpinEdit2;
    QLabel* Label2;
    QPushButton* Button1;
    QFileDialog* OpenDialog1;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

private:
    void FormCreate();
    // The size without its change handler, then the grid of "1".
    void ShowSize(int Size);
    void ShowKernel(const TFilterKernel& Kernel);

    TFieldRefusal FRefusal;
};

}  // namespace tam32
