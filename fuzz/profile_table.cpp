// Section table files (".pr") through the reader the host's table manager and the module's
// profile table share: a file is sound or refused, never half read; what reads writes back
// and reads again the same; the table's edits keep it writable.

#include "FuzzSupport.h"
#include "host/SectionTableFile.h"
#include "library/Kdr_ProfValuesTable.h"

namespace
{
bool sameContents(const SectionTableContents& a, const SectionTableContents& b)
{
    return a.picture == b.picture && a.columnNames == b.columnNames && a.rows == b.rows;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::silenceCommandLine();
    fuzz::useScratchLibrary();
    const std::string_view text = fuzz::asText(data, size);

    SectionTableContents contents;
    const bool parsed = host::parseSectionTableText(text, "FZ.pr", contents);
    fuzz::writeScratchFile("prof/FZ.pr", text);
    Kdr_ProfValuesTable table;
    if (table.readFromFile("FZ") != parsed)
        fuzz::fail("the table and the shared reader disagree on a file", parsed ? "read" : "refused");
    if (!parsed)
    {
        if (table.rowCount() != 0 || !table.columnNames().isEmpty() || !table.name().empty())
            fuzz::fail("a refused file left a table behind");
        return 0;
    }

    // Whatever was read is sound as it is, and formats to a text that reads back the same.
    if (!host::checkSectionTable(contents, "FZ.pr"))
        fuzz::fail("a table that was read does not pass the check");
    SectionTableContents again;
    const std::string formatted = host::formatSectionTableText(contents);
    if (!host::parseSectionTableText(formatted, "FZ.pr", again) || !sameContents(contents, again))
        fuzz::fail("a table does not read back as it was written", formatted);

    // Edits that keep the layout keep the file readable.
    const int rows = table.rowCount();
    if (rows > 0)
    {
        table.insertRow(rows - 1);
        if (table.rowCount() != rows + 1)
            fuzz::fail("a copy of the last row was not appended");
        Kdr_StringArray names;
        table.getFilteredSysNames(names);
        for (int i = 0; i <= rows; ++i)
            if (table.getfilteredIdx(i) > i)
                fuzz::fail("a filtered index lies beyond its row");
    }
    if (table.writeToFile("FZ2"))
    {
        Kdr_ProfValuesTable back;
        if (!back.readFromFile("FZ2") || back.rows() != table.rows() ||
            back.columnNames() != table.columnNames() || back.picture() != table.picture())
            fuzz::fail("a written table does not read back");
    }
    return 0;
}
