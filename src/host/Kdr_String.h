#pragma once

#include <string>
#include <string_view>
#include <type_traits>

class Kdr_StringArray;

/// The host's text: an 8-bit byte string, never re-encoded. It is a std::string with the
/// host's own operations on top; comparisons take a trailing caseSensitive flag (the module
/// passes false almost everywhere). Letter-case folding is ASCII only.
class Kdr_String : public std::string
{
public:
    Kdr_String() = default;
    Kdr_String(const char* text) : std::string(text ? text : "") {}
    Kdr_String(const char* text, size_type length) : std::string(text, length) {}
    Kdr_String(const std::string& text) : std::string(text) {}
    Kdr_String(std::string&& text) : std::string(std::move(text)) {}
    Kdr_String(std::string_view text) : std::string(text) {}
    Kdr_String(size_type count, char c) : std::string(count, c) {}
    /// A number as text with `precision` decimals. With keepZeros false, trailing zeros and
    /// a trailing point are dropped (20 with 6 gives "20", 2.5 with 4 gives "2.5"); with
    /// keepZeros true all decimals stay ("20.000000").
    Kdr_String(double value, int precision, bool keepZeros);
    /// A whole number in decimal.
    explicit Kdr_String(int value);

    int length() const { return static_cast<int>(size()); }
    bool isEmpty() const { return empty(); }

    bool equal(std::string_view other, bool caseSensitive) const;
    bool startsWith(std::string_view prefix, bool caseSensitive) const;
    bool endsWith(std::string_view suffix, bool caseSensitive) const;
    /// Index of the first occurrence of `text`, or -1.
    int find(std::string_view text, bool caseSensitive) const;
    /// Index of the first occurrence of `text` at or after `from`, or -1.
    int findFirstFrom(std::string_view text, int from, bool caseSensitive) const;
    bool contains(std::string_view text, bool caseSensitive) const;
    // Kdr_String::find hides std::string::find, so `text.find("x", pos)` would quietly turn
    // the position into the case flag. Positions must go through findFirstFrom instead.
    template <typename Flag>
    requires(!std::is_same_v<Flag, bool>) int find(std::string_view text, Flag position) const = delete;
    template <typename Flag>
    requires(!std::is_same_v<Flag, bool>) bool contains(std::string_view text, Flag position) const = delete;

    /// True when any text of `texts` occurs in this text; `foundIndex` (when given) receives
    /// the index in `texts` of the first one that does.
    bool hasASubstr(const Kdr_StringArray& texts, bool caseSensitive, int* foundIndex = nullptr) const;
    /// Negative, zero or positive as this text sorts before, equal to or after `other`
    /// (byte order; letters folded to lower case when caseSensitive is false).
    int compareTo(std::string_view other, bool caseSensitive) const;

    /// The text after the first occurrence of `separator` (false and unchanged out when absent).
    bool getSubstrAfter(std::string_view separator, Kdr_String& out, bool caseSensitive) const;
    /// The text before the first occurrence of `separator` (false when absent).
    bool getSubstrBefore(std::string_view separator, Kdr_String& out, bool caseSensitive) const;

    Kdr_String& trimLeft();
    Kdr_String& trimRight();
    Kdr_String& trim();
    Kdr_String& makeUpper();
    Kdr_String& makeLower();
    Kdr_String upper() const;
    Kdr_String lower() const;

    /// True for an optional sign, digits with at most one decimal point and an optional
    /// exponent, with surrounding blanks allowed.
    bool isNumber() const;
    double toDouble() const;
    int toInt() const;

    /// Appends `text` followed by `number` written with `precision` decimals (trailing zeros dropped).
    Kdr_String& append(std::string_view text, double number, int precision = 6);
    // Without these, `append(text, 1)` would pick std::string's append(str, pos) or
    // append(chars, count) and quietly append a piece of `text` instead of the number.
    template <typename Number>
    requires(std::is_arithmetic_v<Number> && !std::is_same_v<Number, bool> &&
             !std::is_same_v<Number, char>) Kdr_String& append(const Kdr_String& text, Number number)
    {
        return append(std::string_view(text), static_cast<double>(number), 6);
    }
    template <typename Number>
    requires(std::is_arithmetic_v<Number> && !std::is_same_v<Number, bool> &&
             !std::is_same_v<Number, char>) Kdr_String& append(const std::string& text, Number number)
    {
        return append(std::string_view(text), static_cast<double>(number), 6);
    }
    template <typename Number>
    requires(std::is_arithmetic_v<Number> && !std::is_same_v<Number, bool> &&
             !std::is_same_v<Number, char>) Kdr_String& append(const char* text, Number number)
    {
        return append(std::string_view(text ? text : ""), static_cast<double>(number), 6);
    }
    using std::string::append;

    /// Replaces every occurrence of `from` by `to`; returns the count.
    int replace(std::string_view from, std::string_view to, bool caseSensitive);
    using std::string::replace;

    Kdr_String mid(int start, int count = -1) const;
    Kdr_String left(int count) const;
    Kdr_String right(int count) const;

    /// printf-style formatting into a new text.
    static Kdr_String format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
};

namespace host
{
/// ASCII-only case folding of one byte.
inline char foldCase(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
/// The text folded byte by byte: two texts are equal without case exactly when their folded
/// forms are equal, which makes the folded form a key for look-ups that ignore case.
inline std::string foldedText(std::string_view text)
{
    std::string folded(text);
    for (char& c : folded)
        c = foldCase(c);
    return folded;
}
bool equalText(std::string_view a, std::string_view b, bool caseSensitive);
/// Whether `text` is a plain decimal number: an optional sign, digits with at most one point
/// (at least one digit), an optional exponent, and nothing else (no blanks).
bool isPlainDecimal(std::string_view text);
/// Index of `needle` in `hay` at or after `from`, or -1.
int findText(std::string_view hay, std::string_view needle, int from, bool caseSensitive);
/// Byte-order comparison (<0, 0, >0); letters folded when caseSensitive is false.
int compareText(std::string_view a, std::string_view b, bool caseSensitive);
/// `value` with at most `precision` decimals (0..30), rounded half away from zero on the
/// shortest decimal text of the double (so 2.675 gives "2.68" with 2). With keepZeros false
/// trailing zeros and a trailing point are dropped. Never "-0".
std::string formatFixed(double value, int precision, bool keepZeros);
} // namespace host
