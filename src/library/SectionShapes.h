#pragma once

#include "host/Kdr_StringArray.h"

#include <string_view>
#include <vector>

/// The built-in section shapes a profile table's picture may name (1 to 24), with what the
/// library dialogs show of them.
struct Kdr_SectionShape
{
    int number = 0;
    /// The base name of the shape's icon files ("ProfSectionI" for "ProfSectionI-big.bmp").
    const char* iconBase = "";
    /// The host dialog string of the shape's display name.
    int textNumber = 0;
    /// The names of the shape's properties: the headers of a table's value columns.
    std::vector<const char*> properties;
};

constexpr int kFirstSectionShape = 1;
constexpr int kLastSectionShape = 24;

/// The shape `number`, or null outside 1 to 24.
const Kdr_SectionShape* sectionShape(int number);
/// The shape a picture names: a picture that is exactly a number from 1 to 24. Null for a
/// drawing file or anything else.
const Kdr_SectionShape* sectionShapeOfPicture(const Kdr_String& picture);
/// How lists show a shape: its display name between "<" and ">".
Kdr_String shownShapeName(int number);
/// The shape a shown text names (searching 1 to 24 for the same shown text), or -1.
int shapeOfShownName(const Kdr_String& shown);

/// The text the picture combo shows for a picture: a shape as its shown name, a drawing as
/// its file name.
Kdr_String shownPicture(const Kdr_String& picture);
/// The picture a shown text stands for: a shape's number as decimal text, a text ending in
/// ".dwg" as it is, anything else "-1".
Kdr_String pictureOfShownText(const Kdr_String& shown);

/// The property names of a shape, as a list.
Kdr_StringArray shapePropertyNames(int number);

/// The file of a picture's icon, big or small, in the application's "icons" folder:
/// the shape's icon base, or a drawing's file name without extension; without a picture the
/// user section `userSection` ("User Sections/" and its name without extension). "-big.bmp"
/// or "-small.bmp" follows. A missing file falls back, for a user section in small form, to
/// the user section's own bitmap in the library (copied into "icons" as
/// "<name>-automated.bmp" when that copy is missing or older), and otherwise to
/// "Unknown-big.bmp" or "Unknown-small.bmp".
Kdr_String sectionIconFile(const Kdr_String& picture, const Kdr_String& userSection, bool big);
