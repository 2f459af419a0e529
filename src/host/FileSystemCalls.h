#pragma once

#include <cstdio>
#include <filesystem>

// The few file-system calls the standard library lacks: flushing a file or a folder to the
// disk, and giving a file another file's owner and group. On a system without them they do
// nothing and report success, so callers need no platform checks of their own.

namespace host
{
/// Flushes an open file's data to the disk. False when the system reports a failure.
bool syncFileToDisk(std::FILE* file);
/// Flushes a folder's entries (a rename into it) to the disk. False on a reported failure.
bool syncFolderToDisk(const std::filesystem::path& folder);
/// Gives `file` the owner and group of `model` as far as the process may; never fails.
void copyOwnerAndGroup(const std::filesystem::path& model, std::FILE* file);
} // namespace host
