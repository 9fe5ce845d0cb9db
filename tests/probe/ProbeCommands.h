#pragma once
// Subcommands of the test driver. Each file registers its own command with
// a RegisterProbeCommand object; a command takes the arguments after its
// name and returns the exit code or kUsage. Failures of the
// engine surface as exceptions, which main prints as "Class: message".
#include <QCoreApplication>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace tam32::probe {

// Returned by a command whose arguments do not fit: main prints the usage
// and exits with 2.
constexpr int kUsage = -1;

struct ProbeCommand {
    const char* Name;
    const char* Usage;
    std::function<int(const QStringList& Args)> Run;
    // The application object the command runs under; a core application
    // (no windows, no display) when empty.
    std::function<std::unique_ptr<QCoreApplication>(int& Argc, char** Argv)> MakeApplication = {};
};

std::vector<ProbeCommand>& ProbeCommands();

struct RegisterProbeCommand {
    explicit RegisterProbeCommand(ProbeCommand Command) { ProbeCommands().push_back(std::move(Command)); }
};

}  // namespace tam32::probe
