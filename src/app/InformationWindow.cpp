#include "app/InformationWindow.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "analysis/canopy/LAIReports.h"
#include "analysis/core/Classifier.h"
#include "analysis/core/Messages.h"
#include "platform/Clipboard.h"
#include "windows/GroupColorDelegate.h"

namespace tam32 {

namespace {

const QString kFormKey = QStringLiteral("INFODLG");

QTableWidget* MakeGrid(int Cols, int Rows, int ColWidth, QWidget* Parent) {
    auto* Grid = new QTableWidget(Rows, Cols, Parent);
    // Cells are addressed as (column, row) from the top left, header cells included.
    Grid->horizontalHeader()->hide();
    Grid->verticalHeader()->hide();
    Grid->horizontalHeader()->setDefaultSectionSize(ColWidth);
    Grid->verticalHeader()->setDefaultSectionSize(18);
    return Grid;
}

QWidget* Page(QWidget* Content) {
    auto* Sheet = new QWidget;
    auto* Layout = new QVBoxLayout(Sheet);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->addWidget(Content);
    return Sheet;
}

}  // namespace

std::optional<TColor> GroupRowColor(int Row, int DiscLastGroup, const TColor* GroupColors) {
    if (DiscLastGroup <= 0 || Row < 1 || Row - 1 > DiscLastGroup) return std::nullopt;
    return GroupColors[Row - 1];
}

TInformationWindow::TInformationWindow(QWidget* Parent) : QWidget(Parent) {
    PageControl1 = new QTabWidget(this);
    Results = new QPlainTextEdit;
    Results->setReadOnly(true);
    Results->setLineWrapMode(QPlainTextEdit::NoWrap);
    TabSheet7 = Page(Results);
    StringGrid5 = MakeGrid(6, 10, 60, nullptr);
    StringGrid5->setItemDelegate(new TGroupColorDelegate(
        [this](int Row) { return GroupColorOfRow ? GroupColorOfRow(Row) : std::nullopt; }, StringGrid5));
    GroupColorOfRow = [](int Row) { return GroupRowColor(Row, DiscLastGroup, GroupColors.data()); };
    TabSheet4 = Page(StringGrid5);
    StringGrid7 = MakeGrid(3, 8, 124, nullptr);
    StringGrid7->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid7->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    TabSheet6 = Page(StringGrid7);
    PageControl1->addTab(TabSheet7, QString());
    PageControl1->addTab(TabSheet4, QString());
    PageControl1->addTab(TabSheet6, QString());
    PageControl1->setCurrentWidget(TabSheet7);
    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->addWidget(PageControl1);
    resize(398, 251);

    LocalizeGrids();
    setWindowTitle(GetFormCaption(kFormKey, 0));
    PageControl1->setTabText(0, GetFormCaption(kFormKey, 1));
    PageControl1->setTabText(1, GetFormCaption(kFormKey, 2));
    PageControl1->setTabText(2, GetFormCaption(kFormKey, 3));
}

void TInformationWindow::LocalizeGrids() {
    const struct {
        int Key, Col, Row;
    } Cells[] = {{4, 1, 0}, {5, 2, 0}, {6, 0, 0}, {7, 0, 1}, {8, 0, 2}, {9, 0, 3}, {10, 0, 4}};
    for (const auto& C : Cells) SetCell(StringGrid7, C.Col, C.Row, GetFormCaption(kFormKey, C.Key));
}

void TInformationWindow::closeEvent(QCloseEvent* Event) {
    Event->ignore();
    if (auto* Frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        Frame->showMinimized();
    else
        showMinimized();
}

void TInformationWindow::CopyClassificationToClipboard() { CopyGridToClipboard(StringGrid5, QString()); }

void TInformationWindow::CopyGapsToClipboard() { CopyGridToClipboard(StringGrid7, QString()); }

void TInformationWindow::CopyGridToClipboard(QTableWidget* Grid, const QString& Header) {
    if (Grid == nullptr) return;
    const QString CrLf = QStringLiteral("\r\n");
    QString Text = Header + CrLf;
    for (int Row = 0; Row < Grid->rowCount(); ++Row) {
        Text += Cell(Grid, 0, Row);
        for (int Col = 1; Col < Grid->columnCount(); ++Col) Text += QStringLiteral(", ") + Cell(Grid, Col, Row);
        Text += CrLf;
    }
    Clipboard().Open();
    Clipboard().SetAsText(Text);
    Clipboard().Close();
}

bool TInformationWindow::ShowLAIResults(const QString& FileName) { return tam32::ShowLAIResults(FileName); }

void TInformationWindow::AddBatchResultLine(const QString& FileName) { tam32::AddBatchResultLine(FileName); }

void TInformationWindow::AppendResultLine(const QString& Line) { Results->appendPlainText(Line); }

QTableWidget* TInformationWindow::Grid(TResultGrid Which) const {
    return Which == TResultGrid::Classification ? StringGrid5 : StringGrid7;
}

void TInformationWindow::ShowPage(TResultPage Page) {
    switch (Page) {
        case TResultPage::Report: PageControl1->setCurrentWidget(TabSheet7); break;
        case TResultPage::Classification: PageControl1->setCurrentWidget(TabSheet4); break;
        case TResultPage::GapEstimate: PageControl1->setCurrentWidget(TabSheet6); break;
    }
}

void TInformationWindow::SetCell(QTableWidget* Grid, int Col, int Row, const QString& Text) {
    if (Col >= Grid->columnCount()) Grid->setColumnCount(Col + 1);
    if (Row >= Grid->rowCount()) Grid->setRowCount(Row + 1);
    if (QTableWidgetItem* Item = Grid->item(Row, Col))
        Item->setText(Text);
    else
        Grid->setItem(Row, Col, new QTableWidgetItem(Text));
}

QString TInformationWindow::Cell(const QTableWidget* Grid, int Col, int Row) {
    const QTableWidgetItem* Item = Grid->item(Row, Col);
    return Item ? Item->text() : QString();
}

}  // namespace tam32
