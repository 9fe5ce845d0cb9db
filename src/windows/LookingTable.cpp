#include "windows/LookingTable.h"

#include <QColorDialog>
#include <QHeaderView>
#include <QLayout>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "analysis/core/Messages.h"
#include "windows/GroupColorDelegate.h"

namespace tam32 {
namespace {

constexpr int kSampleRows = 500;
constexpr int kMaxGroup = 20;
const QString kFormKey = QStringLiteral("LOOK");

// Column of each cell; rows as the grid shows them.
enum TColumn { colNo, colGroup, colColor, colX, colY, colCount };

// The designed size of the window and of its buttons; each is widened to
// what its caption needs in the interface's font.
constexpr int kDesignWidth = 317, kDesignHeight = 281, kButtonHeight = 24;

// Captioned by key Key and hinted by the key five places on; Width wide, or
// as wide as the caption needs.
QToolButton* SpeedButton(QToolBar* Bar, const char* Name, int Width, int Key) {
    auto* button = new QToolButton(Bar);
    button->setObjectName(QLatin1String(Name));
    button->setText(GetFormCaption(kFormKey, Key));
    button->setToolTip(GetFormCaption(kFormKey, Key + 5));
    button->setFixedSize(std::max(Width, button->sizeHint().width()), kButtonHeight);
    Bar->addWidget(button);
    return button;
}

}  // namespace

TLookingTable::TLookingTable(QWidget* Owner) : QWidget(Owner, Qt::Tool) {
    setObjectName(QStringLiteral("LookingTable"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(GetFormCaption(kFormKey, 0));
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setFixedHeight(28);
    // Left to right as the window shows them.
    SpeedButton1 = SpeedButton(ToolBar1, "SpeedButton1", 41, 1);
    SpeedButton4 = SpeedButton(ToolBar1, "SpeedButton4", 40, 2);
    SpeedButton2 = SpeedButton(ToolBar1, "SpeedButton2", 80, 3);
    SpeedButton5 = SpeedButton(ToolBar1, "SpeedButton5", 80, 4);
    SpeedButton3 = SpeedButton(ToolBar1, "SpeedButton3", 77, 5);
    connect(SpeedButton1, &QToolButton::clicked, this, &TLookingTable::SpeedButton1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TLookingTable::SpeedButton2Click);
    connect(SpeedButton3, &QToolButton::clicked, this, &TLookingTable::SpeedButton3Click);
    connect(SpeedButton4, &QToolButton::clicked, this, &TLookingTable::SpeedButton4Click);
    connect(SpeedButton5, &QToolButton::clicked, this, &TLookingTable::SpeedButton5Click);

    StringGrid1 = new QTableWidget(kSampleRows, colCount, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setToolTip(QStringLiteral("Clear Table"));
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setDefaultSectionSize(57);
    StringGrid1->verticalHeader()->setDefaultSectionSize(18);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    StringGrid1->setItemDelegate(new TGroupColorDelegate(
        [this](int GridRow) { return GridRow + 1 < FRowCount ? RowColor(GridRow + 1) : std::nullopt; }, StringGrid1));
    ColorDialog1 = new QColorDialog(this);
    ColorDialog1->setObjectName(QStringLiteral("ColorDialog1"));
    ColorDialog1->setOption(QColorDialog::DontUseNativeDialog);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(ToolBar1);
    layout->addWidget(StringGrid1);
    FitToCaptions();
    move(180, 634);
    FormCreate();
}

void TLookingTable::FormCreate() {
    FRowCount = 1;
    FGroup = 1;
    FGroupColor = 0;
    StringGrid1->setHorizontalHeaderLabels(
        {QStringLiteral("No."), QStringLiteral("Group"), QStringLiteral("Color"), QStringLiteral("X"), QStringLiteral("Y")});
    const std::optional<TColor> color = ChooseColor();
    if (!color) return;
    FGroupColor = *color;
}

void TLookingTable::FitToCaptions() {
    // The tool bar holds every button: none goes behind its overflow mark.
    ToolBar1->layout()->invalidate();
    setMinimumSize(std::max(kDesignWidth, ToolBar1->sizeHint().width()), kDesignHeight);
    resize(minimumSize().expandedTo(size()));
}

std::optional<TColor> TLookingTable::ChooseColor() {
    if (ColorDialog1->exec() != QDialog::Accepted) return std::nullopt;
    const QColor chosen = ColorDialog1->selectedColor();
    return RGBToColor(uint8_t(chosen.red()), uint8_t(chosen.green()), uint8_t(chosen.blue()));
}

QString TLookingTable::Cell(int Col, int Row) const {
    if (Row == 0) return StringGrid1->horizontalHeaderItem(Col)->text();
    const QTableWidgetItem* item = StringGrid1->item(Row - 1, Col);
    return item ? item->text() : QString();
}

void TLookingTable::SetCell(int Col, int Row, const QString& Text) {
    if (QTableWidgetItem* item = StringGrid1->item(Row - 1, Col))
        item->setText(Text);
    else
        StringGrid1->setItem(Row - 1, Col, new QTableWidgetItem(Text));
}

int TLookingTable::CurrentRow() const { return StringGrid1->currentRow() + 1; }

void TLookingTable::SetCurrentRow(int Row) { StringGrid1->setCurrentCell(Row - 1, colNo); }

std::optional<TColor> TLookingTable::RowColor(int Row) const {
    bool ok = false;
    const int color = Cell(colColor, Row).toInt(&ok);
    if (!ok || color < 0) return std::nullopt;
    return color;
}

std::vector<TSampleRow> TLookingTable::Samples() const {
    std::vector<TSampleRow> rows;
    for (int row = 1; row < FRowCount; ++row)
        rows.push_back({Cell(colGroup, row), Cell(colColor, row), Cell(colX, row), Cell(colY, row)});
    return rows;
}

void TLookingTable::AddSample(int X, int Y) {
    const int values[colCount] = {FRowCount, FGroup, FGroupColor, X, Y};
    for (int col = 0; col < colCount; ++col) SetCell(col, FRowCount, Format(QStringLiteral("%d"), {values[col]}));
    ++FRowCount;
    StringGrid1->viewport()->update();
}

void TLookingTable::ClearSamples() {
    FRowCount = 1;
    FGroup = 1;
    FGroupColor = 0;
    StringGrid1->clearContents();
    if (const std::optional<TColor> color = ChooseColor()) FGroupColor = *color;
}

void TLookingTable::SpeedButton1Click() { ClearSamples(); }

void TLookingTable::SpeedButton2Click() {
    // A new group only once the current one has a sample.
    if (FRowCount <= 1 || Cell(colGroup, FRowCount - 1) != QString::number(FGroup) || FGroup >= kMaxGroup) return;
    const std::optional<TColor> color = ChooseColor();
    if (!color) return;
    ++FGroup;
    FGroupColor = *color;
}

void TLookingTable::SpeedButton3Click() { TrainClassifier(FFileName, Samples()); }

void TLookingTable::DeleteRow(int Row) {
    --FRowCount;
    for (int row = Row; row <= FRowCount; ++row)
        for (int col = 0; col < colCount; ++col) SetCell(col, row, Cell(col, row + 1));
    for (int row = 1; row < FRowCount; ++row) SetCell(colNo, row, QString::number(row));
    StringGrid1->viewport()->update();
}

void TLookingTable::SpeedButton4Click() {
    const int row = CurrentRow();
    if (row < 1 || row >= FRowCount) return;
    DeleteRow(row);
}

void TLookingTable::SpeedButton5Click() {
    const int row = CurrentRow();
    if (row < 1 || row >= FRowCount) return;
    const QString group = Cell(colGroup, row);
    const int deleted = group.toInt();
    for (int r = FRowCount - 1; r >= 1; --r)
        if (Cell(colGroup, r) == group) DeleteRow(r);
    for (int r = 1; r < FRowCount; ++r) {
        bool ok = false;
        const int number = Cell(colGroup, r).toInt(&ok);
        if (ok && number > deleted) SetCell(colGroup, r, QString::number(number - 1));
    }
    --FGroup;
}

}  // namespace tam32
