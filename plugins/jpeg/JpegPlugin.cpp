// JPEG input plug-in. Decodes with libjpeg's default settings (accurate
// integer IDCT, fancy upsampling), so its pixels are exactly the library's
// own output: grey pictures as 8 bits with a grey colour table, all others as
// 24 bits (CMYK converted to RGB).
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "support/SpiDecodeExports.h"
#include "support/SpiDib.h"
#include "support/SpiInput.h"
#include "support/SpiPluginInfo.h"
#include "support/SpiProgress.h"

namespace {

using namespace tam32::spi;

constexpr SpiFormat kFormats[] = {
    {"*.jpg", "JPEG"}, {"*.jpeg", "JPEG"}, {"*.jpe", "JPEG"}, {"*.jfif", "JPEG"}};
constexpr SpiPluginTexts kTexts = {"00IN", "TAM32 JPEG input plug-in (libjpeg)", kFormats};

struct ErrorManager {
    jpeg_error_mgr Base;
    std::jmp_buf Jump;
};

[[noreturn]] void ErrorExit(j_common_ptr Info) { std::longjmp(reinterpret_cast<ErrorManager*>(Info->err)->Jump, 1); }

// Warnings (a truncated file, for one) do not stop decoding, and the plug-in
// has nowhere to print them.
void IgnoreMessage(j_common_ptr) {}

double DotsPerInch(int Unit, unsigned Density) {
    if (Unit == 1) return Density;
    if (Unit == 2) return Density * 2.54;
    return 0;
}

// Adobe CMYK as stored (inverted): each colour is its ink value times black.
void CmykRowToBgr(const uint8_t* Cmyk, uint8_t* Bgr, JDIMENSION Width) {
    for (JDIMENSION x = 0; x < Width; ++x, Cmyk += 4, Bgr += 3) {
        const unsigned k = Cmyk[3];
        Bgr[0] = static_cast<uint8_t>((Cmyk[2] * k + 127) / 255);
        Bgr[1] = static_cast<uint8_t>((Cmyk[1] * k + 127) / 255);
        Bgr[2] = static_cast<uint8_t>((Cmyk[0] * k + 127) / 255);
    }
}

// Reads the header into Info and, with Dib, the pixels. Only trivially
// destructible objects live in this frame, since libjpeg's errors return
// through longjmp.
int32_t Decode(const SpiInput& Input, SpiPictureInfo* Info, SpiDib* Dib, SpiProgressCallback Callback,
               intptr_t LData) {
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    cinfo.err = jpeg_std_error(&errors.Base);
    errors.Base.error_exit = ErrorExit;
    errors.Base.output_message = IgnoreMessage;
    if (setjmp(errors.Jump) != 0) {
        jpeg_destroy_decompress(&cinfo);
        return SPI_BROKEN_DATA;
    }
    jpeg_create_decompress(&cinfo);
    if (Input.File() != nullptr)
        jpeg_stdio_src(&cinfo, Input.File());
    else
        jpeg_mem_src(&cinfo, Input.Data(), static_cast<unsigned long>(Input.Size()));
    jpeg_read_header(&cinfo, TRUE);
    const bool grey = cinfo.jpeg_color_space == JCS_GRAYSCALE;
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_EXT_BGR;
    const double xDpi = DotsPerInch(cinfo.density_unit, cinfo.X_density);
    const double yDpi = DotsPerInch(cinfo.density_unit, cinfo.Y_density);
    if (Info != nullptr) {
        *Info = SpiPictureInfo{};
        Info->width = static_cast<int32_t>(cinfo.image_width);
        Info->height = static_cast<int32_t>(cinfo.image_height);
        Info->x_density = static_cast<uint16_t>(xDpi);
        Info->y_density = static_cast<uint16_t>(yDpi);
        Info->colorDepth = grey ? 8 : 24;
    }
    if (Dib == nullptr) {
        jpeg_destroy_decompress(&cinfo);
        return SPI_SUCCESS;
    }
    jpeg_start_decompress(&cinfo);
    SpiProgress progress(Callback, LData, cinfo.output_height);
    int32_t result = progress.Report(0) ? SPI_SUCCESS : SPI_ABORTED;
    if (result == SPI_SUCCESS) result = Dib->Create(cinfo.output_width, cinfo.output_height, grey ? 8 : 24, grey ? 256 : 0);
    if (result == SPI_SUCCESS) {
        if (grey) Dib->SetGreyColors();
        Dib->SetDotsPerInch(xDpi, yDpi);
        // CMYK rows go through a buffer of the decoder's own, freed with it.
        const JSAMPARRAY cmykRow =
            cmyk ? (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                              4 * cinfo.output_width, 1)
                 : nullptr;
        while (cinfo.output_scanline < cinfo.output_height) {
            uint8_t* row = Dib->Row(cinfo.output_scanline);
            JSAMPROW target = cmyk ? cmykRow[0] : row;
            jpeg_read_scanlines(&cinfo, &target, 1);
            if (cmyk) CmykRowToBgr(cmykRow[0], row, cinfo.output_width);
            if (!progress.Report(cinfo.output_scanline)) {
                result = SPI_ABORTED;
                break;
            }
        }
        if (result == SPI_SUCCESS) jpeg_finish_decompress(&cinfo);
    }
    jpeg_destroy_decompress(&cinfo);
    return result;
}

bool LooksLikeJpeg(const uint8_t* Header) { return Header[0] == 0xFF && Header[1] == 0xD8 && Header[2] == 0xFF; }

}  // namespace

TAM32_SPI_INPUT_EXPORTS(kTexts, LooksLikeJpeg, Decode, false)
