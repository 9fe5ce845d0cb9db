#pragma once
// The one way by which the analysis engine reaches the user interface. The
// application installs a host built on its frame, results window and dialogs;
// until then (and in tools without a window) a host that shows nothing and
// answers every question with No or Cancel is in place. Tests install a
// recording host. Everything runs on the user-interface thread.
#include <QString>

#include "analysis/core/ChartData.h"

namespace tam32 {

// The tables of the results window.
enum class TResultGrid {
    Classification,  // the discriminant and classified-image table
    GapEstimate,     // the two-photograph gap table
};

// The pages of the results window.
enum class TResultPage { Report, Classification, GapEstimate };

class TEngineHost {
public:
    virtual ~TEngineHost() = default;

    // The message panel of the frame's status bar (the third panel). Long
    // loops call this once per row: the text must be visible at once,
    // although the host may repaint less often than it is called.
    virtual void SetStatusText(const QString& Text) = 0;
    // Appends one line to the report log of the results window.
    virtual void AppendResultLine(const QString& Line) = 0;
    virtual void SetResultGridRowCount(TResultGrid Grid, int RowCount) = 0;
    virtual void SetResultGridCell(TResultGrid Grid, int Col, int Row, const QString& Text) = 0;
    virtual void ShowResultPage(TResultPage Page) = 0;
    // Shows the chart modally; returns when the user has closed it.
    virtual void ShowChart(const TChartData& Chart) = 0;
    // A modal message box with an OK button.
    virtual void ShowMessage(const QString& Text) = 0;
    // A modal question with Yes and No buttons; True for Yes.
    virtual bool Confirm(const QString& Text) = 0;
    // A modal input box showing Value; True and the typed text in Value on
    // OK, False and Value unchanged on Cancel.
    virtual bool InputQuery(const QString& Caption, const QString& Prompt, QString& Value) = 0;
    virtual void SetClipboardText(const QString& Text) = 0;
};

// The host in place now; never null.
TEngineHost& EngineHost();
// Installs Host (not owned; it must outlive its installation), or the null
// host for nullptr. Returns the host that was in place.
TEngineHost* SetEngineHost(TEngineHost* Host);

// An input box whose Cancel gives back the default text.
QString InputBox(const QString& Caption, const QString& Prompt, const QString& Default);

}  // namespace tam32
