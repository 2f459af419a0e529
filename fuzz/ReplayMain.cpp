// The main program of a fuzz target built without libFuzzer: it runs the target once on
// every file named on the command line (folders are read recursively, in name order) and
// once on the empty input, so a corpus serves as a regression suite with any compiler.
//
//   <target> [-timeout=SECONDS] <file or folder>...
//
// An input that crashes or breaks a property aborts the program; one that runs longer than
// the timeout (10 s by default, as the fuzz runs use) fails it after the run. Other options
// in libFuzzer's "-name=value" form are accepted and ignored, so one command line serves
// both builds.

#include "FuzzSupport.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) __attribute__((weak));

namespace fs = std::filesystem;

namespace
{
bool collect(const fs::path& path, std::vector<fs::path>& inputs)
{
    std::error_code code;
    if (fs::is_directory(path, code))
    {
        std::vector<fs::path> found;
        for (fs::recursive_directory_iterator it(path, code), end; !code && it != end; it.increment(code))
            if (it->is_regular_file(code))
                found.push_back(it->path());
        if (code)
        {
            std::fprintf(stderr, "cannot list %s: %s\n", path.c_str(), code.message().c_str());
            return false;
        }
        std::sort(found.begin(), found.end());
        inputs.insert(inputs.end(), found.begin(), found.end());
        return true;
    }
    if (fs::is_regular_file(path, code))
    {
        inputs.push_back(path);
        return true;
    }
    std::fprintf(stderr, "no such file or folder: %s\n", path.c_str());
    return false;
}

bool readInput(const fs::path& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), {});
    return !in.bad();
}
} // namespace

int main(int argc, char** argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);

    double timeoutSeconds = 10;
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i)
    {
        const std::string_view arg = argv[i];
        if (arg.starts_with("-timeout="))
            timeoutSeconds = std::atof(argv[i] + 9);
        else if (arg.starts_with("-"))
            continue;
        else if (!collect(argv[i], inputs))
            return 2;
    }
    if (inputs.empty())
    {
        std::fprintf(stderr, "usage: %s [-timeout=SECONDS] <corpus file or folder>...\n", argv[0]);
        return 2;
    }

    using Clock = std::chrono::steady_clock;
    const auto started = Clock::now();
    double slowest = 0;
    std::string slowestName = "(empty input)";
    int tooSlow = 0;
    auto run = [&](const std::string& bytes, const std::string& name)
    {
        const auto before = Clock::now();
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        const double seconds = std::chrono::duration<double>(Clock::now() - before).count();
        if (seconds > slowest)
        {
            slowest = seconds;
            slowestName = name;
        }
        if (seconds > timeoutSeconds)
        {
            std::fprintf(stderr, "too slow: %s took %.2f s (limit %.2f s)\n", name.c_str(), seconds,
                         timeoutSeconds);
            ++tooSlow;
        }
    };

    run(std::string(), "(empty input)");
    std::string bytes;
    for (const fs::path& path : inputs)
    {
        if (!readInput(path, bytes))
        {
            std::fprintf(stderr, "cannot read %s\n", path.c_str());
            return 2;
        }
        run(bytes, path.string());
    }

    const double total = std::chrono::duration<double>(Clock::now() - started).count();
    std::printf("replayed %zu inputs in %.2f s; slowest %.3f s: %s\n", inputs.size() + 1, total, slowest,
                slowestName.c_str());
    return tooSlow ? 1 : 0;
}
