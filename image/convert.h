#pragma once
// Results of converting window texts into image bytes.
//
// The encoders read texts from the window (telephone numbers, codes, passwords). A text that
// cannot be stored must end the write or save with a clear message before anything leaves the
// program, so every helper that converts a text returns either its value or a ConvertError that
// says what was wrong; a failed helper writes nothing into the image.
#include <QString>

#include <optional>
#include <utility>
#include <variant>

namespace q7x::image {

struct ConvertError {
    enum class Kind {
        NotANumber,   // a decimal number was expected ("12a", "1 2")
        OutOfRange,   // a number too large for its field
        BadCharacter, // a character outside the field's character table
        TooLong,      // more characters than the field holds
        BadLength,    // a length the field cannot encode (a Q71 password of 1, 2 or 7+ digits)
        Unstorable,   // a value the device would read back as empty (SMS-Blitz code 255, 511, ...)
    };
    Kind kind = Kind::NotANumber;
    QString text;      // the offending text, as read from the window
    int position = -1; // 0-based index of the bad character (BadCharacter only)

    // A short English description ("'12a' is not a valid integer value"); the window may compose
    // its own localized text from kind and text instead.
    QString message() const;
};

// A value or a ConvertError.
template <class T> class Converted {
  public:
    Converted(T value) : v_(std::move(value)) {}
    Converted(ConvertError error) : v_(std::move(error)) {}

    bool ok() const { return v_.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T &value() const { return std::get<0>(v_); }
    const T &operator*() const { return value(); }
    const T *operator->() const { return &value(); }
    const ConvertError &error() const { return std::get<1>(v_); }

  private:
    std::variant<T, ConvertError> v_;
};

// The outcome of a helper that writes into the image: success or the reason nothing was written.
using Status = Converted<std::monostate>;
inline Status Ok() { return Status(std::monostate{}); }

// A text read back from image bytes. `bad` is set when a byte held a value that the field does
// not allow; `text` then holds what was built up to that point, and the decoder applies the
// field's fall-back.
struct DecodedText {
    QString text;
    bool bad = false;
};

// Parses a decimal number of ASCII digits, surrounded by optional spaces, not above maxValue.
// An empty or all-space text is NotANumber here; callers decide first whether empty is allowed.
Converted<int> parseDecimal(const QString &text, int maxValue);

} // namespace q7x::image
