#include "analysis/core/EngineHost.h"

namespace tam32 {

namespace {

class TNullEngineHost final : public TEngineHost {
public:
    void SetStatusText(const QString&) override {}
    void AppendResultLine(const QString&) override {}
    void SetResultGridRowCount(TResultGrid, int) override {}
    void SetResultGridCell(TResultGrid, int, int, const QString&) override {}
    void ShowResultPage(TResultPage) override {}
    void ShowChart(const TChartData&) override {}
    void ShowMessage(const QString&) override {}
    bool Confirm(const QString&) override { return false; }
    bool InputQuery(const QString&, const QString&, QString&) override { return false; }
    void SetClipboardText(const QString&) override {}
};

TNullEngineHost NullHost;
TEngineHost* CurrentHost = &NullHost;

}  // namespace

TEngineHost& EngineHost() { return *CurrentHost; }

TEngineHost* SetEngineHost(TEngineHost* Host) {
    TEngineHost* const Previous = CurrentHost;
    CurrentHost = Host != nullptr ? Host : &NullHost;
    return Previous;
}

QString InputBox(const QString& Caption, const QString& Prompt, const QString& Default) {
    QString Value = Default;
    if (!EngineHost().InputQuery(Caption, Prompt, Value)) return Default;
    return Value;
}

}  // namespace tam32
