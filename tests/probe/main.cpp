// Test-only driver that exposes the engine to outside checks; never
// installed. Usage: tam32-probe COMMAND ARGS...
#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <exception>
#include <vector>

#include <unistd.h>

#include "ProbeCommands.h"
#include "platform/Exceptions.h"
#include "platform/ProgramFolder.h"

using namespace tam32;

std::vector<probe::ProbeCommand>& probe::ProbeCommands() {
    static std::vector<ProbeCommand> commands;
    return commands;
}

namespace {

const probe::ProbeCommand* FindCommand(const char* Name) {
    for (const auto& command : probe::ProbeCommands())
        if (std::strcmp(Name, command.Name) == 0) return &command;
    return nullptr;
}

int PrintUsage() {
    std::fprintf(stderr, "usage:\n");
    for (const auto& command : probe::ProbeCommands())
        std::fprintf(stderr, "  tam32-probe %s %s\n", command.Name, command.Usage);
    return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    const probe::ProbeCommand* command = argc > 1 ? FindCommand(argv[1]) : nullptr;
#ifdef TAM32_PROBE_GUI_TWIN
    // The twin beside this driver runs the commands that drive windows and
    // lists them in the usage; it keeps the arguments, the name included.
    if (command == nullptr)
        execv(QFile::encodeName(ProgramFolder() + QStringLiteral("/" TAM32_PROBE_GUI_TWIN)).constData(), argv);
#endif
    if (command == nullptr) return PrintUsage();
    const std::unique_ptr<QCoreApplication> app = command->MakeApplication
                                                      ? command->MakeApplication(argc, argv)
                                                      : std::make_unique<QCoreApplication>(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    try {
        const int result = command->Run(QCoreApplication::arguments().mid(2));
        if (result != probe::kUsage) return result;
        std::fprintf(stderr, "usage: tam32-probe %s %s\n", command->Name, command->Usage);
        return 2;
    } catch (const Exception& e) {
        std::printf("%s: %s\n", e.ClassName(), e.Message().toUtf8().constData());
    } catch (const std::exception& e) {
        std::printf("Exception: %s\n", e.what());
    }
    std::fflush(stdout);
    return 1;
}
