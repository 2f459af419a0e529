#include "designer/Kdr_DesignerFiles.h"

#include "designer/Kdr_DlgDesignerData.h"
#include "host/FileFunctions.h"
#include "host/Settings.h"

#include <filesystem>

Kdr_String getDesignerRootFolder()
{
    return gSettings.libDir() + "Dialog Templates/Dialog Design/";
}

void getModuleImages(Kdr_StringArray& names)
{
    names.clear();
    const Kdr_String root = getDesignerRootFolder();
    Kdr_StringArray files;
    if (!ObjectExportFindFilesRecursive(root, "*.txt", files))
        return;
    for (const Kdr_String& file : files)
    {
        Kdr_String name;
        if (designer::templateNameOfPath(file, name))
            names.append(name);
    }
    names.sort();
}

void GetImageDlgCtrlNames(const Kdr_String& path, Kdr_StringArray& names)
{
    names.clear();
    Kdr_DlgDesignerData data;
    if (data.readFromFile(path, false))
        data.getAllCtrlNames(names);
}

namespace designer
{
Kdr_String normalizeTemplatePath(const Kdr_String& path)
{
    if (path.isEmpty())
        return {};
    return Kdr_String(host::toPath(path).lexically_normal().generic_string());
}

bool templateNameOfPath(const Kdr_String& path, Kdr_String& name)
{
    const Kdr_String root = normalizeTemplatePath(getDesignerRootFolder());
    const Kdr_String full = normalizeTemplatePath(path);
    // The root folder ends with a separator, so a folder that merely starts with the same
    // letters ("Dialog Design2") is not taken for it.
    if (full.length() <= root.length() || !full.startsWith(root, true))
        return false;
    Kdr_String relative = full.mid(root.length());
    name = changeExtension(relative, "");
    return !name.isEmpty();
}

Kdr_String resolveTemplatePath(const Kdr_String& path)
{
    if (path.isEmpty())
        return {};
    if (host::toPath(path).is_absolute())
        return host::normalizePath(path);
    Kdr_String name = host::normalizePath(path);
    if (name.endsWith(".txt", false))
        name = name.left(name.length() - 4);
    return templateFilePath(name);
}

Kdr_String templateFilePath(const Kdr_String& name)
{
    return getDesignerRootFolder() + host::normalizePath(name) + ".txt";
}

Kdr_String templateImagePath(const Kdr_String& name)
{
    return getDesignerRootFolder() + host::normalizePath(name) + ".bmp";
}
} // namespace designer
