#pragma once

#include <string>
#include <vector>

namespace cli
{
class Console;

/// `catalogue --macro FILE`: every bindable variable of the macro, one line each: its text
/// as the mapping page lists it, TAB, the kind word, TAB, the visibility caption.
int runCatalogue(const std::string& macroPath, Console& console);
/// `mapping show SHEET [--target TARGET]`: the bindings of the sheet's mapping file, one line
/// each: target, spreadsheet variable, bindingText and kind word, separated by TAB.
int runMappingShow(const std::string& sheet, const std::string& target, Console& console);

/// `mapping choices SHEET --macro FILE [--target T]`: per Input then Output variable of the
/// sheet a line "Input|Output" TAB type TAB name TAB the preselected choice (empty for none),
/// followed by one line per choice the mapping page offers, TAB then its text, in page order.
int runMappingChoices(const std::string& sheet, const std::string& macroPath, const std::string& target,
                      Console& console);

struct MappingBindRequest
{
    std::string sheet;
    std::string macro;
    std::string target;
    std::vector<std::string> bindings;
    std::string out;
    bool inPlace = false;
};

/// `mapping bind SHEET --macro FILE VAR=CHOICE … [--target T] [--out FILE | --in-place]`:
/// the variables start from the bindings of the target, the pairs change them, and the
/// result is stored as the mapping page stores it (a new line under a new key when anything
/// changed). The macro's target for the sheet becomes that key, and the key is printed.
int runMappingBind(const MappingBindRequest& request, Console& console);
} // namespace cli
