#include "import/SPI.h"

#include <cstring>
#include <type_traits>

#include "import/SPIExceptions.h"

namespace tam32 {
namespace {

constexpr int32_t kInfoBufferLength = 255;
// A plug-in that never runs out of formats would otherwise hang the search.
constexpr int32_t kMaxFormats = 1024;

template <class T>
bool IsClassOf(const TSPI& SPI) {
    if constexpr (std::is_same_v<T, TSPI>)
        return true;
    else
        return dynamic_cast<const T*>(&SPI) != nullptr;
}

template <class Fn>
Fn Lookup(const SharedLibrary& Library, const char* Name) {
    return reinterpret_cast<Fn>(Library.Symbol(Name));
}

}  // namespace

const TSPIClassInfo TSPI::ClassInfo = {
    "TSPI", [](const QString& FileName) { return Make<TSPI>(FileName); }, &IsClassOf<TSPI>};
const TSPIClassInfo TLoaderSPI::ClassInfo = {
    "TLoaderSPI", [](const QString& FileName) { return Make<TLoaderSPI>(FileName); }, &IsClassOf<TLoaderSPI>};
const TSPIClassInfo TInSPI::ClassInfo = {
    "TInSPI", [](const QString& FileName) { return Make<TInSPI>(FileName); }, &IsClassOf<TInSPI>};
const TSPIClassInfo TAmSPI::ClassInfo = {
    "TAmSPI", [](const QString& FileName) { return Make<TAmSPI>(FileName); }, &IsClassOf<TAmSPI>};
const TSPIClassInfo TXnSPI::ClassInfo = {
    "TXnSPI", [](const QString& FileName) { return Make<TXnSPI>(FileName); }, &IsClassOf<TXnSPI>};

TSPI::TSPI(const QString& AFileName) : FileName(AFileName) {
    if (!Handle.Load(AFileName)) throw OpenErrorSPI(AFileName);
    const QString loaded = Handle.ModuleFileName();
    if (!loaded.isEmpty()) FileName = loaded;
    Entries.GetPluginInfo = Lookup<SpiGetPluginInfoFn>(Handle, "GetPluginInfo");
    Entries.ConfigurationDlg = Handle.Symbol("ConfigurationDlg");
    Entries.IsSupported = Lookup<SpiIsSupportedFn>(Handle, "IsSupported");
    Entries.GetPictureInfo = Lookup<SpiGetPictureInfoFn>(Handle, "GetPictureInfo");
    Entries.GetPicture = Lookup<SpiGetPictureFn>(Handle, "GetPicture");
    Entries.GetPreview = Lookup<SpiGetPictureFn>(Handle, "GetPreview");
    Entries.GetArchiveInfo = Handle.Symbol("GetArchiveInfo");
    Entries.GetFileInfo = Handle.Symbol("GetFileInfo");
    Entries.GetFile = Handle.Symbol("GetFile");
    Entries.GetPictureRows = Lookup<SpiGetPictureRowsFn>(Handle, "GetPictureRows");
}

void TSPI::Describe() {
    // The buffer has one byte more than the plug-in is told, so a text that
    // fills all it was given still ends inside the buffer.
    char buffer[kInfoBufferLength + 1];
    const auto entry = [&](int32_t InfoNo, QString& Text) {
        std::memset(buffer, 0, sizeof buffer);
        if (GetPluginInfo(InfoNo, buffer, kInfoBufferLength) < 1) return false;
        Text = QString::fromUtf8(buffer, static_cast<qsizetype>(std::strlen(buffer)));
        return true;
    };
    entry(0, APIVersion);
    entry(1, PluginName);
    QString mask, description;
    for (int32_t format = 0; format < kMaxFormats; ++format) {
        const int32_t infoNo = 2 * format + 2;
        if (!entry(infoNo, mask) || !entry(infoNo + 1, description)) break;
        Extensions.append(mask);
        Descriptions.append(description);
    }
}

void TSPI::RequireExport(const void* Address, const char* Name) const {
    if (Address == nullptr) throw InvalidAPIError(Name, FileName);
}

void TSPI::CheckAPI() const { RequireExport(reinterpret_cast<const void*>(Entries.GetPluginInfo), "GetPluginInfo"); }

int32_t TSPI::GetPluginInfo(int32_t InfoNo, char* Buf, int32_t BufLen) const {
    RequireExport(reinterpret_cast<const void*>(Entries.GetPluginInfo), "GetPluginInfo");
    return Entries.GetPluginInfo(InfoNo, Buf, BufLen);
}

void TLoaderSPI::CheckAPI() const {
    TSPI::CheckAPI();
    RequireExport(reinterpret_cast<const void*>(Entries.IsSupported), "IsSupported");
}

int32_t TLoaderSPI::IsSupported(const char* AFileName, uintptr_t DW) const {
    RequireExport(reinterpret_cast<const void*>(Entries.IsSupported), "IsSupported");
    return Entries.IsSupported(AFileName, DW);
}

void TInSPI::CheckAPI() const {
    TLoaderSPI::CheckAPI();
    RequireExport(reinterpret_cast<const void*>(Entries.GetPictureInfo), "GetPictureInfo");
    RequireExport(reinterpret_cast<const void*>(Entries.GetPicture), "GetPicture");
}

int32_t TInSPI::GetPictureInfo(const char* Buf, intptr_t Len, uint32_t Flag, SpiPictureInfo& Info) const {
    RequireExport(reinterpret_cast<const void*>(Entries.GetPictureInfo), "GetPictureInfo");
    return Entries.GetPictureInfo(Buf, Len, Flag, &Info);
}

int32_t TInSPI::GetPicture(const char* Buf, intptr_t Len, uint32_t Flag, SpiHandle& HBInfo, SpiHandle& HBm,
                           SpiProgressCallback Callback, intptr_t LData) const {
    RequireExport(reinterpret_cast<const void*>(Entries.GetPicture), "GetPicture");
    return Entries.GetPicture(Buf, Len, Flag, &HBInfo, &HBm, Callback, LData);
}

int32_t TInSPI::GetPreview(const char* Buf, intptr_t Len, uint32_t Flag, SpiHandle& HBInfo, SpiHandle& HBm,
                           SpiProgressCallback Callback, intptr_t LData) const {
    RequireExport(reinterpret_cast<const void*>(Entries.GetPreview), "GetPreview");
    return Entries.GetPreview(Buf, Len, Flag, &HBInfo, &HBm, Callback, LData);
}

int32_t TInSPI::GetPictureRows(const char* Buf, intptr_t Len, uint32_t Flag, SpiHandle& HBInfo, SpiHandle& HBm,
                               SpiProgressCallback Callback, SpiRowsCallback RowsCallback, intptr_t LData) const {
    RequireExport(reinterpret_cast<const void*>(Entries.GetPictureRows), "GetPictureRows");
    return Entries.GetPictureRows(Buf, Len, Flag, &HBInfo, &HBm, Callback, RowsCallback, LData);
}

void TAmSPI::CheckAPI() const {
    TLoaderSPI::CheckAPI();
    RequireExport(Entries.GetArchiveInfo, "GetArchiveInfo");
    RequireExport(Entries.GetFileInfo, "GetFileInfo");
    RequireExport(Entries.GetFile, "GetFile");
}

std::unique_ptr<TSPI> CreateSPI(const QString& FileName) {
    try {
        const std::unique_ptr<TSPI> probe = TSPI::ClassInfo.Create(FileName);
        TSPIClass kind = &TSPI::ClassInfo;
        if (probe->APIVersion == QLatin1String("00IN"))
            kind = &TInSPI::ClassInfo;
        else if (probe->APIVersion == QLatin1String("00AM"))
            kind = &TAmSPI::ClassInfo;
        else if (probe->APIVersion == QLatin1String("00XN"))
            kind = &TXnSPI::ClassInfo;
        return kind->Create(FileName);
    } catch (const ESPIFOpenErrorSPI&) {
        return nullptr;
    } catch (const ESPIInvalidSPI&) {
        return nullptr;
    }
}

}  // namespace tam32
