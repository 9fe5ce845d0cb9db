#pragma once
// Where the settings file "Options.Ini" lives. A copy of the program in a
// folder of the user's own keeps the file beside it; an installed program's
// folder is not the user's to write, and there the file lives in the user's
// configuration folder instead, $XDG_CONFIG_HOME/TAM32 (default
// ~/.config/TAM32), which Save creates. A folder counts as writable when a
// temporary file can be created in it; each Save and Load asks again.
#include <QString>
#include <functional>

namespace tam32 {

// Whether a new file can be created in Folder (tried with a temporary file).
bool CanCreateFileIn(const QString& Folder);

struct TSettingsFilePlace {
    QString ProgramFile;  // beside the program
    QString UserFile;     // in the user's configuration folder
    // Whether ProgramFile's folder is writable; tests choose the answer here.
    std::function<bool(const QString& Folder)> Writable = CanCreateFileIn;

    // The file that Save writes: ProgramFile when its folder is writable,
    // else UserFile.
    QString FileToSave() const;
    // FileToSave with its folder made when it is UserFile's; EIniFileException
    // saying why the folder cannot be made.
    QString PrepareFileToSave() const;
    // The file that Load reads: the one that Save would write, else the other
    // one; EFOpenError naming both when neither exists.
    QString FileToLoad() const;
};

// "Options.Ini" in the running program's folder and in the user's.
TSettingsFilePlace ProgramSettingsPlace();
// One file for both Save and Load, wherever it lies.
TSettingsFilePlace OneSettingsFile(const QString& File);

}  // namespace tam32
