// Test-only driver that exposes the engine to outside checks; never
// installed. Usage: tam32-probe COMMAND ARGS...
#include <QCoreApplication>
#include <QStringList>
#include <clocale>
#include <cstdio>
#include <exception>
#include <vector>

#include "ProbeCommands.h"
#include "platform/Exceptions.h"

using namespace tam32;

std::vector<probe::ProbeCommand>& probe::ProbeCommands() {
    static std::vector<ProbeCommand> commands;
    return commands;
}

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const auto& commands = probe::ProbeCommands();
    QStringList args = app.arguments().mid(1);
    if (!args.isEmpty()) {
        const QString name = args.takeFirst();
        for (const auto& command : commands) {
            if (name != QLatin1String(command.Name)) continue;
            try {
                const int result = command.Run(args);
                if (result != probe::kUsage) return result;
                std::fprintf(stderr, "usage: tam32-probe %s %s\n", command.Name, command.Usage);
                return 2;
            } catch (const Exception& e) {
                std::printf("%s: %s\n", e.ClassName(), e.Message().toUtf8().constData());
            } catch (const std::exception& e) {
                std::printf("Exception: %s\n", e.what());
            }
            std::fflush(stdout);
            return 1;
        }
    }
    std::fprintf(stderr, "usage:\n");
    for (const auto& command : commands) std::fprintf(stderr, "  tam32-probe %s %s\n", command.Name, command.Usage);
    return 2;
}
