#pragma once

#include <string>
#include <string_view>

struct DlgEditLibData;

// The section library record as JSON:
//
//   { "groups": [ {"id": 0, "enabled": true, "image": "rolled.bmp",
//                  "names": ["Rolled sections", "Gewalste profielen", ...]} ],
//     "types":  [ {"enabled": true, "image": "", "group": 0, "table": "IPE",
//                  "names": ["IPE", "IPE", ...]} ],
//     "tables": ["HEA", "IPE"],
//     "userSections": ["Crane rail.dwg"] }
//
// Every key is optional; unknown keys are errors. Texts are kept byte for byte (UTF-8).

/// Reads a record from JSON text; `source` names it in messages. On failure `error` names the
/// source, the JSON pointer of the place and what was expected; `data` is then unchanged.
bool parseEditLibJson(std::string_view text, const std::string& source, DlgEditLibData& data,
                      std::string& error);
/// The same from a file.
bool loadEditLibJson(const std::string& path, DlgEditLibData& data, std::string& error);
/// The record as JSON text (two-space indentation, ending with a line feed). False when a text
/// is not UTF-8.
bool formatEditLibJson(const DlgEditLibData& data, std::string& text, std::string& error);
/// Saves the record atomically.
bool saveEditLibJson(const std::string& path, const DlgEditLibData& data, std::string& error);
