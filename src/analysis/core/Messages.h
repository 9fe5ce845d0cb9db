#pragma once
// Status messages, dialog texts and the captions of menus and forms are not
// built into the program: each is looked up by key and locale in one of two
// ini files beside the executable, "Tam32.msg" (messages) and "menu.msg"
// (captions and the menu character set). Each file names its own locale in
// [LOCALE] LOCALE (default "JP"); the texts lie in the section of that
// locale. Nothing is cached, so an edited file counts from the next lookup.
// A missing file, section or key gives the text "ERROR", or the built-in
// text of a key that older files lack (analysis/core/BuiltInTexts.h).
#include <QString>
#include <initializer_list>

#include "platform/DelphiFormat.h"

namespace tam32 {

// Writes the text of Code in section Prefix + locale of "Tam32.msg" to the
// status panel of the engine host.
void ShowStatusMessage(const QString& Prefix, const QString& Code);
// Error messages, the "ERR" keys (section ERROR_CODE_ + locale).
void ShowErrorMessage(const QString& Code);
// The text that ShowErrorMessage shows, for a box or a report that repeats it.
QString GetErrorMessage(const QString& Code);
// The error text of Code used as a Format string with Args, as
// FormatDialogMessage uses a dialog text.
QString FormatErrorMessage(const QString& Code, std::initializer_list<FormatArg> Args);
// Instructions and progress notes "MSG1".."MSG10" (INSTRUCTION_CODE_ + locale).
void ShowInstructionMessage(const QString& Code);
// Confirmations, prompts, captions and report headings, the "DMS" keys
// (DIALOG_CODE_ + locale).
QString GetDialogMessage(const QString& Code);
// The dialog text of Code used as a Format string with Args. The text comes
// from a file that users edit: when it does not fit Args, the result is the
// text as it stands followed by the arguments, so no value is lost and the
// analysis that asked for it goes on.
QString FormatDialogMessage(const QString& Code, std::initializer_list<FormatArg> Args);

// [LOCALE] CHARSET of "menu.msg" (default 1), the font character set of menus
// and forms. EConvertError when the text is not a decimal integer; callers
// range-check it (0..255) where they give it to a font.
int GetMenuCharset();
// Key Index of section MM_ + locale of "menu.msg": the frame's menu items,
// numbered in pre-order of the menu tree.
QString GetMenuCaption(int Index);
// Key Index of section FormKey + "_" + locale of "menu.msg".
QString GetFormCaption(const QString& FormKey, int Index);

// The folder in which the lookups find the two files: the executable's
// folder, unless SetMessageFolder named another one (tests do).
QString MessageFolder();
// An empty Folder returns to the executable's folder.
void SetMessageFolder(const QString& Folder);

}  // namespace tam32
