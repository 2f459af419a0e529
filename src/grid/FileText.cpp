#include "grid/FileText.h"

#include "host/FileFunctions.h"

#include <filesystem>
#include <fstream>

namespace grid
{
namespace fs = std::filesystem;

bool readFileText(const std::string& path, std::string& text, FileError& error)
{
    text.clear();
    std::error_code ec;
    const fs::path file(portablePath(path));
    if (!fs::is_regular_file(file, ec))
    {
        error = {0, "no such file"};
        return false;
    }
    const std::uintmax_t size = fs::file_size(file, ec);
    if (ec)
    {
        error = {0, "cannot read the file"};
        return false;
    }
    if (size > kMaxFileBytes)
    {
        error = {0, "the file is larger than " + std::to_string(kMaxFileBytes / (1024 * 1024)) + " MiB"};
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in)
    {
        error = {0, "cannot open the file"};
        return false;
    }
    text.resize(static_cast<std::size_t>(size));
    in.read(text.data(), static_cast<std::streamsize>(size));
    if (static_cast<std::uintmax_t>(in.gcount()) != size)
    {
        text.clear();
        error = {0, "cannot read the file"};
        return false;
    }
    // A file that grew while it was read is read no further than its size said.
    return true;
}

bool writeFileAtomically(const std::string& path, std::string_view text, std::string& error)
{
    // One writer for the whole program, so that sheets get the same care as every other file.
    Kdr_String message;
    if (host::writeFileAtomically(path, text, message))
        return true;
    error = message;
    return false;
}

std::string portablePath(std::string_view path)
{
    std::string result(path);
    for (char& c : result)
        if (c == '\\')
            c = '/';
    return result;
}

bool hasExtension(std::string_view path, std::string_view extension)
{
    if (path.size() < extension.size())
        return false;
    std::string_view tail = path.substr(path.size() - extension.size());
    for (std::size_t i = 0; i < tail.size(); ++i)
    {
        char a = tail[i], b = extension[i];
        if (a >= 'A' && a <= 'Z')
            a = static_cast<char>(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z')
            b = static_cast<char>(b - 'A' + 'a');
        if (a != b)
            return false;
    }
    return true;
}
} // namespace grid
