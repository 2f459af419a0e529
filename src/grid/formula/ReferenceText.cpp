#include "grid/formula/ReferenceText.h"

namespace grid
{
namespace
{
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

char upper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

/// Reads an R1C1 coordinate after its letter: nothing (relative 0), digits (absolute) or
/// "[n]" (relative n). Fails on anything malformed or out of range.
bool readR1C1Part(std::string_view text, size_t& i, std::int32_t& value, bool& absolute, int limit)
{
    if (i < text.size() && text[i] == '[')
    {
        size_t k = i + 1;
        bool negative = false;
        if (k < text.size() && (text[k] == '-' || text[k] == '+'))
            negative = text[k++] == '-';
        long n = 0;
        size_t digits = 0;
        while (k < text.size() && isDigit(text[k]) && digits < 9)
        {
            n = n * 10 + (text[k++] - '0');
            ++digits;
        }
        if (digits == 0 || k >= text.size() || text[k] != ']' || n >= limit)
            return false;
        value = static_cast<std::int32_t>(negative ? -n : n);
        absolute = false;
        i = k + 1;
        return true;
    }
    if (i < text.size() && isDigit(text[i]))
    {
        long n = 0;
        size_t digits = 0;
        while (i < text.size() && isDigit(text[i]) && digits < 9)
        {
            n = n * 10 + (text[i++] - '0');
            ++digits;
        }
        if (n < 1 || n > limit)
            return false;
        value = static_cast<std::int32_t>(n);
        absolute = true;
        return true;
    }
    value = 0;
    absolute = false;
    return true;
}
} // namespace

std::string columnLetters(int col)
{
    std::string letters;
    while (col > 0)
    {
        int rest = (col - 1) % 26;
        letters.insert(letters.begin(), static_cast<char>('A' + rest));
        col = (col - 1) / 26;
    }
    return letters;
}

std::optional<RefCorner> parseA1(std::string_view word, int col, int row)
{
    size_t i = 0;
    RefCorner corner;
    if (i < word.size() && word[i] == '$')
    {
        corner.colAbsolute = true;
        ++i;
    }
    int letters = 0;
    long column = 0;
    while (i < word.size() && isLetter(word[i]))
    {
        if (++letters > 3)
            return std::nullopt;
        column = column * 26 + (upper(word[i]) - 'A' + 1);
        ++i;
    }
    if (letters == 0 || column > kMaxFormulaCol)
        return std::nullopt;
    if (i < word.size() && word[i] == '$')
    {
        corner.rowAbsolute = true;
        ++i;
    }
    if (i >= word.size() || word[i] < '1' || word[i] > '9')
        return std::nullopt;
    long number = 0;
    while (i < word.size() && isDigit(word[i]))
    {
        number = number * 10 + (word[i] - '0');
        if (number > kMaxFormulaRow)
            return std::nullopt;
        ++i;
    }
    if (i != word.size())
        return std::nullopt;
    corner.col =
        corner.colAbsolute ? static_cast<std::int32_t>(column) : static_cast<std::int32_t>(column - col);
    corner.row =
        corner.rowAbsolute ? static_cast<std::int32_t>(number) : static_cast<std::int32_t>(number - row);
    return corner;
}

std::optional<RefCorner> parseR1C1(std::string_view text, size_t& length)
{
    size_t i = 0;
    if (i >= text.size() || upper(text[i]) != 'R')
        return std::nullopt;
    ++i;
    RefCorner corner;
    if (!readR1C1Part(text, i, corner.row, corner.rowAbsolute, kMaxFormulaRow))
        return std::nullopt;
    if (i >= text.size() || upper(text[i]) != 'C')
        return std::nullopt;
    ++i;
    if (!readR1C1Part(text, i, corner.col, corner.colAbsolute, kMaxFormulaCol))
        return std::nullopt;
    length = i;
    return corner;
}

bool appendCorner(std::string& out, const RefCorner& corner, int col, int row, ReferenceStyle style)
{
    const long targetCol = corner.colAbsolute ? corner.col : static_cast<long>(col) + corner.col;
    const long targetRow = corner.rowAbsolute ? corner.row : static_cast<long>(row) + corner.row;
    if (targetCol < 1 || targetCol > kMaxFormulaCol || targetRow < 1 || targetRow > kMaxFormulaRow)
        return false;
    if (style == ReferenceStyle::A1)
    {
        if (corner.colAbsolute)
            out += '$';
        out += columnLetters(static_cast<int>(targetCol));
        if (corner.rowAbsolute)
            out += '$';
        out += std::to_string(targetRow);
        return true;
    }
    out += 'R';
    if (corner.rowAbsolute)
        out += std::to_string(corner.row);
    else if (corner.row != 0)
        out += '[' + std::to_string(corner.row) + ']';
    out += 'C';
    if (corner.colAbsolute)
        out += std::to_string(corner.col);
    else if (corner.col != 0)
        out += '[' + std::to_string(corner.col) + ']';
    return true;
}
} // namespace grid
