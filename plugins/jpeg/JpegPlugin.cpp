// JPEG input plug-in. Decodes with libjpeg's default settings (accurate
// integer IDCT, fancy upsampling), so its pixels are exactly the library's
// own output: grey pictures as 8 bits with a grey colour table, all others as
// 24 bits (CMYK converted to RGB).
//
// A picture is given only when it is whole. libjpeg decodes a damaged or cut
// file to the end with grey in place of what is missing and only warns, so
// its warnings of corrupt data refuse the picture, and so does the end of the
// file before the last scan is complete; a file that lacks nothing but its
// end marker is read. What the file declares is weighed against its length
// and the picture limit before libjpeg allocates anything for it.
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

#include "support/SpiDecodeExports.h"
#include "support/SpiDib.h"
#include "support/SpiInput.h"
#include "support/SpiPictureLimit.h"
#include "support/SpiPluginInfo.h"
#include "support/SpiProgress.h"

namespace {

using namespace tam32::spi;

constexpr SpiFormat kFormats[] = {
    {"*.jpg", "JPEG"}, {"*.jpeg", "JPEG"}, {"*.jpe", "JPEG"}, {"*.jfif", "JPEG"}};
constexpr SpiPluginTexts kTexts = {"00IN", "TAM32 JPEG input plug-in (libjpeg)", kFormats};

// A progressive file of more scans is refused: each scan passes over the
// whole picture, and a few bytes make one.
constexpr int kMaxScans = 500;
// The most 8 × 8 blocks one byte of compressed data can stand for.
constexpr int64_t kBlocksPerByte = 8;
// libjpeg's components of one picture.
constexpr int kMaxComponents = MAX_COMPONENTS;

// The decoder's state beside libjpeg's: where its errors jump to and what
// its warnings and scans showed.
struct Watch {
    jpeg_error_mgr Errors;
    jpeg_progress_mgr Progress;
    std::jmp_buf Jump;
    int32_t Refusal;
    // The data ran out; libjpeg went on as if the end marker had come.
    bool EndedEarly;
    bool ComponentScanned[kMaxComponents];
};

Watch& WatchOf(j_common_ptr Info) { return *reinterpret_cast<Watch*>(Info->err); }

[[noreturn]] void Refuse(j_common_ptr Info, int32_t Result) {
    Watch& watch = WatchOf(Info);
    watch.Refusal = Result;
    std::longjmp(watch.Jump, 1);
}

bool IsMemoryError(int Code) {
    return Code == JERR_OUT_OF_MEMORY || Code == JERR_NO_BACKING_STORE || Code == JERR_IMAGE_TOO_BIG ||
           Code == JERR_WIDTH_OVERFLOW;
}

[[noreturn]] void ErrorExit(j_common_ptr Info) {
    Refuse(Info, IsMemoryError(Info->err->msg_code) ? SPI_NO_MEMORY : SPI_BROKEN_DATA);
}

bool IsCorruptData(int Code) {
    switch (Code) {
        case JWRN_ARITH_BAD_CODE: case JWRN_BOGUS_PROGRESSION: case JWRN_EXTRANEOUS_DATA: case JWRN_HIT_MARKER:
        case JWRN_HUFF_BAD_CODE: case JWRN_MUST_RESYNC: case JWRN_NOT_SEQUENTIAL: return true;
        default: return false;
    }
}

// Level -1 is a warning; the others are traces. The plug-in has nowhere to
// print either.
void EmitMessage(j_common_ptr Info, int Level) {
    if (Level >= 0) return;
    const int code = Info->err->msg_code;
    if (code == JWRN_JPEG_EOF) WatchOf(Info).EndedEarly = true;
    if (IsCorruptData(code)) Refuse(Info, SPI_BROKEN_DATA);
}

// Called while scans are read: counts them and notes the components each covers.
void WatchScans(j_common_ptr Info) {
    auto* cinfo = reinterpret_cast<j_decompress_ptr>(Info);
    if (cinfo->input_scan_number > kMaxScans) Refuse(Info, SPI_BROKEN_DATA);
    Watch& watch = WatchOf(Info);
    for (int i = 0; i < cinfo->comps_in_scan; ++i) {
        const int component = cinfo->cur_comp_info[i]->component_index;
        if (component >= 0 && component < kMaxComponents) watch.ComponentScanned[component] = true;
    }
}

// After a file that ended early was read in: whether every coefficient of a
// progressive picture came to its last bit, and every component of a
// sequential one of several scans came at all.
bool ScansComplete(const jpeg_decompress_struct& Cinfo, const Watch& W) {
    for (int c = 0; c < Cinfo.num_components; ++c) {
        if (!Cinfo.progressive_mode) {
            if (!W.ComponentScanned[c]) return false;
            continue;
        }
        for (int k = 0; k < DCTSIZE2; ++k)
            if (Cinfo.coef_bits[c][k] != 0) return false;
    }
    return true;
}

int64_t DeclaredBlocks(const jpeg_decompress_struct& Cinfo) {
    int64_t blocks = 0;
    for (int c = 0; c < Cinfo.num_components; ++c)
        blocks += int64_t{Cinfo.comp_info[c].width_in_blocks} * Cinfo.comp_info[c].height_in_blocks;
    return blocks;
}

// What the declared picture may cost libjpeg: twice its 24-bit size for its
// rows and their buffers; a picture of several scans keeps all its
// coefficients (128 bytes a block, which for unsubsampled colour alone is
// twice its 24-bit size); and the library's tables.
constexpr int64_t kTablesAllowance = int64_t{1} << 20;

long MemoryAllowance(const jpeg_decompress_struct& Cinfo) {
    const int64_t picture = DibRowsSize(Cinfo.image_width, Cinfo.image_height, 24);
    const int64_t coefficients = DeclaredBlocks(Cinfo) * int64_t{DCTSIZE2 * sizeof(JCOEF)};
    return static_cast<long>(2 * picture + coefficients + kTablesAllowance);
}

// SPI_SUCCESS when the file holds enough data for the picture it declares
// and that picture is within the limit.
int32_t CheckDeclaredSize(const jpeg_decompress_struct& Cinfo, int64_t Length) {
    if (DeclaredBlocks(Cinfo) > kBlocksPerByte * Length) return SPI_BROKEN_DATA;
    return CheckPictureSize(Cinfo.image_width, Cinfo.image_height);
}

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

// Reads every row into Dib, telling Rows each one; SPI_ABORTED when the host
// asked to stop. A row is final once read: a damaged file is only refused
// later, and the host then hears that the rows go.
int32_t ReadRows(jpeg_decompress_struct& Cinfo, SpiDib& Dib, bool Cmyk, SpiRows& Rows, SpiProgress& Progress) {
    // CMYK rows go through a buffer of the decoder's own, freed with it.
    const JSAMPARRAY cmykRow =
        Cmyk ? (*Cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&Cinfo), JPOOL_IMAGE,
                                          4 * Cinfo.output_width, 1)
             : nullptr;
    while (Cinfo.output_scanline < Cinfo.output_height) {
        uint8_t* row = Dib.Row(Cinfo.output_scanline);
        JSAMPROW target = Cmyk ? cmykRow[0] : row;
        jpeg_read_scanlines(&Cinfo, &target, 1);
        if (Cmyk) CmykRowToBgr(cmykRow[0], row, Cinfo.output_width);
        Rows.Finished(Cinfo.output_scanline);
        if (!Progress.Report(Cinfo.output_scanline)) return SPI_ABORTED;
    }
    return SPI_SUCCESS;
}

// Reads the header into Info and, with Dib, the pixels. Only trivially
// destructible objects live in this frame, since libjpeg's errors return
// through longjmp.
int32_t Decode(const SpiInput& Input, SpiPictureInfo* Info, SpiDib* Dib, SpiRows* Rows,
               SpiProgressCallback Callback, intptr_t LData) {
    jpeg_decompress_struct cinfo;
    Watch watch{};
    cinfo.err = jpeg_std_error(&watch.Errors);
    watch.Errors.error_exit = ErrorExit;
    watch.Errors.emit_message = EmitMessage;
    watch.Progress.progress_monitor = WatchScans;
    if (setjmp(watch.Jump) != 0) {
        jpeg_destroy_decompress(&cinfo);
        return watch.Refusal;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.progress = &watch.Progress;
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
        Info->x_density = DensityField(xDpi);
        Info->y_density = DensityField(yDpi);
        Info->colorDepth = grey ? 8 : 24;
    }
    int32_t result = Dib != nullptr ? CheckDeclaredSize(cinfo, Input.Length()) : SPI_SUCCESS;
    if (Dib == nullptr || result != SPI_SUCCESS) {
        jpeg_destroy_decompress(&cinfo);
        return result;
    }
    cinfo.mem->max_memory_to_use = MemoryAllowance(cinfo);
    jpeg_start_decompress(&cinfo);
    // A file of several scans has been read in whole by now.
    if (watch.EndedEarly && jpeg_has_multiple_scans(&cinfo) && !ScansComplete(cinfo, watch))
        Refuse(reinterpret_cast<j_common_ptr>(&cinfo), SPI_BROKEN_DATA);
    SpiProgress progress(Callback, LData, cinfo.output_height);
    result = progress.Report(0) ? SPI_SUCCESS : SPI_ABORTED;
    if (result == SPI_SUCCESS)
        result = Dib->Create(cinfo.output_width, cinfo.output_height, grey ? 8 : 24, grey ? 256 : 0);
    if (result == SPI_SUCCESS) {
        if (grey) Dib->SetGreyColors();
        Dib->SetDotsPerInch(xDpi, yDpi);
        result = ReadRows(cinfo, *Dib, cmyk, *Rows, progress);
        if (result == SPI_SUCCESS) jpeg_finish_decompress(&cinfo);
    }
    jpeg_destroy_decompress(&cinfo);
    return result;
}

bool LooksLikeJpeg(const uint8_t* Header) { return Header[0] == 0xFF && Header[1] == 0xD8 && Header[2] == 0xFF; }

}  // namespace

TAM32_SPI_INPUT_EXPORTS(kTexts, LooksLikeJpeg, Decode, false)
