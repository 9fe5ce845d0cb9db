#pragma once
// Writes the JPEG test photographs of the benchmarks (libjpeg defaults,
// quality 90); FillRow(y, row) gives each row as red, green, blue bytes.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace tam32::bench {

inline void WriteJpegFile(const std::string& File, int Width, int Height,
                          const std::function<void(int Y, uint8_t* Row)>& FillRow) {
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
    jpeg_set_quality(&cinfo, 90, TRUE);
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

}  // namespace tam32::bench
