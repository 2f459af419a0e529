#pragma once

#include "grid/Value.h"
#include "grid/functions/Result.h"

#include <optional>
#include <string>
#include <string_view>

namespace grid::fn
{
/// A text read as a number the way a spreadsheet coerces it: a plain number ("1.5",
/// "-2e3", "25%") or a date and/or time ("2024-03-15", "14:30").
std::optional<double> textToNumber(std::string_view text);

/// A value as a number: logicals are 1 and 0, empty is 0, a text must read as a number,
/// an error stays the error.
Result<double> toNumber(const Value& value);

/// A value as a text: numbers in General format, logicals "TRUE"/"FALSE", empty "".
Result<std::string> toText(const Value& value);

/// A value as a logical: numbers are true unless 0, the texts "TRUE" and "FALSE" (case
/// ignored) are themselves, empty is false; other texts are #VALUE!.
Result<bool> toLogical(const Value& value);

/// ASCII upper-case copy of a text.
std::string upperAscii(std::string_view text);
/// ASCII lower-case copy of a text.
std::string lowerAscii(std::string_view text);
/// True when the two texts are equal, ASCII letter case ignored.
bool equalNoCase(std::string_view a, std::string_view b);
/// Compares two texts with ASCII letter case ignored: negative, 0 or positive.
int compareNoCase(std::string_view a, std::string_view b);
} // namespace grid::fn
