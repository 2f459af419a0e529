#include "FuzzSupport.h"

#include "host/CommandLine.h"
#include "host/FileFunctions.h"
#include "host/Settings.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <unistd.h>

namespace fs = std::filesystem;

namespace fuzz
{
namespace
{
/// The scratch folder, removed with the process.
class ScratchFolder
{
public:
    ScratchFolder()
    {
        std::random_device random;
        path_ = fs::temp_directory_path() /
                ("kaldor-fuzz-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
        fs::create_directories(path_);
        text_ = path_.generic_string() + "/";
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& text() const { return text_; }

private:
    fs::path path_;
    std::string text_;
};

std::string printable(std::string_view text)
{
    constexpr std::size_t kShown = 400;
    std::string shown;
    for (char c : text.substr(0, kShown))
    {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '\\')
            shown.push_back(c);
        else
        {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        }
    }
    if (text.size() > kShown)
        shown += "...";
    return shown;
}
} // namespace

void silenceCommandLine()
{
    static const bool silenced = []
    {
        host::setCommandLineSink([](std::string_view) {});
        return true;
    }();
    (void)silenced;
}

const std::string& scratchFolder()
{
    static ScratchFolder folder;
    return folder.text();
}

void useScratchLibrary()
{
    if (gSettings.libDir() != scratchFolder())
        gSettings.setLibDir(scratchFolder());
}

std::string writeScratchFile(const std::string& relative, std::string_view bytes)
{
    const std::string path = scratchFolder() + relative;
    std::error_code code;
    fs::create_directories(fs::path(path).parent_path(), code);
    Kdr_String error;
    if (!host::writeFileAtomically(path, bytes, error))
        fail("cannot write the scratch file", path, error);
    return path;
}

void fail(std::string_view what, std::string_view expected, std::string_view actual)
{
    std::fprintf(stderr, "\n*** fuzz property broken: %.*s\n", static_cast<int>(what.size()), what.data());
    if (!expected.empty() || !actual.empty())
    {
        std::fprintf(stderr, "    expected: %s\n", printable(expected).c_str());
        std::fprintf(stderr, "    actual:   %s\n", printable(actual).c_str());
    }
    std::fflush(stderr);
    std::abort();
}

Split splitSelector(std::string_view text)
{
    if (text.empty())
        return {};
    return {static_cast<std::uint8_t>(text.front()), text.substr(1)};
}
} // namespace fuzz
