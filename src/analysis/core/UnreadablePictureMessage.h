#pragma once
// What the user reads when a picture cannot be read: the file and the reason,
// in the interface language, instead of the reader's internal text.
#include <QString>

namespace tam32 {

class EPictureUnreadable;

// "DMS88" (not a picture this program reads), "DMS89" (ends early or is
// damaged) or "ERR26" (too large) with the file's name.
QString UnreadablePictureMessage(const EPictureUnreadable& E);

}  // namespace tam32
