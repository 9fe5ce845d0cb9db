#pragma once
// The engine host of the running program: the message panel of the frame's
// status bar, the results window, modal charts and the program's dialogs.
#include <QElapsedTimer>

#include "analysis/core/EngineHost.h"

class QLabel;
class QWidget;

namespace tam32 {

class TInformationWindow;

class TAppEngineHost : public TEngineHost {
public:
    // None owned; the modal boxes and charts come up over the window the
    // user is in (the modal dialog, else the active window), else over Dialogs.
    TAppEngineHost(QLabel& StatusPanel, TInformationWindow& Results, QWidget* Dialogs);

    void SetStatusText(const QString& Text) override;
    void AppendResultLine(const QString& Line) override;
    void SetResultGridRowCount(TResultGrid Grid, int RowCount) override;
    void SetResultGridCell(TResultGrid Grid, int Col, int Row, const QString& Text) override;
    void ShowResultPage(TResultPage Page) override;
    void ShowChart(const TChartData& Chart) override;
    void ShowMessage(const QString& Text) override;
    bool Confirm(const QString& Text) override;
    bool InputQuery(const QString& Caption, const QString& Prompt, QString& Value) override;
    void SetClipboardText(const QString& Text) override;

private:
    QWidget* DialogOwner() const;

    QLabel& FStatusPanel;
    TInformationWindow& FResults;
    QWidget* FDialogs;
    // Loops report row by row; painting each row would cost more than the loop.
    QElapsedTimer FSinceRepaint;
};

}  // namespace tam32
