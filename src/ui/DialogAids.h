#pragma once

#include "host/Kdr_StringArray.h"
#include "ui/WinDefs.h"

namespace ui
{
class Button;
class ComboBox;
class Window;
} // namespace ui

/// Fills a combo box with `items` (replacing what it held) and selects the item equal to
/// `current` (letter case ignored). When none is equal, an editable combo box shows `current`
/// as its text and a drop-down list has no selection. Returns the selected index, or −1.
int FillCombo(ui::ComboBox* combo, const Kdr_StringArray& items, const Kdr_String& current);
/// Shows or hides child `id` of `parent`; false when there is no such child.
bool ShowOrHideCtrl(ui::Window* parent, int id, bool show);
/// Takes a check box out of its third state: an indeterminate button becomes checked, and a
/// three-state button becomes a two-state one of the same kind (automatic or not).
void disableTriState(ui::Button* button);
/// Asks for a file to open or a file to save through the user agent. `start` is the proposed
/// file or a folder (ending with a separator); `filter` is "Description|pattern|…". Without
/// `flags`, opening asks for an existing file and saving asks before overwriting. True with
/// the chosen path in `path`.
bool DlgOpenSave(bool open, const Kdr_String& title, const Kdr_String& defaultExtension,
                 const Kdr_String& filter, const Kdr_String& start, Kdr_String& path, unsigned flags = 0,
                 ui::Window* owner = nullptr);
/// The host's information dialog: a text with a title and one button.
void ExportStartDlgInfo(const Kdr_String& text, const Kdr_String& title, const Kdr_String& buttonText);
