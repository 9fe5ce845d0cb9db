#pragma once
// The plug-in host: finds and loads the image plug-ins once, keeps them until
// it goes, and registers every extension an image-input plug-in declares in
// the picture-format registry. There is at most one host at a time.
#include <QString>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <vector>

#include "import/SPI.h"
#include "platform/PictureFormats.h"

namespace tam32 {

// spsSusieDir: the plug-in folder setting; spsAppDir: the program's folder.
// The others name folders that are never searched here: the system and
// Windows folders do not exist on this platform, and the current folder is
// left out because anyone who can write a folder the user works in could
// otherwise run code as the user.
enum class TSPISearchOption : uint8_t { spsSusieDir, spsAppDir, spsCurrentDir, spsSystemDir, spsWindowsDir };

class TSPISearchOptions {
public:
    TSPISearchOptions(std::initializer_list<TSPISearchOption> Options) {
        for (TSPISearchOption option : Options) FBits |= Bit(option);
    }
    bool Contains(TSPISearchOption Option) const { return (FBits & Bit(Option)) != 0; }

private:
    static uint8_t Bit(TSPISearchOption Option) { return static_cast<uint8_t>(1u << static_cast<unsigned>(Option)); }
    uint8_t FBits = 0;
};

using TSPISearchEvent = std::function<void(TObject* Sender, TSPI* ASPI, bool& Accept)>;
using TSPISearchingEvent = std::function<void(TObject* Sender, const QString& FileName, bool& Accept)>;
using TSPIPictureRegisterEvent =
    std::function<void(TObject* Sender, TInSPI* ASPI, const QString& AExtension, const QString& ADescription,
                       TGraphicClass& AGraphicClass)>;

// The start offsets at which a picture is offered to the plug-ins: the file's
// beginning and, for MacBinary files, 128 bytes into it.
inline constexpr int32_t MacBinaryOffsets[] = {0, 128};

class TSPIs : public TObject {
public:
    // ESPIDupCreateSPIs while another host exists.
    TSPIs();
    ~TSPIs() override;
    TSPIs(const TSPIs&) = delete;
    TSPIs& operator=(const TSPIs&) = delete;
    const char* ClassName() const override { return "TSPIs"; }

    // Searches "*.spi" when AutoSearch is set.
    void Loaded();
    // A mask with a folder part searches only that folder; otherwise every
    // folder of SearchOptions in order. A library that lacks an export its
    // kind needs, or that UntrustedLibraryReason refuses, is skipped (with a
    // warning), so one faulty plug-in cannot hide the others.
    void Search(const QString& Mask);

    int GetCount() const { return static_cast<int>(FList.size()); }
    TSPI* GetSPI(int Index) const { return FList.at(static_cast<size_t>(Index)).get(); }
    void Add(std::unique_ptr<TSPI> SPI);
    // The host owns the plug-in from here on, also when registering its
    // extensions raises.
    void Insert(int Index, std::unique_ptr<TSPI> SPI);
    void Delete(int Index);
    void Clear();
    // The first plug-in loaded from the same file (symbolic links and
    // relative names resolved), else -1.
    int IndexOfFileName(const QString& FileName) const;
    // The plug-ins of the given kinds: those whose masks name FileName's
    // extension first (the latest loaded first), then the others in load order.
    void GetSupportedSPIs(std::span<const TSPIClass> Classes, const QString& FileName,
                          std::vector<TSPI*>& List) const;
    static void SetDefaultGraphicClass(TGraphicClass AClass);

    TSPISearchOptions SearchOptions{TSPISearchOption::spsSusieDir, TSPISearchOption::spsAppDir};
    TSPISearchEvent OnSearch;
    TSPISearchingEvent OnSearching;
    TSPIPictureRegisterEvent OnPictureRegister;
    bool AutoSearch = true;
    bool MacBinary = true;
    bool GraphicPreview = false;

private:
    void SearchFolder(const QString& Dir, const QString& Mask);
    void TryLoad(const QString& FileName);
    void RegisterExtensions(TInSPI& SPI);

    std::vector<std::unique_ptr<TSPI>> FList;
};

// The search handler of hosts that read pictures: keeps the image-input
// plug-ins only.
void KeepInputPlugins(TObject* Sender, TSPI* ASPI, bool& Accept);

// The one host, or nullptr.
TSPIs* GetSPIs();
// The picture class registered for plug-in extensions unless the host's
// OnPictureRegister chooses another; nullptr until one is set.
TGraphicClass DefaultSPIGraphicClass();

}  // namespace tam32
