#pragma once

// The workbook readers on archives of any content. A refusal must give a reason; an accepted
// workbook must write as .xlsx and read back with the same values and formulas, so whatever the
// reader lets into a sheet is something the rest of the program can hold.

#include "formats/SheetFiles.h"

#include <cstddef>
#include <cstdint>

namespace fuzz
{
/// One fuzz input read as a workbook of `kind`; `name` tells the runs' scratch files apart.
int fuzzWorkbook(const std::uint8_t* data, std::size_t size, formats::WorkbookKind kind, const char* name);
} // namespace fuzz
