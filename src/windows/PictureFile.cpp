#include "windows/PictureFile.h"

#include <QImage>
#include <QStringList>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

#include "platform/Exceptions.h"
#include "platform/PictureFormats.h"
#include "platform/PictureImage.h"
#include "platform/FileSave.h"
#include "platform/Stream.h"

namespace tam32 {

QString PictureOpenFilter() {
    QStringList all;
    QStringList each;
    for (const TFileFormat& format : PictureFormats::FileFormats()) {
        // File names are case-sensitive here; cameras write ".JPG".
        const QString pattern = QStringLiteral("*.%1 *.%2").arg(format.Extension, format.Extension.toUpper());
        if (!all.contains(pattern)) all << pattern;
        each << QStringLiteral("%1 (%2)").arg(format.Description, pattern);
    }
    each.prepend(QStringLiteral("All (%1)").arg(all.join(QLatin1Char(' '))));
    return each.join(QStringLiteral(";;"));
}

namespace {

// libjpeg reports errors through error_exit, which must not return; it jumps
// back to the writer, so no exception crosses the library's C frames.
struct TJpegErrors {
    jpeg_error_mgr Manager;
    std::jmp_buf Return;
    char Text[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr Info) {
    auto* errors = reinterpret_cast<TJpegErrors*>(Info->err);
    Info->err->format_message(Info, errors->Text);
    std::longjmp(errors->Return, 1);
}

struct TJpegMemory {
    unsigned char* Data = nullptr;
    unsigned long Size = 0;
    ~TJpegMemory() { std::free(Data); }
};

}  // namespace

void SaveBitmapAsJpeg(const TBitmap& Bitmap, const QString& FileName) {
    const QImage rgb = ConvertedPictureImage(Bitmap.Image(), QImage::Format_RGB888);
    TJpegMemory memory;
    jpeg_compress_struct info{};
    TJpegErrors errors{};
    info.err = jpeg_std_error(&errors.Manager);
    errors.Manager.error_exit = JpegErrorExit;
    if (setjmp(errors.Return) != 0) {
        jpeg_destroy_compress(&info);
        throw EInvalidGraphic(QString::fromLocal8Bit(errors.Text));
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &memory.Data, &memory.Size);
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    SaveFileAtomically(FileName, [&](TStream& Stream) {
        Stream.WriteBuffer(memory.Data, static_cast<int64_t>(memory.Size));
    });
}

}  // namespace tam32
