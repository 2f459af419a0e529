// Standard-size files of the steel functions ("100 x 10" per line, C and C++ comments).
// Reading through the cache must give what reading afresh gives.

#include "FuzzSupport.h"
#include "spread/StandardsFiles.h"

#include <cstring>

namespace
{
bool sameList(const Kdr_Array<double>& a, const Kdr_Array<double>& b)
{
    // Bitwise, so that NaN read from the file equals itself.
    return a.length() == b.length() &&
           (a.isEmpty() || std::memcmp(&a[0], &b[0], sizeof(double) * static_cast<size_t>(a.length())) == 0);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::silenceCommandLine();
    const std::string path = fuzz::writeScratchFile("Data/sizes.txt", fuzz::asText(data, size));

    setStandardsFileCacheEnabled(false);
    StandardSizes sizes;
    const bool read = readSizesFile(path, sizes);
    if (sizes.firsts.length() != sizes.seconds.length())
        fuzz::fail("a sizes file gives lists of different lengths", std::to_string(sizes.firsts.length()),
                   std::to_string(sizes.seconds.length()));
    if (!read && !sizes.firsts.isEmpty())
        fuzz::fail("a refused sizes file gives sizes");

    setStandardsFileCacheEnabled(true);
    clearStandardsFileCache();
    const auto shared = sharedSizesFile(path);
    if (static_cast<bool>(shared) != read ||
        (shared && !(sameList(shared->firsts, sizes.firsts) && sameList(shared->seconds, sizes.seconds))))
        fuzz::fail("the cached sizes file differs from the file");
    return 0;
}
