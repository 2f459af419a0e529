#pragma once

#include "host/Kdr_Array.h"
#include "host/Kdr_StringArray.h"

/// The few file and text services the mapping file needs from the host, in one place.
namespace standards
{
/// Reads a text file into lines (without line ends); false when it cannot be read.
bool readTextLines(const Kdr_String& path, Kdr_StringArray& lines);
/// Writes lines atomically (temporary file beside the target, then rename); false on failure,
/// and then the old file is untouched.
bool writeTextLines(const Kdr_String& path, const Kdr_StringArray& lines);
/// `path` with its extension replaced by `extension` (given without the point).
Kdr_String changeFileExtension(const Kdr_String& path, const Kdr_String& extension);
/// Positions of the texts that repeat an earlier text of the list (case ignored).
void findDuplicateTexts(const Kdr_StringArray& texts, AcArray<int>& positions);
/// True when the text holds a character a file name cannot hold.
bool hasInvalidFileNameCharacters(const Kdr_String& text);
} // namespace standards
