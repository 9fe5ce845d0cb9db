#include "platform/sourcemanager/DataSource.h"

#include <QCoreApplication>
#include <cstring>

#include "platform/TwainText.h"
#include "platform/sourcemanager/ClientMemory.h"
#include "platform/sourcemanager/PackedDibWriter.h"
#include "platform/sourcemanager/ParentWindow.h"
#include "platform/sourcemanager/SaneDevice.h"
#include "platform/sourcemanager/SourceMessages.h"
#include "platform/sourcemanager/SourceSettingsDialog.h"

namespace tam32::sourcemanager {

namespace {

// Raw scan data beyond this is refused rather than exhausting the memory.
constexpr size_t kMaxScanBytes = size_t(2) << 30;

}  // namespace

DataSource::DataSource(std::unique_ptr<SaneDevice> Device, const TW_IDENTITY& Identity)
    : FDevice(std::move(Device)), FIdentity(Identity) {}

// The dialog and the messenger go before the device they refer to.
DataSource::~DataSource() {
    FDialog.reset();
    FMessenger.reset();
}

TW_UINT16 DataSource::Fail(TW_UINT16 Condition) {
    FCondition = Condition;
    return TWRC_FAILURE;
}

TW_UINT16 DataSource::Entry(TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF Data) {
    FCondition = TWCC_SUCCESS;
    if (DG == DG_IMAGE && DAT == DAT_IMAGENATIVEXFER && MSG == MSG_GET)
        return Transfer(static_cast<TW_HANDLE*>(Data));
    if (DG != DG_CONTROL) return Fail(TWCC_BADPROTOCOL);
    switch (DAT) {
        case DAT_CAPABILITY:
            if (MSG == MSG_GET || MSG == MSG_SET) return Capability(MSG, static_cast<TW_CAPABILITY*>(Data));
            break;
        case DAT_USERINTERFACE:
            if (MSG == MSG_ENABLEDS) return Enable(static_cast<const TW_USERINTERFACE*>(Data));
            if (MSG == MSG_DISABLEDS) return Disable();
            break;
        case DAT_EVENT:
            if (MSG == MSG_PROCESSEVENT) return ProcessEvent(static_cast<TW_EVENT*>(Data));
            break;
        case DAT_PENDINGXFERS:
            if (MSG == MSG_ENDXFER || MSG == MSG_RESET)
                return EndTransfer(MSG, static_cast<TW_PENDINGXFERS*>(Data));
            break;
        default: break;
    }
    return Fail(TWCC_BADPROTOCOL);
}

// Only the transfer count is negotiated. Any count is served one picture
// per enabling, which "as many as there are" (-1) and 1 describe exactly.
TW_UINT16 DataSource::Capability(TW_UINT16 MSG, TW_CAPABILITY* Capability) {
    if (Capability == nullptr) return Fail(TWCC_BADVALUE);
    if (Capability->Cap != CAP_XFERCOUNT) return Fail(TWCC_CAPUNSUPPORTED);
    if (MSG == MSG_GET) {
        const TW_ONEVALUE value{TWTY_INT16, TW_UINT32(int32_t(FTransferCount))};
        TW_HANDLE container =
            NewClientBlock(sizeof value, [&](uint8_t* Data) { std::memcpy(Data, &value, sizeof value); });
        if (container == nullptr) return Fail(TWCC_LOWMEMORY);
        Capability->ConType = TWON_ONEVALUE;
        Capability->hContainer = container;
        return TWRC_SUCCESS;
    }
    if (FState != tsSourceOpen) return Fail(TWCC_SEQERROR);
    TW_ONEVALUE value;
    if (Capability->ConType != TWON_ONEVALUE || !ReadClientBlock(Capability->hContainer, &value, sizeof value) ||
        value.ItemType != TWTY_INT16)
        return Fail(TWCC_BADVALUE);
    const auto count = TW_INT16(uint16_t(value.Item));
    if (count == 0 || count < -1) return Fail(TWCC_BADVALUE);
    FTransferCount = count == -1 ? -1 : 1;
    return count > 1 ? TWRC_CHECKSTATUS : TWRC_SUCCESS;
}

TW_UINT16 DataSource::Enable(const TW_USERINTERFACE* UserInterface) {
    if (FState != tsSourceOpen) return Fail(TWCC_SEQERROR);
    if (UserInterface == nullptr) return Fail(TWCC_BADVALUE);
    // Without an event loop the client could never hear from the source.
    if (QCoreApplication::instance() == nullptr) return Fail(TWCC_BUMMER);
    if (UserInterface->ShowUI != 0 && !CanShowDialogs()) return Fail(TWCC_BUMMER);
    FMessenger = std::make_unique<SourceMessenger>();
    if (UserInterface->ShowUI != 0) {
        FDialog = std::make_unique<SourceSettingsDialog>(
            *FDevice, TwainText(FIdentity.ProductName), WindowOf(UserInterface->hParent),
            UserInterface->ModalUI != 0,
            [this](bool Scan) { FMessenger->Post(Scan ? MSG_XFERREADY : MSG_CLOSEDSREQ); });
    } else {
        FMessenger->Post(MSG_XFERREADY);
    }
    FState = tsSourceEnabled;
    return TWRC_SUCCESS;
}

TW_UINT16 DataSource::Disable() {
    if (FState != tsSourceEnabled) return Fail(TWCC_SEQERROR);
    FDialog.reset();
    FMessenger.reset();
    FState = tsSourceOpen;
    return TWRC_SUCCESS;
}

TW_UINT16 DataSource::ProcessEvent(TW_EVENT* Event) {
    if (FState < tsSourceEnabled) return Fail(TWCC_SEQERROR);
    if (Event == nullptr) return Fail(TWCC_BADVALUE);
    Event->TWMessage = FMessenger->MessageOf(static_cast<const TPlatformMessage*>(Event->pEvent));
    if (Event->TWMessage == 0) return TWRC_NOTDSEVENT;
    if (Event->TWMessage == MSG_XFERREADY) FState = tsTransferReady;
    return TWRC_DSEVENT;
}

// The scan itself runs here, in state 6, so that a cancelled or failed scan
// answers this triplet as the client expects.
TW_UINT16 DataSource::Transfer(TW_HANDLE* Picture) {
    if (FState != tsTransferReady) return Fail(TWCC_SEQERROR);
    if (Picture == nullptr) return Fail(TWCC_BADVALUE);
    std::vector<SaneFrame> frames;
    const SANE_Status status = FDevice->Scan(frames, kMaxScanBytes);
    if (status == SANE_STATUS_CANCELLED) {
        FState = tsTransferring;
        return TWRC_CANCEL;
    }
    if (status != SANE_STATUS_GOOD) return Fail(ConditionOf(status));
    DibPlan plan;
    if (!PlanPackedDib(frames, plan)) return Fail(TWCC_BUMMER);
    const double xDpi = FDevice->XResolution(), yDpi = FDevice->YResolution();
    TW_HANDLE dib =
        NewClientBlock(size_t(plan.Size), [&](uint8_t* Data) { WritePackedDib(frames, plan, xDpi, yDpi, Data); });
    if (dib == nullptr) return Fail(TWCC_LOWMEMORY);
    *Picture = dib;
    FState = tsTransferring;
    return TWRC_XFERDONE;
}

// A reset after the last transfer has ended (state 5) has nothing left to
// drop and succeeds.
TW_UINT16 DataSource::EndTransfer(TW_UINT16 MSG, TW_PENDINGXFERS* Pending) {
    if (Pending == nullptr) return Fail(TWCC_BADVALUE);
    const bool allowed = MSG == MSG_ENDXFER ? FState == tsTransferReady || FState == tsTransferring
                                            : FState == tsSourceEnabled || FState == tsTransferReady;
    if (!allowed) return Fail(TWCC_SEQERROR);
    Pending->Count = 0;  // one picture per enabling
    FState = tsSourceEnabled;
    return TWRC_SUCCESS;
}

}  // namespace tam32::sourcemanager
