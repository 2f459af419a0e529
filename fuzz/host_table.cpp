// The host's table files (one row per line, TAB between cells, escapes inside cells).
// Rows read from a text format to a text that reads back to the same rows.

#include "FuzzSupport.h"
#include "host/TableFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::silenceCommandLine();
    Kdr_Array<Kdr_StringArray> rows;
    if (!host::parseTableText(fuzz::asText(data, size), "fuzz.tab", rows))
        return 0;

    const std::string text = host::formatTableText(rows);
    Kdr_Array<Kdr_StringArray> again;
    if (!host::parseTableText(text, "written.tab", again))
        fuzz::fail("a written table does not read back", text);
    if (!(again == rows))
        fuzz::fail("a table changes on its way through its text", text, host::formatTableText(again));
    return 0;
}
