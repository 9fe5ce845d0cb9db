#pragma once
// An engine host that keeps everything the engine shows and answers its
// questions from scripted answers (No and Cancel when none are left). It is
// installed for its lifetime and puts the previous host back afterwards.
#include <QString>
#include <deque>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

#include "analysis/core/EngineHost.h"

namespace tam32::test {

class TRecordingEngineHost final : public TEngineHost {
public:
    TRecordingEngineHost() : FPrevious(SetEngineHost(this)) {}
    ~TRecordingEngineHost() override { SetEngineHost(FPrevious); }
    TRecordingEngineHost(const TRecordingEngineHost&) = delete;
    TRecordingEngineHost& operator=(const TRecordingEngineHost&) = delete;

    // What the engine showed, in order.
    std::vector<QString> StatusTexts;
    std::vector<QString> ResultLines;
    std::map<TResultGrid, int> GridRowCounts;
    std::map<std::tuple<TResultGrid, int, int>, QString> GridCells;  // (grid, column, row)
    std::vector<TResultPage> Pages;
    std::vector<TChartData> Charts;
    std::vector<QString> Messages;
    std::vector<QString> Questions;
    std::vector<std::pair<QString, QString>> InputBoxes;  // caption, prompt
    std::vector<QString> ClipboardTexts;

    // The answers to give, first to last.
    std::deque<bool> ConfirmAnswers;
    std::deque<std::optional<QString>> InputAnswers;  // nullopt: Cancel

    QString LastStatus() const { return StatusTexts.empty() ? QString() : StatusTexts.back(); }

    void SetStatusText(const QString& Text) override { StatusTexts.push_back(Text); }
    void AppendResultLine(const QString& Line) override { ResultLines.push_back(Line); }
    void SetResultGridRowCount(TResultGrid Grid, int RowCount) override { GridRowCounts[Grid] = RowCount; }
    void SetResultGridCell(TResultGrid Grid, int Col, int Row, const QString& Text) override {
        GridCells[{Grid, Col, Row}] = Text;
    }
    void ShowResultPage(TResultPage Page) override { Pages.push_back(Page); }
    void ShowChart(const TChartData& Chart) override { Charts.push_back(Chart); }
    void ShowMessage(const QString& Text) override { Messages.push_back(Text); }
    bool Confirm(const QString& Text) override {
        Questions.push_back(Text);
        if (ConfirmAnswers.empty()) return false;
        const bool Answer = ConfirmAnswers.front();
        ConfirmAnswers.pop_front();
        return Answer;
    }
    bool InputQuery(const QString& Caption, const QString& Prompt, QString& Value) override {
        InputBoxes.emplace_back(Caption, Prompt);
        if (InputAnswers.empty()) return false;
        const std::optional<QString> Answer = InputAnswers.front();
        InputAnswers.pop_front();
        if (!Answer) return false;
        Value = *Answer;
        return true;
    }
    void SetClipboardText(const QString& Text) override { ClipboardTexts.push_back(Text); }

private:
    TEngineHost* FPrevious;
};

// The status text that a message of Code shows, as Show (ShowErrorMessage,
// ShowInstructionMessage) writes it.
inline QString StatusOf(void (*Show)(const QString&), const char* Code) {
    TRecordingEngineHost Host;
    Show(QLatin1String(Code));
    return Host.LastStatus();
}

}  // namespace tam32::test
