#pragma once
// The texts of the keys that the message files gained after users made
// copies of their own. A user's older file lacks them, so a lookup of such a
// key shows the program's built-in (Japanese) text instead of "ERROR"; a
// missing key of the first files still reads "ERROR".
#include <QString>
#include <optional>

namespace tam32 {

// The built-in text of Key in the sections named Section followed by the
// locale: "ERROR_CODE_", "DIALOG_CODE_", or a form key and "_" ("OPTION_").
std::optional<QString> BuiltInText(const QString& Section, const QString& Key);

}  // namespace tam32
