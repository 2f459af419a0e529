#include "host/CommandLine.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace host
{
namespace
{
void writeToStandardError(std::string_view text)
{
    if (!text.empty())
        std::fwrite(text.data(), 1, text.size(), stderr);
}

CommandLineSink& currentSink()
{
    static CommandLineSink sink = writeToStandardError;
    return sink;
}
} // namespace

CommandLineSink setCommandLineSink(CommandLineSink sink)
{
    CommandLineSink previous = std::move(currentSink());
    currentSink() = sink ? std::move(sink) : CommandLineSink(writeToStandardError);
    return previous;
}

CommandLineCapture::CommandLineCapture()
{
    previous_ = setCommandLineSink([this](std::string_view text) { text_.append(text); });
}

CommandLineCapture::~CommandLineCapture()
{
    setCommandLineSink(std::move(previous_));
}
} // namespace host

void acutPrintf(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    int needed = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    if (needed > 0)
    {
        std::vector<char> buffer(static_cast<size_t>(needed) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), fmt, args);
        host::currentSink()(std::string_view(buffer.data(), static_cast<size_t>(needed)));
    }
    va_end(args);
}
