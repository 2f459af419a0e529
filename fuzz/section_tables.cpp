// Section tables as the host loads them from the library's "prof" folder: every question
// the module asks must be answered, right or "unknown", for any table file.

#include "FuzzSupport.h"
#include "host/SectionTables.h"

namespace
{
constexpr int kMaxRowsAsked = 64;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::silenceCommandLine();
    fuzz::useScratchLibrary();
    fuzz::writeScratchFile("prof/FZ.pr", fuzz::asText(data, size));
    gSectionTables.reset();

    const Kdr_SectionTable* table = nullptr;
    if (!gSectionTables.findTable("FZ", table))
        return 0;
    Kdr_StringArray names;
    gSectionTables.getTableNames(names);
    const int asked = std::min(table->rows.length(), kMaxRowsAsked);
    for (int i = 0; i < asked; ++i)
    {
        const Kdr_StringArray& row = table->rows[i];
        if (row.isEmpty() || row[0].isEmpty())
            continue;
        const Kdr_String section = "FZ-" + row[0];
        Kdr_String text;
        Kdr_StringArray columns;
        if (!gSectionTables.getSectionColumnNames(section, columns))
            fuzz::fail("a section of a loaded table is unknown", section);
        for (int index = -1; index <= columns.length(); ++index)
            gSectionTables.getSectionValue(section, index, text);
        gSectionTables.getUserName(section, text);
        Kdr_String systemName;
        if (!gSectionTables.getSystemName(section, systemName))
            fuzz::fail("the system name of a loaded section is unknown", section);
        for (int column = 1; column < row.length() && column <= table->languageCount(); ++column)
            gSectionTables.getSystemName(row[column], systemName);
    }
    return 0;
}
