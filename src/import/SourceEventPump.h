#pragma once
// The scanner client's message loop while a source is enabled. Every event
// of the user-interface thread passes through the source first
// (MSG_PROCESSEVENT); the source's own messages are taken out and queued for
// the loop, everything else is dispatched as usual. Waiting blocks in the
// event loop until the manager's posted event (or any other) wakes it.
#include <QObject>
#include <deque>
#include <functional>

#include "platform/SourceManagerAbi.h"

namespace tam32 {

class TSourceEventPump : public QObject {
public:
    struct TSourceEvent {
        TW_UINT16 Result;     // TWRC_DSEVENT or TWRC_FAILURE
        TW_UINT16 Message;    // the source's message with TWRC_DSEVENT
        TW_UINT16 Condition;  // read at once after TWRC_FAILURE
    };
    // Passes one event to the source: the return code, and the source's
    // message in SourceMessage.
    using TProcessEvent = std::function<TW_UINT16(TPlatformMessage& Message, TW_UINT16& SourceMessage)>;
    using TConditionCode = std::function<TW_UINT16()>;

    // Routes the events from now on, until destroyed.
    TSourceEventPump(TProcessEvent ProcessEvent, TConditionCode ConditionCode);
    ~TSourceEventPump() override;

    // The next message of the source or failure, waiting for it as long as it takes.
    // Without an application object there are no events to wait for: a failure.
    TSourceEvent Next();

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    TProcessEvent FProcessEvent;
    TConditionCode FConditionCode;
    std::deque<TSourceEvent> FPending;
    bool FRouting = false;
};

}  // namespace tam32
