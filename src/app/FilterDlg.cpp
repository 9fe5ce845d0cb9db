#include "app/FilterDlg.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <optional>

#include "analysis/core/EngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/corrections/FilterKernel.h"
#include "windows/GridCells.h"
#include "windows/NamedWidgets.h"

namespace tam32 {
namespace {

constexpr int kCellWidth = 50, kCellHeight = 25;

// A size spin box that takes odd values only: an even one typed is not
// accepted and goes up to the next odd one when the editing ends.
class TOddSpinBox : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString& Text, int& Pos) const override {
        const QValidator::State state = QSpinBox::validate(Text, Pos);
        if (state == QValidator::Acceptable && valueFromText(Text) % 2 == 0) return QValidator::Intermediate;
        return state;
    }
    void fixup(QString& Text) const override {
        bool ok = false;
        const int value = locale().toInt(Text, &ok);
        if (ok && value % 2 == 0) Text = textFromValue(std::min(value + 1, maximum()));
    }
};

}  // namespace

TFilterDlg::TFilterDlg(QWidget* Parent) : QDialog(Parent) {
    setObjectName(QStringLiteral("FilterDlg"));
    setWindowTitle(QStringLiteral("Spatial Filter"));
    StringGrid1 = new QTableWidget(3, 3, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setDefaultSectionSize(kCellWidth);
    StringGrid1->verticalHeader()->setDefaultSectionSize(kCellHeight);
    StringGrid1->setMinimumSize(3 * kCellWidth + 4, 3 * kCellHeight + 4);

    SpinEdit1 = NamedSpinEdit<TOddSpinBox>(this, "SpinEdit1", 1, kMaxFilterSize);
    SpinEdit1->setSingleStep(2);
    SpinEdit1->setValue(3);
    // The grid follows the size once it is typed in full.
    SpinEdit1->setKeyboardTracking(false);
    Label1 = BuddyLabel(this, QStringLiteral("Filter Size"), SpinEdit1);
    SpinEdit2 = NamedSpinEdit(this, "SpinEdit2", INT_MIN, INT_MAX);
    SpinEdit2->setValue(1);
    Label2 = BuddyLabel(this, QStringLiteral("Filter×1/"), SpinEdit2);
    Button1 = new QPushButton(QStringLiteral("<Load>"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    OpenDialog1 = new QFileDialog(this);
    OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
    OpenDialog1->setFileMode(QFileDialog::ExistingFile);
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setAutoDefault(false);

    auto* settings = new QGridLayout;
    settings->addWidget(Label1, 0, 0);
    settings->addWidget(SpinEdit1, 0, 1);
    settings->addWidget(Label2, 1, 0);
    settings->addWidget(SpinEdit2, 1, 1);
    settings->addWidget(Button1, 2, 0, 1, 2);
    settings->setRowStretch(3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* top = new QHBoxLayout;
    top->addWidget(StringGrid1, 1);
    top->addLayout(settings);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    connect(SpinEdit1, &QSpinBox::valueChanged, this, &TFilterDlg::SpinEdit1Change);
    connect(Button1, &QPushButton::clicked, this, &TFilterDlg::Button1Click);
    connect(OKBtn, &QPushButton::clicked, this, &TFilterDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TFilterDlg::reject);
    FormCreate();
}

void TFilterDlg::FormCreate() {
    if (const std::optional<TFilterKernel> kernel = DefinedFilterKernel()) {
        // The stored divisor too, so that OK without a change keeps it.
        ShowKernel(*kernel);
        return;
    }
    ShowSize(IsFilterSize(FilterSize) ? FilterSize : 3);
}

void TFilterDlg::ShowSize(int Size) {
    {
        const QSignalBlocker blocker(SpinEdit1);
        SpinEdit1->setValue(Size);
    }
    SpinEdit1Change();
}

void TFilterDlg::ShowKernel(const TFilterKernel& Kernel) {
    ShowSize(Kernel.Size);
    for (int row = 0; row < Kernel.Size; ++row)
        for (int col = 0; col < Kernel.Size; ++col) SetCell(col, row, QString::number(Kernel.Weight(col, row)));
    SpinEdit2->setValue(Kernel.Divisor);
}

QString TFilterDlg::Cell(int Col, int Row) const { return CellText(*StringGrid1, Row, Col); }

void TFilterDlg::SetCell(int Col, int Row, const QString& Text) { SetCellText(*StringGrid1, Row, Col, Text); }

void TFilterDlg::SpinEdit1Change() {
    const int size = SpinEdit1->value();
    StringGrid1->setRowCount(size);
    StringGrid1->setColumnCount(size);
    for (int row = 0; row < size; ++row)
        for (int col = 0; col < size; ++col) SetCell(col, row, QStringLiteral("1"));
}

void TFilterDlg::Button1Click() {
    if (OpenDialog1->exec() != QDialog::Accepted || OpenDialog1->selectedFiles().isEmpty()) return;
    LoadKernelFile(OpenDialog1->selectedFiles().first());
}

bool TFilterDlg::LoadKernelFile(const QString& FileName) {
    QString message;
    const std::optional<TFilterKernel> kernel = ReadKernelFile(FileName, message);
    if (!kernel) {
        EngineHost().ShowMessage(message);
        return false;
    }
    ShowKernel(*kernel);
    return true;
}

void TFilterDlg::OKBtnClick() {
    TFilterKernel kernel;
    kernel.Size = SpinEdit1->value();
    kernel.Divisor = SpinEdit2->value();
    if (!IsFilterSize(kernel.Size)) {
        FRefusal.Refuse(*SpinEdit1);
        return;
    }
    for (int row = 0; row < kernel.Size; ++row)
        for (int col = 0; col < kernel.Size; ++col) {
            bool ok = false;
            kernel.Weights.push_back(Cell(col, row).trimmed().toInt(&ok));
            if (!ok) {
                StringGrid1->setCurrentCell(row, col);
                FRefusal.Refuse(*StringGrid1, FormatDialogMessage(QStringLiteral("DMS91"), {col + 1, row + 1}));
                return;
            }
        }
    if (kernel.Divisor == 0) {
        FRefusal.Refuse(*SpinEdit2);
        return;
    }
    StoreFilterKernel(kernel);
    FRefusal.Accepted();
    accept();
}

}  // namespace tam32
