#include "host/StringFunctions.h"

#include <map>
#include <random>

namespace
{
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

Kdr_String trimmed(std::string_view text, bool trim)
{
    Kdr_String part(text);
    if (trim)
        part.trim();
    return part;
}

/// Positions of `symbol` outside double-quoted stretches.
std::vector<size_t> symbolPositions(std::string_view text, char symbol, bool firstOnly)
{
    std::vector<size_t> positions;
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == '"' && symbol != '"')
            quoted = !quoted;
        else if (text[i] == symbol && !quoted)
        {
            positions.push_back(i);
            if (firstOnly)
                break;
        }
    }
    return positions;
}

/// The key a text is grouped under when looking for duplicates.
std::string duplicateKey(const Kdr_String& text, bool caseSensitive)
{
    return caseSensitive ? std::string(text) : std::string(text.lower());
}
} // namespace

bool splitString(const Kdr_String& text, std::string_view separator, Kdr_StringArray& parts)
{
    parts.removeAll();
    if (separator.empty())
    {
        parts.append(text);
        return false;
    }
    size_t start = 0;
    bool found = false;
    const std::string_view view(text);
    for (size_t pos = view.find(separator); pos != std::string::npos; pos = view.find(separator, start))
    {
        parts.append(Kdr_String(text.substr(start, pos - start)));
        start = pos + separator.size();
        found = true;
    }
    parts.append(Kdr_String(text.substr(start)));
    return found;
}

bool splitStringAtSymbol(const Kdr_String& text, char symbol, Kdr_String& left, Kdr_String& right,
                         bool trimParts)
{
    auto positions = symbolPositions(text, symbol, true);
    if (positions.empty())
        return false;
    std::string_view view(text);
    left = trimmed(view.substr(0, positions[0]), trimParts);
    right = trimmed(view.substr(positions[0] + 1), trimParts);
    return true;
}

bool splitStringAtSymbol(const Kdr_String& text, char symbol, Kdr_StringArray& parts, bool trimParts)
{
    parts.removeAll();
    std::string_view view(text);
    size_t start = 0;
    auto positions = symbolPositions(text, symbol, false);
    for (size_t pos : positions)
    {
        parts.append(trimmed(view.substr(start, pos - start), trimParts));
        start = pos + 1;
    }
    parts.append(trimmed(view.substr(start), trimParts));
    return !positions.empty();
}

void strToArr(const Kdr_String& text, Kdr_StringArray& items, std::string_view separator)
{
    splitString(text, separator, items);
}

void arrToStr(const Kdr_StringArray& items, Kdr_String& text, std::string_view separator)
{
    text.clear();
    for (int i = 0; i < items.length(); ++i)
    {
        if (i > 0)
            text.std::string::append(separator);
        text.std::string::append(items[i]);
    }
}

Kdr_String arrToStr(const Kdr_StringArray& items, std::string_view separator)
{
    Kdr_String text;
    arrToStr(items, text, separator);
    return text;
}

void arrToArrArr(const Kdr_StringArray& lines, Kdr_Array<Kdr_StringArray>& rows, std::string_view separator)
{
    rows.removeAll();
    for (const Kdr_String& line : lines)
    {
        Kdr_StringArray cells;
        splitString(line, separator, cells);
        rows.append(cells);
    }
}

void arrArrToArr(const Kdr_Array<Kdr_StringArray>& rows, Kdr_StringArray& lines, std::string_view separator)
{
    lines.removeAll();
    for (const Kdr_StringArray& row : rows)
        lines.append(arrToStr(row, separator));
}

bool getDuplicates(const Kdr_StringArray& names, Kdr_Array<int>& indices, bool caseSensitive)
{
    indices.removeAll();
    std::map<std::string, int> seen;
    for (int i = 0; i < names.length(); ++i)
        if (!seen.emplace(duplicateKey(names[i], caseSensitive), i).second)
            indices.append(i);
    return !indices.isEmpty();
}

bool hasDuplicates(const Kdr_StringArray& names, Kdr_StringArray& duplicates, bool caseSensitive)
{
    duplicates.removeAll();
    std::map<std::string, int> count;
    for (const Kdr_String& name : names)
        ++count[duplicateKey(name, caseSensitive)];
    for (const Kdr_String& name : names)
    {
        int& n = count[duplicateKey(name, caseSensitive)];
        if (n > 1)
        {
            duplicates.append(name);
            n = 0; // listed once
        }
    }
    return !duplicates.isEmpty();
}

int replaceSubString(Kdr_String& text, std::string_view from, std::string_view to, bool caseSensitive)
{
    return text.replace(from, to, caseSensitive);
}

void removeComments(Kdr_StringArray& lines)
{
    bool inComment = false;
    for (Kdr_String& line : lines)
    {
        Kdr_String kept;
        size_t i = 0;
        while (i < line.size())
        {
            if (inComment)
            {
                size_t end = std::string_view(line).find("*/", i);
                if (end == std::string::npos)
                {
                    i = line.size();
                    break;
                }
                i = end + 2;
                inComment = false;
            }
            else
            {
                size_t open = std::string_view(line).find("/*", i);
                if (open == std::string::npos)
                {
                    kept.std::string::append(line, i, std::string::npos);
                    break;
                }
                kept.std::string::append(line, i, open - i);
                i = open + 2;
                inComment = true;
            }
        }
        line = kept;
    }
}

void removeLineComment(Kdr_String& line)
{
    size_t pos = std::string_view(line).find("//");
    if (pos != std::string::npos)
        line.erase(pos);
}

void removeLineComment(Kdr_StringArray& lines)
{
    for (Kdr_String& line : lines)
        removeLineComment(line);
}

bool findFirstNumbers(const Kdr_String& text, int& start, Kdr_String& number)
{
    size_t i = 0;
    while (i < text.size() && !isDigit(text[i]))
        ++i;
    if (i == text.size())
        return false;
    size_t first = i;
    if (first > 0 && text[first - 1] == '.')
        --first;
    if (first > 0 && (text[first - 1] == '-' || text[first - 1] == '+') &&
        (first == 1 || isBlank(text[first - 2])))
        --first;
    size_t end = i;
    bool point = first < i && text[i - 1] == '.';
    while (end < text.size() && (isDigit(text[end]) || (text[end] == '.' && !point && end + 1 < text.size() &&
                                                        isDigit(text[end + 1]))))
    {
        if (text[end] == '.')
            point = true;
        ++end;
    }
    start = static_cast<int>(first);
    number = text.substr(first, end - first);
    return true;
}

bool findFirstNumbers(const Kdr_String& text, int& start)
{
    Kdr_String number;
    return findFirstNumbers(text, start, number);
}

bool hasOnlyLettersNumbers(const Kdr_String& text)
{
    if (text.empty())
        return false;
    for (char c : text)
        if (!isLetter(c) && !isDigit(c))
            return false;
    return true;
}

bool startsWithNumber(const Kdr_String& text)
{
    return !text.empty() && isDigit(text[0]);
}

bool hasInvalidFileNameChars(const Kdr_String& text)
{
    for (char c : text)
    {
        if (static_cast<unsigned char>(c) < 0x20)
            return true;
        if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos)
            return true;
    }
    return false;
}

Kdr_String& ensureNoStartBSlash(Kdr_String& path)
{
    size_t n = 0;
    while (n < path.size() && (path[n] == '\\' || path[n] == '/'))
        ++n;
    path.erase(0, n);
    return path;
}

Kdr_String& ensureEndBSlash(Kdr_String& path)
{
    if (!path.empty() && path.back() != '\\' && path.back() != '/')
        path.push_back('/');
    return path;
}

Kdr_String getAlfabet(int column)
{
    Kdr_String letters;
    // Bijective base 26: there is no zero digit, so subtract one before each division.
    while (column > 0)
    {
        --column;
        letters.insert(letters.begin(), static_cast<char>('A' + column % 26));
        column /= 26;
    }
    return letters;
}

Kdr_String findNonExistingString(const Kdr_StringArray& existing, const Kdr_String& base, bool caseSensitive)
{
    if (!existing.contains(base, caseSensitive))
        return base;

    const bool allDigits =
        !base.empty() && base.size() < 18 && base.find_first_not_of("0123456789") == std::string::npos;
    if (allDigits)
    {
        for (long long n = std::stoll(base) + 1;; ++n)
        {
            Kdr_String candidate(std::to_string(n));
            if (!existing.contains(candidate, caseSensitive))
                return candidate;
        }
    }

    // A base that already ends in "_n" continues counting from n.
    Kdr_String stem = base;
    long long next = 1;
    size_t underscore = base.rfind('_');
    if (underscore != std::string::npos && underscore + 1 < base.size() && base.size() - underscore < 10 &&
        base.find_first_not_of("0123456789", underscore + 1) == std::string::npos)
    {
        stem = base.substr(0, underscore);
        next = std::stoll(base.substr(underscore + 1)) + 1;
    }
    for (long long n = next;; ++n)
    {
        Kdr_String candidate = stem + "_" + std::to_string(n);
        if (!existing.contains(candidate, caseSensitive))
            return candidate;
    }
}

bool generateRandomString(int length, Kdr_String& text, bool mixedCase)
{
    text.clear();
    if (length < 1 || length > 65536)
        return false;
    static constexpr std::string_view upperAndDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static constexpr std::string_view allCharacters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    const std::string_view alphabet = mixedCase ? allCharacters : upperAndDigits;
    static std::mt19937_64 engine = []
    {
        std::random_device device;
        std::seed_seq seeds{device(), device(), device(), device()};
        return std::mt19937_64(seeds);
    }();
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    text.reserve(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i)
        text.push_back(alphabet[pick(engine)]);
    return true;
}

Kdr_String generateRandomString(int length, bool mixedCase)
{
    Kdr_String text;
    generateRandomString(length, text, mixedCase);
    return text;
}

namespace host
{
namespace
{
/// Length of the valid UTF-8 sequence at `i`, 0 when the bytes there are not one.
size_t utf8SequenceLength(std::string_view text, size_t i)
{
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    size_t length = 0;
    unsigned min = 0;
    unsigned code = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2, min = 0x80, code = lead & 0x1Fu;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, min = 0x800, code = lead & 0x0Fu;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, min = 0x10000, code = lead & 0x07u;
    else
        return 0;
    if (i + length > text.size())
        return 0;
    for (size_t k = 1; k < length; ++k)
    {
        if ((byte(i + k) & 0xC0u) != 0x80u)
            return 0;
        code = (code << 6) | (byte(i + k) & 0x3Fu);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

void appendUtf8(std::string& out, unsigned code)
{
    if (code < 0x80)
        out.push_back(static_cast<char>(code));
    else if (code < 0x800)
    {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
    else
    {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

void appendHexEscape(std::string& out, unsigned char byte)
{
    static const char digits[] = "0123456789ABCDEF";
    out += "\\x";
    out.push_back(digits[byte >> 4]);
    out.push_back(digits[byte & 0x0F]);
}
} // namespace

std::string displayText(std::string_view text)
{
    // Windows-1252 at 0x80..0x9F; 0 marks the five bytes it leaves undefined.
    static const unsigned short windows1252[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();)
    {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80)
        {
            if ((byte < 0x20 && byte != '\n' && byte != '\t') || byte == 0x7F)
                appendHexEscape(out, byte);
            else
                out.push_back(static_cast<char>(byte));
            ++i;
            continue;
        }
        if (const size_t length = utf8SequenceLength(text, i); length > 0)
        {
            out.append(text.substr(i, length));
            i += length;
            continue;
        }
        const unsigned code = byte >= 0xA0 ? byte : windows1252[byte - 0x80];
        if (code == 0)
            appendHexEscape(out, byte);
        else
            appendUtf8(out, code);
        ++i;
    }
    return out;
}

Kdr_String escapeField(std::string_view text)
{
    Kdr_String out;
    out.reserve(text.size());
    for (char c : text)
    {
        switch (c)
        {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out.push_back(c);
        }
    }
    return out;
}

bool unescapeField(std::string_view text, Kdr_String& out)
{
    Kdr_String result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] != '\\')
        {
            result.push_back(text[i]);
            continue;
        }
        if (++i == text.size())
            return false;
        switch (text[i])
        {
        case '\\':
            result.push_back('\\');
            break;
        case 't':
            result.push_back('\t');
            break;
        case 'n':
            result.push_back('\n');
            break;
        case 'r':
            result.push_back('\r');
            break;
        default:
            return false;
        }
    }
    out = std::move(result);
    return true;
}

int compareNatural(std::string_view a, std::string_view b, bool caseSensitive)
{
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size())
    {
        if (isDigit(a[i]) && isDigit(b[j]))
        {
            // Compare the digit runs by value: skip leading zeros, then longer is larger,
            // then the first differing digit decides.
            size_t ei = i, ej = j;
            while (ei < a.size() && isDigit(a[ei]))
                ++ei;
            while (ej < b.size() && isDigit(b[ej]))
                ++ej;
            size_t si = i, sj = j;
            while (si + 1 < ei && a[si] == '0')
                ++si;
            while (sj + 1 < ej && b[sj] == '0')
                ++sj;
            if (ei - si != ej - sj)
                return ei - si < ej - sj ? -1 : 1;
            if (int c = a.substr(si, ei - si).compare(b.substr(sj, ej - sj)); c != 0)
                return c < 0 ? -1 : 1;
            i = ei;
            j = ej;
            continue;
        }
        auto ca = static_cast<unsigned char>(caseSensitive ? a[i] : foldCase(a[i]));
        auto cb = static_cast<unsigned char>(caseSensitive ? b[j] : foldCase(b[j]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i == a.size() && j == b.size())
        return compareText(a, b, caseSensitive) < 0 ? -1 : (compareText(a, b, caseSensitive) > 0 ? 1 : 0);
    return i == a.size() ? -1 : 1;
}

bool matchWildcard(std::string_view pattern, std::string_view name)
{
    // Iterative matcher with one backtrack point for the last '*': linear in practice and
    // without recursion, so a long pattern cannot exhaust the stack.
    size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size())
    {
        if (p < pattern.size() && (pattern[p] == '?' || foldCase(pattern[p]) == foldCase(name[n])))
        {
            ++p;
            ++n;
        }
        else if (p < pattern.size() && pattern[p] == '*')
        {
            starP = p++;
            starN = n;
        }
        else if (starP != std::string_view::npos)
        {
            p = starP + 1;
            n = ++starN;
        }
        else
            return false;
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}
} // namespace host
