#include "frame/ModuleResources.h"

#include "cutting/ZxDlgCSP2.h"
#include "designer/Kdr_DlgDesigner.h"
#include "designer/Kdr_DlgEditConstraints.h"
#include "designer/MacroDialogResources.h"
#include "frame/ModuleBitmaps.h"
#include "frame/ZxRecordDialogs.h"
#include "library/Kdr_DlgEditLibSections.h"
#include "library/Kdr_DlgEditLibSimple.h"
#include "library/SectionLibraryIcons.h"
#include "spread/GridDialogTemplates.h"

namespace
{
void registerTemplates(ui::ResourceModule& module)
{
    // The standards dialog is never shown: it only gives the grid a parent.
    ui::DialogTemplate standards(IDD_STANDARDS_SS, "Standards", 0, 0, 320, 200);
    standards.style = WS_POPUP;
    standards.control(IDC_SS_PLACEHOLDER, "STATIC", "", 0, 7, 20, 306, 173);
    module.addDialog(std::move(standards));

    ui::DialogTemplate formulas(IDD_FORMULA_TEST, "Formulas", 0, 0, 400, 260);
    formulas.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME;
    formulas.control(IDC_SS_PLACEHOLDER, "STATIC", "", 0, 7, 20, 386, 210);
    formulas.defPushButton(IDOK, "OK", 290, 238, 50, 14);
    formulas.pushButton(IDCANCEL, "Cancel", 343, 238, 50, 14);
    module.addDialog(std::move(formulas));

    // The standards mapping page, a child page of the macro settings window. The variable grid
    // takes the place of the common grid placeholder.
    ui::DialogTemplate mapping(IDD_STANDARDS_MAPPING, "", 0, 0, 266, 250);
    mapping.style = WS_CHILD | WS_VISIBLE;
    mapping.groupBox(IDC_MAPPING_SHEETS_GROUP, "Add and edit standards-spreadsheets", 2, 2, 262, 75)
        .control(IDC_MAPPING_SHEETS, "STATIC", "", 0, 7, 13, 197, 59)
        .control(IDC_MAPPING_UP, "BUTTON", "", WS_TABSTOP | BS_PUSHBUTTON, 216, 18, 14, 13)
        .control(IDC_MAPPING_DOWN, "BUTTON", "", WS_TABSTOP | BS_PUSHBUTTON, 238, 18, 14, 13)
        .pushButton(IDC_MAPPING_ADD, "", 210, 40, 47, 14)
        .pushButton(IDC_MAPPING_REMOVE, "", 210, 57, 47, 14)
        .groupBox(IDC_MAPPING_VARIABLES_GROUP, "Choose how the Spreadsheet should be mapped to this macro", 2,
                  80, 262, 167)
        .control(IDC_SS_PLACEHOLDER, "STATIC", "", 0, 9, 92, 247, 147);
    module.addDialog(std::move(mapping));

    registerCuttingStockTemplate(module);
    registerGridDialogTemplates(module);
    registerMacroDialogTemplates(module);
    registerEditConstraintsTemplates(module);
    registerDlgDesignerTemplate(module);
    registerRecordDialogTemplates(module);

    // The bill window shows the bill while the host feeds it; the grid fills it.
    ui::DialogTemplate bill(IDD_BILL_OUTPUT, "Bill", 0, 0, 420, 260);
    bill.style = WS_POPUP | WS_CAPTION | WS_THICKFRAME;
    bill.control(IDC_SS_PLACEHOLDER, "STATIC", "", 0, 5, 20, 410, 235);
    module.addDialog(std::move(bill));
    registerModuleBitmaps(module);
    registerEditLibSectionsTemplates(module);
    registerEditLibSimpleTemplate(module);
    registerSectionLibraryIcons(module);
}
} // namespace

ui::ResourceModule& moduleResources()
{
    static ui::ResourceModule* module = []
    {
        static ui::ResourceModule instance("kaldor-ss");
        registerTemplates(instance);
        return &instance;
    }();
    return *module;
}

ZxTempResourceOverride& moduleResourceOverride()
{
    static ZxTempResourceOverride* override = []
    {
        static ZxTempResourceOverride instance;
        instance.SaveDefaultResource(&moduleResources());
        return &instance;
    }();
    return *override;
}

ModuleResourceScope::ModuleResourceScope()
{
    moduleResourceOverride().SetDefaultResource();
}

ModuleResourceScope::~ModuleResourceScope()
{
    moduleResourceOverride().RestoreOriginalResource();
}
