// The standards mapping page's record in JSON. A record read from a file saves to a text that
// reads back to the same lists.

#include "FuzzSupport.h"
#include "host/TabMappingData.h"
#include "hostio/TabMappingJson.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::silenceCommandLine();
    TabMappingData record;
    std::string error;
    if (!parseTabMappingJson(fuzz::asText(data, size), "fuzz.json", record, error))
    {
        if (error.empty())
            fuzz::fail("a refused record gives no reason");
        return 0;
    }
    if (record.names().length() != record.targets().length())
        fuzz::fail("a record reads names and targets of different lengths");
    std::string text;
    if (!formatTabMappingJson(record, text, error))
        return 0; // a text that is not UTF-8 cannot be saved, and is refused with a reason
    TabMappingData again;
    if (!parseTabMappingJson(text, "written.json", again, error))
        fuzz::fail("a written record does not read back", text, error);
    if (again.names() != record.names() || again.targets() != record.targets() ||
        again.moduleGroups() != record.moduleGroups())
        fuzz::fail("a record changes on its way through its file", text);
    return 0;
}
