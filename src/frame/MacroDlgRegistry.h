#pragma once

#include <cstddef>

class Kdr_DlgMacro;
class MacroData;

// The modeless macro dialogs: each lives in a slot whose index is the handle the host holds.
// A freed slot is reused while it is not trailing; trailing empty slots are dropped. Closing a
// busy dialog is deferred: a 50 ms timer retries it from the message loop until the dialog is
// no longer busy.

/// Opens a modeless macro dialog on a copy of `data` in the last empty slot (a new slot at the
/// end when none is empty) and gives its index. Unless `keepFocus`, the focus goes back to the
/// host's main window. False (index -1, no slot taken) when the dialog cannot be made.
bool StartDlgMacroModeless(bool keepFocus, MacroData& data, int& index);
/// Copies the dialog data of the dialog in slot `index`; false for an empty or invalid slot.
bool GetDlgMacroData(int index, MacroData& data);
/// Closes the dialog in slot `index`. A busy dialog is closed later by a timer and true is
/// returned at once. False for an empty or invalid slot, or when the window cannot be
/// destroyed (the dialog then stays in its slot).
bool EndDlgMacroModeless(int index);
/// Closes every modeless macro dialog, busy or not, and stops every pending close (the
/// module is being unloaded).
void DestroyAllMacroDlgs();

/// The dialog in slot `index`, or null.
Kdr_DlgMacro* macroDlgInSlot(int index);
/// The number of slots, empty ones included.
int macroDlgSlotCount();
/// The number of closes waiting for their timer.
std::size_t pendingMacroDlgCloses();
/// Closes the dialog in slot `index` only when that slot still holds `dialog`: the dialog's
/// own close asks for this from the message loop, after its handler has returned.
bool endMacroDlgInSlot(int index, const Kdr_DlgMacro* dialog);
