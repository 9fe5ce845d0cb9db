#include "platform/sourcemanager/SourceManager.h"

#include "platform/TwainText.h"
#include "platform/sourcemanager/ClientMemory.h"
#include "platform/sourcemanager/DataSource.h"
#include "platform/sourcemanager/ParentWindow.h"
#include "platform/sourcemanager/SaneDevice.h"
#include "platform/sourcemanager/SourceDevices.h"
#include "platform/sourcemanager/SourceSelectionDialog.h"

namespace tam32::sourcemanager {

SourceManager::SourceManager() = default;

SourceManager::~SourceManager() { CloseAll(); }

TW_UINT16 SourceManager::Fail(TW_UINT16 Condition) {
    FCondition = Condition;
    return TWRC_FAILURE;
}

TW_UINT16 SourceManager::Entry(TW_IDENTITY* Origin, TW_IDENTITY* Dest, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG,
                               TW_MEMREF Data) {
    // Reading the status leaves it, and so does passing events, which the
    // client does between a failure and reading its cause.
    if (DG == DG_CONTROL && DAT == DAT_STATUS && MSG == MSG_GET) {
        auto* status = static_cast<TW_STATUS*>(Data);
        if (status == nullptr) return TWRC_FAILURE;
        *status = TW_STATUS{FCondition, 0};
        return TWRC_SUCCESS;
    }
    if (!(DG == DG_CONTROL && DAT == DAT_EVENT)) FCondition = TWCC_SUCCESS;
    if (Origin == nullptr) return Fail(TWCC_BADVALUE);
    if (DG == DG_CONTROL && DAT == DAT_PARENT) return Parent(*Origin, MSG, Data);
    if (FClient == 0 || Origin->Id != FClient) return Fail(TWCC_SEQERROR);
    if (Dest == nullptr) {
        if (DG == DG_CONTROL && DAT == DAT_IDENTITY) return Identity(MSG, static_cast<TW_IDENTITY*>(Data));
        return Fail(TWCC_BADPROTOCOL);
    }
    if (!FSource || Dest->Id != FSource->Identity().Id) return Fail(TWCC_BADDEST);
    const TW_UINT16 result = FSource->Entry(DG, DAT, MSG, Data);
    if (result == TWRC_FAILURE) FCondition = FSource->Condition();
    return result;
}

TW_UINT16 SourceManager::Parent(TW_IDENTITY& Origin, TW_UINT16 MSG, TW_MEMREF Data) {
    if (MSG == MSG_OPENDSM) {
        if (FClient != 0) return Fail(TWCC_SEQERROR);
        if (!HasClientMemory()) return Fail(TWCC_BUMMER);
        auto sane = std::make_unique<SaneSession>();
        if (!sane->Ready()) return Fail(TWCC_BUMMER);
        FSane = std::move(sane);
        FParent = Data != nullptr ? *static_cast<TW_HANDLE*>(Data) : nullptr;
        FNext = 0;
        FClient = ++FLastClient;
        Origin.Id = FClient;
        return TWRC_SUCCESS;
    }
    if (MSG == MSG_CLOSEDSM) {
        if (FClient == 0 || Origin.Id != FClient) return Fail(TWCC_SEQERROR);
        // A source still open is closed with the manager, so nothing of the
        // session outlives it, but the client hears of its mistake.
        const bool sourceOpen = FSource != nullptr;
        CloseAll();
        return sourceOpen ? Fail(TWCC_SEQERROR) : TWRC_SUCCESS;
    }
    return Fail(TWCC_BADPROTOCOL);
}

void SourceManager::CloseAll() {
    FSource.reset();
    FSane.reset();
    FClient = 0;
    FParent = nullptr;
}

TW_UINT16 SourceManager::Identity(TW_UINT16 MSG, TW_IDENTITY* Identity) {
    if (Identity == nullptr) return Fail(TWCC_BADVALUE);
    switch (MSG) {
        case MSG_GETFIRST: FNext = 0; return Next(*Identity);
        case MSG_GETNEXT: return Next(*Identity);
        case MSG_GETDEFAULT: {
            const auto& devices = FSane->Devices();
            if (devices.empty()) return Fail(TWCC_NODS);
            DescribeSource(*FSane, devices.front(), *Identity);
            return TWRC_SUCCESS;
        }
        case MSG_USERSELECT: return UserSelect(*Identity);
        case MSG_OPENDS: return OpenSource(*Identity);
        case MSG_CLOSEDS: return CloseSource(*Identity);
        default: return Fail(TWCC_BADPROTOCOL);
    }
}

TW_UINT16 SourceManager::Next(TW_IDENTITY& Identity) {
    const auto& devices = FSane->Devices();
    if (FNext >= devices.size()) return TWRC_ENDOFLIST;
    DescribeSource(*FSane, devices[FNext++], Identity);
    return TWRC_SUCCESS;
}

TW_UINT16 SourceManager::UserSelect(TW_IDENTITY& Identity) {
    if (FSource) return Fail(TWCC_SEQERROR);
    const auto& devices = FSane->Devices();
    if (devices.empty()) return Fail(TWCC_NODS);
    if (!CanShowDialogs()) return Fail(TWCC_BUMMER);
    const SourceDevice* current = DeviceFor(Identity);
    const int chosen = ChooseSource(devices, current != nullptr ? int(current->Id - 1) : 0, WindowOf(FParent));
    if (chosen < 0) return TWRC_CANCEL;
    DescribeSource(*FSane, devices[size_t(chosen)], Identity);
    return TWRC_SUCCESS;
}

const SourceDevice* SourceManager::DeviceFor(const TW_IDENTITY& Identity) {
    const auto& devices = FSane->Devices();
    if (Identity.Id != 0) {
        for (const SourceDevice& device : devices)
            if (device.Id == Identity.Id) return &device;
        return nullptr;
    }
    const QString name = TwainText(Identity.ProductName);
    if (name.isEmpty()) return devices.empty() ? nullptr : &devices.front();
    for (const SourceDevice& device : devices) {
        TW_IDENTITY described;
        DescribeSource(*FSane, device, described);
        if (TwainText(described.ProductName) == name) return &device;
    }
    return nullptr;
}

TW_UINT16 SourceManager::OpenSource(TW_IDENTITY& Identity) {
    if (FSource) return Fail(TWCC_SEQERROR);
    const SourceDevice* device = DeviceFor(Identity);
    if (device == nullptr) return Fail(TWCC_NODS);
    std::unique_ptr<SaneDevice> opened;
    const SANE_Status status = SaneDevice::Open(device->Name, opened);
    if (status != SANE_STATUS_GOOD) return Fail(ConditionOf(status));
    DescribeSource(*FSane, *device, Identity);
    FSource = std::make_unique<DataSource>(std::move(opened), Identity);
    return TWRC_SUCCESS;
}

TW_UINT16 SourceManager::CloseSource(const TW_IDENTITY& Identity) {
    if (!FSource) return Fail(TWCC_SEQERROR);
    if (Identity.Id != FSource->Identity().Id) return Fail(TWCC_BADDEST);
    if (FSource->State() != tsSourceOpen) return Fail(TWCC_SEQERROR);
    FSource.reset();
    return TWRC_SUCCESS;
}

}  // namespace tam32::sourcemanager
