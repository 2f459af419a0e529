#pragma once

#include "host/MacroBoltData.h"
#include "spread/Kdr_Spread.h"
#include "ui/CButtonST.h"
#include "ui/Dialog.h"

#include <functional>

/// The bolt options dialog of a bolt tab: assembly, diameter, lengths and tolerance, the four
/// bolt flags, nut and washer switches, the hole columns that take part and the slotted holes.
///
/// Every accepted change (Enter anywhere, OK, a click on a flag, switch, the extra flag or
/// "Activeer", a new assembly, diameter or slot kind) is read back, validated and handed to
/// the bolt tab, and the bolt data the tab then holds is shown again. OK closes the dialog only
/// when that succeeded.
class Kdr_DlgBoltOptions : public ui::Dialog
{
public:
    static constexpr const char* kSizeKey = "DLG_MACRO_BOLTADVANCED";

    explicit Kdr_DlgBoltOptions(ui::Window* parent = nullptr);

    /// The bolt data shown and edited.
    MacroBoltData boltData;
    /// The diameters offered.
    Kdr_StringArray diameters;
    /// The bolt tab: applies accepted bolt data and returns what the tab then holds. Without
    /// one, applying succeeds without validation and changes only `boltData`.
    std::function<MacroBoltData(const MacroBoltData&)> applyToTab;

    /// Reads the dialog back, validates the slots and hands the data to the bolt tab; false
    /// (nothing applied, the dialog stays as it is) when a slot is not valid.
    bool apply();

    bool OnInitDialog() override;
    bool PreTranslateMessage(ui::Message& message) override;

protected:
    void OnOK() override;
    void OnDestroy() override;

private:
    void showBoltData();
    void showSlot(int slot);
    void enableSlotFields();
    void readBack();
    void readSlot(int slot);
    bool validateSlots();
    void slotChanged();
    void buttonClicked(int id);

    Kdr_Spread columns_;
    CButtonST picture_;
    /// The slot shown in the slot fields; -1 when the bolt data has none.
    int shownSlot_ = -1;
};
