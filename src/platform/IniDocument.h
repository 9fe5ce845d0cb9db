#pragma once
// An ini file as its lines, read and written so that a write changes only
// the lines it means to: untouched lines go back byte for byte.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace tam32 {

struct IniLine {
    QByteArray Raw;  // as read, without its line end; null for a new or edited line
    QString Text;
};

struct IniDocument {
    enum class Encoding { Utf8, Cp932 };

    std::vector<IniLine> Lines;
    Encoding TextEncoding = Encoding::Utf8;
    bool Bom = false;
    bool Readable = true;   // false: the file exists but could not be read
    bool TooLarge = false;  // with Readable false: the file holds more than kMaxFileSize bytes

    // Anything larger is not an ini file; reading it whole would only exhaust memory.
    static constexpr int64_t kMaxFileSize = 16 * 1024 * 1024;

    // A missing file is an empty document; one that cannot be read is an
    // empty document that refuses to be saved.
    static IniDocument Load(const QString& FileName);
    // Lines end in CR LF, the file replaced whole (SaveFileAtomically):
    // EFileSaveError when it cannot be written; a document that refuses to
    // be saved raises EFileTooLarge or EIniFileException.
    void Save(const QString& FileName);
};

}  // namespace tam32
