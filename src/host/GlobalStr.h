#pragma once

#include "host/Kdr_String.h"

#include <cstdint>

namespace host
{
/// Handle of a movable text block, as the grid's custom-function records carry it.
using GlobalHandle = std::uint32_t;
} // namespace host

/// Allocates a movable block holding `text` with its terminating NUL; 0 when it fails.
host::GlobalHandle setGlobalStr(const Kdr_String& text);
/// Copies the text out of a block and frees the block. False for an unknown handle.
bool getGlobalStr(host::GlobalHandle handle, Kdr_String& text);
/// Frees a block without reading it (a result the engine discards).
void freeGlobalStr(host::GlobalHandle handle);
/// Number of blocks still allocated (leak checks in tests).
int globalStrCount();
