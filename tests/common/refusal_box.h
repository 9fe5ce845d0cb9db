#pragma once
// What a dialog's refusal of a typed value shows in its box over the
// dialog: the status bar's "ERR22" text followed by the field's caption.
#include <QString>

#include "analysis/RecordingEngineHost.h"
#include "analysis/core/Messages.h"

namespace tam32::test {

inline QString RefusalBox(const QString& Caption) {
    return StatusOf(ShowErrorMessage, "ERR22") + QStringLiteral(" (") + Caption + u')';
}

}  // namespace tam32::test
