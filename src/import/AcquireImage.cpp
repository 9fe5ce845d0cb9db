#include "import/AcquireImage.h"

#include <dlfcn.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QWindow>
#include <cstring>

#include "import/SourceEventPump.h"
#include "platform/Bitmap.h"
#include "platform/Clipboard.h"
#include "platform/ProgramFolder.h"
#include "platform/SharedLibrary.h"
#include "platform/TwainText.h"

namespace tam32 {

namespace {

// The manager allocates every handle it gives us through our own memory
// handles, so we can validate and free them like any other.
const TSourceManagerMemory kMemory{
    [](TW_UINT32 Flags, size_t Bytes) -> TW_HANDLE { return GlobalAlloc(Flags, Bytes); },
    [](TW_HANDLE Handle) -> TW_MEMREF { return GlobalLock(static_cast<HGLOBAL>(Handle)); },
    [](TW_HANDLE Handle) { return GlobalUnlock(static_cast<HGLOBAL>(Handle)); },
    [](TW_HANDLE Handle) -> TW_HANDLE { return GlobalFree(static_cast<HGLOBAL>(Handle)); },
    [](TW_HANDLE Handle) { return GlobalSize(static_cast<HGLOBAL>(Handle)); },
};

// qGuiApp would be a wrong cast under a plain application object.
TW_HANDLE ActiveWindow() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr ? QGuiApplication::focusWindow()
                                                                                   : nullptr;
}

// Closes the clipboard at the end of a scope.
class ClipboardSession {
public:
    ClipboardSession() { Clipboard().Open(); }
    ~ClipboardSession() { Clipboard().Close(); }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
};

// Places the block on the clipboard as CF_DIB, which then owns it; false
// when the clipboard cannot be opened or emptied or refuses the block.
bool GiveToClipboard(HGLOBAL Dib) {
    std::unique_ptr<ClipboardSession> session;
    try {
        session = std::make_unique<ClipboardSession>();
        Clipboard().Clear();
        Clipboard().SetAsHandle(CF_DIB, Dib);
    } catch (const Exception&) {
        return false;
    }
    return true;
}

}  // namespace

TAcquireImage::TAcquireImage()
    : LibraryFileName(QDir(ProgramFolder()).filePath(QLatin1String(kSourceManagerFile))) {
    SetAppInfo(QStringLiteral("Twain Freeware Component"));
    SetAppManufacturer(QStringLiteral("none"));
    SetAppProductFamily(QStringLiteral("none"));
    SetAppProductName(QStringLiteral("none"));
}

TAcquireImage::~TAcquireImage() {
    if (LibraryHandle == nullptr) return;
    CloseSource();
    UnloadSourceManager();
}

QString TAcquireImage::AppInfo() const { return TwainText(AppIdentity.Version.Info); }
void TAcquireImage::SetAppInfo(const QString& Value) { SetTwainText(AppIdentity.Version.Info, Value); }
QString TAcquireImage::AppManufacturer() const { return TwainText(AppIdentity.Manufacturer); }
void TAcquireImage::SetAppManufacturer(const QString& Value) { SetTwainText(AppIdentity.Manufacturer, Value); }
QString TAcquireImage::AppProductFamily() const { return TwainText(AppIdentity.ProductFamily); }
void TAcquireImage::SetAppProductFamily(const QString& Value) { SetTwainText(AppIdentity.ProductFamily, Value); }
QString TAcquireImage::AppProductName() const { return TwainText(AppIdentity.ProductName); }
void TAcquireImage::SetAppProductName(const QString& Value) { SetTwainText(AppIdentity.ProductName, Value); }

TW_UINT16 TAcquireImage::Call(TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_IDENTITY* Dest, TW_MEMREF Data) {
    return DSMEntry != nullptr ? DSMEntry(&AppIdentity, Dest, DG, DAT, MSG, Data) : TWRC_FAILURE;
}

void TAcquireImage::Report(int State, TW_UINT16 Error) {
    if (OnTwainError) OnTwainError(this, State, Error);
}

bool TAcquireImage::LoadSourceManager() {
    if (LibraryHandle != nullptr) return DSMEntry != nullptr;
    void* library = LoadTrustedLibrary(LibraryFileName);
    if (library == nullptr) return false;
    const auto entry = reinterpret_cast<DSMENTRYPROC>(dlsym(library, kSourceManagerEntry));
    const auto memory = reinterpret_cast<DSMMEMORYPROC>(dlsym(library, kSourceManagerMemoryEntry));
    if (entry == nullptr || memory == nullptr) {
        dlclose(library);  // the caller stops here and would never unload it
        return false;
    }
    memory(&kMemory);
    LibraryHandle = library;
    DSMEntry = entry;
    return true;
}

TW_UINT16 TAcquireImage::OpenSourceManager() {
    if (LibraryHandle == nullptr) return TWRC_FAILURE;
    if (DSMEntry == nullptr) {
        Report(tsManagerLoaded, TWRC_FAILURE);
        return TWRC_FAILURE;
    }
    FSourceSelected = false;
    AppIdentity.Id = 0;
    AppIdentity.ProtocolMajor = 1;
    AppIdentity.ProtocolMinor = 8;
    AppIdentity.SupportedGroups = DG_IMAGE;
    ParentWindow = ActiveWindow();
    const TW_UINT16 result = Call(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, nullptr, &ParentWindow);
    if (result != TWRC_SUCCESS) Report(tsManagerLoaded, result);
    return result;
}

void TAcquireImage::ClearSourceIdentity() {
    FSourceSelected = false;
    SourceIdentity.Id = 0;
    std::memset(SourceIdentity.ProductName, 0, sizeof SourceIdentity.ProductName);
}

void TAcquireImage::SelectSource(bool UseDefault, QString& Name) {
    Name.clear();
    if (LibraryHandle == nullptr) return;
    ClearSourceIdentity();
    const TW_UINT16 result =
        Call(DG_CONTROL, DAT_IDENTITY, UseDefault ? MSG_GETDEFAULT : MSG_USERSELECT, nullptr, &SourceIdentity);
    if (result != TWRC_SUCCESS) {
        Report(tsManagerOpen, result);
        return;
    }
    FSourceSelected = true;
    Name = TwainText(SourceIdentity.ProductName);
}

TW_UINT16 TAcquireImage::SelectSourceByName(const QString& Name) {
    if (LibraryHandle == nullptr) return TWRC_FAILURE;
    ClearSourceIdentity();
    TW_UINT16 result;
    if (Name.isEmpty()) {
        result = Call(DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, nullptr, &SourceIdentity);
    } else {
        result = Call(DG_CONTROL, DAT_IDENTITY, MSG_GETFIRST, nullptr, &SourceIdentity);
        while (result == TWRC_SUCCESS && TwainText(SourceIdentity.ProductName) != Name)
            result = Call(DG_CONTROL, DAT_IDENTITY, MSG_GETNEXT, nullptr, &SourceIdentity);
    }
    if (result != TWRC_SUCCESS) Report(tsManagerOpen, result);
    FSourceSelected = result == TWRC_SUCCESS;
    return result;
}

TW_UINT16 TAcquireImage::OpenSource() {
    if (LibraryHandle == nullptr) return TWRC_FAILURE;
    // A cancelled or failed selection leaves no source, or the last one
    // enumerated, in SourceIdentity; the manager would open that one (or
    // its default) although the user chose none.
    if (!FSourceSelected) {
        Report(tsSourceOpen, TWRC_CANCEL);
        return TWRC_CANCEL;
    }
    TW_UINT16 result = Call(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, nullptr, &SourceIdentity);
    if (result == TWRC_SUCCESS) result = SetTransferCount();
    if (result == TWRC_FAILURE) result = GetConditionCode();
    if (result != TWRC_SUCCESS) Report(tsSourceOpen, result);
    return result;
}

TW_UINT16 TAcquireImage::SetTransferCount() {
    const TW_ONEVALUE all{TWTY_INT16, 0xFFFFFFFF};  // -1: as many pictures as there are
    Capability = {CAP_XFERCOUNT, TWON_ONEVALUE, GlobalAlloc(GHND, sizeof all)};
    if (void* container = GlobalLock(static_cast<HGLOBAL>(Capability.hContainer))) {
        std::memcpy(container, &all, sizeof all);
        GlobalUnlock(static_cast<HGLOBAL>(Capability.hContainer));
    }
    TW_UINT16 result = Call(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &SourceIdentity, &Capability);
    GlobalFree(static_cast<HGLOBAL>(Capability.hContainer));
    if (result != TWRC_CHECKSTATUS) return result;
    Capability = {CAP_XFERCOUNT, TWON_DONTCARE16, nullptr};
    result = Call(DG_CONTROL, DAT_CAPABILITY, MSG_GET, &SourceIdentity, &Capability);
    GlobalFree(static_cast<HGLOBAL>(Capability.hContainer));
    if (result == TWRC_FAILURE) result = GetConditionCode();
    return result;
}

TW_UINT16 TAcquireImage::AcquireBitmap(std::unique_ptr<TBitmap>& Bitmap) {
    const TW_UINT16 result = AcquireToClipboard();
    if (result != TWRC_SUCCESS) return result;
    auto bitmap = std::make_unique<TBitmap>();
    {
        ClipboardSession session;
        bitmap->LoadFromClipboardFormat(CF_BITMAP, Clipboard().GetAsHandle(CF_BITMAP), nullptr);
        Clipboard().Clear();
    }
    Bitmap = std::move(bitmap);
    return result;
}

TW_UINT16 TAcquireImage::AcquireToClipboard() {
    HGLOBAL dib = nullptr;
    if (AcquireNative(dib) != TWRC_SUCCESS) return TWRC_FAILURE;
    bool given;
    try {
        given = GiveToClipboard(dib);
    } catch (...) {
        GlobalFree(dib);
        throw;
    }
    if (given) return TWRC_SUCCESS;
    GlobalFree(dib);
    return TWRC_FAILURE;
}

TW_UINT16 TAcquireImage::AcquireNative(HGLOBAL& DIB) {
    if (LibraryHandle == nullptr) return TWRC_FAILURE;
    DIB = nullptr;
    const TW_BOOL show = SHOWhideUI ? TW_TRUE : 0;
    UserInterface.Window = ActiveWindow();
    UserInterface.Record = {show, show, UserInterface.Window};
    TW_UINT16 result = Call(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &SourceIdentity, &UserInterface.Record);
    int state = tsSourceEnabled;
    if (result != TWRC_SUCCESS) {
        result = GetConditionCode();
    } else {
        TSourceEventPump pump(
            [this](TPlatformMessage& Message, TW_UINT16& SourceMessage) {
                Event.pEvent = &Message;
                Event.TWMessage = 0;
                const TW_UINT16 processed = Call(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &SourceIdentity, &Event);
                Event.pEvent = nullptr;  // the message lives only for this call
                SourceMessage = Event.TWMessage;
                return processed;
            },
            [this] { return GetConditionCode(); });
        for (bool done = false; !done;) {
            const TSourceEventPump::TSourceEvent next = pump.Next();
            result = next.Result;
            if (result == TWRC_DSEVENT && next.Message == MSG_XFERREADY) {
                result = TransferNativeImage(DIB, done);
                state = tsTransferring;
            } else if (result == TWRC_DSEVENT && next.Message == MSG_CLOSEDSREQ) {
                result = TWRC_CANCEL;
                done = true;
            } else if (result == TWRC_FAILURE) {
                result = next.Condition;
                state = tsTransferReady;
                done = true;
            }
        }
    }
    if (result != TWRC_SUCCESS) {
        // A picture of an earlier transfer is not handed over with a failure.
        if (DIB != nullptr) GlobalFree(DIB);
        DIB = nullptr;
        Report(state, result);
    }
    return result;
}

TW_UINT16 TAcquireImage::TransferNativeImage(HGLOBAL& DIB, bool& Done) {
    Done = true;
    if (DIB != nullptr) GlobalFree(DIB);
    TW_HANDLE picture = nullptr;
    TW_UINT16 result = Call(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &SourceIdentity, &picture);
    DIB = static_cast<HGLOBAL>(picture);
    TW_PENDINGXFERS pending{};
    switch (result) {
        case TWRC_XFERDONE:
            Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &SourceIdentity, &pending);
            if (pending.Count == 0)
                Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &SourceIdentity, &pending);
            else
                Done = false;  // wait for the next picture
            return TWRC_SUCCESS;
        case TWRC_CANCEL:
            if (IsValidMemoryHandle(DIB)) GlobalFree(DIB);
            DIB = nullptr;
            Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &SourceIdentity, &pending);
            if (pending.Count != 0) Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &SourceIdentity, &pending);
            return TWRC_CANCEL;
        case TWRC_FAILURE:
            result = GetConditionCode();
            DIB = nullptr;
            Call(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &SourceIdentity, &pending);
            return result;
        default: return result;
    }
}

TW_UINT16 TAcquireImage::CloseSource() {
    if (LibraryHandle == nullptr) return TWRC_FAILURE;
    FSourceSelected = false;
    Call(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &SourceIdentity, &UserInterface.Record);
    Call(DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, nullptr, &SourceIdentity);
    TW_UINT16 result = Call(DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, nullptr, &ParentWindow);
    if (result == TWRC_FAILURE) result = GetConditionCode();
    return result;
}

bool TAcquireImage::UnloadSourceManager() {
    if (LibraryHandle == nullptr) return false;
    const bool unloaded = dlclose(LibraryHandle) == 0;
    // Calls after this would jump into a library that is gone.
    if (unloaded) {
        LibraryHandle = nullptr;
        DSMEntry = nullptr;
    }
    return unloaded;
}

TW_UINT16 TAcquireImage::GetConditionCode() {
    TW_STATUS status{};
    const TW_UINT16 result = Call(DG_CONTROL, DAT_STATUS, MSG_GET, nullptr, &status);
    if (result != TWRC_SUCCESS) return result;
    return status.ConditionCode != TWCC_SUCCESS ? TW_UINT16(0x8000 + status.ConditionCode) : TW_UINT16(1);
}

}  // namespace tam32
