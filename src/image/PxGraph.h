#pragma once
// The abstract parent of the model's bitmap graphics: a graphic that also
// reads itself from the clipboard object in its own clipboard format.
#include <cstdint>

#include "platform/Graphic.h"

namespace tam32 {

class TPxGraphic : public TGraphic {
public:
    const char* ClassName() const override { return "TPxGraphic"; }
    // From the clipboard object: load ClipboardFormat from it (with its
    // palette) and close it in every case; otherwise the default assignment.
    void Assign(const TPersistent* Source) override;
    virtual uint16_t ClipboardFormat() const = 0;
};

}  // namespace tam32
