#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/PackedDib.h"
#include "platform/WinTypes.h"

namespace tam32 {

namespace {

const QString kBmpMime = QStringLiteral("image/bmp");
const QString kQtImageMime = QStringLiteral("application/x-qt-image");

// Nullptr without a GUI application.
QClipboard* Available() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr ? QGuiApplication::clipboard() : nullptr; }

QMimeData* CopyOf(const QMimeData* Data) {
    auto* copy = new QMimeData;
    if (Data == nullptr) return copy;
    for (const QString& format : Data->formats())
        if (format != kQtImageMime) copy->setData(format, Data->data(format));
    if (Data->hasImage()) copy->setImageData(Data->imageData());
    return copy;
}

bool IsPictureFormat(uint16_t Format) { return Format == CF_DIB || Format == CF_BITMAP; }

class OpenSession {
public:
    explicit OpenSession(TClipboard& Clipboard) : FClipboard(Clipboard) { FClipboard.Open(); }
    ~OpenSession() { FClipboard.Close(); }
    OpenSession(const OpenSession&) = delete;
    OpenSession& operator=(const OpenSession&) = delete;

private:
    TClipboard& FClipboard;
};

}  // namespace

TClipboard::~TClipboard() { FreeOwnedHandles(); }

QClipboard* TClipboard::System() const {
    QClipboard* clipboard = Available();
    if (clipboard == nullptr) throw EClipboardException(QStringLiteral("Cannot open clipboard"));
    return clipboard;
}

void TClipboard::Open() {
    if (FOpenCount == 0) {
        System();
        FEmptied = false;
    }
    ++FOpenCount;
}

void TClipboard::Close() {
    if (FOpenCount == 0) return;
    if (--FOpenCount == 0) FreeOwnedHandles();
}

void TClipboard::Clear() {
    OpenSession session(*this);
    System()->clear();
}

void TClipboard::FreeOwnedHandles() {
    for (HGLOBAL handle : FOwnedHandles) GlobalFree(handle);
    FOwnedHandles.clear();
}

QMimeData* TClipboard::DataForAdding() {
    if (!FEmptied) {
        FEmptied = true;
        return new QMimeData;
    }
    return CopyOf(System()->mimeData());
}

bool TClipboard::HasFormat(uint16_t Format) const {
    const QClipboard* clipboard = Available();
    const QMimeData* data = clipboard != nullptr ? clipboard->mimeData() : nullptr;
    if (data == nullptr) return false;
    if (IsPictureFormat(Format)) return data->hasImage() || data->hasFormat(kBmpMime);
    if (Format == CF_TEXT || Format == CF_UNICODETEXT) return data->hasText();
    return false;
}

HGLOBAL TClipboard::GetAsHandle(uint16_t Format) {
    const QMimeData* data = IsPictureFormat(Format) ? System()->mimeData() : nullptr;
    if (data == nullptr) return nullptr;
    QByteArray packed;
    if (data->hasFormat(kBmpMime)) packed = PackedDib::FromBmpFile(data->data(kBmpMime));
    if (packed.isEmpty() && data->hasImage()) packed = PackedDib::FromImage(System()->image());
    HGLOBAL handle = packed.isEmpty() ? nullptr : PackedDib::ToHandle(packed);
    if (handle == nullptr) return nullptr;
    if (FOpenCount == 0) FreeOwnedHandles();  // the previous fetch made while closed
    FOwnedHandles.push_back(handle);
    return handle;
}

void TClipboard::SetAsHandle(uint16_t Format, HGLOBAL Value) {
    if (!IsPictureFormat(Format)) throw EClipboardException(QStringLiteral("Unsupported clipboard format"));
    const QByteArray packed = PackedDib::FromHandle(Value);
    const QByteArray file =
        PackedDib::ToBmpFile(reinterpret_cast<const uint8_t*>(packed.constData()), size_t(packed.size()));
    const QImage image = file.isEmpty() ? QImage() : PackedDib::DecodeBmpFile(file);
    if (image.isNull()) throw EInvalidGraphic(QStringLiteral("Bitmap image is not valid"));
    OpenSession session(*this);
    QMimeData* data = DataForAdding();
    data->setData(kBmpMime, file);
    data->setImageData(image);
    System()->setMimeData(data);
    GlobalFree(Value);
}

QString TClipboard::AsText() const {
    const QClipboard* clipboard = Available();
    return clipboard != nullptr ? clipboard->text() : QString();
}

void TClipboard::SetAsText(const QString& Value) {
    OpenSession session(*this);
    QMimeData* data = DataForAdding();
    data->setText(Value);
    System()->setMimeData(data);
}

TClipboard& Clipboard() {
    // Never destroyed, so it outlives every other static that might use it.
    static TClipboard* const clipboard = new TClipboard;
    return *clipboard;
}

}  // namespace tam32
