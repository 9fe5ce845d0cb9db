#include "platform/Bitmap.h"

#include <algorithm>

#include "platform/BitmapFormats.h"
#include "platform/Exceptions.h"
#include "platform/RasterTarget.h"

namespace tam32 {

namespace {

const QString kOutOfResources = QStringLiteral("Out of system resources");

// Every pixel of Image set to Value (in the picture's own form).
void FillWith(QImage& Image, uint32_t Value) {
    RasterTarget target = RasterTarget::Writable(&Image);
    for (int y = 0; y < target.Height(); ++y)
        for (int x = 0; x < target.Width(); ++x) target.Write(x, y, Value);
}

std::unique_ptr<TGraphic> CreateBitmap() { return std::make_unique<TBitmap>(); }

}  // namespace

const TGraphicClassInfo TBitmap::ClassInfo = {"TBitmap", &CreateBitmap};

TBitmap::TBitmap() = default;
TBitmap::~TBitmap() = default;

void TBitmap::Install(QImage Image, TPixelFormat Format) {
    FImage = std::move(Image);
    FWidth = FImage.width();
    FHeight = FImage.height();
    FPixelFormat = Format;
    Changed();
}

void TBitmap::SetSize(int AWidth, int AHeight) {
    if (AWidth < 0 || AHeight < 0) throw EInvalidGraphic(QStringLiteral("Invalid image size"));
    if (AWidth == FWidth && AHeight == FHeight) return;
    if (AWidth == 0 || AHeight == 0) {
        // Width and height are remembered apart, so setting one then the other works.
        FImage = QImage();
        FWidth = AWidth;
        FHeight = AHeight;
        Changed();
        return;
    }
    QImage image(AWidth, AHeight, QtFormatOf(FPixelFormat));
    if (image.isNull()) throw EOutOfResources(kOutOfResources);
    if (image.depth() <= 8)
        image.setColorTable(FImage.isNull() ? DefaultColorTable(FPixelFormat) : FImage.colorTable());
    if (!FImage.isNull()) {
        image.setDotsPerMeterX(FImage.dotsPerMeterX());
        image.setDotsPerMeterY(FImage.dotsPerMeterY());
    }

    RasterTarget fresh = RasterTarget::Writable(&image);
    const TBrush& brush = Canvas().Brush;
    FillWith(image, brush.Style == TBrushStyle::bsSolid ? fresh.ValueOf(brush.Color) : 0);
    const RasterTarget old = RasterTarget::ReadOnly(&FImage);
    for (int y = 0; y < std::min(old.Height(), AHeight); ++y)
        for (int x = 0; x < std::min(old.Width(), AWidth); ++x) fresh.Write(x, y, old.Read(x, y));
    Install(std::move(image), FPixelFormat);
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
    if (Value == FPixelFormat) return;
    QImage converted = ConvertedTo(FImage, Value, FPalette);
    if (converted.isNull() && !FImage.isNull()) throw EOutOfResources(kOutOfResources);
    FImage = std::move(converted);
    FPixelFormat = Value;
    Changed();
}

uint8_t* TBitmap::ScanLine(int Y) {
    if (FImage.isNull() || Y < 0 || Y >= FHeight)
        throw EInvalidGraphicOperation(QStringLiteral("Scan line index out of range"));
    return FImage.scanLine(Y);
}

TCanvas& TBitmap::Canvas() {
    if (!FCanvas) {
        FCanvas = std::make_unique<TCanvas>(&FImage);
        FCanvas->OnChange = [this](TObject*) { Changed(); };
    }
    return *FCanvas;
}

void TBitmap::SetImage(const QImage& Image) {
    const TPixelFormat format = PixelFormatOf(Image.format());
    QImage image = Image.isNull() ? QImage() : Image.convertToFormat(QtFormatOf(format));
    if (image.isNull() && !Image.isNull()) throw EOutOfResources(kOutOfResources);
    Install(std::move(image), format);
}

void TBitmap::Draw(TCanvas& ACanvas, const TRect& Rect) {
    if (!FImage.isNull()) ACanvas.StretchDrawImage(Rect, FImage);
}

HPALETTE TBitmap::GetPalette() {
    if (FImage.depth() <= 8 && !FImage.isNull()) return PaletteOf(FImage.colorTable());
    return FPalette;
}

void TBitmap::SetPalette(HPALETTE Value) {
    if (FImage.isNull() || FImage.depth() > 8) {
        FPalette = std::move(Value);
    } else if (Value != nullptr) {
        // The table keeps its length so that every stored index stays valid.
        const qsizetype capacity = FPixelFormat == TPixelFormat::pf1bit   ? 2
                                   : FPixelFormat == TPixelFormat::pf4bit ? 16
                                                                          : 256;
        QList<QRgb> table = ColorTableOf(*Value).mid(0, capacity);
        while (table.size() < FImage.colorCount()) table.append(qRgb(0, 0, 0));
        FImage.setColorTable(table);
    }
    SetPaletteModified(true);
    Changed();
}

void TBitmap::Assign(const TPersistent* Source) {
    if (Source == nullptr) {
        FImage = QImage();
        FWidth = FHeight = 0;
        Changed();
    } else if (const auto* bitmap = dynamic_cast<const TBitmap*>(Source)) {
        if (bitmap == this) return;
        // Shared until either is written: QImage copies on the first write.
        FImage = bitmap->FImage;
        FWidth = bitmap->FWidth;
        FHeight = bitmap->FHeight;
        FPixelFormat = bitmap->FPixelFormat;
        FPalette = bitmap->FPalette;
        Changed();
    } else {
        TGraphic::Assign(Source);
    }
}

}  // namespace tam32
