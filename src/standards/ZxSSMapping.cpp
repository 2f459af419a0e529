#include "standards/ZxSSMapping.h"

#include "host/FileFunctions.h"
#include "host/Settings.h"
#include "host/StringFunctions.h"

#include <algorithm>
#include <vector>

namespace
{
size_t findByte(std::string_view text, char byte, size_t from = 0)
{
    return text.find(byte, from);
}

/// The key of a mapping file line: the text before its first "=", empty without one.
Kdr_String lineKey(const Kdr_String& line)
{
    const size_t equals = findByte(line, '=');
    return equals == std::string::npos ? Kdr_String() : Kdr_String(line.substr(0, equals));
}

/// Reads the target lines of a mapping file, without the header line.
bool readMappingLines(const Kdr_String& ssName, Kdr_StringArray& lines)
{
    lines.removeAll();
    // A sheet without a mapping file is common; only a file that exists and cannot be read is
    // worth a message (the host's reader prints it).
    const Kdr_String path = ZxSSMapping::mappingFilePath(ssName);
    if (!host::fileExists(path) || !ObjectExportReadFile(path, lines))
        return false;
    if (!lines.isEmpty() && lines[0].contains("Mapping", false) && lines[0].contains("version", false))
        lines.removeAt(0);
    return true;
}

int findLineOfTarget(const Kdr_StringArray& lines, const Kdr_String& target)
{
    for (int i = 0; i < lines.length(); ++i)
        if (lineKey(lines[i]).equal(target, true))
            return i;
    return -1;
}

bool hasLineBreak(const Kdr_String& text)
{
    return text.find_first_of("\r\n") != std::string::npos;
}

/// A target that would not read back as the same key cannot be stored.
bool isStorableKey(const Kdr_String& target)
{
    return findByte(target, '=') == std::string::npos && !hasLineBreak(target);
}

/// An entry whose texts hold a separator byte of the file would read back as other entries,
/// so it is left out rather than corrupt the line.
bool isStorable(const ZxObjectMap& binding, const Kdr_String& name, const Kdr_String& mapText)
{
    const char entrySeparators[] = {kMapEntrySeparator, kMapListSeparator, '\0'};
    return name.find_first_of(entrySeparators) == std::string::npos &&
           findByte(mapText, kMapListSeparator) == std::string::npos &&
           findByte(binding.objectName, kMapObjectSeparator) == std::string::npos && !hasLineBreak(name) &&
           !hasLineBreak(mapText);
}

std::vector<Kdr_String> splitAt(const Kdr_String& text, char separator)
{
    std::vector<Kdr_String> parts;
    size_t start = 0;
    for (;;)
    {
        const size_t at = findByte(text, separator, start);
        parts.emplace_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos)
            return parts;
        start = at + 1;
    }
}
} // namespace

Kdr_String ZxSSMapping::mappingFilePath(const Kdr_String& ssName)
{
    // The mapping file lies beside the sheet, so it is looked for where the sheet is loaded
    // from: a name that is a path to an existing file (absolute, or relative as the user typed
    // it) is that file; anything else is a sheet of the library's "Connection Standards"
    // folder. Either may carry the ".zxs" extension.
    const bool absolute = (!ssName.isEmpty() && (ssName[0] == '/' || ssName[0] == '\\')) ||
                          (ssName.length() >= 2 && ssName[1] == ':');
    const bool besideSheet =
        absolute || (ssName.find_first_of("*?") == std::string::npos && host::fileExists(ssName));
    Kdr_String sheet =
        besideSheet ? ssName : Kdr_String(gSettings.libDir() + "Connection Standards/" + ssName);
    if (!sheet.endsWith(".zxs", false))
        sheet += ".zxs";
    return changeExtension(sheet, "map");
}

Acad::ErrorStatus ZxSSMapping::initMappingFromLine(const Kdr_String& line)
{
    objects_.removeAll();
    const size_t equals = findByte(line, '=');
    if (equals == std::string::npos)
        return Acad::eInvalidInput;

    ZxObjectMap binding;
    for (const Kdr_String& entry : splitAt(line.substr(equals + 1), kMapListSeparator))
    {
        const size_t separator = findByte(entry, kMapEntrySeparator);
        if (separator == std::string::npos)
            continue;
        if (binding.getMappingFromStrs(entry.substr(0, separator), entry.substr(separator + 1)) == Acad::eOk)
            objects_.append(binding);
    }
    return Acad::eOk;
}

Acad::ErrorStatus ZxSSMapping::getMappingFromFile(Kdr_String ssName, const Kdr_String& target)
{
    Kdr_StringArray lines;
    if (!readMappingLines(ssName, lines))
        return Acad::eInvalidInput;
    if (lines.isEmpty())
        return Acad::eOk;
    const int index = findLineOfTarget(lines, target);
    if (index < 0)
        return Acad::eInvalidInput;
    return initMappingFromLine(lines[index]);
}

Acad::ErrorStatus ZxSSMapping::setMappingToFile(Kdr_String ssName, Kdr_String& target)
{
    if (!isStorableKey(target))
        return Acad::eInvalidInput;

    Kdr_StringArray names;
    Kdr_StringArray mapTexts;
    for (const ZxObjectMap& binding : objects_)
    {
        Kdr_String mapText;
        Kdr_String name;
        if (binding.setMappingToStrs(mapText, name) != Acad::eOk || !isStorable(binding, name, mapText))
            continue;
        names.append(name);
        mapTexts.append(mapText);
    }

    // A spreadsheet variable is bound once; later duplicates are dropped.
    AcArray<int> duplicates;
    getDuplicates(names, duplicates, false);
    std::sort(duplicates.begin(), duplicates.end(), std::greater<>());
    for (int index : duplicates)
    {
        names.removeAt(index);
        mapTexts.removeAt(index);
    }
    // Names that cannot be part of a file name cannot be variables of a sheet either.
    for (int i = names.length() - 1; i >= 0; --i)
    {
        if (hasInvalidFileNameChars(names[i]))
        {
            names.removeAt(i);
            mapTexts.removeAt(i);
        }
    }

    // A missing file starts empty. A file that exists but cannot be read (too large, no
    // access) is left alone: writing it afresh would drop the lines of every other target.
    Kdr_StringArray lines;
    if (!readMappingLines(ssName, lines))
    {
        if (host::fileExists(mappingFilePath(ssName)))
            return Acad::eInvalidInput;
        lines.removeAll();
    }

    const int existing = findLineOfTarget(lines, target);
    if (existing >= 0)
    {
        ZxSSMapping stored;
        if (stored.initMappingFromLine(lines[existing]) == Acad::eOk && isEqual(stored))
            return Acad::eOk;
        lines.removeAt(existing);
    }

    Kdr_String line = target + "=";
    const int entries = std::min(names.length(), mapTexts.length());
    for (int i = 0; i < entries; ++i)
    {
        if (i > 0)
            line.push_back(kMapListSeparator);
        line += names[i];
        line.push_back(kMapEntrySeparator);
        line += mapTexts[i];
    }
    lines.append(line);
    lines.insertAt(0, kMappingHeader);
    return ObjectExportWriteFile(mappingFilePath(ssName), lines) ? Acad::eOk : Acad::eInvalidInput;
}

bool ZxSSMapping::hasSameMapping(const Kdr_String& ssName, Kdr_String& target) const
{
    Kdr_StringArray lines;
    if (!readMappingLines(ssName, lines))
        return false;
    ZxSSMapping stored;
    for (const Kdr_String& line : lines)
    {
        if (stored.initMappingFromLine(line) != Acad::eOk)
            continue;
        if (isEqual(stored))
        {
            target = lineKey(line);
            return true;
        }
    }
    return false;
}

bool ZxSSMapping::readTargetKeys(const Kdr_String& ssName, Kdr_StringArray& keys)
{
    keys.removeAll();
    Kdr_StringArray lines;
    if (!readMappingLines(ssName, lines))
        return !host::fileExists(mappingFilePath(ssName));
    for (const Kdr_String& line : lines)
        keys.append(lineKey(line));
    return true;
}

Acad::ErrorStatus ZxSSMapping::findSSVar(const Kdr_String& ssVar, const ZxValueType& type, int& index) const
{
    if (type == valNone)
        return Acad::eInvalidInput;
    for (int i = 0; i < objects_.length(); ++i)
    {
        const ZxObjectMap& binding = objects_[i];
        const ZxValueType kindType = valueTypeOf(binding.objType);
        if (kindType == valNone || isNumericType(kindType) != isNumericType(type))
            continue;
        if (binding.ssVarName.equal(ssVar, false))
        {
            index = i;
            return Acad::eOk;
        }
    }
    return Acad::eInvalidInput;
}

Acad::ErrorStatus ZxSSMapping::findCompatible(const ZxObjectMap& map, int& index) const
{
    for (int i = 0; i < objects_.length(); ++i)
    {
        if (objects_[i].isCompatible(map) == Acad::eOk)
        {
            index = i;
            return Acad::eOk;
        }
    }
    return Acad::eInvalidInput;
}

Acad::ErrorStatus ZxSSMapping::isCompatible(const ZxSSMapping& other, int& incompatible) const
{
    incompatible = 0;
    int index = 0;
    for (const ZxObjectMap& binding : objects_)
        if (other.findCompatible(binding, index) != Acad::eOk)
            ++incompatible;
    return Acad::eOk;
}

bool ZxSSMapping::isEqual(const ZxSSMapping& other) const
{
    for (const ZxObjectMap& binding : objects_)
    {
        const ZxValueType type = valueTypeOf(binding.objType);
        if (type == valNone)
            return false;
        int index = 0;
        if (other.findSSVar(binding.ssVarName, type, index) != Acad::eOk)
            return false;
        if (other.objects_[index].isCompatible(binding) != Acad::eOk)
            return false;
    }
    return true;
}

Acad::ErrorStatus ZxSSMapping::getValidVars(const bool& /*isInput*/, const ZxValueType& type,
                                            AcArray<int>& indices) const
{
    indices.removeAll();
    for (int i = 0; i < objects_.length(); ++i)
    {
        const ZxValueType kindType = valueTypeOf(objects_[i].objType);
        if (kindType != valNone && isNumericType(kindType) == isNumericType(type))
            indices.append(i);
    }
    return Acad::eOk;
}

Acad::ErrorStatus ZxSSMapping::sortValidVars(AcArray<int>& indices, const AcArray<int>& order) const
{
    if (order.isEmpty())
    {
        indices.removeAll();
        return Acad::eInvalidInput;
    }
    std::vector<std::vector<int>> buckets(static_cast<size_t>(order.length()) + 1);
    for (int index : indices)
    {
        int bucket =
            objects_.validIndex(index) ? order.find(static_cast<int>(objects_[index].visibility)) : -1;
        if (bucket < 0)
            bucket = order.length();
        buckets[static_cast<size_t>(bucket)].push_back(index);
    }
    indices.removeAll();
    for (const std::vector<int>& bucket : buckets)
        for (int index : bucket)
            indices.append(index);
    return Acad::eOk;
}

Acad::ErrorStatus ZxSSMapping::initFromModuleGroup(Kdr_String group)
{
    if (group.isEmpty())
        return Acad::eInvalidInput;
    mode_ = mapModuleGroup;
    return Acad::eOk;
}
