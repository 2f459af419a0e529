// A whole mapping file in the library's "Connection Standards" folder: reading a target,
// finding a line with the same mapping, and storing a mapping as a new line. Storing must
// keep every other line of the file and read back as the mapping stored.

#include "FuzzSupport.h"
#include "host/FileFunctions.h"
#include "standards/ZxSSMapping.h"

#include <algorithm>

namespace
{
const char* const kSheet = "Fuzz";
const char* const kStoredTarget = "FuzzStored";

Kdr_String keyOf(const Kdr_String& line)
{
    const size_t equals = std::string_view(line).find('=');
    return equals == std::string::npos ? Kdr_String() : Kdr_String(line.substr(0, equals));
}

bool isHeader(const Kdr_String& line)
{
    return line.contains("Mapping", false) && line.contains("version", false);
}

/// The lines a reader sees in the file: without the header line.
Kdr_StringArray targetLines(std::string_view bytes)
{
    Kdr_StringArray lines;
    host::splitLines(bytes, lines);
    if (!lines.isEmpty() && isHeader(lines[0]))
        lines.removeAt(0);
    return lines;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::silenceCommandLine();
    fuzz::useScratchLibrary();
    const std::string_view bytes = fuzz::asText(data, size);
    const std::string path = fuzz::writeScratchFile("Connection Standards/Fuzz.map", bytes);

    Kdr_StringArray lines = targetLines(bytes);
    const Kdr_String firstKey = lines.isEmpty() ? Kdr_String("Plate") : keyOf(lines[0]);

    ZxSSMapping mapping;
    mapping.setMode(mapFile);
    mapping.getMappingFromFile(kSheet, firstKey);
    Kdr_String sameTarget;
    mapping.hasSameMapping(kSheet, sameTarget);

    Kdr_String stored = kStoredTarget;
    if (mapping.setMappingToFile(kSheet, stored) != Acad::eOk)
        fuzz::fail("a mapping cannot be stored beside a readable mapping file");

    // An unchanged mapping under the same key writes nothing; the file is then as it was.
    const auto same =
        std::find_if(lines.begin(), lines.end(),
                     [](const Kdr_String& line) { return keyOf(line).equal(kStoredTarget, true); });
    if (same != lines.end())
        return 0;

    std::string after;
    if (!host::readFileBytes(path, after))
        fuzz::fail("the stored mapping file cannot be read");
    Kdr_StringArray afterLines;
    host::splitLines(after, afterLines);
    if (afterLines.isEmpty() || afterLines[0] != kMappingHeader)
        fuzz::fail("a stored mapping file does not begin with its header", kMappingHeader,
                   afterLines.isEmpty() ? Kdr_String() : afterLines[0]);

    // Every other line stays, in its order; the stored line comes last.

    afterLines.removeAt(0);
    const Kdr_String storedLine = afterLines.isEmpty() ? Kdr_String() : afterLines.last();
    if (!afterLines.isEmpty())
        afterLines.removeLast();
    Kdr_String expected;
    Kdr_String actual;
    for (const Kdr_String& line : lines)
        expected += line + "\n";
    for (const Kdr_String& line : afterLines)
        actual += line + "\n";
    if (expected != actual)
        fuzz::fail("storing a mapping changes the other lines of the file", expected, actual);
    if (!keyOf(storedLine).equal(kStoredTarget, true))
        fuzz::fail("the stored line is not the last line", kStoredTarget, storedLine);

    ZxSSMapping reread;
    if (reread.getMappingFromFile(kSheet, kStoredTarget) != Acad::eOk)
        fuzz::fail("a stored mapping does not read back", storedLine);
    if (!reread.isEqual(mapping))
        fuzz::fail("a stored mapping reads back with other bindings", storedLine);
    return 0;
}
