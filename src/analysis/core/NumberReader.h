#pragma once
// Numbers read from a text file one after another, with a keyed account of
// the first that is missing or out of place ("line 3: the divisor must be
// ..., not "x"").
#include <QByteArray>
#include <QString>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tam32 {

// Far more than any of the program's number files takes: a longer one is refused.
constexpr qint64 kMaxNumberFileSize = 1 << 20;

// The text of the number file FileName; nullopt, with a message that names
// the file in Message, when it cannot be read or holds more than
// kMaxNumberFileSize bytes.
std::optional<QByteArray> ReadNumberFile(const QString& FileName, QString& Message);

// The numbers of the text one after another, blanks and line ends between
// them skipped, as the reader of a text file takes them; a UTF-8 byte-order
// mark at the start is skipped too.
class TNumberReader {
public:
    explicit TNumberReader(const QByteArray& Text) : FText(Text), FPos(Text.startsWith("\xEF\xBB\xBF") ? 3 : 0) {}

    // The next whole number within Min..Max; nullopt and Error set otherwise.
    std::optional<int64_t> Whole(const QString& What, int64_t Min, int64_t Max, const QString& Kind) {
        if (!Next(What)) return std::nullopt;
        int64_t Value = 0;
        if (!Parse(Value) || Value < Min || Value > Max) return Bad<int64_t>(What, Kind);
        return Value;
    }
    // The next finite number.
    std::optional<double> Real(const QString& What) {
        if (!Next(What)) return std::nullopt;
        double Value = 0.0;
        if (!Parse(Value) || !std::isfinite(Value)) return Bad<double>(What, QStringLiteral("a finite number"));
        return Value;
    }
    // Nothing but blanks and line ends after the last number, Last; false
    // and Error set otherwise.
    bool AtEnd(const QString& Last) {
        SkipBlanks();
        if (FPos >= FText.size()) return true;
        TakeToken();
        FError = QStringLiteral("line %1: text after %2: \"%3\"").arg(FLine).arg(Last, ShownToken());
        return false;
    }
    const QString& Error() const { return FError; }

private:
    void SkipBlanks() {
        while (FPos < FText.size() && uint8_t(FText[FPos]) <= ' ') {
            if (FText[FPos] == '\n') ++FLine;
            ++FPos;
        }
    }
    void TakeToken() {
        const qsizetype Start = FPos;
        while (FPos < FText.size() && uint8_t(FText[FPos]) > ' ') ++FPos;
        FToken = std::string_view(FText.constData() + Start, std::size_t(FPos - Start));
    }
    bool Next(const QString& What) {
        SkipBlanks();
        if (FPos >= FText.size()) {
            FError = QStringLiteral("the file ends before %1").arg(What);
            return false;
        }
        TakeToken();
        return true;
    }
    QString ShownToken() const {
        return QString::fromUtf8(FToken.data(), qsizetype(std::min<std::size_t>(FToken.size(), 24)));
    }
    // The whole token as a number; a sign of '+' as well as '-'.
    template <typename T>
    bool Parse(T& Value) const {
        std::string_view Digits = FToken;
        if (Digits.size() > 1 && Digits[0] == '+' && Digits[1] != '-') Digits.remove_prefix(1);
        const auto [End, Failure] = std::from_chars(Digits.data(), Digits.data() + Digits.size(), Value);
        return Failure == std::errc() && End == Digits.data() + Digits.size();
    }
    template <typename T>
    std::optional<T> Bad(const QString& What, const QString& Kind) {
        FError = QStringLiteral("line %1: %2 must be %3, not \"%4\"").arg(FLine).arg(What, Kind, ShownToken());
        return std::nullopt;
    }

    const QByteArray& FText;
    qsizetype FPos;
    int FLine = 1;
    std::string_view FToken;
    QString FError;
};

}  // namespace tam32
