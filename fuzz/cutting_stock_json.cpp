// Cutting-stock records in JSON. A record read from a file saves to a text that reads back to
// the same record.

#include "FuzzSupport.h"
#include "host/DlgCSP2Data.h"
#include "hostio/CuttingStockJson.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::silenceCommandLine();
    DlgCSP2Data record;
    std::string error;
    if (!parseCuttingStockJson(fuzz::asText(data, size), "fuzz.json", record, error))
    {
        if (error.empty())
            fuzz::fail("a refused record gives no reason");
        return 0;
    }
    std::string text;
    if (!formatCuttingStockJson(record, text, error))
        return 0; // a text that is not UTF-8 cannot be saved, and is refused with a reason
    DlgCSP2Data again;
    if (!parseCuttingStockJson(text, "written.json", again, error))
        fuzz::fail("a written record does not read back", text, error);
    if (!(again == record))
        fuzz::fail("a record changes on its way through its file", text);
    return 0;
}
