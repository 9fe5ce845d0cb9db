#pragma once
// Messages from an enabled source to the client (MSG_XFERREADY,
// MSG_CLOSEDSREQ). Each one is posted as a Qt event, which wakes the
// client's waiting event loop; the client hands every event back through
// MSG_PROCESSEVENT, where the source recognises its own. Destroying the
// messenger drops the messages not yet delivered.
#include <memory>

#include "platform/SourceManagerAbi.h"

namespace tam32::sourcemanager {

class SourceMessenger {
public:
    // Needs the application object.
    SourceMessenger();
    ~SourceMessenger();
    SourceMessenger(const SourceMessenger&) = delete;
    SourceMessenger& operator=(const SourceMessenger&) = delete;

    void Post(TW_UINT16 Message);
    // The message that the event carries; 0 (no message) for any other event.
    TW_UINT16 MessageOf(const TPlatformMessage* Message) const;

private:
    std::unique_ptr<QObject> FReceiver;
};

}  // namespace tam32::sourcemanager
