// Property lists ("key TAB type TAB value" per line, as dialog templates store them).
// A list read from a text writes to a text that reads back to the same list.

#include "FuzzSupport.h"
#include "host/Kdr_PropertiesList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::silenceCommandLine();
    Kdr_PropertiesList list;
    list.setInt("before", 1);
    const Kdr_PropertiesList untouched = list;
    if (!list.fromText(fuzz::asText(data, size), "fuzz.txt"))
    {
        if (!(list == untouched))
            fuzz::fail("a refused property list changes the list", untouched.toText(), list.toText());
        return 0;
    }

    const Kdr_String text = list.toText();
    Kdr_PropertiesList again;
    if (!again.fromText(text, "written.txt"))
        fuzz::fail("a written property list does not read back", text);
    if (again.toText() != text)
        fuzz::fail("a property list changes on its way through its text", text, again.toText());
    if (again.count() != list.count())
        fuzz::fail("a property list loses entries", std::to_string(list.count()),
                   std::to_string(again.count()));
    for (int i = 0; i < list.count(); ++i)
        if (again.keyAt(i) != list.keyAt(i))
            fuzz::fail("a property list reorders its keys", list.keyAt(i), again.keyAt(i));
    return 0;
}
