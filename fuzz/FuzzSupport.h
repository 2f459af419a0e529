#pragma once

// What every fuzz target shares: the libFuzzer entry point, a quiet command line, a scratch
// library folder for parsers that read files, and the way a target reports a broken
// property (an abort, which both libFuzzer and the corpus replay treat as a finding).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fuzz
{
/// The input as bytes.
inline std::string_view asText(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

/// Drops everything printed on the command line from now on, so that refusals of bad input
/// do not flood the fuzzer's output. Cheap to call on every input.
void silenceCommandLine();

/// A folder of this process under the system's temporary folder, ending with '/'. It is
/// created on first use and removed when the process ends normally.
const std::string& scratchFolder();

/// Makes the scratch folder the host's library folder.
void useScratchLibrary();

/// Writes `bytes` to `relative` inside the scratch folder (creating sub-folders) and
/// returns the full path.
std::string writeScratchFile(const std::string& relative, std::string_view bytes);

/// Reports a broken property with the two texts that disagree and aborts.
[[noreturn]] void fail(std::string_view what, std::string_view expected = {}, std::string_view actual = {});

/// Splits an input into a selector byte and the rest (0 and the whole text when empty).
struct Split
{
    std::uint8_t selector = 0;
    std::string_view rest;
};
Split splitSelector(std::string_view text);
} // namespace fuzz
