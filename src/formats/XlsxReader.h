#pragma once

#include "formats/SheetFiles.h"

#include <string>
#include <string_view>

namespace formats
{
class Archive;
class SheetBuilder;

/// Reads the chosen worksheet of an .xlsx archive (empty name: the first) into the builder.
bool readXlsx(Archive& archive, std::string_view sheetName, SheetBuilder& builder, std::string& error);
} // namespace formats
