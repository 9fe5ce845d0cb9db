#pragma once
// The scanner client: acquires one picture from a scanner or camera through
// the source manager library (platform/SourceManagerAbi.h) with native
// transfer, and hands it over as a bitmap. The library is loaded for one
// acquisition at a time: load, open the manager, select a source, open it,
// acquire, then close and unload in all cases.
//
// Operations return the manager's return code (0 = TWRC_SUCCESS) unless
// said otherwise, and report a non-zero result through OnTwainError with the
// state of the step that failed: 2 opening the manager, 3 selecting the
// source, 4 opening it, 5 enabling it, 6 failing while processing events,
// 7 after a transfer. Where an operation reads the condition code, a
// failure reads as 32768 plus the manager's condition code (1 when it gives
// none). No operation raises an exception of its own.
#include <QString>
#include <functional>
#include <memory>

#include "platform/MemoryHandle.h"
#include "platform/Object.h"
#include "platform/SourceManagerAbi.h"

namespace tam32 {

class TBitmap;

using TTwainErrorEvent = std::function<void(TObject* Sender, int State, int Error)>;

class TAcquireImage : public TObject {
public:
    TAcquireImage();
    // A manager still loaded is closed and unloaded.
    ~TAcquireImage() override;
    TAcquireImage(const TAcquireImage&) = delete;
    TAcquireImage& operator=(const TAcquireImage&) = delete;
    const char* ClassName() const override { return "TAcquireImage"; }

    // Published properties. All but SHOWhideUI live in AppIdentity; the
    // strings are cut to the 33 bytes their fields hold.
    bool SHOWhideUI = true;  // show the source's own interface while acquiring
    TW_UINT16 AppVersionMajorNum() const { return AppIdentity.Version.MajorNum; }
    void SetAppVersionMajorNum(TW_UINT16 Value) { AppIdentity.Version.MajorNum = Value; }
    TW_UINT16 AppVersionMinorNum() const { return AppIdentity.Version.MinorNum; }
    void SetAppVersionMinorNum(TW_UINT16 Value) { AppIdentity.Version.MinorNum = Value; }
    QString AppInfo() const;
    void SetAppInfo(const QString& Value);
    QString AppManufacturer() const;
    void SetAppManufacturer(const QString& Value);
    QString AppProductFamily() const;
    void SetAppProductFamily(const QString& Value);
    QString AppProductName() const;
    void SetAppProductName(const QString& Value);
    TW_UINT16 Language() const { return AppIdentity.Version.Language; }
    void SetLanguage(TW_UINT16 Value) { AppIdentity.Version.Language = Value; }
    TW_UINT16 Country() const { return AppIdentity.Version.Country; }
    void SetCountry(TW_UINT16 Value) { AppIdentity.Version.Country = Value; }
    TTwainErrorEvent OnTwainError;

    // Loads the library and finds its entry point; an already loaded one is
    // kept. A library that UntrustedLibraryReason refuses is not loaded.
    bool LoadSourceManager();
    TW_UINT16 OpenSourceManager();
    // Name: the selected source's product name; empty when none was selected.
    void SelectSource(bool UseDefault, QString& Name);
    // The source whose product name is Name (exactly), or the user's choice
    // when Name is empty; TWRC_ENDOFLIST when no source has that name.
    TW_UINT16 SelectSourceByName(const QString& Name);
    // Opens the source that the last selection chose. Without a successful
    // selection nothing is opened: TWRC_CANCEL, reported with state 4.
    TW_UINT16 OpenSource();
    // On 0, Bitmap is a new bitmap of the picture, which the caller owns;
    // otherwise it is left as it was.
    TW_UINT16 AcquireBitmap(std::unique_ptr<TBitmap>& Bitmap);
    // 0 when a picture was acquired and placed on the clipboard (as CF_DIB), 1 otherwise.
    TW_UINT16 AcquireToClipboard();
    // The transfer loop. On 0, DIB is the picture as a packed DIB, which the
    // caller owns; otherwise DIB is 0 and nothing is left to free.
    TW_UINT16 AcquireNative(HGLOBAL& DIB);
    // One native transfer. A picture still in DIB is freed first, as the
    // next one replaces it.
    TW_UINT16 TransferNativeImage(HGLOBAL& DIB, bool& Done);
    TW_UINT16 CloseSource();
    // True when the library was unloaded; LibraryHandle and DSMEntry are then cleared.
    bool UnloadSourceManager();
    TW_UINT16 GetConditionCode();

    // The library that LoadSourceManager loads: the manager file in the program's folder.
    QString LibraryFileName;

    struct TUserInterface {
        TW_HANDLE Window;  // the window the record was filled from
        TW_USERINTERFACE Record;
    };

    void* LibraryHandle = nullptr;
    DSMENTRYPROC DSMEntry = nullptr;
    TW_IDENTITY AppIdentity{};
    TW_IDENTITY SourceIdentity{};
    TW_CAPABILITY Capability{};        // sets the transfer count
    TW_HANDLE ParentWindow = nullptr;  // passed with DAT_PARENT
    TUserInterface UserInterface{};
    TW_EVENT Event{};

private:
    TW_UINT16 Call(TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_IDENTITY* Dest, TW_MEMREF Data);
    TW_UINT16 SetTransferCount();
    void ClearSourceIdentity();
    void Report(int State, TW_UINT16 Error);

    bool FSourceSelected = false;
};

}  // namespace tam32
