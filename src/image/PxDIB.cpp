#include "image/PxDIB.h"

#include <cstring>
#include <memory>

#include "image/PxMemory.h"
#include "platform/Bitmap.h"
#include "platform/ColorToRGB.h"
#include "platform/Rounding.h"

namespace tam32 {
namespace {

const QString kPixelsBadType = QStringLiteral("TPxDIB.GetPixels: Bad DIB Type");

// The shared display palettes, made on first use and kept until exit, so
// every graphic in the same mode gets the same handle.
HPALETTE PxDIBFixedPalette() {
    static const HPALETTE palette = [] {
        std::vector<TPaletteEntry> entries;
        for (const RGBQUAD& c : PxFixedPaletteColors) entries.push_back({c.rgbRed, c.rgbGreen, c.rgbBlue, 0});
        return CreatePalette(std::move(entries));
    }();
    return palette;
}

HPALETTE PxDIBMonoPalette() {
    static const HPALETTE palette = CreatePalette({{0, 0, 0, 0}, {255, 255, 255, 0}});
    return palette;
}

std::unique_ptr<TGraphic> CreatePxDIB() { return std::make_unique<TPxDIB>(); }

struct ProgressStep {
    TPxPixelFormat From, To;
    int Steps;
    const char* Message;
};

// Conversions that build a palette report progress per palette leaf.
constexpr ProgressStep kProgressSteps[] = {
    {pxPf8Bit, pxPf4Bit, 16, "PixelFormat 8Bit -> 4Bit"},
    {pxPf8Bit, pxPf4BitRLE, 16, "PixelFormat 8Bit -> 4BitRLE"},
    {pxPf8BitRLE, pxPf4Bit, 16, "PixelFormat 8BitRLE -> 4Bit"},
    {pxPf8BitRLE, pxPf4BitRLE, 16, "PixelFormat 8BitRLE -> 4BitRLE"},
    {pxPf24Bit, pxPf4Bit, 16, "PixelFormat 24Bit -> 4Bit"},
    {pxPf24Bit, pxPf4BitRLE, 16, "PixelFormat 24Bit -> 4BitRLE"},
    {pxPf24Bit, pxPf8Bit, 256, "PixelFormat 24Bit -> 8Bit"},
    {pxPf24Bit, pxPf8BitRLE, 256, "PixelFormat 24Bit -> 8BitRLE"},
};

}  // namespace

const TGraphicClassInfo TPxDIB::ClassInfo = {"TPxDIB", &CreatePxDIB};

TPxDIB::TPxDIB() : FDIB(new TPxInternalDIB(PxDIBUseFileMapping)) { UpdatePaletteModified(); }

TPxDIB::~TPxDIB() { ReleaseDIB(); }

void TPxDIB::ReleaseDIB() {
    if (FDIB != nullptr && --FDIB->RefCount == 0) delete FDIB;
    FDIB = nullptr;
}

void TPxDIB::ShareStore(TPxInternalDIB* Store) {
    ++Store->RefCount;
    ReleaseDIB();
    FDIB = Store;
}

void TPxDIB::InstallStore(TPxInternalDIB* NewStore) {
    ReleaseDIB();
    FDIB = NewStore;
    UpdatePaletteModified();
    Changed();
}

TPxInternalDIB* TPxDIB::CopyStore(const TPxInternalDIB& Source) {
    auto copy = std::make_unique<TPxInternalDIB>(Source.UseFileMapping);
    copy->FreeDIB();
    TPxDIBInfos infos = Source.Infos;
    infos.Bits = nullptr;
    infos.MappingHandle = 0;
    GetMemory(infos, Source.Infos.BitsSize, copy->UseFileMapping);
    std::memcpy(infos.Bits, Source.Infos.Bits, Source.Infos.BitsSize);
    copy->Install(infos);
    return copy.release();
}

void TPxDIB::MakeUnique() {
    if (FDIB->RefCount == 1) return;
    TPxInternalDIB* copy = CopyStore(*FDIB);
    ReleaseDIB();
    FDIB = copy;
    UpdatePaletteModified();
}

void TPxDIB::RefuseWhileDrawnOn(const char* Operation) const {
    if (FCanvasCount > 0)
        throw EPxDIBError(QString::fromLatin1(Operation) + QStringLiteral(": Image is in Use by a Canvas"));
}

void TPxDIB::UpdatePaletteModified() {
    if (FDIB->PaletteChangedFlag) {
        FDIB->PaletteChangedFlag = false;
        SetPaletteModified(true);
    }
}

void TPxDIB::NewBlankImage(int AWidth, int AHeight, int ColorCount, int BitCount) {
    auto store = std::make_unique<TPxInternalDIB>(FDIB->UseFileMapping);
    store->FreeDIB();
    store->CreateDIB(AWidth, AHeight, ColorCount, BitCount);
    InstallStore(store.release());
}

// --- assignment -----------------------------------------------------------

void TPxDIB::Assign(const TPersistent* Source) {
    if (Source == this) return;
    RefuseWhileDrawnOn("TPxDIB.Assign");
    if (Source == nullptr) {
        InstallStore(new TPxInternalDIB(FDIB->UseFileMapping));
        return;
    }
    if (const auto* other = dynamic_cast<const TPxDIB*>(Source)) {
        // A store that a canvas draws on stays with its graphic alone.
        if (other->FCanvasCount > 0) {
            TPxInternalDIB* copy = CopyStore(*other->FDIB);
            ReleaseDIB();
            FDIB = copy;
        } else {
            ShareStore(other->FDIB);
        }
        MonoColor = other->MonoColor;
        ConvertMode = other->ConvertMode;
        PaletteMode = other->PaletteMode;
        SetPaletteModified(true);
        Changed();
        return;
    }
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(Source)) {
        AssignFromBitmap(*bitmap);
        return;
    }
    TPxGraphic::Assign(Source);
}

void TPxDIB::AssignTo(TPersistent* Dest) const {
    if (auto* other = dynamic_cast<TPxDIB*>(Dest)) {
        other->Assign(this);
        return;
    }
    if (auto* bitmap = dynamic_cast<TBitmap*>(Dest)) {
        AssignToBitmap(*bitmap);
        return;
    }
    TPxGraphic::AssignTo(Dest);
}

// --- size and format ------------------------------------------------------

void TPxDIB::SetWidth(int Value) {
    if (Value < 1) throw EPxDIBInvalidDIBPara(QStringLiteral("TPxDIB.SetWidth: Invalid Width"));
    if (Value == FDIB->Width) return;
    RefuseWhileDrawnOn("TPxDIB.SetWidth");
    NewBlankImage(Value, FDIB->Height, static_cast<int>(FDIB->Infos.Header.biClrUsed), GetBitCount());
}

void TPxDIB::SetHeight(int Value) {
    if (Value == 0) throw EPxDIBInvalidDIBPara(QStringLiteral("TPxDIB.SetWidth: Invalid Height"));
    if (Value == FDIB->Height) return;
    RefuseWhileDrawnOn("TPxDIB.SetHeight");
    NewBlankImage(FDIB->Width, Value, static_cast<int>(FDIB->Infos.Header.biClrUsed), GetBitCount());
}

void TPxDIB::SetBitCount(int Value) {
    if (Value != 1 && Value != 4 && Value != 8 && Value != 24)
        throw EPxDIBInvalidDIBPara(QStringLiteral("TPxDIB.SetBitCount: Invalid BitCount"));
    if (Value == GetBitCount()) return;
    RefuseWhileDrawnOn("TPxDIB.SetBitCount");
    NewBlankImage(FDIB->Width, FDIB->Infos.Header.biHeight, GetNumColors(Value), Value);
}

void TPxDIB::SetPixelFormat(TPxPixelFormat Value) {
    const TPxPixelFormat current = GetPixelFormat();
    if (Value == current) return;
    RefuseWhileDrawnOn("TPxDIB.SetPixelFormat");
    MakeUnique();
    bool started = false;
    for (const ProgressStep& step : kProgressSteps) {
        if (step.From == current && step.To == Value) {
            InitProgress(step.Steps, QString::fromLatin1(step.Message));
            StartProgress();
            started = true;
        }
    }
    FDIB->ConvertPixelFormat(Value, ConvertMode, &DIBProgressCallback, this, ColorToRGB(MonoColor));
    UpdatePaletteModified();
    if (started) EndProgress();
    UpdatePaletteModified();
    Changed();
}

void TPxDIB::CreateTrueColorPalette() {
    MakeUnique();
    InitProgress(256, QStringLiteral("Create True Color Palette"));
    StartProgress();
    FDIB->CreateTrueColorPalette(ConvertMode, &DIBProgressCallback, this);
    UpdatePaletteModified();
    EndProgress();
    Changed();
}

// --- palettes -------------------------------------------------------------

HPALETTE TPxDIB::GetPalette() {
    switch (PaletteMode) {
    case pxPmFixed: return PxDIBFixedPalette();
    case pxPmMono: return PxDIBMonoPalette();
    default:
        if (!FDIB->PaletteHandle && FDIB->Infos.Header.biClrUsed != 0) FDIB->PaletteHandle = FDIB->GetPalette();
        return FDIB->PaletteHandle;
    }
}

void TPxDIB::SetPalette(HPALETTE Value) {
    MakeUnique();
    if (!Value) {
        FDIB->Infos.Header.biClrUsed = 0;
    } else {
        const auto& entries = Value->Entries();
        if (entries.empty()) throw EPxDIBInvalidPalette(QStringLiteral("TPxDIB.SetPalette: Invalid Palette"));
        const size_t count = std::min<size_t>(entries.size(), 256);
        for (size_t i = 0; i < count; ++i)
            FDIB->Infos.Colors[i] = {entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
        FDIB->Infos.Header.biClrUsed = static_cast<uint32_t>(count);
    }
    // The store shares the palette rather than owning it, so a palette that
    // belongs to another graphic is never freed twice.
    FDIB->PaletteChanged();
    FDIB->PaletteHandle = Value;
    UpdatePaletteModified();
    Changed();
}

// --- pixels ---------------------------------------------------------------

uint8_t* TPxDIB::RowAddress(int Y) const {
    const BITMAPINFOHEADER& h = FDIB->Infos.Header;
    const int64_t stride = DIBRowSize(h.biBitCount, h.biWidth);
    const int64_t row = h.biHeight > 0 ? static_cast<int64_t>(h.biHeight) - Y - 1 : Y;
    return FDIB->Infos.Bits + stride * row;
}

TColor TPxDIB::GetPixels(int X, int Y) const {
    const BITMAPINFOHEADER& h = FDIB->Infos.Header;
    if (h.biCompression != BI_RGB) throw EPxDIBBadDIBType(kPixelsBadType);
    if (X < 0 || X >= FDIB->Width || Y < 0 || Y >= FDIB->Height)
        throw EPxDIBPixelPositionRange(QStringLiteral("TPxDIB.GetPixels: Pixel Position is Out of Range"));
    const uint8_t* row = RowAddress(Y);
    switch (h.biBitCount) {
    case 8: return row[X];
    case 24: return RGBToColor(row[3 * X + 2], row[3 * X + 1], row[3 * X]);
    case 4: return X % 2 == 0 ? row[X / 2] >> 4 : row[X / 2] & 0x0F;
    case 1: return (row[X / 8] >> (7 - X % 8)) & 1;
    default:
        throw EPxDIBInvalidDIB(QStringLiteral("TPxDIB.GetPixels: GetPixel supports only Uncompressed DIB"));
    }
}

void TPxDIB::SetPixels(int X, int Y, TColor Value) {
    MakeUnique();
    const BITMAPINFOHEADER& h = FDIB->Infos.Header;
    if (h.biCompression != BI_RGB) throw EPxDIBBadDIBType(QStringLiteral("TPxDIB.SetPixels: Bad DIB Type"));
    if (X < 0 || X >= FDIB->Width || Y < 0 || Y >= FDIB->Height)
        throw EPxDIBPixelPositionRange(QStringLiteral("TPxDIB.SetPixels: Pixel Position is Out of Range"));
    uint8_t* row = RowAddress(Y);
    switch (h.biBitCount) {
    case 8:
        row[X] = CheckedCast<uint8_t>(Value);
        break;
    case 24:
        if (Value < 0) throw ERangeError(kRangeCheckError);
        row[3 * X] = GetBValue(Value);
        row[3 * X + 1] = GetGValue(Value);
        row[3 * X + 2] = GetRValue(Value);
        break;
    case 4: {
        const uint8_t nibble = Value & 0x0F;
        uint8_t& b = row[X / 2];
        b = X % 2 == 0 ? static_cast<uint8_t>((b & 0x0F) | (nibble << 4)) : static_cast<uint8_t>((b & 0xF0) | nibble);
        break;
    }
    case 1: {
        const uint8_t bit = static_cast<uint8_t>(0x80 >> (X % 8));
        row[X / 8] = Value != 0 ? (row[X / 8] | bit) : (row[X / 8] & ~bit);
        break;
    }
    default:
        throw EPxDIBInvalidDIB(
            QStringLiteral("TPxDIB.SetPixels: GetPixel supports only Uncompressed 8 or 24 bit DIB"));
    }
}

uint8_t* TPxDIB::GetScanLine(int Y) {
    MakeUnique();
    return const_cast<uint8_t*>(ReadScanLine(Y));
}

const uint8_t* TPxDIB::ReadScanLine(int Y) const {
    if (Y < 0 || Y >= FDIB->Height)
        throw EPxDIBPixelPositionRange(QStringLiteral("TPxDIB.GetScanLine: y is Out of Range"));
    if (FDIB->Infos.Header.biCompression != BI_RGB)
        throw EPxDIBBadDIBType(QStringLiteral("TPxDIB.GetScanLine: Bad DIB Type"));
    return RowAddress(Y);
}

// --- streams and clipboard --------------------------------------------------

void TPxDIB::LoadFromStream(TStream& Stream) {
    RefuseWhileDrawnOn("TPxDIB.LoadFromStream");
    auto store = std::make_unique<TPxInternalDIB>(FDIB->UseFileMapping);
    store->LoadFromStream(Stream);
    InstallStore(store.release());
}

void TPxDIB::SaveToStream(TStream& Stream) { FDIB->SaveToStream(Stream); }

void TPxDIB::LoadFromClipboardFormat(uint16_t AFormat, HGLOBAL AData, HPALETTE) {
    if (AFormat != CF_DIB || AData == nullptr)
        throw EInvalidGraphic(QStringLiteral("TPxDIB.LoadFromClipboardFormat: Invalid Clipboard Format or No Data"));
    RefuseWhileDrawnOn("TPxDIB.LoadFromClipboardFormat");
    auto store = std::make_unique<TPxInternalDIB>(FDIB->UseFileMapping);
    store->LoadFromClipboardFormat(AData);
    InstallStore(store.release());
}

void TPxDIB::SaveToClipboardFormat(uint16_t& AFormat, HGLOBAL& AData, HPALETTE& APalette) {
    AFormat = CF_DIB;
    APalette = nullptr;
    FDIB->SaveToClipboardFormat(AData);
}

// --- progress ---------------------------------------------------------------

void TPxDIB::InitProgress(int Total, const QString& Message) {
    ProgressMessage = Message;
    ProgressTotal = Total;
    ProgressCount = 0;
}

void TPxDIB::StartProgress() {
    Progress(this, TProgressStage::psStarting, 0, false, Rect(0, 0, Width(), Height()), ProgressMessage);
}

void TPxDIB::EndProgress() {
    Progress(this, TProgressStage::psEnding, 100, true, Rect(0, 0, Width(), Height()), ProgressMessage);
}

void TPxDIB::DIBProgressCallback(void* Data) {
    auto* self = static_cast<TPxDIB*>(Data);
    ++self->ProgressCount;
    if (self->ProgressCount >= self->ProgressTotal) return;
    self->Progress(self, TProgressStage::psRunning,
                   static_cast<uint8_t>(self->ProgressCount * 100 / self->ProgressTotal), false,
                   Rect(0, 0, self->Width(), self->Height()), self->ProgressMessage);
}

// --- registration -------------------------------------------------------------

void RegisterPxDIB() {
    PictureFormats::RegisterClipboardFormat(CF_DIB, &TPxDIB::ClassInfo);
    PictureFormats::RegisterFileFormat(QStringLiteral("dib"), QStringLiteral("Device Independent Bitmap"),
                                       &TPxDIB::ClassInfo);
}

void UnregisterPxDIB() { PictureFormats::UnregisterGraphicClass(&TPxDIB::ClassInfo); }

}  // namespace tam32
