#include "editor/ZxSSEditorSettings.h"

#include "host/FileFunctions.h"
#include "host/Settings.h"
#include "spread/Kdr_Spread.h"

namespace
{
constexpr int kStandardTextHeight = 13;

/// The folder one level above `folder` (which ends with '/'): "a/b/" gives "a/".
Kdr_String parentFolder(const Kdr_String& folder)
{
    if (folder.size() < 2)
        return folder == "/" ? folder : Kdr_String();
    const size_t slash = folder.find_last_of('/', folder.size() - 2);
    return slash == std::string::npos ? Kdr_String() : Kdr_String(folder.substr(0, slash + 1));
}

Kdr_String asFolder(const Kdr_String& folder)
{
    Kdr_String normal = host::normalizePath(folder);
    if (!normal.empty() && normal.back() != '/')
        normal.push_back('/');
    return normal;
}
} // namespace

ZxSSEditorSettings::ZxSSEditorSettings()
{
    reset();
}

void ZxSSEditorSettings::reset()
{
    valid = false;
    fontName = "Tahoma";
    textHeight = kStandardTextHeight;
    marginLeft = 9;
    marginRight = 5;
    marginTop = 5;
    marginBottom = 5;
    smartPrint = colors = colHeader = rowHeader = cellSeparators = border = true;
}

void ZxSSEditorSettings::readFromSheet(Kdr_Spread* sheet)
{
    reset();
    valid = true;
    gridWindow = sheet;
    if (!sheet)
        return;
    Kdr_String text;
    sheet->getCellText(0, 0, text, ctkTag);
    ZxSettingsStore store;
    store.parse(text);
    loadFrom(store);
}

bool ZxSSEditorSettings::writeToSheet(Kdr_Spread* sheet) const
{
    if (!valid || !sheet)
        return false;
    ZxSettingsStore store;
    if (!saveTo(store))
        return false;
    return sheet->setCellTag(0, 0, store.toText());
}

Kdr_String ZxSSEditorSettings::namedFile(const Kdr_String& name)
{
    if (name.find_first_of("/\\") != std::string::npos || name.endsWith(kFileExtension, false))
        return host::normalizePath(name);
    return asFolder(gSettings.appDir()) + name + kFileExtension;
}

bool ZxSSEditorSettings::readNamed(const Kdr_String& name)
{
    return readFile(namedFile(name));
}

bool ZxSSEditorSettings::writeNamed(const Kdr_String& name) const
{
    return writeFile(namedFile(name));
}

bool ZxSSEditorSettings::readFile(const Kdr_String& path)
{
    reset();
    valid = true;
    ZxSettingsStore store;
    if (!store.readFile(path))
        return false;
    loadFrom(store);
    return true;
}

bool ZxSSEditorSettings::writeFile(const Kdr_String& path) const
{
    if (!valid)
        return false;
    ZxSettingsStore store;
    if (!saveTo(store))
        return false;
    return store.writeFile(path);
}

void ZxSSEditorSettings::loadFrom(const ZxSettingsStore& store)
{
    store.getText(kHeaderFile, headerFile);
    store.getText(kFooterFile, footerFile);
    store.getText(kDefaultFont, fontName);
    store.getInt(kDefaultTextHeight, textHeight);
    store.getInt(kMarginLeft, marginLeft);
    store.getInt(kMarginRight, marginRight);
    store.getInt(kMarginTop, marginTop);
    store.getInt(kMarginBottom, marginBottom);
    auto flag = [&](const char* key, bool& member)
    {
        int value = 0;
        if (store.getInt(key, value))
            member = value != 0;
    };
    flag(kSmartPrint, smartPrint);
    flag(kColors, colors);
    flag(kColHeader, colHeader);
    flag(kRowHeader, rowHeader);
    flag(kCellSeparators, cellSeparators);
    flag(kBorder, border);
    auto list = [&](const char* key, Kdr_StringArray& member)
    {
        member.clear();
        Kdr_String text;
        for (int i = 0; store.getText(Kdr_String(key) + std::to_string(i), text); ++i)
            member.append(text);
    };
    list(kVarNames, varNames);
    list(kVarValues, varValues);
    const int pairs = std::min(varNames.length(), varValues.length());
    varNames.setLength(pairs);
    varValues.setLength(pairs);
}

bool ZxSSEditorSettings::saveTo(ZxSettingsStore& store) const
{
    // Every key is tried even after a refusal, so the store holds all that can be stored.
    bool ok = true;
    ok &= store.setText(kHeaderFile, headerFile);
    ok &= store.setText(kFooterFile, footerFile);
    ok &= store.setText(kDefaultFont, fontName);
    ok &= store.setInt(kDefaultTextHeight, textHeight);
    ok &= store.setInt(kMarginLeft, marginLeft);
    ok &= store.setInt(kMarginRight, marginRight);
    ok &= store.setInt(kMarginTop, marginTop);
    ok &= store.setInt(kMarginBottom, marginBottom);
    ok &= store.setInt(kSmartPrint, smartPrint ? 1 : 0);
    ok &= store.setInt(kColors, colors ? 1 : 0);
    ok &= store.setInt(kColHeader, colHeader ? 1 : 0);
    ok &= store.setInt(kRowHeader, rowHeader ? 1 : 0);
    ok &= store.setInt(kCellSeparators, cellSeparators ? 1 : 0);
    ok &= store.setInt(kBorder, border ? 1 : 0);
    for (int i = 0; i < varNames.length(); ++i)
        ok &= store.setText(Kdr_String(kVarNames) + std::to_string(i), varNames[i]);
    for (int i = 0; i < varValues.length(); ++i)
        ok &= store.setText(Kdr_String(kVarValues) + std::to_string(i), varValues[i]);
    return ok;
}

Kdr_String ZxSSEditorSettings::relativeTo(const Kdr_String& folder, const Kdr_String& path)
{
    const Kdr_String base = asFolder(folder);
    const Kdr_String normal = host::normalizePath(path);
    if (!base.empty() && normal.size() > base.size() && normal.startsWith(base, true))
        return normal.substr(base.size());
    return path;
}

Kdr_String ZxSSEditorSettings::resolvePicture(const Kdr_String& stored, const Kdr_String& folder)
{
    if (stored.empty() || stored.front() == '/' || stored.contains(":", false) ||
        stored.contains("\\\\", false))
        return stored;
    Kdr_String relative = host::normalizePath(stored);
    Kdr_String base = asFolder(folder);
    Kdr_String application = asFolder(gSettings.appDir());
    if (const int up = relative.find("../", false); up >= 0)
    {
        relative.erase(static_cast<size_t>(up), 3);
        base = parentFolder(base);
        application = parentFolder(application);
    }
    if (!base.empty() && host::fileExists(base + relative))
        return base + relative;
    if (!application.empty() && host::fileExists(application + relative))
        return application + relative;
    return stored;
}
