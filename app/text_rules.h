// Text and number rules shared by every subsystem: numeric value of a text, number texts,
// fixed-length fields, 16-bit integers and the single-byte character set of volumes.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <stdexcept>

namespace cvx {

// A failure that no procedure handles; the event dispatcher reports it and ends the program.
class RuntimeError : public std::runtime_error {
  public:
    explicit RuntimeError(const QString& description)
        : std::runtime_error(description.toStdString()), text(description) {}
    QString text;
};

// A page that cannot be read, restored or decoded, or a working image that cannot be written or
// loaded. The event that met it ends with its message, and the viewer goes back to the page it
// showed before the event (see BookForm::handleEvent).
class PageUnreadable : public RuntimeError {
  public:
    using RuntimeError::RuntimeError;
};

// Boolean flags are 16-bit integers: True = -1, False = 0.
using Flag = std::int16_t;
inline constexpr Flag True = -1;
inline constexpr Flag False = 0;

// Value of the decimal number at the start of `text`: leading blanks skipped, an optional sign,
// digits and one decimal point; reading stops at the first character that cannot continue the
// number. A text without a number is 0 ("012s" -> 12, "  7" -> 7, "s1" -> 0).
[[nodiscard]] double numericValue(QStringView text);

// Nearest 16-bit integer to `value`, halves to the even integer. Throws RuntimeError
// ("Overflow") outside -32768..32767.
[[nodiscard]] std::int16_t toInteger(double value);

// Nearest 32-bit integer to `value`, halves to even; throws RuntimeError outside the range.
[[nodiscard]] std::int32_t toLong(double value);

// Decimal digits of n without blanks ("-3" for negative n).
[[nodiscard]] QString numberText(long long n);

// Number with a sign position: one leading blank for n >= 0, a minus sign otherwise (" 3", "-3").
[[nodiscard]] QString signedNumberText(long long n);

// The rightmost `count` characters of text (the whole text if shorter).
[[nodiscard]] QString rightChars(const QString& text, int count);

// Characters `from` .. `from + count - 1` of text, 1-based columns; short texts give what exists.
[[nodiscard]] QString columns(const QString& text, int from, int count);

// Last four characters of text (the whole text if shorter).
[[nodiscard]] inline QString lastFour(const QString& text) {
    return rightChars(text, 4);
}

// Text with leading and trailing blanks (spaces only) removed.
[[nodiscard]] QString trimBlanks(const QString& text);

// A fixed-length text of N characters: longer values are cut, shorter ones padded with blanks.
template <int N> class FixedText {
  public:
    FixedText() : value_(N, QLatin1Char(' ')) {}
    FixedText& operator=(const QString& text) {
        value_ = text.left(N).leftJustified(N, QLatin1Char(' '));
        return *this;
    }
    [[nodiscard]] const QString& text() const { return value_; }
    operator const QString&() const { return value_; }

  private:
    QString value_;
};

// Windows-1252 bytes to text (every byte maps to one character) and back; characters outside
// the set encode as '?'.
[[nodiscard]] QString fromSingleByte(const QByteArray& bytes);
[[nodiscard]] QByteArray toSingleByte(const QString& text);
[[nodiscard]] bool isSingleByte(const QString& text);

// Carriage returns (code 13) of stored texts become line breaks when shown.
[[nodiscard]] QString displayText(const QString& text);

} // namespace cvx
