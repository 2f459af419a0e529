#include "Console.h"

#include "host/CommandLine.h"
#include "host/StringFunctions.h"

#include <cstdio>
#include <unistd.h>

namespace cli
{
namespace
{
int severity(int status)
{
    switch (status)
    {
    case kBadInput:
        return 3;
    case kUsage:
        return 2;
    case kFailed:
        return 1;
    default:
        return 0;
    }
}

void write(std::FILE* stream, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stream);
}
} // namespace

int worseStatus(int a, int b)
{
    return severity(b) > severity(a) ? b : a;
}

Console::Console(bool quiet) : quiet_(quiet), terminal_(isatty(STDERR_FILENO) != 0)
{
    // The host's command line: kept for error reports, shown at once unless quiet.
    host::setCommandLineSink(
        [this](std::string_view text)
        {
            diagnostics_.append(text);
            if (!quiet_)
                toStderr(text);
        });
    // Message boxes: nobody answers them here; their texts are shown unless quiet.
    agent_.setSink(
        [this](std::string_view text)
        {
            if (!quiet_)
                toStderr(text);
        });
    agentScope_ = std::make_unique<ui::UserAgentScope>(agent_);
}

Console::~Console()
{
    clearProgress();
    agentScope_.reset();
    host::setCommandLineSink({});
    std::fflush(stdout);
}

void Console::result(std::string_view line)
{
    clearProgress();
    write(stdout, line);
    write(stdout, "\n");
}

void Console::error(std::string_view text)
{
    if (quiet_ && !diagnostics_.empty())
        toStderr(diagnostics_);
    toStderr("kaldor-ss: " + std::string(text) + "\n");
}

void Console::note(std::string_view text)
{
    if (!quiet_)
        toStderr("kaldor-ss: " + std::string(text) + "\n");
}

void Console::report(std::string_view text)
{
    toStderr(text);
}

void Console::progress(std::string_view text)
{
    if (quiet_ || !terminal_)
        return;
    std::fflush(stdout);
    write(stderr, "\r\033[K");
    write(stderr, text);
    std::fflush(stderr);
    progressShown_ = true;
}

void Console::clearProgress()
{
    if (!progressShown_)
        return;
    progressShown_ = false;
    write(stderr, "\r\033[K");
    std::fflush(stderr);
}

void Console::toStderr(std::string_view text)
{
    clearProgress();
    // Results and messages share a terminal: keep them in the order they were made.
    std::fflush(stdout);
    // Messages quote file contents and names; control bytes and broken text are shown safely.
    write(stderr, host::displayText(text));
    std::fflush(stderr);
}

std::string field(std::string_view text)
{
    // The escapes of the table files, and "\xNN" for the other control bytes, so that a
    // result line never carries a byte that a terminal or a line reader acts on.
    const std::string escaped = host::escapeField(text);
    std::string out;
    out.reserve(escaped.size());
    for (char c : escaped)
    {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
        {
            static const char digits[] = "0123456789ABCDEF";
            out += "\\x";
            out.push_back(digits[byte >> 4]);
            out.push_back(digits[byte & 0x0F]);
        }
        else
            out.push_back(c);
    }
    return out;
}
} // namespace cli
