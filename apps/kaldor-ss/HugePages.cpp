#include "HugePages.h"

#include <cstdlib>
#include <string>
#include <string_view>

#if defined(__linux__) && defined(__GLIBC__)
#include <unistd.h>
#endif

namespace cli
{
void useHugePagesWhenAsked([[maybe_unused]] int argc, [[maybe_unused]] char** argv)
{
#if defined(__linux__) && defined(__GLIBC__)
    const char* asked = std::getenv("KALDOR_HUGE_PAGES");
    if (!asked || std::string_view(asked) != "1")
        return;
    // The allocator reads its settings once, at the start of the process: the program starts
    // again with the setting added to the ones already given.
    constexpr std::string_view kSetting = "glibc.malloc.hugetlb=1";
    const char* given = std::getenv("GLIBC_TUNABLES");
    std::string tunables = given ? given : "";
    if (tunables.find("glibc.malloc.hugetlb") != std::string::npos)
        return;
    tunables += tunables.empty() ? "" : ":";
    tunables += kSetting;
    if (setenv("GLIBC_TUNABLES", tunables.c_str(), 1) != 0)
        return;
    execv("/proc/self/exe", argv);
    // Not restarted: carry on without huge pages, and say nothing, since they only help.
    if (given)
        setenv("GLIBC_TUNABLES", given, 1);
    else
        unsetenv("GLIBC_TUNABLES");
#endif
}
} // namespace cli
