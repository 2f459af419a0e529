// Table files of the steel functions: "//" comments, TAB-separated columns.

#include "FuzzSupport.h"
#include "spread/StandardsFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::silenceCommandLine();
    const std::string path = fuzz::writeScratchFile("Data/table.txt", fuzz::asText(data, size));

    setStandardsFileCacheEnabled(false);
    StandardsTable rows;
    const bool read = readTableFile(path, rows);
    if (!read && !rows.isEmpty())
        fuzz::fail("a refused table file gives rows");
    for (const Kdr_StringArray& row : rows)
        for (const Kdr_String& cell : row)
            if (cell.find_first_of("\t\n") != std::string::npos)
                fuzz::fail("a table cell holds a separator", "", cell);

    setStandardsFileCacheEnabled(true);
    clearStandardsFileCache();
    const auto shared = sharedTableFile(path);
    if (static_cast<bool>(shared) != read || (shared && *shared != rows))
        fuzz::fail("the cached table file differs from the file");
    return 0;
}
