// What the histogram window shows: the bars, the table of counts, and the
// counts copied as text.
#include <QSpinBox>
#include <QTableWidget>
#include <algorithm>
#include <cmath>

#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "platform/Canvas.h"
#include "platform/Clipboard.h"
#include "platform/DelphiFormat.h"
#include "platform/Rounding.h"
#include "windows/HistgramWindow.h"
#include "windows/ImageView.h"

namespace tam32 {
namespace {

double Count(int Colour, int Bin) { return RGBHistogram[std::size_t(Colour * 256 + Bin)]; }
double TargetCount(int Colour, int Bin) { return TargetRGBHistogram[std::size_t(Colour * 256 + Bin)]; }

double LargestCount(int Colour) {
    double Max = 0.0;
    for (int Bin = 0; Bin <= 255; ++Bin) Max = std::max(Max, Count(Colour, Bin));
    return Max;
}

// A bar of Height pixels standing on the picture's bottom, drawn as a line
// up from the row below the picture: the line leaves out its last pixel, so
// the bar covers rows H - Height + 1 to H - 1.
void Bar(TCanvas& Canvas, int X, double Height) {
    const int H = Canvas.Target()->height();
    Canvas.MoveTo(X, H);
    Canvas.LineTo(X, H - TruncInt(std::floor(Height + 0.5)));
}

bool Recognised(int Bin, int Threshold, int Condition) {
    switch (Condition) {
        case 0: return Bin >= Threshold;
        case 1: return Bin <= Threshold;
        case 2: return Bin == Threshold;
        default: return false;
    }
}

}  // namespace

void THistgramWindow::DrawHistogram(int Colour) {
    if (!ArraysAreMine()) return;
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    TCanvas& canvas = FPicture.Canvas();
    const TCanvasToolsScope tools(canvas);
    canvas.Pen = TPen();
    const int H = FPicture.Height();
    canvas.Pen.Color = clWhite;
    for (int x = 0; x <= 255; ++x) {
        canvas.MoveTo(x, 0);
        canvas.LineTo(x, H);
    }
    const double max = LargestCount(Colour);
    const double scale = max > 0.0 ? (H - 1) / max : 0.0;
    const TColor colours[] = {0x0000FF, 0x008000, 0xFF0000};
    canvas.Pen.Color = colours[Colour];
    for (int x = 0; x <= 255; ++x) Bar(canvas, x, Count(Colour, x) * scale);
    canvas.Pen.Color = clBlack;
    if (Analysed) {
        // The background part in black below the target part.
        for (int x = 0; x <= 255; ++x) Bar(canvas, x, (Count(Colour, x) - TargetCount(Colour, x)) * scale);
        if (BinarizeTarget == Colour) {
            canvas.Pen.Style = TPenStyle::psDot;
            canvas.MoveTo(FixedThreshold, 0);
            canvas.LineTo(FixedThreshold, H);
        }
    }
    if (PickMode) {
        // Black is what the threshold will recognise.
        const int threshold = SpinEdit1->value();
        for (int x = 0; x <= 255; ++x)
            if (Recognised(x, threshold, PickCondition)) Bar(canvas, x, Count(Colour, x) * scale);
    }
    Image1->update();
}

void THistgramWindow::FillStatistics(int Colour) {
    if (!ArraysAreMine()) return;
    StringGrid1->clearContents();
    StringGrid1->setRowCount(257);
    StringGrid1->setColumnWidth(0, 21);
    const auto cell = [this](int Col, int Row, const QString& Text) {
        StringGrid1->setItem(Row, Col, new QTableWidgetItem(Text));
    };
    const QStringList headers = GetDialogMessage(QStringLiteral("DMS95")).split(u'\t');
    for (int col = 0; col < std::min(3, int(headers.size())); ++col) cell(col, 0, headers[col]);
    const double max = LargestCount(Colour);
    // The digits of the largest count; one for an empty histogram.
    const int digits = max > 0.0 ? TruncInt(std::floor(std::log10(max) + 1.0)) : 1;
    StringGrid1->setColumnWidth(1, 8 * digits);
    StringGrid1->setColumnWidth(2, 8 * digits);
    for (int bin = 0; bin <= 255; ++bin) {
        cell(0, bin + 1, QString::number(bin));
        cell(1, bin + 1, Format(QStringLiteral("%*.0f"), {digits, Count(Colour, bin)}));
        if (Analysed) cell(2, bin + 1, Format(QStringLiteral("%*.0f"), {digits, TargetCount(Colour, bin)}));
    }
}

void THistgramWindow::Button3Click() {
    // The column names in double quotes, as other programs read them.
    QStringList names = GetDialogMessage(QStringLiteral("DMS96")).split(u'\t');
    for (QString& name : names) name = u'"' + name + u'"';
    QString text = names.join(u',') + QStringLiteral("\r\n");
    for (int bin = 0; bin <= 255; ++bin)
        text += Format(QStringLiteral("%d, %d, %d, %d\r\n"),
                       {bin, Round(Count(0, bin)), Round(Count(1, bin)), Round(Count(2, bin))});
    Clipboard().Open();
    Clipboard().SetAsText(text);
    Clipboard().Close();
}

}  // namespace tam32
