// The manager library's exports. No exception leaves them: a failure inside
// becomes TWRC_FAILURE with its condition code.
#include <new>
#include <type_traits>

#include "platform/SourceManagerAbi.h"
#include "platform/sourcemanager/ClientMemory.h"
#include "platform/sourcemanager/SourceManager.h"

namespace {

// Destroyed when the library is unloaded, which ends whatever session a
// client left open.
tam32::sourcemanager::SourceManager& TheManager() {
    static tam32::sourcemanager::SourceManager manager;
    return manager;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) tam32::TW_UINT16 DSM_Entry(
    tam32::TW_IDENTITY* pOrigin, tam32::TW_IDENTITY* pDest, tam32::TW_UINT32 DG, tam32::TW_UINT16 DAT,
    tam32::TW_UINT16 MSG, tam32::TW_MEMREF pData) {
    try {
        return TheManager().Entry(pOrigin, pDest, DG, DAT, MSG, pData);
    } catch (const std::bad_alloc&) {
        TheManager().SetCondition(tam32::TWCC_LOWMEMORY);
    } catch (...) {
        TheManager().SetCondition(tam32::TWCC_BUMMER);
    }
    return tam32::TWRC_FAILURE;
}

extern "C" __attribute__((visibility("default"))) void DSM_SetMemoryFunctions(
    const tam32::TSourceManagerMemory* Memory) {
    tam32::sourcemanager::InstallClientMemory(Memory);
}

// The client calls the exports through these types.
static_assert(std::is_same_v<decltype(&DSM_Entry), tam32::DSMENTRYPROC>);
static_assert(std::is_same_v<decltype(&DSM_SetMemoryFunctions), tam32::DSMMEMORYPROC>);
