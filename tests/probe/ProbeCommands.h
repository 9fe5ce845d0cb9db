#pragma once
// Subcommands of the test driver. Each takes the arguments after its own
// name and returns the process exit code; failures of the engine surface as
// exceptions, which main prints as "Class: message".
#include <QStringList>
#include <functional>

namespace tam32::probe {

struct ProbeCommand {
    const char* Name;
    const char* Usage;
    std::function<int(const QStringList& Args)> Run;
};

ProbeCommand BmpCommand();

}  // namespace tam32::probe
