#pragma once
// The control-point dialog of an image window: a table of ground control
// points, each pairing a world position X, Y (typed by the user) with the
// column and row where the point lies in the picture (picked with the
// window's control-point tool); the least-squares polynomial from world to
// picture with each point's residual; and the extent and pixel size of the
// corrected picture that the window's correction writes. A modeless tool
// window above the frame (never above a modal dialog); closing it only
// hides it, with its points, fit and output kept for the next showing.
#include <QDialog>
#include <vector>

#include "analysis/corrections/GcpCorrection.h"
#include "analysis/corrections/GcpFit.h"
#include "windows/FieldRefusal.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class QWidget;

namespace tam32 {

class TAfinDlg : public QDialog {
    Q_OBJECT
public:
    // A top-level tool window of Owner's.
    explicit TAfinDlg(QWidget* Owner);

    // The point picked at (Col, Row) of the picture fills the picture's
    // cells of the next row; a full table grows by that row.
    void AddGCP(int Col, int Row);
    // Empties the table (10 rows again), the fit and the output size.
    void ClearTableClick();
    // The order of the next fit.
    void DimFiitChange();
    // Fits the column and the row over the complete rows (X, Y, Col and Row
    // all given) and shows each one's residual √(dCol² + dRow²). Points
    // that do not determine the terms give the message box of "DMS106"
    // and change nothing; a cell that is no number is refused (ERR22, naming
    // the point and the column).
    void AnalyzeClick();
    // The extent edits from the smallest and largest X and Y of the complete rows.
    void Auto_SizeClick();
    // The output size from the extent and the pixel size, shown as
    // "W×H[dpi dpi]" (the dots per inch for the unit chosen). Refused
    // (ERR22, naming the field to mend), and nothing changes, for a value
    // that is no number, a pixel size not above 0, an empty or reversed
    // extent, or an output beyond 32767 pixels a side or 100,000,000 pixels.
    void Calc_IMSClick();
    // Hides the dialog, as Escape outside the table and the close box do.
    void OKBtnClick();

    // Cell (Col, Row) with the rows of the original grid: 0 the header,
    // 1.. the points; RowCount counts the header too.
    QString Cell(int Col, int Row) const;
    void SetCell(int Col, int Row, const QString& Text);
    int RowCount() const;

    // What the correction reads: the fit, the output grid and whether its
    // size is shown.
    TGcpModel Model() const;

    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QTableWidget* DataGrid;
    QPushButton* Analyze;
    QSpinBox* DimFiit;
    QLabel* Label1;
    QPushButton* ClearTable;
    QLineEdit* im_x0;
    QLineEdit* im_x1;
    QLineEdit* im_y0;
    QLineEdit* im_y1;
    QLineEdit* Pixel_Size;
    QPushButton* Button1;
    QComboBox* ScaleInfo;
    QPushButton* Auto_Size;
    QPushButton* Calc_IMS;
    QLabel* Image_Size;
    QFrame* Shape1;
    QPushButton* OKBtn;

    // The output extent (lower and upper world X and Y), world units per
    // output pixel and the output size, as last computed.
    double X0 = 0.0, Y0 = 0.0, X1 = 0.0, Y1 = 0.0;
    double PixelSize = 0.0;
    int OutWidth = 0, OutHeight = 0;
    int FitOrder = 1;
    // Rows 1..GCPCount hold the picked points.
    int GCPCount = 0;
    // The last fit, in the coordinates it was solved in: the residuals and
    // the correction use it.
    TGcpFit Fit;
    // Its coefficients for the terms [1, X, Y, X², Y², ..., X^k, Y^k] of the
    // world coordinates, as shown; 2 k + 1 each, empty until a fit succeeds.
    std::vector<double> CoefCol, CoefRow;

private:
    void FormCreate();
    // Cells 1..4 of Row are all given.
    bool IsComplete(int Row) const;
    // The points of the complete rows, with their rows; False, after the
    // cell's refusal, when a cell is no number.
    bool CompletePoints(std::vector<TControlPoint>& Points, std::vector<int>& Rows);

    TFieldRefusal FRefusal;
};

}  // namespace tam32
