#pragma once

#include <string>
#include <string_view>

namespace ui
{
/// What a person sees of an 8-bit text, as UTF-8: a text that is valid UTF-8 is shown as it
/// is; any other text is read byte by byte as Windows-1252 (the encoding of the host's
/// files and dialogs). Every renderer and every message on a terminal goes through this one
/// function, so a text looks the same wherever it is shown.
std::string screenText(std::string_view bytes);

/// Whether `bytes` is well-formed UTF-8 (no overlong forms, no surrogates, nothing above
/// U+10FFFF).
bool isValidUtf8(std::string_view bytes);
} // namespace ui
