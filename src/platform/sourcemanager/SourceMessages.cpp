#include "platform/sourcemanager/SourceMessages.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

namespace tam32::sourcemanager {

namespace {

constexpr QEvent::Type kSourceMessageEvent = QEvent::Type(QEvent::User + 0x0701);

class SourceMessageEvent : public QEvent {
public:
    explicit SourceMessageEvent(TW_UINT16 Message) : QEvent(kSourceMessageEvent), FMessage(Message) {}
    TW_UINT16 Message() const { return FMessage; }

private:
    TW_UINT16 FMessage;
};

}  // namespace

SourceMessenger::SourceMessenger() : FReceiver(std::make_unique<QObject>()) {}

SourceMessenger::~SourceMessenger() = default;

void SourceMessenger::Post(TW_UINT16 Message) {
    QCoreApplication::postEvent(FReceiver.get(), new SourceMessageEvent(Message));
}

TW_UINT16 SourceMessenger::MessageOf(const TPlatformMessage* Message) const {
    // The receiver is compared before the event is looked at, so a message
    // for some other object is never dereferenced.
    if (Message == nullptr || Message->Receiver != FReceiver.get() || Message->Event == nullptr) return 0;
    if (Message->Event->type() != kSourceMessageEvent) return 0;
    return static_cast<const SourceMessageEvent*>(Message->Event)->Message();
}

}  // namespace tam32::sourcemanager
