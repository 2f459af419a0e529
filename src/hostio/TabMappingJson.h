#pragma once

#include <string>
#include <string_view>

class TabMappingData;

// The lists of a standards mapping page as a JSON file (docs/tab-mapping-json.md):
//
//   { "sheets": [ {"name": "FinPlate", "target": "BeamWeb"} ],
//     "moduleGroups": ["FinPlate", "FinBolts"] }
//
// Both keys are optional (empty lists); a sheet's "target" is optional (empty). Unknown keys
// are errors. The catalogue is not stored: it is built from the macro the page works on.

/// Reads the lists from JSON text; `source` names it in messages. On failure `error` says
/// where (a JSON pointer, or line and column) and `data` is unchanged.
bool parseTabMappingJson(std::string_view text, const std::string& source, TabMappingData& data,
                         std::string& error);
bool loadTabMappingJson(const std::string& path, TabMappingData& data, std::string& error);
/// The JSON text of the lists (two-space indentation, ending with a line feed). False when a
/// text is not UTF-8.
bool formatTabMappingJson(const TabMappingData& data, std::string& text, std::string& error);
/// Writes the lists atomically.
bool saveTabMappingJson(const std::string& path, const TabMappingData& data, std::string& error);
