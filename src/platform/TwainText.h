#pragma once
// Text in the 34-byte string fields of the source manager's records: UTF-8,
// at most 33 bytes and always a terminating zero. Longer text is cut at a
// character boundary. Header-only, as the manager library shares it.
#include <QString>
#include <algorithm>
#include <cstring>

#include "platform/SourceManagerAbi.h"

namespace tam32 {

inline void SetTwainText(TW_STR32& Field, const QString& Text) {
    const QByteArray bytes = Text.toUtf8();
    qsizetype n = std::min<qsizetype>(bytes.size(), sizeof(TW_STR32) - 1);
    while (n > 0 && n < bytes.size() && (uchar(bytes[n]) & 0xC0) == 0x80) --n;  // continuation byte
    std::memset(Field, 0, sizeof(TW_STR32));
    std::memcpy(Field, bytes.constData(), size_t(n));
}

// Up to the first zero, never past the field.
inline QString TwainText(const TW_STR32& Field) {
    return QString::fromUtf8(Field, qsizetype(strnlen(Field, sizeof(TW_STR32))));
}

}  // namespace tam32
