/* The image plug-in interface on 64-bit Linux.
 *
 * A plug-in is a shared object named "*.spi" that exports the functions below
 * with C linkage and the default calling convention. Their names, arguments,
 * results and calling order are those of the Windows interface; only the
 * types are fixed for LP64: no C 'long' (64 bits here, 32 on Windows), every
 * parameter that carries an address or a size is pointer-sized, and strings
 * are zero-terminated UTF-8.
 *
 * Memory: every block a plug-in hands to the host (the BITMAPINFO and pixel
 * blocks of GetPicture/GetPreview, PictureInfo.hInfo) is a memory handle made
 * with SpiLocalAlloc, which the loading program exports. The host checks each
 * returned handle and its size before it reads a byte, and frees it with its
 * own LocalFree once it owns it. A plug-in refers to these functions as
 * undefined symbols that resolve when the program loads it.
 *
 * Results: 0 is success for the picture functions; the SPI_* codes name the
 * usual reasons for failure. No C++ exception may leave an exported function.
 *
 * This header is plain C so that a plug-in may be written in C or C++. */
#ifndef TAM32_SPI_ABI_H
#define TAM32_SPI_ABI_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define SPI_EXPORT __attribute__((visibility("default")))

/* A memory handle of the loading program (opaque to plug-ins). */
typedef void* SpiHandle;

/* GetPicture/GetPreview/GetPictureInfo flag: what 'buf' and 'len' mean. */
#define SPI_FLAG_FILE 0u   /* buf: file name; len: offset of the picture in the file */
#define SPI_FLAG_MEMORY 1u /* buf: the whole picture in memory; len: its byte count */

/* Bytes readable at the address IsSupported receives (the start of the picture, zero-padded). */
#define SPI_HEADER_BYTES 2048

/* Results of the picture functions. */
#define SPI_NOT_IMPLEMENTED (-1)
#define SPI_SUCCESS 0
#define SPI_ABORTED 1 /* the progress callback asked to stop */
#define SPI_UNKNOWN_FORMAT 2
#define SPI_BROKEN_DATA 3
#define SPI_NO_MEMORY 4
#define SPI_MEMORY_ERROR 5
#define SPI_FILE_READ_ERROR 6
#define SPI_INTERNAL_ERROR 8

/* LocalAlloc flags understood by SpiLocalAlloc. */
#define SPI_LMEM_FIXED 0x0000u
#define SPI_LMEM_MOVEABLE 0x0002u
#define SPI_LMEM_ZEROINIT 0x0040u

#pragma pack(push, 1)
typedef struct SpiPictureInfo {
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
    uint16_t x_density;
    uint16_t y_density;
    int16_t colorDepth;
    uint8_t reserved[2]; /* keeps hInfo on its natural 8-byte boundary */
    SpiHandle hInfo;     /* text block or NULL; the host frees it */
} SpiPictureInfo;
#pragma pack(pop)

/* Returns 0 to let the plug-in go on, 1 to ask it to stop. */
typedef int32_t (*SpiProgressCallback)(int32_t nNum, int32_t nDenom, intptr_t lData);

/* ---- exported by plug-ins ---- */

/* infono 0: API version ("00IN" image input, "00AM" archive, "00XN");
 * 1: description; 2n+2: file-name masks of format n ("*.ext;*.ext2");
 * 2n+3: that format's description. Writes at most buflen bytes; returns the
 * characters written, 0 or less when there is no such entry. */
SPI_EXPORT int32_t GetPluginInfo(int32_t infono, char* buf, int32_t buflen);
/* dw is the address of SPI_HEADER_BYTES bytes from the start of the picture.
 * Non-zero: the plug-in can decode it. */
SPI_EXPORT int32_t IsSupported(const char* filename, uintptr_t dw);
SPI_EXPORT int32_t GetPictureInfo(const char* buf, intptr_t len, uint32_t flag, SpiPictureInfo* lpInfo);
/* On success *pHBInfo is a BITMAPINFO block (40-byte header and colour
 * table) and *pHBm the pixel rows of a packed DIB; the host owns both. */
SPI_EXPORT int32_t GetPicture(const char* buf, intptr_t len, uint32_t flag, SpiHandle* pHBInfo,
                              SpiHandle* pHBm, SpiProgressCallback lpPrgressCallback, intptr_t lData);
/* Optional; as GetPicture. */
SPI_EXPORT int32_t GetPreview(const char* buf, intptr_t len, uint32_t flag, SpiHandle* pHBInfo,
                              SpiHandle* pHBm, SpiProgressCallback lpPrgressCallback, intptr_t lData);
/* GetArchiveInfo, GetFileInfo, GetFile and ConfigurationDlg are looked up by
 * name and kept, but never called. */

/* ---- an extension of our own, optional ---- */

/* Told by GetPictureRows: the first RowsDone rows, counted from the top, of
 * the pixel block Bits hold their final values (Info, the BITMAPINFO block,
 * is complete) and stay where they are while the plug-in works on. RowsDone
 * -1: the blocks are about to be freed; the host stops reading them before
 * it returns. */
typedef void (*SpiRowsCallback)(SpiHandle Info, SpiHandle Bits, int32_t RowsDone, intptr_t lData);
/* As GetPicture, telling the host each row as it is finished, so that the
 * host can work on the rows while the rest of the picture decodes. */
SPI_EXPORT int32_t GetPictureRows(const char* buf, intptr_t len, uint32_t flag, SpiHandle* pHBInfo,
                                  SpiHandle* pHBm, SpiProgressCallback lpPrgressCallback,
                                  SpiRowsCallback lpRowsCallback, intptr_t lData);

typedef int32_t (*SpiGetPluginInfoFn)(int32_t, char*, int32_t);
typedef int32_t (*SpiIsSupportedFn)(const char*, uintptr_t);
typedef int32_t (*SpiGetPictureInfoFn)(const char*, intptr_t, uint32_t, SpiPictureInfo*);
typedef int32_t (*SpiGetPictureFn)(const char*, intptr_t, uint32_t, SpiHandle*, SpiHandle*,
                                   SpiProgressCallback, intptr_t);
typedef int32_t (*SpiGetPictureRowsFn)(const char*, intptr_t, uint32_t, SpiHandle*, SpiHandle*,
                                       SpiProgressCallback, SpiRowsCallback, intptr_t);

/* ---- exported by the loading program ---- */

/* A zero-filled block, whatever the flags; NULL when the memory cannot be had. */
SpiHandle SpiLocalAlloc(uint32_t flags, size_t bytes);
/* The block's first byte; NULL for a handle that is not live. */
void* SpiLocalLock(SpiHandle handle);
/* Non-zero while the handle stays locked. */
int32_t SpiLocalUnlock(SpiHandle handle);
/* NULL on success; the handle itself when it is not live. */
SpiHandle SpiLocalFree(SpiHandle handle);
/* The usable size; 0 for a handle that is not live. */
size_t SpiLocalSize(SpiHandle handle);

#ifdef __cplusplus
}
#endif

#endif
