#pragma once
// The clipboard object of the original class library over Qt's clipboard.
// The DIB format (CF_DIB) travels as "image/bmp" (a BMP file image) plus
// Qt's own image; the bitmap format (CF_BITMAP) is the same picture, handed
// out as a packed DIB block in place of the platform's bitmap handle.
//
// As on Windows, handles that GetAsHandle returns belong to the clipboard
// and are freed when it is closed (the outermost Close); a handle fetched
// while the clipboard is not open stays valid until it is next closed or the
// next such fetch. SetAsHandle takes over the block it is given.
#include <QString>
#include <cstdint>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/MemoryHandle.h"
#include "platform/Object.h"

class QClipboard;
class QMimeData;

namespace tam32 {

constexpr uint16_t CF_TEXT = 1;
constexpr uint16_t CF_UNICODETEXT = 13;

TAM32_EXCEPTION(EClipboardException, Exception);

class TClipboard : public TPersistent {
public:
    TClipboard() = default;
    ~TClipboard() override;
    TClipboard(const TClipboard&) = delete;
    TClipboard& operator=(const TClipboard&) = delete;
    const char* ClassName() const override { return "TClipboard"; }

    // Nesting is counted. EClipboardException "Cannot open clipboard" when
    // there is no clipboard (no QGuiApplication).
    void Open();
    void Close();
    void Clear();

    bool HasFormat(uint16_t Format) const;
    // CF_DIB or CF_BITMAP: a packed DIB of the picture, taken from "image/bmp"
    // when that holds a valid one, else made (24 bits, bottom-up) from the
    // clipboard's image. nullptr when there is no picture or for other formats.
    HGLOBAL GetAsHandle(uint16_t Format);
    // CF_DIB or CF_BITMAP with a packed DIB. On success the block is freed
    // (the clipboard keeps its own copy); when the format is another one
    // (EClipboardException "Unsupported clipboard format") or the block is not
    // a valid packed DIB (EInvalidGraphic "Bitmap image is not valid") the
    // caller keeps it.
    void SetAsHandle(uint16_t Format, HGLOBAL Value);

    QString AsText() const;
    void SetAsText(const QString& Value);

private:
    QClipboard* System() const;
    // The data to publish: within an open session the first addition starts
    // afresh and later ones keep what was added before, as Windows does.
    QMimeData* DataForAdding();
    void FreeOwnedHandles();

    int FOpenCount = 0;
    bool FEmptied = false;
    std::vector<HGLOBAL> FOwnedHandles;
};

// The program's clipboard object.
TClipboard& Clipboard();

}  // namespace tam32
