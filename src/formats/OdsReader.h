#pragma once

#include "formats/SheetFiles.h"

#include <string>
#include <string_view>

namespace formats
{
class Archive;
class SheetBuilder;

/// Reads the chosen table of an .ods archive (empty name: the first) into the builder.
bool readOds(Archive& archive, std::string_view sheetName, SheetBuilder& builder, const ReadLimits& limits,
             std::string& error);
} // namespace formats
