#pragma once
// A picture that no reader decodes, and why. Every reader that is tried
// gives its reason; the most telling one is kept, so that a cut JPEG is
// reported as damaged although the bitmap reader, tried after the plug-in,
// only saw that it is no BMP file.
#include <QString>

#include "import/SPIExceptions.h"

namespace tam32 {

// From the least to the most telling.
enum class TPictureFault {
    NotAPicture,  // no reader knows the data
    Damaged,      // a reader knows it, but it ends early or contradicts itself
    TooLarge,     // the picture it declares is beyond what the program holds
};

// The EInvalidGraphic "Susie Plugins could not decode" of the picture
// classes, carrying the file (empty for a stream without a name) and the
// reason for the message the user sees.
class EPictureUnreadable : public EInvalidGraphic {
public:
    EPictureUnreadable(const QString& FileName, TPictureFault Fault)
        : EInvalidGraphic(kSusieCouldNotDecode), FFileName(FileName), FFault(Fault) {}
    const QString& FileName() const { return FFileName; }
    TPictureFault Fault() const { return FFault; }

private:
    QString FFileName;
    TPictureFault FFault;
};

// The more telling of two reasons.
inline TPictureFault MoreTelling(TPictureFault A, TPictureFault B) { return A < B ? B : A; }

}  // namespace tam32
