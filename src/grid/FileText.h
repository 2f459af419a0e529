#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace grid
{
/// Largest file the engine reads into memory.
inline constexpr std::uintmax_t kMaxFileBytes = 256u * 1024u * 1024u;
/// Longest line a sheet file may have.
inline constexpr std::size_t kMaxLineBytes = 1024u * 1024u;

/// Why reading a file failed: the 1-based line (0 when no line is to blame) and what was wrong.
struct FileError
{
    int line = 0;
    std::string message;
};

/// Reads a whole file as bytes; refuses missing or unreadable files and files larger than
/// kMaxFileBytes.
bool readFileText(const std::string& path, std::string& text, FileError& error);

/// Writes a file atomically with the host's writer (links followed, permissions kept, "-" is
/// standard output). On failure the old file is untouched, no temporary file is left and `error`
/// holds the host's message naming the file and the reason.
bool writeFileAtomically(const std::string& path, std::string_view text, std::string& error);

/// The path with '\' taken as a folder separator.
std::string portablePath(std::string_view path);

/// True when `path` ends in `extension` (with its dot), case ignored.
bool hasExtension(std::string_view path, std::string_view extension);
} // namespace grid
