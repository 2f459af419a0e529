#include "host/FileFunctions.h"

#include "host/CommandLine.h"
#include "host/FileSystemCalls.h"
#include "host/StringFunctions.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace
{
std::uintmax_t gMaxReadFileSize = std::uintmax_t(64) << 20;
bool gFailWrites = false;

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePointer = std::unique_ptr<std::FILE, FileCloser>;

/// A temporary name beside `target` that no other writer picks at the same time.
fs::path temporaryBeside(const fs::path& target)
{
    static std::mt19937_64 engine{std::random_device{}()};
    fs::path name = target.filename();
    name += ".tmp" + std::to_string(engine() % 1000000000ULL);
    return target.parent_path() / name;
}

/// The reason of a failed file-system call in the words of the messages.
std::string reasonOf(const std::error_code& code)
{
    if (code == std::errc::permission_denied || code == std::errc::operation_not_permitted)
        return "permission denied";
    if (code == std::errc::no_such_file_or_directory)
        return "not found";
    if (code == std::errc::is_a_directory)
        return "it is a folder";
    std::string text = code.message();
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z')
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
}

/// Why an existing entry that is not a regular file is not overwritten.
std::string notARegularFile(fs::file_type type)
{
    switch (type)
    {
    case fs::file_type::directory:
        return "a folder of that name exists";
    case fs::file_type::block:
    case fs::file_type::character:
        return "it is a device, not a regular file";
    case fs::file_type::fifo:
        return "it is a FIFO (named pipe), not a regular file";
    case fs::file_type::socket:
        return "it is a socket, not a regular file";
    default:
        return "it is not a regular file";
    }
}

/// The path a chain of symbolic links ends at (relative links are read against the folder of
/// the link). A path that is no link is its own end; the end need not exist.
bool followLinks(fs::path path, fs::path& end, std::string& reason)
{
    // The same bound as the system's own lookups, so that a loop of links is caught.
    for (int hop = 0; hop < 40; ++hop)
    {
        std::error_code code;
        if (!fs::is_symlink(fs::symlink_status(path, code)))
        {
            end = path;
            return true;
        }
        const fs::path link = fs::read_symlink(path, code);
        if (code)
        {
            reason = "its symbolic link cannot be read (" + reasonOf(code) + ")";
            return false;
        }
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
    reason = "its symbolic links form a loop";
    return false;
}

/// The output name "-": the bytes go to the program's standard output.
bool writeStandardOutput(std::string_view bytes, Kdr_String& error)
{
    std::fflush(stdout);
    bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
    written = std::fflush(stdout) == 0 && written;
    if (!written)
        error = "*Error* Cannot write to standard output.";
    return written;
}

void report(const Kdr_String& message)
{
    acutPrintf("%s\n", message.c_str());
}

/// Splits a text with an optional wildcard pattern in its last component into folder and
/// pattern ("a/b/*.pr" -> "a/b/", "*.pr").
void splitFolderAndPattern(const Kdr_String& folderAndPattern, Kdr_String& folder, Kdr_String& pattern)
{
    Kdr_String path = host::normalizePath(folderAndPattern);
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
    {
        folder.clear();
        pattern = path;
    }
    else
    {
        folder = path.substr(0, slash + 1);
        pattern = path.substr(slash + 1);
    }
    if (pattern.empty())
        pattern = "*";
}

bool findFiles(const Kdr_String& folder, const Kdr_String& pattern, Kdr_StringArray& files, bool recursive)
{
    files.removeAll();
    const fs::path root = host::toPath(folder.empty() ? Kdr_String(".") : folder);
    std::vector<Kdr_String> found;
    std::error_code error;
    auto consider = [&](const fs::directory_entry& entry)
    {
        std::error_code typeError;
        if (entry.is_regular_file(typeError) &&
            host::matchWildcard(pattern, entry.path().filename().string()))
            found.push_back(host::normalizePath(entry.path().string()));
    };
    if (recursive)
    {
        fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, error), end;
        for (; !error && it != end; it.increment(error))
            consider(*it);
    }
    else
    {
        fs::directory_iterator it(root, fs::directory_options::skip_permission_denied, error), end;
        for (; !error && it != end; it.increment(error))
            consider(*it);
    }
    std::sort(found.begin(), found.end(),
              [](const Kdr_String& a, const Kdr_String& b)
              {
                  int folded = host::compareText(a, b, false);
                  return folded != 0 ? folded < 0 : a < b;
              });
    for (Kdr_String& path : found)
        files.append(path);
    return !files.isEmpty();
}
} // namespace

namespace host
{
Kdr_String normalizePath(std::string_view path)
{
    Kdr_String out(path);
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

fs::path toPath(std::string_view path)
{
    return fs::path(std::string(normalizePath(path)));
}

std::uintmax_t maxReadFileSize()
{
    return gMaxReadFileSize;
}

std::uintmax_t setMaxReadFileSize(std::uintmax_t bytes)
{
    return std::exchange(gMaxReadFileSize, bytes);
}

void setWriteFailureForTesting(bool fail)
{
    gFailWrites = fail;
}

bool readFileBytes(std::string_view path, std::string& bytes, Kdr_String& error)
{
    bytes.clear();
    const fs::path file = toPath(path);
    const Kdr_String name = normalizePath(path);
    auto cannotOpen = [&](const std::string& reason)
    {
        error = "*Error* Cannot open file \"" + name + "\": " + reason + ".";
        return false;
    };
    std::error_code code;
    const fs::file_status status = fs::status(file, code);
    if (code && code != std::errc::no_such_file_or_directory)
        return cannotOpen(reasonOf(code));
    if (!fs::exists(status))
        return cannotOpen("not found");
    if (fs::is_directory(status))
        return cannotOpen("it is a folder");
    if (!fs::is_regular_file(status))
        return cannotOpen("it is not a regular file");
    const std::uintmax_t size = fs::file_size(file, code);
    if (code)
        return cannotOpen(reasonOf(code));
    if (size > gMaxReadFileSize)
    {
        error = "*Error* File \"" + name + "\" is larger than " + std::to_string(gMaxReadFileSize) +
                " bytes and was not read.";
        return false;
    }
    errno = 0;
    FilePointer handle(std::fopen(file.c_str(), "rb"));
    if (!handle)
        return cannotOpen(reasonOf(std::error_code(errno, std::generic_category())));
    // Read in chunks rather than trusting the size: the file may change under us, and the
    // limit must hold for what is actually read.
    char chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, handle.get())) > 0)
    {
        if (bytes.size() + got > gMaxReadFileSize)
        {
            bytes.clear();
            error = "*Error* File \"" + name + "\" is larger than " + std::to_string(gMaxReadFileSize) +
                    " bytes and was not read.";
            return false;
        }
        bytes.append(chunk, got);
    }
    if (std::ferror(handle.get()))
    {
        bytes.clear();
        error = "*Error* Cannot read file \"" + name + "\".";
        return false;
    }
    return true;
}

bool writeFileAtomically(std::string_view path, std::string_view bytes, Kdr_String& error)
{
    const Kdr_String name = normalizePath(path);
    auto fail = [&](const std::string& reason)
    {
        error = "*Error* Cannot write file \"" + name + "\": " + reason + ".";
        return false;
    };
    if (path == "-")
        return writeStandardOutput(bytes, error);
    if (path.empty())
        return fail("no file name");
    const fs::path given = toPath(path);
    if (given.filename().empty())
        return fail("no file name");

    // A symbolic link is written through: its target is replaced, in the target's own folder,
    // and the link stays a link.
    fs::path target;
    std::string reason;
    if (!followLinks(given, target, reason))
        return fail(reason);
    std::error_code code;
    const fs::file_status status = fs::status(target, code);
    const bool replacing = fs::exists(status);
    if (replacing && !fs::is_regular_file(status))
        return fail(notARegularFile(status.type()));

    const fs::path temporary = temporaryBeside(target);
    {
        // "x": never open a file that appeared under the temporary name (or a link planted there).
        FilePointer handle(std::fopen(temporary.c_str(), "wbx"));
        if (!handle)
            return fail("the folder is missing or not writable");
        // An empty text may have no buffer at all, and fwrite must not be given a null one.
        bool written =
            bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), handle.get()) == bytes.size();
        written = std::fflush(handle.get()) == 0 && written;
        if (replacing)
        {
            // The new file takes the place of the old one, so it keeps the old one's owner,
            // group and permission bits (a private file stays private).
            copyOwnerAndGroup(target, handle.get());
            fs::permissions(temporary, status.permissions(), fs::perm_options::replace, code);
        }
        written = written && syncFileToDisk(handle.get());
        if (gFailWrites)
            written = false;
        std::FILE* raw = handle.release();
        written = std::fclose(raw) == 0 && written;
        if (!written)
        {
            fs::remove(temporary, code);
            return fail("the disk may be full");
        }
    }
    fs::rename(temporary, target, code);
    if (code)
    {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return fail("it cannot be replaced");
    }
    // The rename itself is an entry of the folder and reaches the disk only with the folder.
    syncFolderToDisk(target.parent_path());
    return true;
}

bool readFileBytes(std::string_view path, std::string& bytes)
{
    Kdr_String error;
    if (readFileBytes(path, bytes, error))
        return true;
    report(error);
    return false;
}

bool writeFileAtomically(std::string_view path, std::string_view bytes)
{
    Kdr_String error;
    if (writeFileAtomically(path, bytes, error))
        return true;
    report(error);
    return false;
}

void splitLines(std::string_view bytes, Kdr_StringArray& lines)
{
    lines.removeAll();
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i)
    {
        if (bytes[i] != '\n' && bytes[i] != '\r')
            continue;
        lines.append(Kdr_String(bytes.substr(start, i - start)));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.append(Kdr_String(bytes.substr(start)));
}

bool fileExists(std::string_view path)
{
    std::error_code code;
    return !path.empty() && fs::is_regular_file(toPath(path), code);
}

bool folderExists(std::string_view path)
{
    std::error_code code;
    return !path.empty() && fs::is_directory(toPath(path), code);
}

Kdr_String getFileName(std::string_view path)
{
    Kdr_String normal = normalizePath(path);
    size_t slash = normal.rfind('/');
    return slash == std::string::npos ? normal : Kdr_String(normal.substr(slash + 1));
}

Kdr_String getFileTitle(std::string_view path)
{
    Kdr_String name = getFileName(path);
    size_t point = name.rfind('.');
    return point == std::string::npos || point == 0 ? name : Kdr_String(name.substr(0, point));
}

Kdr_String getExtension(std::string_view path)
{
    Kdr_String name = getFileName(path);
    size_t point = name.rfind('.');
    return point == std::string::npos || point == 0 ? Kdr_String() : Kdr_String(name.substr(point + 1));
}
} // namespace host

bool ObjectExportReadFile(const Kdr_String& path, Kdr_StringArray& lines)
{
    lines.removeAll();
    std::string bytes;
    if (!host::readFileBytes(path, bytes))
        return false;
    host::splitLines(bytes, lines);
    return true;
}

bool ObjectExportWriteFile(const Kdr_String& path, const Kdr_StringArray& lines)
{
    std::string bytes;
    for (const Kdr_String& line : lines)
    {
        bytes += line;
        bytes.push_back('\n');
    }
    return host::writeFileAtomically(path, bytes);
}

bool ObjectExportFindFiles(const Kdr_String& folder, const Kdr_String& pattern, Kdr_StringArray& files)
{
    return findFiles(folder, pattern, files, false);
}

bool ObjectExportFindFiles(const Kdr_String& folderAndPattern, Kdr_StringArray& files)
{
    Kdr_String folder, pattern;
    splitFolderAndPattern(folderAndPattern, folder, pattern);
    return findFiles(folder, pattern, files, false);
}

bool ObjectExportFindFilesRecursive(const Kdr_String& folder, const Kdr_String& pattern,
                                    Kdr_StringArray& files)
{
    return findFiles(folder, pattern, files, true);
}

bool ObjectExportFindFilesRecursive(const Kdr_String& folderAndPattern, Kdr_StringArray& files)
{
    Kdr_String folder, pattern;
    splitFolderAndPattern(folderAndPattern, folder, pattern);
    return findFiles(folder, pattern, files, true);
}

bool ObjectExportFindLatestFile(const Kdr_String& folder, const Kdr_String& pattern, Kdr_String& path)
{
    Kdr_StringArray files;
    if (!findFiles(folder, pattern, files, false))
        return false;
    bool found = false;
    fs::file_time_type latest{};
    for (const Kdr_String& file : files)
    {
        std::error_code code;
        auto time = fs::last_write_time(host::toPath(file), code);
        if (!code && (!found || time >= latest))
        {
            latest = time;
            path = file;
            found = true;
        }
    }
    return found;
}

bool ObjectExportCreateDirectory(const Kdr_String& path)
{
    if (path.empty())
        return false;
    std::error_code code;
    fs::create_directories(host::toPath(path), code);
    return host::folderExists(path);
}

bool ObjectExportGetFileTime(const Kdr_String& path, std::time_t& time)
{
    std::error_code code;
    auto fileTime = fs::last_write_time(host::toPath(path), code);
    if (code)
        return false;
    auto systemTime = std::chrono::file_clock::to_sys(fileTime);
    time = std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(systemTime));
    return true;
}

bool ObjectExportCopyFile(const Kdr_String& from, const Kdr_String& to)
{
    const fs::path source = host::toPath(from);
    const fs::path target = host::toPath(to);
    std::error_code code;
    if (!fs::is_regular_file(source, code))
    {
        report("*Error* Cannot copy file \"" + host::normalizePath(from) + "\": it does not exist.");
        return false;
    }
    // Copying onto itself would truncate the source first; it is a no-op instead.
    if (fs::exists(target, code) && fs::equivalent(source, target, code))
        return true;
    const fs::path temporary = temporaryBeside(target);
    fs::copy_file(source, temporary, fs::copy_options::overwrite_existing, code);
    if (gFailWrites && !code)
        code = std::make_error_code(std::errc::no_space_on_device);
    if (!code)
        fs::rename(temporary, target, code);
    if (code)
    {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        report("*Error* Cannot write file \"" + host::normalizePath(to) + "\": the copy failed.");
        return false;
    }
    return true;
}

bool ObjectExportDeleteFile(const Kdr_String& path)
{
    std::error_code code;
    const fs::path file = host::toPath(path);
    return fs::is_regular_file(file, code) && fs::remove(file, code);
}

bool ObjectExportFileExists(const Kdr_String& path)
{
    return host::fileExists(path);
}

Kdr_String changeExtension(const Kdr_String& path, const Kdr_String& extension)
{
    Kdr_String out = host::normalizePath(path);
    size_t slash = out.rfind('/');
    size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    size_t point = out.rfind('.');
    if (point != std::string::npos && point > nameStart)
        out.erase(point);
    std::string_view ext(extension);
    if (!ext.empty() && ext.front() == '.')
        ext.remove_prefix(1);
    if (!ext.empty())
    {
        out.push_back('.');
        out.std::string::append(ext);
    }
    return out;
}

Kdr_String getPath(const Kdr_String& path)
{
    Kdr_String out = host::normalizePath(path);
    size_t slash = out.rfind('/');
    return slash == std::string::npos ? Kdr_String() : Kdr_String(out.substr(0, slash + 1));
}
