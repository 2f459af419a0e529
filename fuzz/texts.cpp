// Numbered text tables of the library ("number TAB text" per line, one file per language).
// Any file gives a text for every number: its own, the English one, or "#<number>".

#include "host/Texts.h"

#include "FuzzSupport.h"
#include "host/StringFunctions.h"

#include <climits>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::silenceCommandLine();
    fuzz::useScratchLibrary();
    const fuzz::Split input = fuzz::splitSelector(fuzz::asText(data, size));
    const bool general = input.selector & 1;
    fuzz::writeScratchFile(general ? "texts/Fuzz-strings.txt" : "texts/Fuzz.txt", input.rest);
    host::reloadTexts();

    const host::TextTable table = general ? host::TextTable::General : host::TextTable::Dialog;
    int numbers[] = {0, 1, -1, INT_MIN, INT_MAX, 100, 0};
    numbers[6] = std::atoi(std::string(input.rest.substr(0, input.rest.find('\t'))).c_str());
    for (int number : numbers)
    {
        const Kdr_String text = host::numberedText(table, number, "Fuzz");
        // A number the file does not set falls back to English, which knows every number.
        if (text.empty() && !host::defaultText(table, number) &&
            input.rest.find('\t') == std::string_view::npos)
            fuzz::fail("a text table gives an empty text", std::to_string(number));
    }
    return 0;
}
