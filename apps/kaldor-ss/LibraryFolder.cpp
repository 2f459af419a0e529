#include "LibraryFolder.h"

#include "host/Settings.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifndef KALDOR_SAMPLE_LIBRARY
#define KALDOR_SAMPLE_LIBRARY "samples/library/"
#endif

namespace cli
{
namespace
{
namespace fs = std::filesystem;

bool isFolder(const fs::path& path)
{
    std::error_code ignored;
    return fs::is_directory(path, ignored);
}

/// The folder of the running program, or empty when it cannot be told.
fs::path programFolder(const char* argv0)
{
    std::error_code error;
    fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error && argv0 && *argv0)
        self = fs::absolute(argv0, error);
    return error ? fs::path() : self.parent_path();
}

std::string bundledLibrary(const char* argv0)
{
    const fs::path folder = programFolder(argv0);
    if (!folder.empty())
    {
        const fs::path installed = folder.parent_path() / "share" / "kaldor-ss" / "library";
        if (isFolder(installed))
            return installed.string();
    }
    return KALDOR_SAMPLE_LIBRARY;
}
} // namespace

bool setUpLibraryFolder(const std::string& option, const char* argv0, std::string& error)
{
    std::string folder = option;
    std::string origin = "--lib";
    if (folder.empty())
    {
        const char* environment = std::getenv("KALDOR_LIB");
        if (environment && *environment)
        {
            folder = environment;
            origin = "KALDOR_LIB";
        }
    }
    if (folder.empty())
    {
        folder = bundledLibrary(argv0);
        origin = "the bundled sample library";
    }
    if (!isFolder(folder))
    {
        error = "library folder \"" + folder + "\" (" + origin + ") does not exist";
        return false;
    }
    gSettings.setLibDir(folder);
    return true;
}
} // namespace cli
