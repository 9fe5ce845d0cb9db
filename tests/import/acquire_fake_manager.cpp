#include "import/acquire_fake_manager.h"

#include <dlfcn.h>

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <cstring>

#include "platform/TwainText.h"
#include "platform/WinTypes.h"

namespace tam32::test {

namespace {

constexpr QEvent::Type kMessageEvent = QEvent::Type(QEvent::User + 77);

class MessageEvent : public QEvent {
public:
    explicit MessageEvent(TW_UINT16 Message) : QEvent(kMessageEvent), Message(Message) {}
    const TW_UINT16 Message;
};

FakeManager* TheFake = nullptr;

TW_UINT16 FakeEntry(TW_IDENTITY* Origin, TW_IDENTITY* Dest, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG,
                    TW_MEMREF Data) {
    return TheFake->Entry(Origin, Dest, DG, DAT, MSG, Data);
}

TW_UINT16 Take(std::deque<TW_UINT16>& Script, TW_UINT16 Otherwise) {
    if (Script.empty()) return Otherwise;
    const TW_UINT16 next = Script.front();
    Script.pop_front();
    return next;
}

// 2 x 2, 24 bits: bottom row blue and green, top row red and white.
HGLOBAL NewPicture() {
    const BITMAPINFOHEADER header{40, 2, 2, 1, 24, BI_RGB, 16, 0, 0, 0, 0};
    const uint8_t rows[16] = {255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0};
    HGLOBAL block = GlobalAlloc(GHND, sizeof header + sizeof rows);
    MemoryLock lock(block);
    std::memcpy(lock.Data(), &header, sizeof header);
    std::memcpy(static_cast<uint8_t*>(lock.Data()) + sizeof header, rows, sizeof rows);
    return block;
}

}  // namespace

FakeManager::FakeManager(TAcquireImage& Client) : FClient(Client) {
    TheFake = this;
    Client.LibraryHandle = dlopen(nullptr, RTLD_NOW);  // the program itself: closing it is harmless
    Client.DSMEntry = &FakeEntry;
}

FakeManager::~FakeManager() {
    FClient.UnloadSourceManager();
    TheFake = nullptr;
}

std::vector<Triplet> FakeManager::Steps() const {
    std::vector<Triplet> steps;
    for (const Triplet& t : Log)
        if (steps.empty() || !(t == steps.back() && t.MSG == MSG_PROCESSEVENT)) steps.push_back(t);
    return steps;
}

void FakeManager::Post(TW_UINT16 Message) { QCoreApplication::postEvent(&FReceiver, new MessageEvent(Message)); }

TW_UINT16 FakeManager::Entry(TW_IDENTITY* Origin, TW_IDENTITY* Dest, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG,
                             TW_MEMREF Data) {
    OnlyTheClientsRecords = OnlyTheClientsRecords && Origin == &FClient.AppIdentity &&
                            (Dest == nullptr || Dest == &FClient.SourceIdentity);
    if (DAT == DAT_STATUS) {
        static_cast<TW_STATUS*>(Data)->ConditionCode = Condition;
        return StatusResult;
    }
    Log.push_back({DG, DAT, MSG, Dest != nullptr});
    if (Dest != nullptr) return ToSource(DG, DAT, MSG, Data);
    if (DAT == DAT_IDENTITY) return Identity(MSG, *static_cast<TW_IDENTITY*>(Data));
    if (MSG == MSG_OPENDSM) AppAtOpen = *Origin;
    return MSG == MSG_OPENDSM ? OpenResult : CloseResult;
}

TW_UINT16 FakeManager::Identity(TW_UINT16 MSG, TW_IDENTITY& Identity) {
    auto describe = [&](size_t Index) {
        Identity.Id = TW_UINT32(Index + 1);
        SetTwainText(Identity.ProductName, QString::fromUtf8(Sources[Index]));
        return TWRC_SUCCESS;
    };
    switch (MSG) {
        case MSG_USERSELECT: return SelectResult == TWRC_SUCCESS ? describe(1) : SelectResult;
        case MSG_GETDEFAULT: return describe(0);
        case MSG_GETFIRST: FNext = 0; [[fallthrough]];
        case MSG_GETNEXT: return FNext < Sources.size() ? describe(FNext++) : TWRC_ENDOFLIST;
        case MSG_OPENDS: return OpenSourceResult;
        default: return TWRC_SUCCESS;
    }
}

TW_UINT16 FakeManager::ToSource(TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG, TW_MEMREF Data) {
    if (DAT == DAT_CAPABILITY && MSG == MSG_SET) {
        SetRequest = *static_cast<TW_CAPABILITY*>(Data);
        auto container = static_cast<HGLOBAL>(SetRequest.hContainer);
        SetContainerLive = GlobalSize(container) == sizeof SetValue;
        if (SetContainerLive) std::memcpy(&SetValue, MemoryLock(container).Data(), sizeof SetValue);
        return SetResult;
    }
    if (DAT == DAT_CAPABILITY) {
        auto* capability = static_cast<TW_CAPABILITY*>(Data);
        GetRequest = *capability;
        capability->hContainer = GlobalAlloc(GHND, sizeof(TW_ONEVALUE));
        return GetResult;
    }
    if (DAT == DAT_USERINTERFACE && MSG == MSG_ENABLEDS) {
        Enabled = *static_cast<TW_USERINTERFACE*>(Data);
        if (EnableResult == TWRC_SUCCESS)
            QTimer::singleShot(FirstMessageDelay, &FReceiver, [this] { Post(FirstMessage); });
        return EnableResult;
    }
    if (DAT == DAT_EVENT) {
        auto* event = static_cast<TW_EVENT*>(Data);
        const auto* message = static_cast<const TPlatformMessage*>(event->pEvent);
        if (FailProcessing) return TWRC_FAILURE;
        if (message->Receiver != &FReceiver || message->Event->type() != kMessageEvent) {
            ++ForeignEvents;
            return TWRC_NOTDSEVENT;
        }
        event->TWMessage = static_cast<const MessageEvent*>(message->Event)->Message;
        return TWRC_DSEVENT;
    }
    if (DG == DG_IMAGE) {
        const TW_UINT16 result = Take(Transfers, TWRC_FAILURE);
        if (result == TWRC_XFERDONE || (result == TWRC_CANCEL && PictureWithCancel)) {
            Delivered.push_back(NewPicture());
            *static_cast<TW_HANDLE*>(Data) = Delivered.back();
        }
        return result;
    }
    if (DAT == DAT_PENDINGXFERS) {
        auto* pending = static_cast<TW_PENDINGXFERS*>(Data);
        pending->Count = MSG == MSG_ENDXFER ? Take(PendingAfter, 0) : 0;
        if (pending->Count != 0) Post(MSG_XFERREADY);
    }
    return TWRC_SUCCESS;
}

}  // namespace tam32::test
