#include "app/LineProfViewer.h"

#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QLineSeries>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QValueAxis>
#include <QVBoxLayout>

#include "analysis/core/Messages.h"
#include "app/ChartDataText.h"
#include "image/PxDIB.h"
#include "platform/Bitmap.h"
#include "platform/Clipboard.h"
#include "platform/DelphiDateTime.h"
#include "platform/WmfPaintDevice.h"

namespace tam32 {

namespace {

constexpr QSize kDefaultChartSize(640, 420);

QColor ToQColor(TColor C) { return QColor(GetRValue(C), GetGValue(C), GetBValue(C)); }

// The date-time axis labels in local time, so the wall-clock value is what
// it has to carry.
double AxisTime(double Value) {
    const QDateTime Wall = DelphiToDateTime(Value);
    return double(QDateTime(Wall.date(), Wall.time()).toMSecsSinceEpoch());
}

}  // namespace

QString ChartFileName(const QString& Chosen, const QString& Extension) {
    const QString Suffix = QFileInfo(Chosen).suffix();
    if (QLatin1Char('.') + Suffix.toUpper() == Extension.toUpper()) return Chosen;
    return Chosen + Extension;
}

TLineProfViewer::TLineProfViewer(QWidget* Parent) : QDialog(Parent), Chart1(new QChart), FView(nullptr) {
    setWindowTitle(FData.Caption);
    setModal(true);

    MainMenu1 = new QMenuBar(this);
    QMenu* Menu = MainMenu1->addMenu(QStringLiteral("Menu"));
    Print1 = Menu->addAction(QStringLiteral("Print"), this, &TLineProfViewer::Print1Click);
    SaveData = Menu->addAction(QStringLiteral("Save Data"), this, &TLineProfViewer::SaveDataClick);
    QMenu* ProfSaveAs = Menu->addMenu(QStringLiteral("Save As"));
    Prof2Bitmap = ProfSaveAs->addAction(QStringLiteral("Bitmap"), this, &TLineProfViewer::Prof2BitmapClick);
    Prof2Metafile = ProfSaveAs->addAction(QStringLiteral("Metafile"), this, &TLineProfViewer::Prof2MetafileClick);
    Close1 = Menu->addAction(QStringLiteral("Close"), this, &TLineProfViewer::Close1Click);

    Chart1->legend()->setAlignment(Qt::AlignTop);
    Chart1->setBackgroundRoundness(0);
    Chart1->resize(kDefaultChartSize);
    FView = new QChartView(Chart1, this);
    FView->setMinimumSize(kDefaultChartSize);
    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->setMenuBar(MainMenu1);
    Layout->addWidget(FView);
    SetChart(FData);
}

void TLineProfViewer::SetChart(const TChartData& Data) {
    FData = Data;
    setWindowTitle(Data.Caption);
    Chart1->removeAllSeries();
    for (QAbstractAxis* Axis : Chart1->axes()) {
        Chart1->removeAxis(Axis);
        delete Axis;
    }

    bool DateTime = false;
    for (const TChartSeries& S : Data.Series) DateTime = DateTime || (S.Active && S.DateTimeX);
    QAbstractAxis* Bottom;
    if (DateTime) {
        auto* Axis = new QDateTimeAxis;
        Axis->setFormat(QtDateTimeFormat(Data.BottomAxisDateTimeFormat));
        Bottom = Axis;
    } else {
        Bottom = new QValueAxis;
    }
    Bottom->setTitleText(Data.BottomAxisTitle);
    auto* Left = new QValueAxis;
    Left->setTitleText(Data.LeftAxisTitle);
    Chart1->addAxis(Bottom, Qt::AlignBottom);
    Chart1->addAxis(Left, Qt::AlignLeft);

    double MinX = 0, MaxX = 1, MinY = 0, MaxY = 1;
    bool Any = false;
    for (const TChartSeries& S : Data.Series) {
        if (!S.Active) continue;
        auto* Series = new QLineSeries;
        Series->setName(S.Title);
        Series->setPen(QPen(ToQColor(SeriesLineColor(S)), 1));
        for (const TChartPoint& P : S.Points) {
            const double X = S.DateTimeX ? AxisTime(P.X) : P.X;
            Series->append(X, P.Y);
            MinX = Any ? std::min(MinX, X) : X;
            MaxX = Any ? std::max(MaxX, X) : X;
            MinY = Any ? std::min(MinY, P.Y) : P.Y;
            MaxY = Any ? std::max(MaxY, P.Y) : P.Y;
            Any = true;
        }
        Chart1->addSeries(Series);
        Series->attachAxis(Bottom);
        Series->attachAxis(Left);
    }
    // A flat curve still needs a span to be drawn across.
    if (MaxX <= MinX) MaxX = MinX + 1;
    if (MaxY <= MinY) MaxY = MinY + 1;
    if (DateTime)
        static_cast<QDateTimeAxis*>(Bottom)->setRange(QDateTime::fromMSecsSinceEpoch(qint64(MinX)),
                                                       QDateTime::fromMSecsSinceEpoch(qint64(MaxX)));
    else
        static_cast<QValueAxis*>(Bottom)->setRange(MinX, MaxX);
    Left->setRange(MinY, MaxY);
}

void TLineProfViewer::Close1Click() { close(); }

void TLineProfViewer::Print1Click() {
    QPrinter Printer(QPrinter::HighResolution);
    QPrintDialog Dialog(&Printer, this);
    if (Dialog.exec() == QDialog::Accepted) PrintChart(Printer);
}

void TLineProfViewer::SaveDataClick() {
    Clipboard().Open();
    Clipboard().SetAsText(ChartDataText(FData));
    Clipboard().Close();
}

void TLineProfViewer::Prof2BitmapClick() {
    const QString Name = AskSaveName(QStringLiteral("Bitmap (*.BMP)"), QStringLiteral(".BMP"));
    if (!Name.isEmpty()) SaveAsBitmap(Name);
}

void TLineProfViewer::Prof2MetafileClick() {
    const QString Name = AskSaveName(QStringLiteral("Metafile (*.WMF)"), QStringLiteral(".WMF"));
    if (!Name.isEmpty()) SaveAsMetafile(Name);
}

QString TLineProfViewer::AskSaveName(const QString& Filter, const QString& Extension) {
    // The question is ours, in the language of the message file, and about
    // the name with the extension added.
    const QString Chosen = QFileDialog::getSaveFileName(this, QString(), QString(), Filter, nullptr,
                                                        QFileDialog::DontConfirmOverwrite);
    if (Chosen.isEmpty()) return {};
    const QString Name = ChartFileName(Chosen, Extension);
    if (QFileInfo::exists(Name) &&
        QMessageBox::question(this, windowTitle(),
                              FormatDialogMessage(QStringLiteral("DMS85"), {QDir::toNativeSeparators(Name)})) !=
            QMessageBox::Yes)
        return {};
    return Name;
}

void TLineProfViewer::RenderChart(QPainter& Painter, const QRectF& Target) {
    // A chart that was never shown has not placed its axes and titles yet.
    if (QGraphicsLayout* Layout = Chart1->layout()) Layout->activate();
    Chart1->scene()->render(&Painter, Target, Chart1->geometry());
}

void TLineProfViewer::SaveAsBitmap(const QString& FileName) {
    const QSize Size = Chart1->size().toSize();
    QImage Image(Size, QImage::Format_RGB32);
    Image.fill(Qt::white);
    {
        QPainter Painter(&Image);
        Painter.setRenderHint(QPainter::Antialiasing);
        RenderChart(Painter, QRectF(QPointF(0, 0), QSizeF(Size)));
    }
    TBitmap Bitmap;
    Bitmap.SetImage(Image);
    Bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    TPxDIB DIB;
    DIB.Assign(&Bitmap);
    DIB.SaveToFile(FileName);
}

void TLineProfViewer::SaveAsMetafile(const QString& FileName) {
    const QSize Size = Chart1->size().toSize();
    TWmfPaintDevice Device(Size.width(), Size.height());
    {
        QPainter Painter(&Device);
        RenderChart(Painter, QRectF(QPointF(0, 0), QSizeF(Size)));
    }
    Device.Writer().SaveToFile(FileName);
}

void TLineProfViewer::PrintChart(QPrinter& Printer) {
    QPainter Painter(&Printer);
    const QRectF Page = Printer.pageLayout().paintRectPixels(Printer.resolution()).translated(
        -Printer.pageLayout().paintRectPixels(Printer.resolution()).topLeft());
    // The chart keeps its proportions across the page width.
    const QSizeF Chart = Chart1->size();
    const double Scale = std::min(Page.width() / Chart.width(), Page.height() / Chart.height());
    RenderChart(Painter, QRectF(Page.topLeft(), Chart * Scale));
}

}  // namespace tam32
