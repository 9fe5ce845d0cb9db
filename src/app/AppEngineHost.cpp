#include "app/AppEngineHost.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTableWidget>

#include "app/InformationWindow.h"
#include "app/LineProfViewer.h"
#include "platform/Clipboard.h"
#include "platform/VectorState.h"

namespace tam32 {
namespace {

constexpr qint64 kRepaintIntervalMs = 33;

}  // namespace

TAppEngineHost::TAppEngineHost(QLabel& StatusPanel, TInformationWindow& Results, QWidget* Dialogs)
    : FStatusPanel(StatusPanel), FResults(Results), FDialogs(Dialogs) {}

void TAppEngineHost::SetStatusText(const QString& Text) {
    FStatusPanel.setText(Text);
    if (!FSinceRepaint.isValid() || FSinceRepaint.elapsed() >= kRepaintIntervalMs) {
        FStatusPanel.repaint();
        FSinceRepaint.start();
    }
    // Analyses call these once per row: hand their maths back clean vector state.
    ClearUpperVectorState();
}

void TAppEngineHost::AppendResultLine(const QString& Line) {
    FResults.AppendResultLine(Line);
    ClearUpperVectorState();
}

void TAppEngineHost::SetResultGridRowCount(TResultGrid Grid, int RowCount) {
    FResults.Grid(Grid)->setRowCount(RowCount);
}

void TAppEngineHost::SetResultGridCell(TResultGrid Grid, int Col, int Row, const QString& Text) {
    TInformationWindow::SetCell(FResults.Grid(Grid), Col, Row, Text);
}

void TAppEngineHost::ShowResultPage(TResultPage Page) { FResults.ShowPage(Page); }

QWidget* TAppEngineHost::DialogOwner() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (QWidget* active = QApplication::activeWindow(); active != nullptr && active->isVisible()) return active;
    return FDialogs;
}

void TAppEngineHost::ShowChart(const TChartData& Chart) {
    TLineProfViewer viewer(DialogOwner());
    viewer.SetChart(Chart);
    viewer.exec();
}

void TAppEngineHost::ShowMessage(const QString& Text) {
    QMessageBox::information(DialogOwner(), QApplication::applicationName(), Text);
}

bool TAppEngineHost::Confirm(const QString& Text) {
    return QMessageBox::question(DialogOwner(), QApplication::applicationName(), Text,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool TAppEngineHost::InputQuery(const QString& Caption, const QString& Prompt, QString& Value) {
    bool ok = false;
    const QString typed = QInputDialog::getText(DialogOwner(), Caption, Prompt, QLineEdit::Normal, Value, &ok);
    if (ok) Value = typed;
    return ok;
}

void TAppEngineHost::SetClipboardText(const QString& Text) { Clipboard().SetAsText(Text); }

}  // namespace tam32
