#include "platform/WmfPaintDevice.h"

#include <QPaintEngine>
#include <QPainterPath>
#include <QTextItem>
#include <cmath>
#include <numbers>
#include <optional>
#include <utility>

namespace tam32 {

namespace {

constexpr int kUnitsPerInch = 96;

TColor ToColor(const QColor& C) { return RGBToColor(uint8_t(C.red()), uint8_t(C.green()), uint8_t(C.blue())); }

std::vector<TPoint> ToPoints(const QPolygonF& Polygon) {
    std::vector<TPoint> Points;
    Points.reserve(size_t(Polygon.size()));
    for (const QPointF& P : Polygon) Points.push_back({int(std::lround(P.x())), int(std::lround(P.y()))});
    return Points;
}

}  // namespace

// Keeps the painter's pen, brush and transform and sends each shape to
// the writer in device coordinates.
class TWmfPaintEngine final : public QPaintEngine {
public:
    explicit TWmfPaintEngine(TWmfWriter& Writer)
        : QPaintEngine(PrimitiveTransform | PainterPaths | AlphaBlend | Antialiasing | BrushStroke |
                       ConstantOpacity | PaintOutsidePaintEvent),
          FWriter(Writer) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }

    void updateState(const QPaintEngineState& State) override {
        if (State.state() & DirtyPen) FPen = State.pen();
        if (State.state() & DirtyBrush) FBrush = State.brush();
        if (State.state() & DirtyTransform) FTransform = State.transform();
    }

    void drawPath(const QPainterPath& Path) override {
        const bool Filled = FBrush.style() != Qt::NoBrush && FBrush.color().alpha() > 0;
        for (const QPolygonF& Part : Path.toSubpathPolygons(FTransform)) {
            if (Filled && Part.isClosed())
                Fill(Part);
            else
                Stroke(Part);
        }
    }

    void drawPolygon(const QPointF* Points, int Count, PolygonDrawMode Mode) override {
        QPolygonF Polygon(Count);
        for (int I = 0; I < Count; ++I) Polygon[I] = FTransform.map(Points[I]);
        if (Mode == PolylineMode || FBrush.style() == Qt::NoBrush) {
            if (Mode != PolylineMode && Count > 0) Polygon << Polygon.front();
            Stroke(Polygon);
        } else {
            Fill(Polygon);
        }
    }

    void drawTextItem(const QPointF& P, const QTextItem& Item) override {
        const QPointF At = FTransform.map(P);
        const QFont Font = Item.font();
        const double Pixels = Font.pixelSize() > 0 ? Font.pixelSize() : Font.pointSizeF() * kUnitsPerInch / 72.0;
        // Device y grows downwards, the metafile's angles turn counter-clockwise.
        const double Degrees = std::atan2(FTransform.m12(), FTransform.m11()) * 180 / std::numbers::pi;
        FWriter.SetFont(Font.family(), int(std::lround(Pixels * std::sqrt(std::abs(FTransform.determinant())))),
                        Font.bold(), int(std::lround(-Degrees * 10)));
        FWriter.SetTextColor(ToColor(FPen.color()));
        FWriter.TextOut(int(std::lround(At.x())), int(std::lround(At.y())), Item.text());
    }

    // Charts and reports hold no pictures worth a vector copy.
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}

private:
    bool PenShown() const { return FPen.style() != Qt::NoPen && FPen.color().alpha() > 0; }

    // Charts stroke many short pieces with one pen: a new pen record only
    // when the pen changes.
    void SelectPen() {
        const double Width = FPen.isCosmetic() ? FPen.widthF() : FPen.widthF() * std::sqrt(std::abs(FTransform.determinant()));
        const std::pair<TColor, int> Pen{ToColor(FPen.color()), std::max(1, int(std::lround(Width)))};
        if (Pen == FSelectedPen) return;
        FWriter.SetPen(Pen.first, Pen.second);
        FSelectedPen = Pen;
    }

    void Stroke(const QPolygonF& Polygon) {
        if (!PenShown()) return;
        SelectPen();
        FWriter.Polyline(ToPoints(Polygon));
    }

    void Fill(const QPolygonF& Polygon) {
        FWriter.SetBrush(ToColor(FBrush.color()));
        if (PenShown())
            SelectPen();
        else {
            FWriter.SetNoPen();
            FSelectedPen.reset();
        }
        FWriter.Polygon(ToPoints(Polygon));
    }

    TWmfWriter& FWriter;
    QPen FPen;
    QBrush FBrush;
    QTransform FTransform;
    std::optional<std::pair<TColor, int>> FSelectedPen;
};

TWmfPaintDevice::TWmfPaintDevice(int Width, int Height)
    : FWidth(Width), FHeight(Height), FWriter(Width, Height, kUnitsPerInch),
      FEngine(std::make_unique<TWmfPaintEngine>(FWriter)) {}

TWmfPaintDevice::~TWmfPaintDevice() = default;

QPaintEngine* TWmfPaintDevice::paintEngine() const { return FEngine.get(); }

int TWmfPaintDevice::metric(PaintDeviceMetric Metric) const {
    switch (Metric) {
        case PdmWidth: return FWidth;
        case PdmHeight: return FHeight;
        case PdmWidthMM: return FWidth * 254 / (kUnitsPerInch * 10);
        case PdmHeightMM: return FHeight * 254 / (kUnitsPerInch * 10);
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return kUnitsPerInch;
        case PdmNumColors: return 0xFFFFFF;
        case PdmDepth: return 24;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
        default: return 0;
    }
}

}  // namespace tam32
