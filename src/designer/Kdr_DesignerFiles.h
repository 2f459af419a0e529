#pragma once

#include "host/Kdr_StringArray.h"

// Where dialog templates live: "Dialog Templates/Dialog Design/" in the library folder. A
// template's name is its property file's path below that folder without extension, with
// sub-folders separated by '/'; paths are accepted with '\' or '/' alike.

/// The designer root folder: the library folder followed by "Dialog Templates/Dialog Design/".
Kdr_String getDesignerRootFolder();
/// The names of every template ("*.txt") in the root folder and its sub-folders, sorted.
void getModuleImages(Kdr_StringArray& names);
/// The variable names (contents of the edit-field controls) of the template at `path`; empty
/// when it cannot be read.
void GetImageDlgCtrlNames(const Kdr_String& path, Kdr_StringArray& names);

namespace designer
{
/// `path` lexically normalised ("." and ".." resolved, repeated separators merged) with '/'
/// separators, so that no ".." can lead a path that begins with the root folder out of it.
Kdr_String normalizeTemplatePath(const Kdr_String& path);
/// The template name of `path` (below the root folder, without extension); false when the
/// path does not lie below the root folder.
bool templateNameOfPath(const Kdr_String& path, Kdr_String& name);
/// The property file a macro tab's template path names: an absolute path as it is, else a
/// template name below the root folder (".txt" may be given or left out). Empty for an
/// empty path.
Kdr_String resolveTemplatePath(const Kdr_String& path);
/// The property file of a template name: root folder, name, ".txt".
Kdr_String templateFilePath(const Kdr_String& name);
/// The image of a template name: root folder, name, ".bmp".
Kdr_String templateImagePath(const Kdr_String& name);
} // namespace designer
