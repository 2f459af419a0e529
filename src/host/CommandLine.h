#pragma once

#include <functional>
#include <string>
#include <string_view>

/// Prints on the command line (printf-style). Everything goes to one replaceable sink,
/// standard error by default.
void acutPrintf(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

namespace host
{
using CommandLineSink = std::function<void(std::string_view)>;

/// Replaces the command-line sink; returns the previous one. An empty sink restores
/// the default (standard error).
CommandLineSink setCommandLineSink(CommandLineSink sink);

/// Captures everything printed on the command line while it lives (tests use it).
class CommandLineCapture
{
public:
    CommandLineCapture();
    ~CommandLineCapture();
    CommandLineCapture(const CommandLineCapture&) = delete;
    CommandLineCapture& operator=(const CommandLineCapture&) = delete;

    const std::string& text() const { return text_; }
    void clear() { text_.clear(); }

private:
    std::string text_;
    CommandLineSink previous_;
};
} // namespace host
