#pragma once
// The settings file "Options.Ini" (SettingsFilePlace.h): the options dialog
// saves what its controls hold into it and loads them back from it. Other
// copies of the program share such files, so sections, keys (misspellings
// included), their order and the texts as the fields show them ("%6.2f" with
// its blanks) stay as they always were: [Threshold], [Area], [ScanDpi],
// [FishEye], [LAI], [PAR], [Distort].
#include <QString>

#include "analysis/core/OptionFields.h"

namespace tam32 {

// Load: reads each key into its field in file order, as the controls take
// it. A missing key, a text that is no integer, or an item number outside
// its list leaves the field as it is; other integers are clamped to their
// field's range; texts are taken as they are (OK checks them). "Value" is
// read only after "Type=2". As the controls' handlers do: a ticked
// "LabelTraceVectorize" ticks the perimeter calculation and fills the
// outline folder (TickVectorize, with ImageFile), and "NCStart" lifts the
// end of the range above it. A missing file changes nothing; one too large
// to be a settings file neither (EFileTooLarge).
void ReadSettingsFile(const QString& FileName, TOptionFields& Fields, const QString& ImageFile);

// Save: writes every key (Value only while the Fixed method is chosen),
// keeping the file's other lines; lines end in CR LF. The file is replaced
// in one step (SaveFileAtomically): EFileSaveError when it cannot be
// written, EFileTooLarge when it is too large to be a settings file,
// EIniFileException when a text would break its layout; the file is then
// left as it was and nothing else left behind.
void WriteSettingsFile(const QString& FileName, const TOptionFields& Fields);

// The options dialog's Load and then OK, without the dialog: the fields as
// Setup shows the settings, FileName read into them, then applied. False
// when OK refuses them ("ERR22" shown, no setting changed).
bool ApplySettingsFile(const QString& FileName);

}  // namespace tam32
