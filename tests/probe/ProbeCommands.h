#pragma once
// Subcommands of the test driver. Each file registers its own command with
// a RegisterProbeCommand object; a command takes the arguments after its
// name and returns the exit code (2 prints its usage). Failures of the
// engine surface as exceptions, which main prints as "Class: message".
#include <QStringList>
#include <functional>
#include <vector>

namespace tam32::probe {

struct ProbeCommand {
    const char* Name;
    const char* Usage;
    std::function<int(const QStringList& Args)> Run;
};

std::vector<ProbeCommand>& ProbeCommands();

struct RegisterProbeCommand {
    explicit RegisterProbeCommand(ProbeCommand Command) { ProbeCommands().push_back(std::move(Command)); }
};

}  // namespace tam32::probe
