#pragma once
// The modal chart window in which analyses show their curves: up to four
// line series over a value or date-time axis, with a menu to print the chart,
// copy its data as text and save it as a bitmap or a Windows metafile.
#include <QDialog>
#include <QString>

#include "analysis/core/ChartData.h"

class QAction;
class QChart;
class QChartView;
class QMenuBar;
class QPainter;
class QPrinter;

namespace tam32 {

// Chosen with Extension appended unless it already ends in it, in any case:
// "prof" and ".BMP" give "prof.BMP"; "prof.bmp" stays.
QString ChartFileName(const QString& Chosen, const QString& Extension);

class TLineProfViewer : public QDialog {
    Q_OBJECT
public:
    explicit TLineProfViewer(QWidget* Parent = nullptr);

    // Replaces the chart: caption, axes, titles and the series' points.
    void SetChart(const TChartData& Data);
    const TChartData& ChartData() const { return FData; }

    void Close1Click();
    void Print1Click();
    void SaveDataClick();
    void Prof2BitmapClick();
    void Prof2MetafileClick();

    // The work of the handlers once a file or printer is chosen. Errors of
    // the writers surface as exceptions.
    void SaveAsBitmap(const QString& FileName);
    void SaveAsMetafile(const QString& FileName);
    void PrintChart(QPrinter& Printer);

    QChart* Chart1;
    QMenuBar* MainMenu1;
    QAction* Print1;
    QAction* SaveData;
    QAction* Prof2Bitmap;
    QAction* Prof2Metafile;
    QAction* Close1;

private:
    // The chart as it stands, at its own size, painted into Target.
    void RenderChart(QPainter& Painter, const QRectF& Target);
    // A save dialog with Filter; empty when cancelled or when the user does
    // not want an existing file replaced.
    QString AskSaveName(const QString& Filter, const QString& Extension);

    QChartView* FView;
    TChartData FData;
};

}  // namespace tam32
