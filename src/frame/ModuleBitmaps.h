#pragma once

#include "ui/ResourceModule.h"

/// Bitmaps and icons of the spreadsheet module, drawn in code.
enum ModuleBitmapId
{
    IDI_DESIGNER = 148,     ///< window icon of the dialog designer
    IDI_REMOVE = 206,       ///< remove the selected controls or rules
    IDI_ADD = 212,          ///< add a control or rule
    IDI_COPY = 223,         ///< copy the selected controls
    IDI_ATTACH_IMAGE = 231, ///< attach a background image
    IDI_OPEN = 232,         ///< open a template or properties file
    IDI_SAVE_AS = 233,      ///< save a template or properties file
    IDI_EDIT_RULES = 234,   ///< the rules editor's extra command
    IDI_SET_WIDTH = 235,    ///< give the selected controls one width
    IDI_SET_HEIGHT = 236,   ///< give the selected controls one height
    IDI_FLEX_FIX = 239,     ///< flex/fix toggle buttons
    IDB_PICTURE_ROW = 251,  ///< marks a row of the standards grid that shows a picture
    IDI_MOVE_UP = 261,      ///< move a sheet up in the list
    IDI_MOVE_DOWN = 262,    ///< move a sheet down in the list
};

/// The colour that button pictures treat as transparent.
inline constexpr COLORREF kButtonTransparent = RGB(255, 0, 255);

/// Registers the module's pictures: the check-box bitmaps IDB_CHECK_OFF and IDB_CHECK_ON
/// (8134, 8136), bitmap 251, and the icons above. Icons are
/// 16 × 16 on magenta (kButtonTransparent), check boxes 13 × 13 on white.
void registerModuleBitmaps(ui::ResourceModule& module);
