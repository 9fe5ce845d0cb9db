// Feeds arbitrary bytes to the kernel file reader of the spatial filter
// dialog: a text loads whole (an odd size of 1..31 with all its weights and
// a divisor) or is refused with a reason, and reading changes no filter
// setting. What loads, written back as a kernel file, reads back the same.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdlib>

#include "analysis/core/GlobalSettings.h"
#include "analysis/corrections/FilterKernel.h"

using namespace tam32;

namespace {

const TFilterKernel kKnown{3, {1, 2, 1, 2, 4, 2, 1, 2, 1}, 16};

bool SameKernel(const TFilterKernel& A, const TFilterKernel& B) {
    return A.Size == B.Size && A.Weights == B.Weights && A.Divisor == B.Divisor;
}

QByteArray KernelText(const TFilterKernel& Kernel) {
    QByteArray text = QByteArray::number(Kernel.Size) + '\n';
    for (int32_t weight : Kernel.Weights) text += QByteArray::number(weight) + ' ';
    return text + '\n' + QByteArray::number(Kernel.Divisor) + '\n';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    StoreFilterKernel(kKnown);
    QString error;
    const std::optional<TFilterKernel> kernel =
        ReadKernelText(QByteArray(reinterpret_cast<const char*>(Data), qsizetype(Size)), error);
    const std::optional<TFilterKernel> settings = DefinedFilterKernel();
    if (!settings || !SameKernel(*settings, kKnown)) std::abort();
    if (!kernel) {
        if (error.isEmpty()) std::abort();
        return 0;
    }
    if (!IsFilterSize(kernel->Size) || kernel->Weights.size() != std::size_t(kernel->Size * kernel->Size)) std::abort();
    const std::optional<TFilterKernel> again = ReadKernelText(KernelText(*kernel), error);
    if (!again || !SameKernel(*again, *kernel)) std::abort();
    return 0;
}
