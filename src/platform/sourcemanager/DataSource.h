#pragma once
// One open source: a SANE device in the states 4 (open) to 7 (transferring).
// It delivers one picture per enabling, as a packed DIB in a client memory
// handle (native transfer); with its interface shown, the user chooses the
// settings and starts the scan, otherwise the picture is ready at once.
#include <memory>

#include "platform/SourceManagerAbi.h"

namespace tam32::sourcemanager {

class SaneDevice;
class SourceMessenger;
class SourceSettingsDialog;

class DataSource {
public:
    DataSource(std::unique_ptr<SaneDevice> Device, const TW_IDENTITY& Identity);
    ~DataSource();
    DataSource(const DataSource&) = delete;
    DataSource& operator=(const DataSource&) = delete;

    const TW_IDENTITY& Identity() const { return FIdentity; }
    TTwainState State() const { return FState; }
    // Why the last triplet failed.
    TW_UINT16 Condition() const { return FCondition; }
    // A triplet addressed to this source.
    TW_UINT16 Entry(TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF Data);

private:
    TW_UINT16 Fail(TW_UINT16 Condition);
    TW_UINT16 Capability(TW_UINT16 MSG, TW_CAPABILITY* Capability);
    TW_UINT16 Enable(const TW_USERINTERFACE* UserInterface);
    TW_UINT16 Disable();
    TW_UINT16 ProcessEvent(TW_EVENT* Event);
    TW_UINT16 Transfer(TW_HANDLE* Picture);
    TW_UINT16 EndTransfer(TW_UINT16 MSG, TW_PENDINGXFERS* Pending);

    std::unique_ptr<SaneDevice> FDevice;
    TW_IDENTITY FIdentity;
    TTwainState FState = tsSourceOpen;
    TW_UINT16 FCondition = TWCC_SUCCESS;
    TW_INT16 FTransferCount = -1;
    std::unique_ptr<SourceMessenger> FMessenger;    // while enabled
    std::unique_ptr<SourceSettingsDialog> FDialog;  // while enabled with the interface
};

}  // namespace tam32::sourcemanager
