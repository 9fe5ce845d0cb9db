#pragma once
// One loaded image plug-in library and its kinds: TSPI (any library with
// "GetPluginInfo"), TLoaderSPI, TInSPI (image input, "00IN"), TAmSPI
// (archives, "00AM") and TXnSPI ("00XN"). Each kind checks the exports it
// needs when it is made; the call wrappers raise ESPIInvalidAPI for a
// missing export and otherwise return the plug-in's result unchanged.
#include <QString>
#include <QStringList>
#include <memory>

#include "platform/SharedLibrary.h"
#include "platform/SpiAbi.h"
#include "platform/Object.h"

namespace tam32 {

class TSPI;

// A class reference of the family: its virtual constructor and its
// "inherits from" test.
struct TSPIClassInfo {
    const char* Name;
    std::unique_ptr<TSPI> (*Create)(const QString& FileName);
    bool (*IsClassOf)(const TSPI& SPI);
};
using TSPIClass = const TSPIClassInfo*;

class TSPI : public TObject {
public:
    // ClassInfo.Create loads and describes the library: ESPIFOpenErrorSPI
    // when it cannot be loaded, ESPIInvalidAPI when it lacks an export the
    // kind needs; the library is unloaded again in both cases.
    static const TSPIClassInfo ClassInfo;
    ~TSPI() override = default;
    TSPI(const TSPI&) = delete;
    TSPI& operator=(const TSPI&) = delete;
    const char* ClassName() const override { return "TSPI"; }

    // Raises ESPIInvalidAPI for the first missing export the kind requires.
    virtual void CheckAPI() const;
    virtual bool IsLoaderKind() const { return false; }

    int32_t GetPluginInfo(int32_t InfoNo, char* Buf, int32_t BufLen) const;
    const QStringList& GetExtensions() const { return Extensions; }
    const QStringList& GetDescriptions() const { return Descriptions; }

    SharedLibrary Handle;
    QString FileName;
    QString APIVersion;
    QString PluginName;
    QStringList Extensions;    // file-name masks, one entry per format
    QStringList Descriptions;  // the format descriptions, same index

    struct EntryPoints {
        SpiGetPluginInfoFn GetPluginInfo = nullptr;
        void* ConfigurationDlg = nullptr;
        SpiIsSupportedFn IsSupported = nullptr;
        SpiGetPictureInfoFn GetPictureInfo = nullptr;
        SpiGetPictureFn GetPicture = nullptr;
        SpiGetPictureFn GetPreview = nullptr;
        void* GetArchiveInfo = nullptr;
        void* GetFileInfo = nullptr;
        void* GetFile = nullptr;
        // Our own plug-ins' extension, looked up besides the nine.
        SpiGetPictureRowsFn GetPictureRows = nullptr;
    };
    EntryPoints Entries;

protected:
    // Loads the library and looks up its exports.
    explicit TSPI(const QString& AFileName);
    void RequireExport(const void* Address, const char* Name) const;

    // The virtual constructor of kind T: the exports are checked by T's own
    // CheckAPI before the plug-in is asked to describe itself.
    template <class T>
    static std::unique_ptr<TSPI> Make(const QString& FileName) {
        std::unique_ptr<T> spi(new T(FileName));
        spi->CheckAPI();
        spi->Describe();
        return spi;
    }

private:
    // Fills APIVersion, PluginName, Extensions and Descriptions.
    void Describe();
};

class TLoaderSPI : public TSPI {
public:
    static const TSPIClassInfo ClassInfo;
    const char* ClassName() const override { return "TLoaderSPI"; }
    void CheckAPI() const override;
    int32_t IsSupported(const char* AFileName, uintptr_t DW) const;

protected:
    using TSPI::TSPI;
    friend class TSPI;
};

class TInSPI : public TLoaderSPI {
public:
    static const TSPIClassInfo ClassInfo;
    const char* ClassName() const override { return "TInSPI"; }
    void CheckAPI() const override;
    bool IsLoaderKind() const override { return true; }
    int32_t GetPictureInfo(const char* Buf, intptr_t Len, uint32_t Flag, SpiPictureInfo& Info) const;
    int32_t GetPicture(const char* Buf, intptr_t Len, uint32_t Flag, SpiHandle& HBInfo, SpiHandle& HBm,
                       SpiProgressCallback Callback, intptr_t LData) const;
    int32_t GetPreview(const char* Buf, intptr_t Len, uint32_t Flag, SpiHandle& HBInfo, SpiHandle& HBm,
                       SpiProgressCallback Callback, intptr_t LData) const;
    // GetPicture telling each row as it is finished, when the plug-in can.
    bool TellsRows() const { return Entries.GetPictureRows != nullptr; }
    int32_t GetPictureRows(const char* Buf, intptr_t Len, uint32_t Flag, SpiHandle& HBInfo, SpiHandle& HBm,
                           SpiProgressCallback Callback, SpiRowsCallback RowsCallback, intptr_t LData) const;

protected:
    using TLoaderSPI::TLoaderSPI;
    friend class TSPI;
};

class TAmSPI : public TLoaderSPI {
public:
    static const TSPIClassInfo ClassInfo;
    const char* ClassName() const override { return "TAmSPI"; }
    void CheckAPI() const override;
    bool IsLoaderKind() const override { return true; }

protected:
    using TLoaderSPI::TLoaderSPI;
    friend class TSPI;
};

class TXnSPI : public TSPI {
public:
    static const TSPIClassInfo ClassInfo;
    const char* ClassName() const override { return "TXnSPI"; }

protected:
    using TSPI::TSPI;
    friend class TSPI;
};

// The plug-in object of the kind the library declares (by its API version),
// or nullptr when the library cannot be loaded. ESPIInvalidAPI passes on.
std::unique_ptr<TSPI> CreateSPI(const QString& FileName);

}  // namespace tam32
