// --line X0,Y0,X1,Y1 of "tam32-probe run".
#include "ProbeRun.h"
#include "ProbeSettings.h"

namespace tam32::probe {

TProbeLine& ProbeLine() {
    static TProbeLine Line;
    return Line;
}

namespace {

const RegisterProbeRunOption kLine("--line", [](const QString& Value) {
    std::vector<int> Ints;
    if (!ParseInts(Value, 4, 4, Ints)) return false;
    ProbeLine() = {{Ints[0], Ints[1]}, {Ints[2], Ints[3]}};
    return true;
});

}  // namespace
}  // namespace tam32::probe
