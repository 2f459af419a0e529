#pragma once

// The engine's own sheet file format: line-oriented 8-bit text, one record per line, fields
// separated by TAB. docs/sheet-format.md describes it for users.

#include "grid/FileText.h"

#include <string>
#include <string_view>

namespace grid
{
class Sheet;

/// The first line of every sheet file is this word, a blank and the version.
inline constexpr std::string_view kSheetMagic = "KALDOR-SHEET";
inline constexpr int kSheetVersion = 1;

/// The sheet in the sheet format. With `dataOnly`, only the size and the entries are written.
std::string writeSheetText(const Sheet& sheet, bool dataOnly = false);

/// Reads a sheet-format text into `sheet`, which should be fresh (a default-constructed sheet
/// with at most its custom functions registered). On failure `error` names the line and the
/// fault and `sheet` is left half-filled: read into a scratch sheet and keep it only on
/// success (Sheet::loadFile does).
bool readSheetText(std::string_view text, Sheet& sheet, FileError& error);
} // namespace grid
