#pragma once
// The lines by which the probe commands report what the engine shows.
#include <QString>
#include <QStringList>

#include "analysis/core/ChartData.h"
#include "analysis/core/EngineHost.h"

namespace tam32::probe {

// Writes Line and a line feed to standard output at once.
void PrintLine(const QString& Line);
// "GRID Classification row col: text" (or GapEstimate).
QString GridLine(TResultGrid Grid, int Col, int Row, const QString& Text);
// "CHART: caption", "AXIS bottom: title", "AXIS left: title", then for each
// series in use "SERIES title: x,y x,y ..." (points in order, plain C-locale
// decimals, never an exponent).
QStringList ChartLines(const TChartData& Chart);

// The engine host of the probe's commands: prints "STATUS: text", "MEMO: line",
// "GRID ...", "BOX: text" (a message box, answered OK; another prefix for
// the commands that say so) and a chart's lines, and answers every question
// with No or Cancel. Installed for its lifetime.
class TPrintingHost final : public TEngineHost {
public:
    explicit TPrintingHost(const QString& MessagePrefix = QStringLiteral("BOX: "))
        : FMessagePrefix(MessagePrefix), FPrevious(SetEngineHost(this)) {}
    ~TPrintingHost() override { SetEngineHost(FPrevious); }
    TPrintingHost(const TPrintingHost&) = delete;
    TPrintingHost& operator=(const TPrintingHost&) = delete;

    void SetStatusText(const QString& Text) override { PrintLine(QStringLiteral("STATUS: ") + Text); }
    void AppendResultLine(const QString& Line) override { PrintLine(QStringLiteral("MEMO: ") + Line); }
    void SetResultGridRowCount(TResultGrid, int) override {}
    void SetResultGridCell(TResultGrid Grid, int Col, int Row, const QString& Text) override {
        PrintLine(GridLine(Grid, Col, Row, Text));
    }
    void ShowResultPage(TResultPage) override {}
    void ShowChart(const TChartData& Chart) override {
        for (const QString& Line : ChartLines(Chart)) PrintLine(Line);
    }
    void ShowMessage(const QString& Text) override {
        PrintLine(FMessagePrefix + Text);
        ++MessageCount;
    }
    bool Confirm(const QString&) override { return false; }
    bool InputQuery(const QString&, const QString&, QString&) override { return false; }
    void SetClipboardText(const QString&) override {}

    int MessageCount = 0;

private:
    QString FMessagePrefix;
    TEngineHost* FPrevious;
};

}  // namespace tam32::probe
