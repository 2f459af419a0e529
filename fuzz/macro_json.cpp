// Macro files in JSON. A macro read from a file saves to a text that reads back to a macro
// that saves to the very same text.

#include "FuzzSupport.h"
#include "host/Kdr_DbMacro.h"
#include "host/MacroData.h"
#include "hostio/MacroJson.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::silenceCommandLine();
    Kdr_DbMacro macro;
    MacroData dialogData;
    std::string error;
    if (!parseMacroJson(fuzz::asText(data, size), "fuzz.json", macro, dialogData, error))
    {
        if (error.empty())
            fuzz::fail("a refused macro file gives no reason");
        return 0;
    }

    std::string text;
    if (!formatMacroJson(macro, dialogData, text, error))
        return 0; // a text that is not UTF-8 cannot be saved, and is refused with a reason
    Kdr_DbMacro again;
    MacroData againData;
    if (!parseMacroJson(text, "written.json", again, againData, error))
        fuzz::fail("a written macro file does not read back", text, error);
    std::string rewritten;
    if (!formatMacroJson(again, againData, rewritten, error) || rewritten != text)
        fuzz::fail("a macro changes on its way through its file", text, rewritten);
    return 0;
}
