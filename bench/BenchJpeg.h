#pragma once
// Writes the JPEG test photographs of the benchmarks (libjpeg defaults, at
// quality 90 unless given); FillRow(y, row) gives each row as red, green,
// blue bytes.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace tam32::bench {

inline void WriteJpegFile(const std::string& File, int Width, int Height,
                          const std::function<void(int Y, uint8_t* Row)>& FillRow, int Quality = 90) {
    std::vector<uint8_t> row(size_t{3} * Width);
    FILE* out = std::fopen(File.c_str(), "wb");
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out);
    cinfo.image_width = Width;
    cinfo.image_height = Height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, Quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    for (int y = 0; y < Height; ++y) {
        FillRow(y, row.data());
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&cinfo, &pointer, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(out);
}

// Decodes File with libjpeg's defaults into colour space Space (RGB unless
// given): Prepare(Info) once the output size is known, then each row into
// RowFor(Y).
template <class TPrepare, class TRowFor>
void ReadJpegFile(const std::string& File, TPrepare&& Prepare, TRowFor&& RowFor, J_COLOR_SPACE Space = JCS_RGB) {
    FILE* source = std::fopen(File.c_str(), "rb");
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, source);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = Space;
    jpeg_start_decompress(&cinfo);
    Prepare(static_cast<const jpeg_decompress_struct&>(cinfo));
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = RowFor(int(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(source);
}

}  // namespace tam32::bench
