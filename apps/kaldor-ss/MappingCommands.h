#pragma once

#include <string>

class ZxObjectMap;

namespace cli
{
class Console;

/// A binding as the mapping page lists it: object, variable and kind joined by '.', the kind
/// left out for dialog variables and section sizes, the description appended directly.
std::string bindingText(const ZxObjectMap& binding);

/// `catalogue --macro FILE`: every bindable variable of the macro, one line each: its text
/// (bindingText), TAB, the kind word, TAB, the visibility caption.
int runCatalogue(const std::string& macroPath, Console& console);
/// `mapping show SHEET [--target TARGET]`: the bindings of the sheet's mapping file, one line
/// each: target, spreadsheet variable, bindingText and kind word, separated by TAB.
int runMappingShow(const std::string& sheet, const std::string& target, Console& console);
} // namespace cli
