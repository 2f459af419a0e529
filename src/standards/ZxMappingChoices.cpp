#include "standards/ZxMappingChoices.h"

#include "host/StringFunctions.h"

namespace
{
void appendPart(Kdr_String& text, std::string_view part)
{
    if (!text.empty())
        text += '.';
    text += part;
}

void appendRows(const ZxVarCells& cells, const ZxSSMapping& catalogue, const ZxSSMapping& working,
                ZxCellType kind, std::vector<ZxVariableChoices>& rows)
{
    for (int i = 0; i < cells.length(); ++i)
    {
        const ZxVarCell& cell = cells[i];
        if (cell.cellType != kind)
            continue;
        ZxVariableChoices row;
        row.cellIndex = i;
        catalogue.getValidVars(cell.isInput(), cell.valueType, row.indices);
        int bound = 0;
        int compatible = 0;
        if (working.findSSVar(cell.name, cell.valueType, bound) == Acad::eOk &&
            catalogue.findCompatible(working.mappedObjects()[bound], compatible) == Acad::eOk)
            row.selected = row.indices.find(compatible);
        rows.push_back(std::move(row));
    }
}
} // namespace

Kdr_String bindingText(const ZxObjectMap& binding)
{
    Kdr_String text = binding.objectName;
    if (!binding.varName.empty())
        appendPart(text, binding.varName);
    if (binding.objType != ZxMapObjType::Distance && binding.objType != ZxMapObjType::MemberSectionSize)
    {
        const char* word = kindWord(binding.objType);
        appendPart(text, word ? word : "");
    }
    return text + binding.description;
}

bool isModuleTarget(const Kdr_String& target)
{
    return target.startsWith(kModuleTargetPrefix, false);
}

std::vector<ZxVariableChoices> variableChoices(const ZxVarCells& cells, const ZxSSMapping& catalogue,
                                               const ZxSSMapping& working)
{
    std::vector<ZxVariableChoices> rows;
    appendRows(cells, catalogue, working, cellInput, rows);
    appendRows(cells, catalogue, working, cellOutput, rows);
    return rows;
}

ZxSSMapping mappingFromChoices(const ZxVarCells& cells, const ZxSSMapping& catalogue,
                               const std::vector<ZxVariableChoices>& rows)
{
    ZxSSMapping mapping;
    for (const ZxVariableChoices& row : rows)
    {
        const int chosen = row.chosenIndex();
        if (chosen < 0 || !catalogue.mappedObjects().validIndex(chosen) || row.cellIndex < 0 ||
            row.cellIndex >= cells.length())
            continue;
        // Only what identifies the macro variable is kept; visibility and description belong
        // to the catalogue.
        const ZxObjectMap& offered = catalogue.mappedObjects()[chosen];
        ZxObjectMap binding;
        binding.objectName = offered.objectName;
        binding.varName = offered.varName;
        binding.objType = offered.objType;
        binding.ssVarName = cells[row.cellIndex].name;
        mapping.mappedObjectsWrite().append(binding);
    }
    return mapping;
}

Kdr_StringArray choiceVariableNames(const ZxVarCells& cells, const std::vector<ZxVariableChoices>& rows)
{
    Kdr_StringArray names;
    for (const ZxVariableChoices& row : rows)
        if (row.cellIndex >= 0 && row.cellIndex < cells.length())
            names.append(cells[row.cellIndex].name);
    return names;
}

ZxMappingStore storeSheetMapping(const Kdr_String& ssName, Kdr_String& target, const ZxSSMapping& working)
{
    ZxSSMapping stored;
    const bool loaded = stored.getMappingFromFile(ssName, target) == Acad::eOk;
    if (loaded && working.isEqual(stored))
        return ZxMappingStore::Unchanged;
    // With no binding chosen and none stored there is nothing to keep: a sheet whose target
    // was a module group stays without a key until bindings are chosen.
    if (!loaded && working.mappedObjects().isEmpty())
        return ZxMappingStore::Unchanged;

    Kdr_StringArray keys;
    if (!ZxSSMapping::readTargetKeys(ssName, keys))
        return ZxMappingStore::Failed;
    Kdr_String key;
    bool fresh = false;
    for (int attempt = 0; attempt < kMappingKeyAttempts && !fresh; ++attempt)
    {
        if (!generateRandomString(kMappingKeyLength, key, true))
            return ZxMappingStore::Failed;
        fresh = !keys.contains(key, true);
    }
    if (!fresh)
        return ZxMappingStore::Failed;

    // The target moves to the new key only once its line is in the file; a failed write must
    // not leave the macro pointing at a line that does not exist.
    ZxSSMapping toWrite = working;
    Kdr_String newTarget = key;
    if (toWrite.setMappingToFile(ssName, newTarget) != Acad::eOk)
        return ZxMappingStore::Failed;
    target = key;
    return ZxMappingStore::Stored;
}
