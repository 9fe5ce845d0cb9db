// Text on a canvas: written with the font's colour, never through the pen
// mode, over a cell filled with the brush unless the brush is clear.
#include <QFontMetrics>
#include <QGuiApplication>
#include <algorithm>
#include <limits>

#include "platform/Canvas.h"
#include "platform/CoverageMask.h"
#include "platform/Exceptions.h"
#include "platform/RasterTarget.h"

namespace tam32 {

namespace {

constexpr uint8_t kCopyRop2 = 0b1100;

// Fonts need the GUI application; without one there is no text to draw.
QFontMetrics MetricsOf(const TFont& Font) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) throw EInvalidGraphicOperation(QStringLiteral("Canvas does not allow drawing"));
    return QFontMetrics(Font.ToQFont());
}

int ClampToInt(int64_t Value) {
    return int(std::clamp<int64_t>(Value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

int TCanvas::TextWidth(const QString& Text) const { return MetricsOf(Font).horizontalAdvance(Text); }

int TCanvas::TextHeight(const QString& Text) const { return MetricsOf(Font).height(); }

void TCanvas::TextOut(int X, int Y, const QString& Text) {
    const QFontMetrics metrics = MetricsOf(Font);
    RasterTarget target = WritableTarget();
    const int64_t width = metrics.horizontalAdvance(Text);
    const int64_t baseline = int64_t(Y) + metrics.ascent();
    if (BrushShown()) {
        const QRect cell = ClipToTarget(target, X, Y, X + width, Y + int64_t(metrics.height()));
        const uint32_t brush = target.ValueOf(Brush.Color);
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x) target.Write(x, y, brush);
    }
    // Glyphs may reach beyond the advance (overhangs), so the ink box is measured.
    const QRect ink = metrics.boundingRect(Text);
    const QRect box = ClipToTarget(target, X + int64_t(ink.left()), baseline + ink.top(),
                                   X + int64_t(ink.right()) + 1, baseline + ink.bottom() + 1);
    if (!box.isEmpty() && !Text.isEmpty()) {
        CoverageMask mask(box);
        const QFont font = Font.ToQFont();
        mask.Paint([&](QPainter& painter) {
            painter.setFont(font);
            painter.setPen(CoverageMask::Ink(CoverageMask::kPen));
            painter.drawText(QPointF(double(X), double(baseline)), Text);
        });
        const uint32_t color = target.ValueOf(Font.Color);
        mask.Apply(target, kCopyRop2, color, color, color);
    }
    FPenPos = {ClampToInt(X + width), Y};
    Changed();
}

}  // namespace tam32
