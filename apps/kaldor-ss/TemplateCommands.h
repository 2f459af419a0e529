#pragma once

#include <string>

namespace cli
{
class Console;

// The `template` commands work on the dialog templates of the library folder's
// "Dialog Templates/Dialog Design/" folder. PATH is a template name below that folder
// ("End plate", "Plates/Fin plate"; ".txt" may be given) or the full path of its file.

/// `template list`: every template name, sub-folders written with '/', one a line, sorted.
int runTemplateList(Console& console);
/// `template show PATH`: one line per control in list order: window identifier, TAB, window
/// class, TAB, "left,top-right,bottom" in pixels of the template's picture, TAB, contents.
int runTemplateShow(const std::string& path, Console& console);
/// `template names PATH`: the variable names of the template's edit fields, one a line.
int runTemplateNames(const std::string& path, Console& console);
/// `template positions PATH`: the positions of the controls as factors of the picture.
int runTemplatePositions(const std::string& path, Console& console);
} // namespace cli
