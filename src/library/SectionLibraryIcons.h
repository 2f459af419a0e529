#pragma once

#include "ui/ResourceModule.h"

/// Pictures of the row commands of the profile tables page.
enum SectionLibraryIconId
{
    IDI_LIB_SORT = 223, ///< shared with the copy command's picture
    IDI_LIB_FIT = 224,
    IDI_LIB_INSERT_ROW = 225,
    IDI_LIB_DELETE_ROW = 226,
    IDI_LIB_ROW_UP = 227,
    IDI_LIB_ROW_DOWN = 228,
    IDI_LIB_FIND = 238,
};

/// Registers the row command pictures (16 × 16, drawn on the buttons' transparent magenta),
/// all but picture 223, which the module's own pictures hold already.
void registerSectionLibraryIcons(ui::ResourceModule& module);
