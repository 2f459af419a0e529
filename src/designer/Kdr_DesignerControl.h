#pragma once

#include "host/Kdr_StringArray.h"

#include <array>

class Kdr_PropertiesList;

namespace ui
{
class Button;
class ComboBox;
class Edit;
class Window;
} // namespace ui

/// What a control of a dialog template is and what it is bound to. Stored in template files
/// as a plain integer; a value outside the table is drawn as a text label.
enum Kdr_ControlType : int
{
    ctText = 0,
    ctGroup = 1,
    ctCellEdit = 2,
    ctCellCombo = 3,
    ctPatternCount1 = 4,
    ctPatternCount2 = 5,
    ctPatternButton = 6,
    ctBoltProp1 = 7,
    ctBoltProp2 = 8,
    ctBoltProp3 = 9,
    ctBoltProp4 = 10,
    ctBoltProp5 = 11,
    ctButton = 12,
    ctProfSection = 13,
    ctProfButton = 14,
    ctProfOffsetType = 15,
    ctProfAngle = 16,
    ctProfMoreButton = 17,
    ctArrayProp1 = 18,
    ctArrayProp2 = 19,
    ctArrayProp3 = 20,
    ctArrayProp4 = 21,
    ctArrayProp5 = 22,
    ctArrayEntry = 23,
    ctArrayButton = 24,
    ctCellButtonA = 25,
    ctCellButtonB = 26,
    ctDrawingList = 27,
    ctCutType = 28,
    ctCellCheck = 29,
    ctFlexFixButton = 30,
};

/// The number of control types (0 to 30).
inline constexpr int kNrControlTypes = 31;

/// The window class a control of `type` is created with: "BUTTON", "EDIT", "COMBOBOX", or
/// "STATIC" for text labels and for any value outside the table.
const char* getControlClassName(int type);
bool isButtonType(int type);
bool isEditType(int type);
bool isComboType(int type);

/// One control of a dialog template: its type, its rectangle as fractions of the background
/// image, its caption or binding and the extra texts of its type. Identifier, tab position,
/// read-only flag and combo items belong to a shown dialog and are never stored.
class Kdr_DesignerControl
{
public:
    Kdr_DesignerControl() = default;
    Kdr_DesignerControl(const Kdr_DesignerControl&) = default;
    Kdr_DesignerControl& operator=(const Kdr_DesignerControl&) = default;
    virtual ~Kdr_DesignerControl() = default;

    /// Reads the seven keys of control `index` ("type3", "topLeftX3", …). A missing "type"
    /// gives 0, missing coordinates and contents leave the members as they are, a missing
    /// "comboList" splits an empty text. Values are taken as the list holds them; the template
    /// reader checks them before it calls this.
    void getFromPropList(const Kdr_PropertiesList& list, int index);
    /// Writes the seven keys of control `index` in file order; "comboList" gets the merged
    /// extra list.
    void setToPropList(Kdr_PropertiesList& list, int index) const;

    /// The extra text as the designer and the file show it: for cell buttons (25, 26) the four
    /// cell-button fields and `comboList` joined by ";", for flex/fix buttons (30) the four flex
    /// fields joined by ";", for every other type `comboList` itself.
    Kdr_String getMergedExtComboList() const;
    /// Takes a merged extra text apart again (see getMergedExtComboList). Always true.
    bool setSplitExtComboList(const Kdr_String& text);
    /// The lines of the file named by `comboList` when it exists; `items` is left as it was
    /// otherwise.
    void getComboItemsFromFile(Kdr_StringArray& items) const;

    /// The dialog's child with `resourceId`; false for a null dialog or no such child.
    bool getCtrlPtr(const ui::Window* dialog, ui::Window*& window) const;
    /// The child as a combo box, only for types 3, 13, 15 and 16.
    ui::ComboBox* getComboPtr(const ui::Window* dialog) const;
    /// The child as a button, only for button types with a non-zero identifier.
    ui::Button* getButtonPtr(const ui::Window* dialog) const;
    /// The child as an edit field, only for edit types with a non-zero identifier.
    ui::Edit* getEditPtr(const ui::Window* dialog) const;

    /// Whether two controls hold the same template data (type, rectangle, texts); identifier,
    /// tab position, read-only flag and combo items are left out, as a file does not keep them.
    bool sameTemplateData(const Kdr_DesignerControl& other) const;

    Kdr_ControlType type = ctText;
    bool readOnly = false;
    int resourceId = 0;
    int tabOrder = 0;
    double topLeftX = 0.0;
    double topLeftY = 0.0;
    double bottomRightX = 0.0;
    double bottomRightY = 0.0;
    Kdr_String contents;
    Kdr_String comboList;
    std::array<Kdr_String, 4> flexFields;
    std::array<Kdr_String, 4> cellBtnFields;
    Kdr_StringArray comboItems;
};
