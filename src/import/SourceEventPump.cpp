#include "import/SourceEventPump.h"

#include <QCoreApplication>
#include <QScopedValueRollback>

namespace tam32 {

TSourceEventPump::TSourceEventPump(TProcessEvent ProcessEvent, TConditionCode ConditionCode)
    : FProcessEvent(std::move(ProcessEvent)), FConditionCode(std::move(ConditionCode)) {
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

TSourceEventPump::~TSourceEventPump() {
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

TSourceEventPump::TSourceEvent TSourceEventPump::Next() {
    while (FPending.empty()) {
        if (QCoreApplication::instance() == nullptr) return {TWRC_FAILURE, 0, FConditionCode()};
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    const TSourceEvent next = FPending.front();
    FPending.pop_front();
    return next;
}

bool TSourceEventPump::eventFilter(QObject* Watched, QEvent* Event) {
    // Events that the manager itself causes while it handles one reach it no second time.
    if (FRouting) return false;
    const QScopedValueRollback<bool> routing(FRouting, true);
    TPlatformMessage message{Watched, Event};
    TW_UINT16 sourceMessage = 0;
    const TW_UINT16 result = FProcessEvent(message, sourceMessage);
    if (result == TWRC_DSEVENT)
        FPending.push_back({result, sourceMessage, TWCC_SUCCESS});
    else if (result == TWRC_FAILURE)
        FPending.push_back({result, 0, FConditionCode()});
    return result == TWRC_DSEVENT;
}

}  // namespace tam32
