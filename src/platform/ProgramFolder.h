#pragma once
// The folder of the running program's executable file, without a trailing
// separator; works before (and without) an application object.
#include <QString>

namespace tam32 {

// Empty when the system cannot say.
QString ProgramFolder();

}  // namespace tam32
