// Editor settings texts (key, type code and value, each field ended by 0xA4), as sheets and
// settings files carry them. A store read from any text writes a text that reads back to the
// same store, and loading it into a settings record never fails or crashes.

#include "FuzzSupport.h"
#include "editor/ZxSSEditorSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::silenceCommandLine();
    ZxSettingsStore store;
    store.parse(fuzz::asText(data, size));
    const Kdr_String text = store.toText();

    ZxSettingsStore again;
    again.parse(text);
    if (again.toText() != text)
        fuzz::fail("a settings text changes on its way through a store", text, again.toText());
    if (again.count() != store.count())
        fuzz::fail("a settings text loses entries", std::to_string(store.count()),
                   std::to_string(again.count()));

    ZxSSEditorSettings settings;
    settings.loadFrom(store);
    if (settings.varNames.length() != settings.varValues.length())
        fuzz::fail("the print variables do not pair up", std::to_string(settings.varNames.length()),
                   std::to_string(settings.varValues.length()));
    ZxSettingsStore saved;
    if (settings.saveTo(saved))
    {
        ZxSSEditorSettings back;
        back.loadFrom(saved);
        if (back.varNames.length() != settings.varNames.length() || back.fontName != settings.fontName)
            fuzz::fail("a settings record changes on its way through a store", settings.fontName,
                       back.fontName);
    }
    return 0;
}
