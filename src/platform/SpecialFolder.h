#pragma once
// Stands in for the shell's special folders and browse options of the
// folder dialog (windows/SelectFolder.h). Each special folder keeps the
// shell's folder number and each option its browse flag, so the values stay
// those the program always used. Folders that Linux has map to the user's
// folders through QStandardPaths; the others do not exist on this machine.
#include <QString>
#include <cstdint>
#include <initializer_list>
#include <optional>

#include "platform/Exceptions.h"

namespace tam32 {

enum class TSpecialFolder {
    sfDesktop, sfInternet, sfPrograms, sfControls, sfPrinters, sfPersonal, sfFavorites, sfStartup, sfRecent,
    sfSendto, sfBitBucket, sfStartMenu, sfMyMusic, sfMyVideo, sfDesktopDirectory, sfDirives, sfNetwork,
    sfNetHood, sfFonts, sfTemplates, sfCommonStartMenu, sfCommonPrograms, sfCommonStartup,
    sfCommonDesktopDirectory, sfAppData, sfPrintHood, sfLocalAppData, sfAltStartup, sfCommonAltStartup,
    sfCommonFavorites, sfInternetChache, sfCookies, sfHistory, sfCommonAppData, sfWindows, sfSystem,
    sfProgramFiles, sfMyPictures, sfProfile, sfProgramFilesCommon, sfCommonTemplates, sfCommonDocuments,
    sfCommonAdminTools, sfAdminTools, sfConnections, sfCommonMusic, sfCommonPictures, sfCommonVideo, sfNone,
};

// The shell's number of the folder; 0xFFFF for sfNone.
int SpecialFolderId(TSpecialFolder Folder);
// The folder's path (absolute, without a final "/"); nullopt for sfNone and
// for a folder that does not exist on this machine.
std::optional<QString> SpecialFolderPath(TSpecialFolder Folder);
// The special folder whose path is Path: the last one in declared order
// that matches, sfNone when none does.
TSpecialFolder SpecialFolderOf(const QString& Path);

// Raised when a special folder is chosen that does not exist on this machine.
TAM32_EXCEPTION(EOleSysError, Exception);

enum class TBrowseInfoOption {
    bifReturnOnlyFSDirs, bifDontGoBelowDomain, bifStatusText, bifReturnFSAncestors, bifEditBox,
    bifValidate, bifNewDialogStyle, bifUseNewUI, bifBrowseIncludeURLs, bifUAHint,
    bifNoNewFolderButton, bifBrowseForComputer, bifBrowseForPrinter, bifBrowseIncludeFiles, bifShareable,
};

// The browse flag that the option adds.
uint32_t BrowseInfoFlag(TBrowseInfoOption Option);

// A set of browse options.
class TBrowseInfoOptions {
public:
    TBrowseInfoOptions(std::initializer_list<TBrowseInfoOption> Options = {}) {
        for (TBrowseInfoOption Option : Options) Include(Option);
    }
    bool Contains(TBrowseInfoOption Option) const { return (FBits & Bit(Option)) != 0; }
    void Include(TBrowseInfoOption Option) { FBits |= Bit(Option); }
    void Exclude(TBrowseInfoOption Option) { FBits &= ~Bit(Option); }
    bool operator==(const TBrowseInfoOptions&) const = default;

private:
    static uint32_t Bit(TBrowseInfoOption Option) { return 1u << static_cast<int>(Option); }
    uint32_t FBits = 0;
};

}  // namespace tam32
