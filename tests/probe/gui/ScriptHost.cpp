#include "ScriptHost.h"

#include "../ProbePrinting.h"

namespace tam32::probe {

TScriptHost::TScriptHost(TEngineHost& Program) : FProgram(Program), FPrevious(SetEngineHost(this)) {}

TScriptHost::~TScriptHost() { SetEngineHost(FPrevious); }

void TScriptHost::SetStatusText(const QString& Text) {
    if (Text != FStatus) PrintLine(QStringLiteral("STATUS: ") + Text);
    FStatus = Text;
    FProgram.SetStatusText(Text);
}

void TScriptHost::AppendResultLine(const QString& Line) {
    PrintLine(QStringLiteral("MEMO: ") + Line);
    FProgram.AppendResultLine(Line);
}

void TScriptHost::SetResultGridRowCount(TResultGrid Grid, int RowCount) {
    FProgram.SetResultGridRowCount(Grid, RowCount);
}

void TScriptHost::SetResultGridCell(TResultGrid Grid, int Col, int Row, const QString& Text) {
    PrintLine(GridLine(Grid, Col, Row, Text));
    FProgram.SetResultGridCell(Grid, Col, Row, Text);
}

void TScriptHost::ShowResultPage(TResultPage Page) { FProgram.ShowResultPage(Page); }

void TScriptHost::ShowChart(const TChartData& Chart) {
    for (const QString& line : ChartLines(Chart)) PrintLine(line);
    FProgram.ShowChart(Chart);
}

void TScriptHost::ShowMessage(const QString& Text) { FProgram.ShowMessage(Text); }

bool TScriptHost::Confirm(const QString& Text) { return FProgram.Confirm(Text); }

bool TScriptHost::InputQuery(const QString& Caption, const QString& Prompt, QString& Value) {
    return FProgram.InputQuery(Caption, Prompt, Value);
}

void TScriptHost::SetClipboardText(const QString& Text) { FProgram.SetClipboardText(Text); }

}  // namespace tam32::probe
