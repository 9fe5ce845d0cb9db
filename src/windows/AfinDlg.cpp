#include "windows/AfinDlg.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "analysis/core/EngineHost.h"
#include "analysis/core/Messages.h"
#include "platform/DelphiFormat.h"
#include "windows/GridCells.h"
#include "windows/NamedWidgets.h"

namespace tam32 {
namespace {

const QString kFormKey = QStringLiteral("AFINDLG");
constexpr int kInitialRows = 10;  // the header and nine points

enum TColumn { colError, colX, colY, colCol, colRow, colCount };

// The residual column is written by the fit only.
class TReadOnlyDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget*, const QStyleOptionViewItem&, const QModelIndex&) const override { return nullptr; }
};

// The control-point table keeps Enter and Escape to itself, so that typing
// the points never closes the dialog: Enter starts an edit of the current
// cell, or commits the edit in progress and moves down a row; Escape
// cancels an edit.
class TPointGrid : public QTableWidget {
public:
    using QTableWidget::QTableWidget;

protected:
    void keyPressEvent(QKeyEvent* Event) override {
        switch (Event->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
                // While editing, the editor commits the cell itself.
                if (state() != EditingState) edit(currentIndex());
                Event->accept();
                break;
            case Qt::Key_Escape: Event->accept(); break;
            default: QTableWidget::keyPressEvent(Event);
        }
    }
    void closeEditor(QWidget* Editor, QAbstractItemDelegate::EndEditHint Hint) override {
        QTableWidget::closeEditor(Editor, Hint);
        if (Hint == QAbstractItemDelegate::SubmitModelCache && currentRow() + 1 < rowCount())
            setCurrentCell(currentRow() + 1, currentColumn());
    }
};

}  // namespace

TAfinDlg::TAfinDlg(QWidget* Owner) : QDialog(Owner, Qt::Tool) {
    setObjectName(QStringLiteral("AfinDlg"));
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));

    TabSheet1 = new QWidget(PageControl1);
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    DataGrid = new TPointGrid(kInitialRows - 1, colCount, TabSheet1);
    DataGrid->setObjectName(QStringLiteral("DataGrid"));
    DataGrid->verticalHeader()->hide();
    DataGrid->horizontalHeader()->setDefaultSectionSize(64);
    DataGrid->verticalHeader()->setDefaultSectionSize(20);
    DataGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DataGrid->setItemDelegateForColumn(colError, new TReadOnlyDelegate(DataGrid));
    Analyze = NamedButton(TabSheet1, "Analyze", QStringLiteral("解析"));
    DimFiit = new QSpinBox(TabSheet1);
    DimFiit->setObjectName(QStringLiteral("DimFiit"));
    DimFiit->setRange(1, kMaxFitOrder);
    Label1 = new QLabel(QStringLiteral("次式"), TabSheet1);
    ClearTable = NamedButton(TabSheet1, "ClearTable", QStringLiteral("クリア"));
    auto* fitRow = new QHBoxLayout;
    fitRow->addWidget(Analyze);
    fitRow->addWidget(DimFiit);
    fitRow->addWidget(Label1);
    fitRow->addStretch();
    fitRow->addWidget(ClearTable);
    auto* sheet1 = new QVBoxLayout(TabSheet1);
    sheet1->addWidget(DataGrid);
    sheet1->addLayout(fitRow);
    PageControl1->addTab(TabSheet1, QStringLiteral("GCP設定"));

    TabSheet2 = new QWidget(PageControl1);
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    Shape1 = new QFrame(TabSheet2);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameShape(QFrame::Box);
    im_x0 = NamedEdit(Shape1, "im_x0");
    im_x1 = NamedEdit(Shape1, "im_x1");
    im_y0 = NamedEdit(Shape1, "im_y0");
    im_y1 = NamedEdit(Shape1, "im_y1");
    // The extent: lower and upper X across, lower and upper Y up and down.
    for (auto [edit, hint] :
         {std::pair(im_x0, "X0"), std::pair(im_x1, "X1"), std::pair(im_y0, "Y0"), std::pair(im_y1, "Y1")})
        edit->setPlaceholderText(QLatin1String(hint));
    auto* extent = new QGridLayout(Shape1);
    extent->addWidget(im_y1, 0, 1);
    extent->addWidget(im_x0, 1, 0);
    extent->addWidget(im_x1, 1, 2);
    extent->addWidget(im_y0, 2, 1);
    Pixel_Size = NamedEdit(TabSheet2, "Pixel_Size", QStringLiteral("1"));
    Button1 = NamedButton(TabSheet2, "Button1", QStringLiteral("Pixel Size"));
    ScaleInfo = new QComboBox(TabSheet2);
    ScaleInfo->setObjectName(QStringLiteral("ScaleInfo"));
    ScaleInfo->addItems({QStringLiteral("mm"), QStringLiteral("cm"), QStringLiteral("m")});
    Auto_Size = NamedButton(TabSheet2, "Auto_Size", QStringLiteral("Auto_Size"));
    Calc_IMS = NamedButton(TabSheet2, "Calc_IMS", QStringLiteral("Calc Image Size"));
    Image_Size = new QLabel(TabSheet2);
    Image_Size->setObjectName(QStringLiteral("Image_Size"));
    auto* sheet2 = new QGridLayout(TabSheet2);
    sheet2->addWidget(Shape1, 0, 0, 1, 3);
    sheet2->addWidget(Button1, 1, 0);
    sheet2->addWidget(Pixel_Size, 1, 1);
    sheet2->addWidget(ScaleInfo, 1, 2);
    sheet2->addWidget(Auto_Size, 2, 0);
    sheet2->addWidget(Calc_IMS, 2, 1);
    sheet2->addWidget(Image_Size, 3, 0, 1, 3);
    sheet2->setRowStretch(4, 1);
    PageControl1->addTab(TabSheet2, QStringLiteral("出力設定"));

    OKBtn = NamedButton(this, "OKBtn", QStringLiteral("閉じる"));
    OKBtn->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(buttons);

    connect(Analyze, &QPushButton::clicked, this, &TAfinDlg::AnalyzeClick);
    connect(DimFiit, &QSpinBox::valueChanged, this, &TAfinDlg::DimFiitChange);
    connect(ClearTable, &QPushButton::clicked, this, &TAfinDlg::ClearTableClick);
    connect(Auto_Size, &QPushButton::clicked, this, &TAfinDlg::Auto_SizeClick);
    connect(Calc_IMS, &QPushButton::clicked, this, &TAfinDlg::Calc_IMSClick);
    connect(OKBtn, &QPushButton::clicked, this, &TAfinDlg::OKBtnClick);
    resize(360, 330);
    FormCreate();
}

void TAfinDlg::FormCreate() {
    DataGrid->setHorizontalHeaderLabels({QStringLiteral("Error"), QStringLiteral("X"), QStringLiteral("Y"),
                                         QStringLiteral("Col"), QStringLiteral("Row")});
    GCPCount = 0;
    FitOrder = 1;
    Fit = {};
    CoefCol.clear();
    CoefRow.clear();
    Image_Size->clear();
    ScaleInfo->setCurrentIndex(0);
    setWindowTitle(GetFormCaption(kFormKey, 0));
    PageControl1->setTabText(0, GetFormCaption(kFormKey, 1));
    PageControl1->setTabText(1, GetFormCaption(kFormKey, 2));
    Analyze->setText(GetFormCaption(kFormKey, 3));
    Label1->setText(GetFormCaption(kFormKey, 4));
    ClearTable->setText(GetFormCaption(kFormKey, 5));
    OKBtn->setText(GetFormCaption(kFormKey, 6));
    // The extent and the pixel size have no label of their own: a refusal
    // names them so.
    for (QLineEdit* edit : {im_x0, im_x1, im_y0, im_y1})
        edit->setAccessibleName(FormatDialogMessage(QStringLiteral("DMS92"), {edit->placeholderText()}));
    Pixel_Size->setAccessibleName(Button1->text());
}

QString TAfinDlg::Cell(int Col, int Row) const {
    return Row == 0 ? DataGrid->horizontalHeaderItem(Col)->text() : CellText(*DataGrid, Row - 1, Col);
}

void TAfinDlg::SetCell(int Col, int Row, const QString& Text) { SetCellText(*DataGrid, Row - 1, Col, Text); }

int TAfinDlg::RowCount() const { return DataGrid->rowCount() + 1; }

void TAfinDlg::AddGCP(int Col, int Row) {
    ++GCPCount;
    if (RowCount() <= GCPCount) DataGrid->setRowCount(GCPCount);
    SetCell(colCol, GCPCount, QString::number(Col));
    SetCell(colRow, GCPCount, QString::number(Row));
}

void TAfinDlg::ClearTableClick() {
    GCPCount = 0;
    DataGrid->setRowCount(kInitialRows - 1);
    for (int row = 1; row < kInitialRows; ++row)
        for (int col = 0; col < colCount; ++col) SetCell(col, row, QString());
    Fit = {};
    CoefCol.clear();
    CoefRow.clear();
    Image_Size->clear();
}

void TAfinDlg::DimFiitChange() { FitOrder = DimFiit->value(); }

bool TAfinDlg::IsComplete(int Row) const {
    for (int col = colX; col <= colRow; ++col)
        if (Cell(col, Row).isEmpty()) return false;
    return true;
}

bool TAfinDlg::CompletePoints(std::vector<TControlPoint>& Points, std::vector<int>& Rows) {
    for (int row = 1; row <= GCPCount; ++row) {
        if (!IsComplete(row)) continue;
        double values[4];
        for (int col = colX; col <= colRow; ++col) {
            const std::optional<double> value = TypedNumber(Cell(col, row));
            if (!value) {
                DataGrid->setCurrentCell(row - 1, col);
                FRefusal.Refuse(*DataGrid, FormatDialogMessage(QStringLiteral("DMS93"), {row, Cell(col, 0)}));
                return false;
            }
            values[col - colX] = *value;
        }
        Points.push_back({values[0], values[1], values[2], values[3]});
        Rows.push_back(row);
    }
    return true;
}

void TAfinDlg::AnalyzeClick() {
    std::vector<TControlPoint> points;
    std::vector<int> rows;
    if (!CompletePoints(points, rows)) return;
    std::optional<TGcpFit> fit = FitGcp(points, FitOrder);
    if (!fit) {
        EngineHost().ShowMessage(GetDialogMessage(QStringLiteral("DMS106")));
        return;
    }
    FRefusal.Accepted();
    Fit = std::move(*fit);
    TGcpCoefficients world = WorldCoefficients(Fit);
    CoefCol = std::move(world.Col);
    CoefRow = std::move(world.Row);
    for (int row = 1; row <= GCPCount; ++row) SetCell(colError, row, QString());
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double dCol = points[i].Col - Fit.ColAt(points[i].X, points[i].Y);
        const double dRow = points[i].Row - Fit.RowAt(points[i].X, points[i].Y);
        SetCell(colError, rows[i], Format(QStringLiteral("%4.3f"), {std::sqrt(dRow * dRow + dCol * dCol)}));
    }
}

void TAfinDlg::Auto_SizeClick() {
    std::vector<TControlPoint> points;
    std::vector<int> rows;
    if (!CompletePoints(points, rows) || points.empty()) return;
    const auto [left, right] =
        std::minmax_element(points.begin(), points.end(), [](auto& A, auto& B) { return A.X < B.X; });
    const auto [bottom, top] =
        std::minmax_element(points.begin(), points.end(), [](auto& A, auto& B) { return A.Y < B.Y; });
    X0 = left->X;
    X1 = right->X;
    Y0 = bottom->Y;
    Y1 = top->Y;
    im_x0->setText(FloatToStr(X0));
    im_x1->setText(FloatToStr(X1));
    im_y0->setText(FloatToStr(Y0));
    im_y1->setText(FloatToStr(Y1));
}

void TAfinDlg::Calc_IMSClick() {
    QLineEdit* const edits[] = {im_x0, im_x1, im_y0, im_y1, Pixel_Size};
    std::array<double, std::size(edits)> typed{};
    for (std::size_t i = 0; i < typed.size(); ++i) {
        const std::optional<double> value = TypedNumber(edits[i]->text());
        if (!value) {
            FRefusal.Refuse(*edits[i]);
            return;
        }
        typed[i] = *value;
    }
    const auto [x0, x1, y0, y1, pixel] = typed;
    const TGcpSize size = GcpOutputSize(x0, x1, y0, y1, pixel);
    if (size.Fault != TGcpSizeFault::None) {
        // An extent without a whole pixel needs its upper bound mended.
        FRefusal.Refuse(size.Fault == TGcpSizeFault::XExtent   ? *im_x1
                        : size.Fault == TGcpSizeFault::YExtent ? *im_y1
                                                               : *Pixel_Size);
        return;
    }
    FRefusal.Accepted();
    X0 = x0;
    X1 = x1;
    Y0 = y0;
    Y1 = y1;
    PixelSize = pixel;
    OutWidth = size.Width;
    OutHeight = size.Height;
    QString caption = QStringLiteral("%1×%2").arg(OutWidth).arg(OutHeight);
    // Inches of 25.4 mm, 2.54 cm or 0.0254 m.
    constexpr double kInch[] = {25.4, 2.54, 0.0254};
    if (const int unit = ScaleInfo->currentIndex(); unit >= 0 && unit < 3)
        caption += QStringLiteral("[") + FloatToStr(kInch[unit] / PixelSize) + QStringLiteral(" dpi]");
    Image_Size->setText(caption);
}

void TAfinDlg::OKBtnClick() { close(); }

TGcpModel TAfinDlg::Model() const {
    return {Fit, OutWidth, OutHeight, PixelSize, X0, Y0, !Image_Size->text().isEmpty()};
}

}  // namespace tam32
