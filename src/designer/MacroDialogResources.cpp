#include "designer/MacroDialogResources.h"

#include "frame/ModuleBitmaps.h"
#include "ui/Bitmap.h"

namespace
{
using ui::Bitmap;
using ui::Point;
using ui::Rect;

constexpr COLORREF kInk = RGB(0, 0, 0);
constexpr COLORREF kSteel = RGB(0, 70, 200);
constexpr COLORREF kWarning = RGB(200, 0, 0);

Bitmap icon()
{
    return Bitmap(16, 16, kButtonTransparent);
}

// A pointer picking a part: the selection of other macros.
Bitmap selectIcon()
{
    Bitmap b = icon();
    b.frameRect(Rect(8, 8, 15, 15), kSteel);
    for (int i = 0; i < 9; ++i)
        b.line({1, 1 + i}, {1 + i, 1 + i}, kInk);
    b.line({4, 8}, {7, 12}, kInk);
    return b;
}

// A cube seen along one of the axes, or in three dimensions.
Bitmap viewIcon(int direction)
{
    Bitmap b = icon();
    switch (direction)
    {
    case 3: // from the top: a square with its centre marked
        b.frameRect(Rect(2, 2, 14, 14), kInk);
        b.fillRect(Rect(7, 7, 9, 9), kSteel);
        break;
    case 0: // from the front: a wide rectangle
        b.frameRect(Rect(1, 5, 15, 12), kInk);
        break;
    case 1: // from the side: a tall rectangle
        b.frameRect(Rect(5, 1, 11, 15), kInk);
        break;
    default: // in 3D: a cube with a receding top and side
        b.frameRect(Rect(1, 5, 11, 15), kInk);
        b.line({1, 5}, {5, 1}, kInk);
        b.line({11, 5}, {15, 1}, kInk);
        b.line({5, 1}, {15, 1}, kInk);
        b.line({15, 1}, {15, 11}, kInk);
        b.line({11, 15}, {15, 11}, kInk);
        break;
    }
    return b;
}

// Two overlapping parts with a mark where they meet: the clash check.
Bitmap clashIcon()
{
    Bitmap b = icon();
    b.frameRect(Rect(1, 1, 10, 10), kInk);
    b.frameRect(Rect(6, 6, 15, 15), kInk);
    b.fillRect(Rect(6, 6, 10, 10), kWarning);
    return b;
}

// A sheet with a grid: values from the connection standards.
Bitmap standardsIcon()
{
    Bitmap b = icon();
    b.fillRect(Rect(2, 1, 14, 15), RGB(255, 255, 255));
    b.frameRect(Rect(2, 1, 14, 15), kInk);
    for (int y = 5; y < 15; y += 3)
        b.line({2, y}, {13, y}, kSteel);
    b.line({7, 1}, {7, 14}, kSteel);
    return b;
}

void registerIcons(ui::ResourceModule& module)
{
    module.addIcon(217, selectIcon());
    module.addIcon(218, viewIcon(3));
    module.addIcon(220, viewIcon(0));
    module.addIcon(222, viewIcon(1));
    module.addIcon(221, viewIcon(2));
    module.addIcon(237, clashIcon());
    module.addIcon(259, standardsIcon());
}
constexpr std::uint32_t kPopup = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr std::uint32_t kIconButton = WS_TABSTOP | BS_PUSHBUTTON | BS_ICON;

void registerMacroDialog(ui::ResourceModule& module)
{
    // Captions are replaced by host texts when the dialog opens.
    ui::DialogTemplate t(IDD_MACRO, "Macro", 0, 0, 330, 252);
    t.style = kPopup | WS_THICKFRAME | WS_MINIMIZEBOX;
    t.control(IDC_MACRO_SELECT, "BUTTON", "", kIconButton, 5, 8, 18, 14)
        .groupBox(IDC_MACRO_GROUP_FILTER_BOX, "Groups", 27, 0, 100, 27)
        .comboBox(IDC_MACRO_GROUP_FILTER, 31, 10, 92, 100, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP)
        .groupBox(IDC_MACRO_MACRO_FILTER_BOX, "Macros", 130, 0, 100, 27)
        .comboBox(IDC_MACRO_MACRO_FILTER, 134, 10, 92, 100, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP)
        .control(IDC_MACRO_VIEW_3, "BUTTON", "", kIconButton, 236, 8, 18, 14)
        .control(IDC_MACRO_VIEW_0, "BUTTON", "", kIconButton, 258, 8, 18, 14)
        .control(IDC_MACRO_VIEW_1, "BUTTON", "", kIconButton, 280, 8, 18, 14)
        .control(IDC_MACRO_VIEW_2, "BUTTON", "", kIconButton, 302, 8, 18, 14)
        .control(IDC_MACRO_CLASH, "BUTTON", "", WS_TABSTOP | BS_AUTOCHECKBOX | BS_PUSHLIKE | BS_ICON, 5, 31,
                 18, 14)
        .pushButton(IDC_MACRO_REAPPLY, "Re-apply", 27, 31, 56, 14)
        .control(IDC_MACRO_STANDARDS, "BUTTON", "", kIconButton, 87, 31, 18, 14)
        .control(IDC_MACRO_LOAD_PROPS, "BUTTON", "", kIconButton, 109, 31, 18, 14)
        .control(IDC_MACRO_SAVE_PROPS, "BUTTON", "", kIconButton, 131, 31, 18, 14)
        .tabControl(IDC_MACRO_TABS, 5, 50, 320, 178, WS_TABSTOP)
        .pushButton(IDOK, "Close", 275, 233, 50, 14);
    module.addDialog(std::move(t));

    // A variable page: the template area on the left, the variable grid beside it, the bolt
    // row below them.
    ui::DialogTemplate page(IDD_MACRO_PAGE, "", 0, 0, 400, 186);
    page.style = WS_CHILD | DS_CONTROL;
    page.control(IDC_PAGE_TEMPLATE_AREA, "STATIC", "", SS_SUNKEN, 3, 3, 206, 160)
        .control(IDC_PAGE_GRID, "STATIC", "", 0, 213, 3, 184, 160)
        .ltext(IDC_PAGE_ASSEMBLY_LABEL, "Samenstelling", 3, 170, 50, 8)
        .comboBox(IDC_PAGE_ASSEMBLY, 55, 168, 110, 100, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP)
        .ltext(IDC_PAGE_DIAMETER_LABEL, "Diameter", 170, 170, 35, 8)
        .comboBox(IDC_PAGE_DIAMETER, 207, 168, 50, 100, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP)
        .pushButton(IDC_PAGE_ADVANCED, "Geavanceerd ...", 262, 168, 64, 14);
    module.addDialog(std::move(page));

    ui::DialogTemplate profiles(IDD_MACRO_PROFILES, "", 0, 0, 400, 186);
    profiles.style = WS_CHILD | DS_CONTROL;
    profiles.ltext(-1, "", 3, 3, 200, 8);
    module.addDialog(std::move(profiles));

    ui::DialogTemplate files(IDD_PROP_FILES, "Properties", 0, 0, 200, 58);
    files.style = kPopup | DS_MODALFRAME;
    files.comboBox(IDC_PROP_FILE, 7, 7, 186, 100, CBS_DROPDOWN | ES_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP)
        .defPushButton(IDOK, "OK", 89, 37, 50, 14)
        .pushButton(IDCANCEL, "Cancel", 143, 37, 50, 14);
    module.addDialog(std::move(files));
}

void registerBoltOptions(ui::ResourceModule& module)
{
    constexpr std::uint32_t kList = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
    constexpr std::uint32_t kEdit = ES_AUTOHSCROLL | WS_TABSTOP;
    ui::DialogTemplate t(IDD_BOLT_OPTIONS, "Bolt options", 0, 0, 340, 262);
    t.style = kPopup | WS_THICKFRAME | DS_MODALFRAME;
    t.ltext(IDC_BOLT_ASSEMBLY_LABEL, "Samenstelling", 7, 9, 70, 8)
        .comboBox(IDC_BOLT_ASSEMBLY, 80, 7, 90, 100, kList)
        .ltext(IDC_BOLT_DIAMETER_LABEL, "Diameter", 7, 25, 70, 8)
        .comboBox(IDC_BOLT_DIAMETER, 80, 23, 90, 100, kList)
        .ltext(IDC_BOLT_LENGTH1_LABEL, "Doordringlengte", 7, 41, 70, 8)
        .editText(IDC_BOLT_LENGTH1, 80, 39, 90, 12, kEdit)
        .ltext(IDC_BOLT_LENGTH2_LABEL, "Toegevoegde lengte", 7, 57, 70, 8)
        .editText(IDC_BOLT_LENGTH2, 80, 55, 90, 12, kEdit)
        .ltext(IDC_BOLT_TOLERANCE_LABEL, "Gat-tolerantie", 7, 73, 70, 8)
        .editText(IDC_BOLT_TOLERANCE, 80, 71, 90, 12, kEdit)
        .auto3State(IDC_BOLT_TAPPED, "Getapt", 7, 89, 163, 10, WS_TABSTOP)
        .auto3State(IDC_BOLT_REVERSED,
                    "Ori\xEB"
                    "ntatie omdraaien",
                    7, 101, 163, 10, WS_TABSTOP)
        .auto3State(IDC_BOLT_COUNTERSUNK, "Verzonken", 7, 113, 163, 10, WS_TABSTOP)
        .auto3State(IDC_BOLT_WORKSHOP, "Gebout in werkplaats", 7, 125, 163, 10, WS_TABSTOP)
        .autoCheckBox(IDC_BOLT_EXTRA, "", 7, 137, 10, 10, WS_TABSTOP)
        .ltext(IDC_BOLT_EXTRA_NOTE, "", 20, 138, 150, 8)
        .autoCheckBox(IDC_BOLT_NUT1, "", 7, 151, 10, 10, WS_TABSTOP)
        .ltext(IDC_BOLT_NUT1_LABEL, "", 20, 152, 60, 8)
        .autoCheckBox(IDC_BOLT_NUT2, "", 87, 151, 10, 10, WS_TABSTOP)
        .ltext(IDC_BOLT_NUT2_LABEL, "", 100, 152, 60, 8)
        .autoCheckBox(IDC_BOLT_WASHER1, "", 7, 163, 10, 10, WS_TABSTOP)
        .ltext(IDC_BOLT_WASHER1_LABEL, "", 20, 164, 60, 8)
        .autoCheckBox(IDC_BOLT_WASHER2, "", 87, 163, 10, 10, WS_TABSTOP)
        .ltext(IDC_BOLT_WASHER2_LABEL, "", 100, 164, 60, 8)
        .autoCheckBox(IDC_BOLT_WASHERS, "", 7, 175, 10, 10, WS_TABSTOP)
        .ltext(IDC_BOLT_WASHERS_LABEL, "", 20, 176, 60, 8)
        .control(IDC_BOLT_PICTURE, "BUTTON", "", BS_PUSHBUTTON | BS_BITMAP, 7, 190, 163, 48)
        .groupBox(IDC_BOLT_COLUMNS_BOX, "", 176, 2, 157, 96)
        .control(IDC_BOLT_COLUMNS, "STATIC", "", 0, 181, 12, 147, 81)
        .groupBox(IDC_BOLT_SLOTS_BOX, "Sleufgaten", 176, 102, 157, 136)
        .control(IDC_BOLT_SLOTS, "CHECKLISTCOMBO", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 181, 113,
                 147, 100)
        .autoCheckBox(IDC_BOLT_SLOT_ACTIVE, "Activeer", 181, 130, 147, 10, WS_TABSTOP)
        .ltext(IDC_BOLT_SLOT_RADIUS_LABEL, "Radius", 181, 146, 60, 8)
        .editText(IDC_BOLT_SLOT_RADIUS, 244, 144, 84, 12, kEdit)
        .ltext(IDC_BOLT_SLOT_LENGTH_LABEL, "Lengte", 181, 162, 60, 8)
        .editText(IDC_BOLT_SLOT_LENGTH, 244, 160, 84, 12, kEdit)
        .ltext(IDC_BOLT_SLOT_ANGLE_LABEL, "Hoek", 181, 178, 60, 8)
        .editText(IDC_BOLT_SLOT_ANGLE, 244, 176, 84, 12, kEdit)
        .ltext(IDC_BOLT_SLOT_FOURTH_LABEL, "", 181, 194, 60, 8)
        .editText(IDC_BOLT_SLOT_FOURTH, 244, 192, 84, 12, kEdit)
        .ltext(IDC_BOLT_SLOT_KIND_LABEL, "", 181, 210, 60, 8)
        .comboBox(IDC_BOLT_SLOT_KIND, 244, 208, 84, 100, kList)
        .defPushButton(IDOK, "OK", 283, 243, 50, 14)
        .control(IDCANCEL, "BUTTON", "Cancel", BS_PUSHBUTTON, 229, 243, 50, 14, 0, true);
    module.addDialog(std::move(t));
}
} // namespace

void registerMacroDialogTemplates(ui::ResourceModule& module)
{
    registerMacroDialog(module);
    registerBoltOptions(module);
    registerIcons(module);
}
