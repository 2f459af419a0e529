#include "hostio/JsonRecords.h"

#include "host/FileFunctions.h"

namespace hostio
{
void failAt(const std::string& where, const std::string& what)
{
    throw JsonProblem{where.empty() ? "/" : where, what};
}

std::string pointerToken(std::string_view key)
{
    std::string token;
    for (char c : key)
    {
        if (c == '~')
            token += "~0";
        else if (c == '/')
            token += "~1";
        else
            token += c;
    }
    return token;
}

std::string problemMessage(const std::string& source, const JsonProblem& problem)
{
    return source + ": " + problem.where + ": " + problem.what;
}

std::string withoutExceptionId(const std::exception& problem)
{
    const std::string what = problem.what();
    const std::size_t bracket = what.find("] ");
    return bracket == std::string::npos ? what : what.substr(bracket + 2);
}

bool nestingWithinLimit(std::string_view text, int maxDepth)
{
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        const char c = text[i];
        if (inString)
        {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        }
        else if (c == '"')
            inString = true;
        else if ((c == '[' || c == '{') && ++depth > maxDepth)
            return false;
        else if (c == ']' || c == '}')
            --depth;
    }
    return true;
}

bool readRecordFile(const std::string& path, std::string& text, std::string& error)
{
    Kdr_String readError;
    if (host::readFileBytes(path, text, readError))
        return true;
    error = readError;
    return false;
}

bool writeRecordFile(const std::string& path, std::string_view text, std::string& error)
{
    Kdr_String writeError;
    if (host::writeFileAtomically(path, text, writeError))
        return true;
    error = writeError;
    return false;
}
} // namespace hostio
