#pragma once
// The engine host of a scripted run: everything goes on to the program's own
// host, and what the engine shows is printed on the way: "STATUS: text" on
// each change of the status bar's message panel, "MEMO: line", "GRID ..." and
// a chart's lines. Installed for its lifetime.
#include "analysis/core/EngineHost.h"

namespace tam32::probe {

class TScriptHost final : public TEngineHost {
public:
    explicit TScriptHost(TEngineHost& Program);
    ~TScriptHost() override;
    TScriptHost(const TScriptHost&) = delete;
    TScriptHost& operator=(const TScriptHost&) = delete;

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
    TEngineHost& FProgram;
    TEngineHost* FPrevious;
    QString FStatus;
};

}  // namespace tam32::probe
