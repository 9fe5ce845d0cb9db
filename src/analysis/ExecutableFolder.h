#pragma once
// The folder of the running program's executable, where the files that
// belong to the program lie whatever the current folder is.
#include <QString>

namespace tam32 {

// Absolute, without a trailing separator.
QString ExecutableFolder();

}  // namespace tam32
