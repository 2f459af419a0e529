#pragma once

#include <string>
#include <string_view>

class Kdr_DbMacro;
class MacroData;

// A macro with its dialog data as a JSON file:
//
//   { "name": "EP-1",
//     "generalVariables": [ {"name": "gen_Grade", "value": 235.0} ],
//     "baseProfiles": [ {"section": "IPE-200", "material": "S235"} ],
//     "modules": [ { "name", "group", "kind": "module" | "bolt" | "placement",
//                    "variables", "cuts", "patterns" (bolt), "members" (placement) } ],
//     "tabs": [ { "name", "kind", "template", "cells", "patterns", "boltData",
//                 "memberGroups", "flexFix", "arrays", "cuts", "drawingList" } ],
//     "currentTab": "Plate",
//     "standards": [ {"sheet": "EndPlate", "target": "Plate"} ] }
//
// Unknown keys are errors; a missing optional key takes its default. Texts are kept byte for
// byte, so they must be valid UTF-8 to be saved. Dialog references are not stored: they
// belong to a shown dialog. The whole schema is in docs/macro-json.md.

/// Loads a macro and its dialog data from a JSON file. On failure `error` names the file,
/// the place (a JSON pointer such as "/modules/0/variables/2/value", or the line and column
/// of a syntax error) and what was expected; `macro` and `data` are then unchanged.
bool loadMacroJson(const std::string& path, Kdr_DbMacro& macro, MacroData& data, std::string& error);
/// Saves a macro and its dialog data as a JSON file, atomically. False with `error` set when
/// the macro holds something JSON cannot carry (a text that is not UTF-8, a number that is
/// not finite) or the file cannot be written; an existing file is then left as it was.
bool saveMacroJson(const std::string& path, const Kdr_DbMacro& macro, const MacroData& data,
                   std::string& error);

/// loadMacroJson on text; `source` names it in messages.
bool parseMacroJson(std::string_view text, const std::string& source, Kdr_DbMacro& macro, MacroData& data,
                    std::string& error);
/// The JSON text saveMacroJson writes (two-space indentation, ending with a line feed).
bool formatMacroJson(const Kdr_DbMacro& macro, const MacroData& data, std::string& text, std::string& error);
