#pragma once
// The source manager's session with its one client: the manager states 2
// (loaded) and 3 (open), the sources SANE finds, selection, and the open
// source, which keeps the states 4 to 7. Every triplet goes through Entry;
// the condition code of the last failure is what DAT_STATUS reports.
#include <memory>

#include "platform/SourceManagerAbi.h"

namespace tam32::sourcemanager {

class DataSource;
class SaneSession;
struct SourceDevice;

class SourceManager {
public:
    SourceManager();
    ~SourceManager();
    SourceManager(const SourceManager&) = delete;
    SourceManager& operator=(const SourceManager&) = delete;

    TW_UINT16 Entry(TW_IDENTITY* Origin, TW_IDENTITY* Dest, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG,
                    TW_MEMREF Data);
    // For a failure outside the triplets' own handling (an exception).
    void SetCondition(TW_UINT16 Condition) { FCondition = Condition; }

private:
    TW_UINT16 Fail(TW_UINT16 Condition);
    TW_UINT16 Parent(TW_IDENTITY& Origin, TW_UINT16 MSG, TW_MEMREF Data);
    TW_UINT16 Identity(TW_UINT16 MSG, TW_IDENTITY* Identity);
    TW_UINT16 Next(TW_IDENTITY& Identity);
    TW_UINT16 UserSelect(TW_IDENTITY& Identity);
    TW_UINT16 OpenSource(TW_IDENTITY& Identity);
    TW_UINT16 CloseSource(const TW_IDENTITY& Identity);
    // The device that an identity names: by Id, else by product name, else
    // the default (the first); nullptr when there is none.
    const SourceDevice* DeviceFor(const TW_IDENTITY& Identity);
    void CloseAll();

    TW_UINT32 FClient = 0;  // the client's Id while the manager is open; 0 when closed
    TW_UINT32 FLastClient = 0;
    TW_HANDLE FParent = nullptr;
    std::unique_ptr<SaneSession> FSane;
    size_t FNext = 0;  // enumeration position
    std::unique_ptr<DataSource> FSource;
    TW_UINT16 FCondition = TWCC_SUCCESS;
};

}  // namespace tam32::sourcemanager
