#pragma once
// The one results window: the report log that analyses append to, the
// classification table and the two-photograph gap table, on three pages.
// Closing only minimises it, so reports keep landing in the same log.
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "analysis/core/EngineHost.h"
#include "platform/WinTypes.h"

class QPlainTextEdit;
class QTabWidget;
class QTableWidget;

namespace tam32 {

class TInformationWindow : public QWidget {
    Q_OBJECT
public:
    explicit TInformationWindow(QWidget* Parent = nullptr);

    // Header cells of the gap table from the caption file.
    void LocalizeGrids();

    void CopyClassificationToClipboard();
    void CopyGapsToClipboard();
    // Header and CR LF, then each row's cells joined by ", " and ended by CR
    // LF; nothing for a null Grid.
    void CopyGridToClipboard(QTableWidget* Grid, const QString& Header);

    // True when the settings were refused ("ERR22") and nothing was reported.
    bool ShowLAIResults(const QString& FileName);
    void AddBatchResultLine(const QString& FileName);

    // What the engine host needs of the window.
    void AppendResultLine(const QString& Line);
    QTableWidget* Grid(TResultGrid Which) const;
    void ShowPage(TResultPage Page);
    // Text of cell (Col, Row); the table grows to hold it.
    static void SetCell(QTableWidget* Grid, int Col, int Row, const QString& Text);
    static QString Cell(const QTableWidget* Grid, int Col, int Row);

    // The colour of the classification group in a row of the classification
    // table, none for other rows; read at every paint. GroupRowColor of the
    // classifier's groups unless set otherwise.
    std::function<std::optional<TColor>(int Row)> GroupColorOfRow;

    QTabWidget* PageControl1;
    QWidget* TabSheet7;
    QPlainTextEdit* Results;
    QWidget* TabSheet4;
    QTableWidget* StringGrid5;
    QWidget* TabSheet6;
    QTableWidget* StringGrid7;

protected:
    void closeEvent(QCloseEvent* Event) override;
};

// The rule of the classification table: with more than one group, rows
// 1..DiscLastGroup + 1 show the colours of groups 0..DiscLastGroup.
std::optional<TColor> GroupRowColor(int Row, int DiscLastGroup, const TColor* GroupColors);

}  // namespace tam32
