// One line of a mapping file ("target=entry...", entries separated by 0xBF). Every binding
// read from a line must write back to texts that read again to the same binding.

#include "FuzzSupport.h"
#include "standards/ZxSSMapping.h"

namespace
{
std::string describe(const ZxObjectMap& map)
{
    return map.ssVarName + "|" + map.objectName + "|" + std::to_string(static_cast<int>(map.objType)) + "|" +
           map.varName;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::silenceCommandLine();
    const Kdr_String line(fuzz::asText(data, size));

    ZxSSMapping mapping;
    const Acad::ErrorStatus status = mapping.initMappingFromLine(line);
    if (status != Acad::eOk)
    {
        if (!mapping.mappedObjects().isEmpty())
            fuzz::fail("a refused mapping line leaves bindings behind");
        return 0;
    }

    for (const ZxObjectMap& binding : mapping.mappedObjects())
    {
        Kdr_String mapText;
        Kdr_String ssVar;
        if (binding.setMappingToStrs(mapText, ssVar) != Acad::eOk)
            fuzz::fail("a binding read from a line cannot be written", describe(binding));
        ZxObjectMap again;
        if (again.getMappingFromStrs(ssVar, mapText) != Acad::eOk)
            fuzz::fail("a written binding does not read back", describe(binding), mapText);
        if (describe(again) != describe(binding))
            fuzz::fail("a binding changes on its way through its texts", describe(binding), describe(again));
        if (binding.isCompatible(again) != Acad::eOk)
            fuzz::fail("a binding is not compatible with its own copy", describe(binding));
    }

    // The comparisons must hold for a mapping and itself.
    int incompatible = -1;
    mapping.isCompatible(mapping, incompatible);
    if (incompatible != 0)
        fuzz::fail("a mapping is incompatible with itself", "0", std::to_string(incompatible));
    AcArray<int> indices;
    mapping.getValidVars(true, valDouble, indices);
    AcArray<int> order;
    order.append(static_cast<int>(HiddenFixed));
    const int before = indices.length();
    mapping.sortValidVars(indices, order);
    if (indices.length() != before)
        fuzz::fail("sorting variables loses some", std::to_string(before), std::to_string(indices.length()));
    return 0;
}
