#pragma once

#include <string>
#include <vector>

namespace cli
{
class Console;

/// `settings show [NAME|FILE]`: the settings a bill made with them gets, one line per key:
/// key TAB type TAB value. Without an argument, the configured default settings.
int runSettingsShow(const std::string& nameOrFile, Console& console);
/// `settings set NAME key=value …`: changes keys of a settings file (made from the defaults
/// when missing) and writes it atomically. Nothing is written when an assignment is wrong.
int runSettingsSet(const std::string& nameOrFile, const std::vector<std::string>& assignments,
                   Console& console);
} // namespace cli
