#pragma once

#include "host/Kdr_StringArray.h"

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

// The host's file and path functions. Paths may use '\' or '/' as separators; every path
// handed back uses '/'. Every failure to read or write an existing or requested file is
// reported on the command line with the file's name.

namespace host
{
/// The path with every '\' turned into '/'.
Kdr_String normalizePath(std::string_view path);
/// The path as a std::filesystem path (separators normalised).
std::filesystem::path toPath(std::string_view path);

/// Files larger than this are refused by the readers (64 MiB unless changed).
std::uintmax_t maxReadFileSize();
/// Changes the read limit (tests use a small one); returns the previous limit.
std::uintmax_t setMaxReadFileSize(std::uintmax_t bytes);

/// Reads a whole file as bytes. On failure returns false with a message naming the file and
/// the reason (not found, permission denied, it is a folder) in `error` (nothing is printed).
bool readFileBytes(std::string_view path, std::string& bytes, Kdr_String& error);
/// Writes `bytes` to a temporary file in the target's folder and renames it over the target,
/// so the target holds either its old or its new contents, never a part. The file is flushed to
/// the disk before the rename and its folder after it. A symbolic link is written through: the
/// file it points to is replaced in that file's own folder. A replaced file keeps its permission
/// bits (and its owner and group as far as the process may set them); other hard links to it
/// keep the old contents, as the new file is a new entry. A target that exists and is no regular
/// file (a folder, device, FIFO or socket) is refused; the name "-" means standard output.
/// On failure the temporary file is removed, the target is untouched and `error` names the file
/// and the reason.
bool writeFileAtomically(std::string_view path, std::string_view bytes, Kdr_String& error);
/// Both of the above, printing the error on the command line.
bool readFileBytes(std::string_view path, std::string& bytes);
bool writeFileAtomically(std::string_view path, std::string_view bytes);

/// Splits file contents into lines at LF, CR LF or a lone CR; a final line break does not add
/// an empty line.
void splitLines(std::string_view bytes, Kdr_StringArray& lines);

/// Makes every following atomic write fail before its rename, as a full disk would (tests).
void setWriteFailureForTesting(bool fail);

bool fileExists(std::string_view path);
bool folderExists(std::string_view path);
/// The file name with extension, without folder.
Kdr_String getFileName(std::string_view path);
/// The file name without folder and extension.
Kdr_String getFileTitle(std::string_view path);
/// The extension without its point ("" when none).
Kdr_String getExtension(std::string_view path);
} // namespace host

/// Reads a text file into `lines` (without CR/LF). False, with a message, when the file is
/// missing, unreadable or larger than the read limit; `lines` is then left empty.
bool ObjectExportReadFile(const Kdr_String& path, Kdr_StringArray& lines);
/// Writes `lines`, each ended by LF, atomically. False, with a message, when the file cannot
/// be written; an existing file then keeps its old contents.
bool ObjectExportWriteFile(const Kdr_String& path, const Kdr_StringArray& lines);

/// The full paths of the regular files in `folder` whose names match `pattern` ('*' and '?',
/// letters case-folded), sorted by name. False when the folder cannot be read or nothing
/// matches.
bool ObjectExportFindFiles(const Kdr_String& folder, const Kdr_String& pattern, Kdr_StringArray& files);
/// The same with folder and pattern in one text, as in "lib/prof/*.pr".
bool ObjectExportFindFiles(const Kdr_String& folderAndPattern, Kdr_StringArray& files);
/// As ObjectExportFindFiles, also searching every sub-folder (symbolic links to folders are not
/// followed). Sorted by full path.
bool ObjectExportFindFilesRecursive(const Kdr_String& folder, const Kdr_String& pattern,
                                    Kdr_StringArray& files);
bool ObjectExportFindFilesRecursive(const Kdr_String& folderAndPattern, Kdr_StringArray& files);
/// The most recently written file of `folder` matching `pattern` (of equal times the last by
/// name). False when none matches.
bool ObjectExportFindLatestFile(const Kdr_String& folder, const Kdr_String& pattern, Kdr_String& path);

/// Creates a folder with every missing parent. True when it exists afterwards.
bool ObjectExportCreateDirectory(const Kdr_String& path);
/// The last write time of a file. False when it does not exist.
bool ObjectExportGetFileTime(const Kdr_String& path, std::time_t& time);

/// Copies a file atomically, replacing `to`. Copying a file onto itself changes nothing and
/// succeeds. False, with a message, on failure.
bool ObjectExportCopyFile(const Kdr_String& from, const Kdr_String& to);
/// Deletes a file. False when it did not exist or could not be deleted.
bool ObjectExportDeleteFile(const Kdr_String& path);
bool ObjectExportFileExists(const Kdr_String& path);

/// The path with its extension replaced by `extension` (with or without the point); an
/// empty extension removes it. A point in a folder name is not an extension.
Kdr_String changeExtension(const Kdr_String& path, const Kdr_String& extension);
/// The folder part of a path, ending with '/' ("" for a bare file name).
Kdr_String getPath(const Kdr_String& path);
