// The spatial filter as a routine of "tam32-probe run", its kernel from a
// kernel file, e.g.
//   run FilterImageFile IMAGE --kernel KERNEL.txt --dst OUT.bmp
// --kernel stores the file's kernel as the filter dialog's OK does (a
// divisor of 0 too, which the filter refuses); a file that is not a whole
// kernel does not fit the option.
#include <optional>

#include "ProbeRun.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/corrections/FilterKernel.h"
#include "analysis/corrections/SpatialFilter.h"

namespace tam32::probe {
namespace {

TAM32_PROBE_SCALAR(FilterDefined);
TAM32_PROBE_SCALAR(FilterSize);
TAM32_PROBE_SCALAR(FilterDivisor);

const RegisterProbeRunOption kKernel("--kernel", [](const QString& Value) {
    QString error;
    const std::optional<TFilterKernel> kernel = ReadKernelFile(Value, error);
    if (kernel) StoreFilterKernel(*kernel);
    return kernel.has_value();
});

const RegisterProbeRoutine kFilterImageFile("FilterImageFile", [](const QString& File, TBitmap&, const TRect&) {
    return FilterImageFile(File, ProbeDestination());
});

}  // namespace
}  // namespace tam32::probe
