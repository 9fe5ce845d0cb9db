#include "platform/IniDocument.h"

#include <QFile>
#include <QStringDecoder>
#include <cerrno>
#include <iconv.h>
#include <optional>

#include "platform/Exceptions.h"
#include "platform/FileSave.h"

namespace tam32 {

namespace {

// Files from the Windows program are in CP932 (not SHIFT_JIS, whose 0x5C is
// a yen sign: paths would lose their backslashes); ours are UTF-8.
const char* const kCp932 = "CP932";
const QByteArray kUtf8Bom("\xEF\xBB\xBF");
const QByteArray kReplacementCharacter("\xEF\xBF\xBD");

class Iconv {
public:
    Iconv(const char* To, const char* From) : FHandle(iconv_open(To, From)) {}
    ~Iconv() {
        if (Valid()) iconv_close(FHandle);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    // Converts all of In; a byte sequence that does not convert becomes
    // Substitute, or fails the whole conversion when Substitute is null.
    std::optional<QByteArray> Convert(const QByteArray& In, const QByteArray* Substitute) {
        if (!Valid()) return std::nullopt;
        QByteArray Out;
        if (In.isEmpty()) return Out;
        iconv(FHandle, nullptr, nullptr, nullptr, nullptr);
        std::vector<char> Buffer(static_cast<size_t>(In.size()) * 4 + 16);
        char* Source = const_cast<char*>(In.constData());
        size_t SourceLeft = static_cast<size_t>(In.size());
        while (true) {
            char* Target = Buffer.data();
            size_t TargetLeft = Buffer.size();
            const size_t Result = iconv(FHandle, &Source, &SourceLeft, &Target, &TargetLeft);
            const int Error = errno;
            Out.append(Buffer.data(), static_cast<qsizetype>(Target - Buffer.data()));
            if (Result != static_cast<size_t>(-1) && SourceLeft == 0) return Out;
            if (Result != static_cast<size_t>(-1) || Error == E2BIG) continue;
            if (Substitute == nullptr) return std::nullopt;
            Out.append(*Substitute);
            if (Error != EILSEQ) return Out;  // a sequence cut off at the end
            ++Source;
            --SourceLeft;
        }
    }

private:
    bool Valid() const { return FHandle != reinterpret_cast<iconv_t>(-1); }

    iconv_t FHandle;
};

bool IsValidUtf8(const QByteArray& Bytes) {
    QStringDecoder Decoder(QStringDecoder::Utf8);
    const QString Text = Decoder.decode(Bytes);  // decoding happens on conversion
    return !Decoder.hasError();
}

// The file's bytes; nullopt when it cannot be read or holds more than
// Limit bytes (TooLarge then set).
std::optional<QByteArray> ReadAtMost(const QString& FileName, qint64 Limit, bool& TooLarge) {
    QFile File(FileName);
    if (!File.open(QIODevice::ReadOnly)) return std::nullopt;
    // In pieces: one read of the limit's size would take that much memory
    // for every small file.
    QByteArray Data;
    while (Data.size() <= Limit) {
        const QByteArray Piece = File.read(64 * 1024);
        if (Piece.isEmpty()) break;
        Data += Piece;
    }
    TooLarge = Data.size() > Limit;
    if (File.error() != QFileDevice::NoError || TooLarge) return std::nullopt;
    return Data;
}

[[noreturn]] void WriteFailed(const QString& FileName) {
    throw EIniFileException(QStringLiteral("Unable to write to ") + FileName);
}

}  // namespace

IniDocument IniDocument::Load(const QString& FileName) {
    IniDocument Doc;
    if (!QFile::exists(FileName)) return Doc;
    std::optional<QByteArray> Data = ReadAtMost(FileName, kMaxFileSize, Doc.TooLarge);
    if (!Data) {
        Doc.Readable = false;
        return Doc;
    }
    if (Data->startsWith(kUtf8Bom)) {
        Doc.Bom = true;
        Data->remove(0, kUtf8Bom.size());
    }
    Doc.TextEncoding = IsValidUtf8(*Data) ? Encoding::Utf8 : Encoding::Cp932;
    // Opening a converter loads the system's conversion tables: a UTF-8 file
    // does without.
    std::optional<Iconv> Decoder;
    if (Doc.TextEncoding == Encoding::Cp932) Decoder.emplace("UTF-8", kCp932);
    // Line ends are single bytes in both encodings (CP932 trail bytes start
    // at 0x40), so the bytes can be split before decoding.
    QList<QByteArray> Pieces = Data->split('\n');
    if (Data->isEmpty() || Data->endsWith('\n')) Pieces.removeLast();
    for (QByteArray& Piece : Pieces) {
        if (Piece.endsWith('\r')) Piece.chop(1);
        QString Text;
        if (Doc.TextEncoding == Encoding::Utf8) {
            Text = QString::fromUtf8(Piece);
        } else {
            const std::optional<QByteArray> Utf8 = Decoder->Convert(Piece, &kReplacementCharacter);
            Text = Utf8 ? QString::fromUtf8(*Utf8) : QString::fromLatin1(Piece);
        }
        Doc.Lines.push_back({Piece, std::move(Text)});
    }
    return Doc;
}

void IniDocument::Save(const QString& FileName) {
    if (TooLarge) throw EFileTooLarge(FileName, kMaxFileSize);
    if (!Readable) WriteFailed(FileName);
    // A CP932 file stays CP932 while every new text fits; otherwise it
    // becomes UTF-8 as a whole, since one file cannot mix the two.
    if (TextEncoding == Encoding::Cp932) {
        Iconv Encoder(kCp932, "UTF-8");
        for (IniLine& Line : Lines) {
            if (!Line.Raw.isNull()) continue;
            std::optional<QByteArray> Bytes = Encoder.Convert(Line.Text.toUtf8(), nullptr);
            if (!Bytes) {
                TextEncoding = Encoding::Utf8;
                for (IniLine& Each : Lines) Each.Raw = QByteArray();
                break;
            }
            Line.Raw = std::move(*Bytes);
        }
    }
    QByteArray Out = Bom ? kUtf8Bom : QByteArray();
    for (const IniLine& Line : Lines) {
        Out += Line.Raw.isNull() ? Line.Text.toUtf8() : Line.Raw;
        Out += "\r\n";
    }
    SaveFileAtomically(FileName, Out);
}

}  // namespace tam32
