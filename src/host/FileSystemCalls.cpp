#include "host/FileSystemCalls.h"

#if defined(__unix__) || defined(__APPLE__)
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#define KALDOR_HAS_POSIX 1
#endif

namespace host
{
#if KALDOR_HAS_POSIX
bool syncFileToDisk(std::FILE* file)
{
    return ::fsync(::fileno(file)) == 0;
}

bool syncFolderToDisk(const std::filesystem::path& folder)
{
    const std::filesystem::path name = folder.empty() ? std::filesystem::path(".") : folder;
    const int handle = ::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0)
        return false;
    // Some file systems cannot flush a folder (EINVAL); the rename is then as safe as they allow.
    const bool synced = ::fsync(handle) == 0 || errno == EINVAL;
    ::close(handle);
    return synced;
}

void copyOwnerAndGroup(const std::filesystem::path& model, std::FILE* file)
{
    struct stat status
    {
    };
    if (::stat(model.c_str(), &status) != 0)
        return;
    // Only root may give a file away; a user keeps at least the group when it is one of theirs.
    if (::fchown(::fileno(file), status.st_uid, status.st_gid) != 0 &&
        ::fchown(::fileno(file), static_cast<uid_t>(-1), status.st_gid) != 0)
        return; // the file keeps the writer's own owner and group
}
#else
bool syncFileToDisk(std::FILE*)
{
    return true;
}

bool syncFolderToDisk(const std::filesystem::path&)
{
    return true;
}

void copyOwnerAndGroup(const std::filesystem::path&, std::FILE*)
{
}
#endif
} // namespace host
