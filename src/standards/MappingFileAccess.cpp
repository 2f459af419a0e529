#include "standards/MappingFileAccess.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace standards
{
namespace
{
// Mapping files hold a few hundred lines; anything far larger is not one.
constexpr std::uintmax_t kMaxFileSize = 64u * 1024u * 1024u;

std::filesystem::path toPath(const Kdr_String& path)
{
    std::string text(path);
    for (char& c : text)
        if (c == '\\')
            c = '/';
    return std::filesystem::path(text);
}
} // namespace

bool readTextLines(const Kdr_String& path, Kdr_StringArray& lines)
{
    lines.removeAll();
    std::error_code error;
    const std::filesystem::path file = toPath(path);
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error || size > kMaxFileSize)
        return false;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    std::string content(static_cast<size_t>(size), '\0');
    in.read(content.data(), static_cast<std::streamsize>(size));
    content.resize(static_cast<size_t>(in.gcount()));

    size_t start = 0;
    while (start < content.size())
    {
        size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        size_t stop = end;
        if (stop > start && content[stop - 1] == '\r')
            --stop;
        lines.append(Kdr_String(content.substr(start, stop - start)));
        start = end + 1;
    }
    return true;
}

bool writeTextLines(const Kdr_String& path, const Kdr_StringArray& lines)
{
    const std::filesystem::path target = toPath(path);
    std::filesystem::path temporary = target;
    temporary += ".tmp~";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        for (const Kdr_String& line : lines)
        {
            out.write(line.data(), static_cast<std::streamsize>(line.size()));
            out.put('\n');
        }
        out.flush();
        if (!out)
        {
            out.close();
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (error)
    {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

Kdr_String changeFileExtension(const Kdr_String& path, const Kdr_String& extension)
{
    const size_t slash = path.find_last_of("/\\");
    const size_t dot = path.find_last_of('.');
    Kdr_String result = (dot != std::string::npos && (slash == std::string::npos || dot > slash))
                            ? Kdr_String(path.substr(0, dot))
                            : path;
    result.push_back('.');
    result += extension;
    return result;
}

void findDuplicateTexts(const Kdr_StringArray& texts, AcArray<int>& positions)
{
    positions.removeAll();
    for (int i = 1; i < texts.length(); ++i)
        for (int j = 0; j < i; ++j)
            if (texts[i].equal(texts[j], false))
            {
                positions.append(i);
                break;
            }
}

bool hasInvalidFileNameCharacters(const Kdr_String& text)
{
    for (char c : text)
    {
        if (static_cast<unsigned char>(c) < 32)
            return true;
        switch (c)
        {
        case '\\':
        case '/':
        case ':':
        case '*':
        case '?':
        case '"':
        case '<':
        case '>':
        case '|':
            return true;
        default:
            break;
        }
    }
    return false;
}
} // namespace standards
