#pragma once

#include <string>

namespace cli
{
/// Chooses the host's library folder: `option` (--lib) when given, else the environment
/// variable KALDOR_LIB, else the bundled sample library — the one installed beside the
/// program (../share/kaldor-ss/library/) when there is one, else the one in the source tree
/// the program was built from. False with `error` set when the chosen folder does not exist.
bool setUpLibraryFolder(const std::string& option, const char* argv0, std::string& error);
} // namespace cli
