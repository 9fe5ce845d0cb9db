#pragma once
// The user's plug-in folder setting (the registry value "Path" of the key
// "\Software\Morvalen\Susie\Plug-in" on Windows). It lives in the read-only
// Qt settings file $XDG_CONFIG_HOME/Morvalen/Susie.conf (default
// ~/.config/...), group "Plug-in", key "Path"; the program never creates or
// writes that file.
#include <QString>

namespace tam32 {

QString PluginFolderSettingFile();
// Empty when the file, the group or the key is missing or cannot be read.
QString ReadPluginFolderSetting();

}  // namespace tam32
