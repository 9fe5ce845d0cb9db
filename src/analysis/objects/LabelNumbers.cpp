#include "analysis/objects/LabelNumbers.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <optional>
#include <system_error>
#include <vector>

#include "analysis/core/PictureRows.h"
#include "platform/Bitmap.h"
#include "platform/DelphiFormat.h"

namespace tam32 {

namespace {

// Glyph positions are counted in 64ths of a pixel, as Qt lays text out.
constexpr int kSteps = 64;
constexpr uint8_t kSentinel = 128;  // neither the pen's black nor the brush's white

std::optional<int64_t> InSteps(double Value) {
    const double Steps = Value * kSteps;
    if (Steps != std::round(Steps) || std::fabs(Steps) > 1e12) return std::nullopt;
    return int64_t(Steps);
}

// Half up, as Qt rounds its fixed-point lengths to pixels.
int RoundSteps(int64_t Steps) { return int((Steps + kSteps / 2) >> 6); }

bool Before(const TPoint& A, const TPoint& B) { return A.Y != B.Y ? A.Y < B.Y : A.X < B.X; }
bool SamePoint(const TPoint& A, const TPoint& B) { return A.X == B.X && A.Y == B.Y; }

// Scratch becomes a picture of Width by Height pixels of the sentinel, for
// the canvas to draw on: what it drew is what is no longer the sentinel.
void MakeScratch(TBitmap& Scratch, int Width, int Height) {
    Scratch.SetImage(QImage(Width, Height, QImage::Format_BGR888));
    for (int Y = 0; Y < Scratch.Height(); ++Y) std::fill_n(Scratch.ScanLine(Y), 3 * Scratch.Width(), kSentinel);
}

// The black pixels of Text as the canvas writes it with a clear brush, from
// the text's top left corner.
std::vector<TPoint> CanvasInk(const TFont& Font, const QString& Text, int Height) {
    TBitmap Scratch;
    MakeScratch(Scratch, int(Text.size()) * 4 * Height, 3 * Height);
    TCanvas& Canvas = Scratch.Canvas();
    Canvas.Font = Font;
    Canvas.Brush.Style = TBrushStyle::bsClear;
    Canvas.TextOut(2 * Height, Height, Text);
    std::vector<TPoint> Ink;
    for (int Y = 0; Y < Scratch.Height(); ++Y) {
        const uint8_t* Row = Scratch.ScanLine(Y);
        for (int X = 0; X < Scratch.Width(); ++X)
            if (Row[3 * X] != kSentinel) Ink.push_back({X - 2 * Height, Y - Height});
    }
    return Ink;
}

}  // namespace

struct TLabelNumbers::TStamps {
    // "No." or a digit, laid out at a pen position of Steps 64ths of a pixel.
    struct TPiece {
        QString Text;
        int64_t Advance = 0;  // in steps
        QRectF Box;           // the ink's bounds about the pen on the baseline
        // The pen's pixels from (whole pixels of the pen position, text top),
        // one list per fraction of a pixel, drawn when first needed.
        std::array<std::optional<std::vector<TPoint>>, kSteps> Ink;
    };
    QFont Face;
    int Ascent = 0, Height = 0;
    TPiece Prefix;
    std::array<TPiece, 10> Digits;
    // The circle about the centre: the pen's pixels and the brush's.
    std::vector<TPoint> CirclePen, CircleBrush;

    const std::vector<TPoint>& InkAt(TPiece& Piece, int64_t Pen) {
        std::optional<std::vector<TPoint>>& Ink = Piece.Ink[std::size_t(Pen & (kSteps - 1))];
        if (!Ink) Ink = Draw(Piece.Text, int(Pen & (kSteps - 1)));
        return *Ink;
    }

    // As the canvas draws text: into a grey mask without smoothing, the pen
    // at full value.
    std::vector<TPoint> Draw(const QString& Text, int Fraction) const {
        const int Margin = 2 * Height;
        QImage Mask(Text.size() * 4 * Height + 2 * Margin, 3 * Height, QImage::Format_Grayscale8);
        Mask.fill(0);
        {
            QPainter Painter(&Mask);
            Painter.setRenderHint(QPainter::Antialiasing, false);
            Painter.setFont(Face);
            Painter.setPen(QColor(255, 255, 255));
            Painter.drawText(QPointF(Margin + double(Fraction) / kSteps, double(Height + Ascent)), Text);
        }
        std::vector<TPoint> Ink;
        for (int Y = 0; Y < Mask.height(); ++Y) {
            const uchar* Row = Mask.constScanLine(Y);
            for (int X = 0; X < Mask.width(); ++X)
                if (Row[X] == 255) Ink.push_back({X - Margin, Y - Height});
        }
        return Ink;
    }

    // Visits "No." and the digits of Number with their pen positions in
    // steps; gives the text's advance in steps.
    template <typename F>
    int64_t ForEachPiece(int Number, F&& Visit) {
        char Digit[16];
        int Count = 0;
        for (unsigned Rest = unsigned(Number); Count == 0 || Rest != 0; Rest /= 10) Digit[Count++] = char(Rest % 10);
        int64_t Pen = 0;
        Visit(Prefix, Pen);
        Pen += Prefix.Advance;
        while (Count > 0) {
            TPiece& Piece = Digits[std::size_t(Digit[--Count])];
            Visit(Piece, Pen);
            Pen += Piece.Advance;
        }
        return Pen;
    }

    // The text's width and the box of its ink from its top left corner, as
    // the font's metrics give them for the whole text; the pen's pixels
    // within that box go to Plot.
    template <typename F>
    int Layout(int Number, F&& Plot) {
        double Left = 1e9, Right = -1e9, Top = 1e9, Bottom = -1e9;
        const int64_t Width = ForEachPiece(Number, [&](const TPiece& Piece, int64_t Pen) {
            const double X = double(Pen) / kSteps + Piece.Box.x();
            Left = std::min(Left, X);
            Right = std::max(Right, X + Piece.Box.width());
            Top = std::min(Top, Piece.Box.y());
            Bottom = std::max(Bottom, Piece.Box.y() + Piece.Box.height());
        });
        const int BoxLeft = RoundSteps(*InSteps(Left)), BoxTop = RoundSteps(*InSteps(Top)) + Ascent;
        const int BoxRight = BoxLeft + RoundSteps(*InSteps(Right - Left));
        const int BoxBottom = BoxTop + RoundSteps(*InSteps(Bottom - Top));
        ForEachPiece(Number, [&](TPiece& Piece, int64_t Pen) {
            const int Whole = int(Pen >> 6);
            for (const TPoint& P : InkAt(Piece, Pen)) {
                const int X = Whole + P.X;
                if (X >= BoxLeft && X < BoxRight && P.Y >= BoxTop && P.Y < BoxBottom) Plot(X, P.Y);
            }
        });
        return RoundSteps(Width);
    }
};

namespace {

using TStamps = TLabelNumbers::TStamps;

// The stamps of Font, or null when the composition would not be exact: an
// advance or a bound off the 64ths of a pixel, a pair of neighbours that
// does not advance by the sum of the two, or any of "No.0" to "No.9",
// "No.100" to "No.199" (every pair of digits) and "No.1234567890" whose
// width, pixels or ink box differ from the canvas writing it whole.
std::shared_ptr<TStamps> MakeStamps(const TFont& Font) {
    auto Stamps = std::make_shared<TStamps>();
    Stamps->Face = Font.ToQFont();
    const QFontMetrics Metrics(Stamps->Face);
    const QFontMetricsF Exact(Stamps->Face);
    Stamps->Ascent = Metrics.ascent();
    Stamps->Height = Metrics.height();
    const auto Piece = [&](const QString& Text, TStamps::TPiece& Made) {
        const std::optional<int64_t> Advance = InSteps(Exact.horizontalAdvance(Text));
        const QRectF Box = Exact.boundingRect(Text);
        if (!Advance || !InSteps(Box.x()) || !InSteps(Box.y()) || !InSteps(Box.width()) || !InSteps(Box.height()))
            return false;
        Made.Text = Text;
        Made.Advance = *Advance;
        Made.Box = Box;
        return true;
    };
    if (!Piece(QStringLiteral("No."), Stamps->Prefix)) return nullptr;
    for (int D = 0; D < 10; ++D)
        if (!Piece(QString::number(D), Stamps->Digits[std::size_t(D)])) return nullptr;
    const auto Adds = [&](const QString& Pair, int64_t First, int64_t Second) {
        return InSteps(Exact.horizontalAdvance(Pair)) == First + Second;
    };
    for (int A = 0; A < 10; ++A) {
        const TStamps::TPiece& Digit = Stamps->Digits[std::size_t(A)];
        if (!Adds(QStringLiteral("No.") + Digit.Text, Stamps->Prefix.Advance, Digit.Advance)) return nullptr;
        for (const TStamps::TPiece& Next : Stamps->Digits)
            if (!Adds(Digit.Text + Next.Text, Digit.Advance, Next.Advance)) return nullptr;
    }
    const auto Same = [&](int Number) {
        const QString Text = QStringLiteral("No.") + QString::number(Number);
        std::vector<TPoint> Composed;
        const int Width = Stamps->Layout(Number, [&](int X, int Y) { Composed.push_back({X, Y}); });
        if (Width != Metrics.horizontalAdvance(Text)) return false;
        std::vector<TPoint> Whole = CanvasInk(Font, Text, Stamps->Height);
        std::sort(Composed.begin(), Composed.end(), Before);
        Composed.erase(std::unique(Composed.begin(), Composed.end(), SamePoint), Composed.end());
        std::sort(Whole.begin(), Whole.end(), Before);
        return std::equal(Composed.begin(), Composed.end(), Whole.begin(), Whole.end(), SamePoint);
    };
    for (int Number = 0; Number < 200; ++Number)
        if ((Number < 10 || Number >= 100) && !Same(Number)) return nullptr;
    if (!Same(1234567890)) return nullptr;

    // The circle as the canvas draws it about (R, R) on a small picture.
    constexpr int R = 8;
    TBitmap Scratch;
    MakeScratch(Scratch, 2 * R + 1, 2 * R + 1);
    Scratch.Canvas().Ellipse(R - 3, R - 3, R + 3, R + 3);
    for (int Y = 0; Y < Scratch.Height(); ++Y) {
        const uint8_t* Row = Scratch.ScanLine(Y);
        for (int X = 0; X < Scratch.Width(); ++X) {
            if (Row[3 * X] == 0) Stamps->CirclePen.push_back({X - R, Y - R});
            if (Row[3 * X] == 255) Stamps->CircleBrush.push_back({X - R, Y - R});
        }
    }
    return Stamps;
}

// The stamps of the font last made, kept for the next run.
struct TKeptStamps {
    QString Key;
    std::shared_ptr<TStamps> Stamps;
};
TKeptStamps& Kept() {
    static TKeptStamps Last;
    return Last;
}

bool Plain(TBitmap& Image) {
    const TCanvas& Canvas = Image.Canvas();
    return Canvas.Font.Color == clBlack && Canvas.Pen.Color == clBlack && Canvas.Pen.Width == 1 &&
           Canvas.Pen.Style == TPenStyle::psSolid && Canvas.Pen.Mode == TPenMode::pmCopy &&
           Canvas.Brush.Color == clWhite && Canvas.Brush.Style == TBrushStyle::bsSolid &&
           Image.PixelFormat() == TPixelFormat::pf24bit;
}

}  // namespace

TLabelNumbers::TLabelNumbers(TBitmap& Image) : FImage(Image) {
    // Without the GUI application there are no fonts: the canvas says so.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return;
    const TFont Font = Image.Canvas().Font;
    FFontKey = Font.ToQFont().key();
    if (FFontKey == Kept().Key) return;
    // A font's first use loads the font files: on a thread of its own, that
    // overlaps what the caller does before the first number.
    const auto Make = [Font] { return MakeStamps(Font); };
    try {
        FMaking = std::async(std::launch::async, Make);
    } catch (const std::system_error&) {
        FMaking = std::async(std::launch::deferred, Make);
    }
}

void TLabelNumbers::ChooseStamps() {
    FChosen = true;
    if (FFontKey.isEmpty()) return;
    TKeptStamps& Last = Kept();
    if (FMaking.valid()) {
        Last.Stamps = FMaking.get();
        Last.Key = FFontKey;
    }
    if (!Plain(FImage) || FImage.Canvas().Font.ToQFont().key() != Last.Key) return;
    FStamps = Last.Stamps;
}

TLabelNumbers::~TLabelNumbers() {
    if (!FDrawn) return;
    FImage.Canvas().MoveTo(FPenPos.X, FPenPos.Y);
    FImage.SetModified(true);
}

void TLabelNumbers::Draw(TPoint Centre, int Number) {
    if (!FChosen) ChooseStamps();
    if (!FStamps) {
        TCanvas& Canvas = FImage.Canvas();
        Canvas.TextOut(Centre.X, Centre.Y, Format(QStringLiteral("No.%d"), {Number}));
        Canvas.Ellipse(Centre.X - 3, Centre.Y - 3, Centre.X + 3, Centre.Y + 3);
        return;
    }
    // The rows are asked for again only when the picture's store moved: ten
    // thousand numbers would otherwise ask for every row they cover.
    if (FImage.Height() > 0 && (FRows.empty() || FRows.front() != FImage.ScanLine(0)))
        FRows = WritableRows(FImage, Rect(0, 0, FImage.Width() - 1, FImage.Height() - 1));
    TStamps& Stamps = *FStamps;
    std::vector<TPoint>& Ink = FInk;
    Ink.clear();
    const int Width = Stamps.Layout(Number, [&Ink](int X, int Y) { Ink.push_back({X, Y}); });
    // The text's cell in the brush's white, then its glyphs in the font's black.
    const int64_t Left = std::max<int64_t>(Centre.X, 0);
    const int64_t Right = std::min<int64_t>(int64_t(Centre.X) + Width, FImage.Width());
    const int64_t Top = std::max<int64_t>(Centre.Y, 0);
    const int64_t Bottom = std::min<int64_t>(int64_t(Centre.Y) + Stamps.Height, FImage.Height());
    if (Left < Right)
        for (int64_t Y = Top; Y < Bottom; ++Y)
            std::fill_n(FRows[std::size_t(Y)] + Left * 3, (Right - Left) * 3, uint8_t(255));
    const int64_t Columns = FImage.Width(), Rows = FImage.Height();
    const auto Stamp = [&](const std::vector<TPoint>& Points, uint8_t Value) {
        for (const TPoint& P : Points) {
            const int64_t X = int64_t(Centre.X) + P.X, Y = int64_t(Centre.Y) + P.Y;
            if (X < 0 || Y < 0 || X >= Columns || Y >= Rows) continue;
            uint8_t* Pixel = FRows[std::size_t(Y)] + X * 3;
            Pixel[0] = Pixel[1] = Pixel[2] = Value;
        }
    };
    Stamp(Ink, 0);
    Stamp(Stamps.CircleBrush, 255);
    Stamp(Stamps.CirclePen, 0);
    FPenPos = {int(std::clamp<int64_t>(int64_t(Centre.X) + Width, INT_MIN, INT_MAX)), Centre.Y};
    FDrawn = true;
}

}  // namespace tam32
