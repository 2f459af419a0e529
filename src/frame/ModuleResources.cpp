#include "frame/ModuleResources.h"

#include "cutting/ZxDlgCSP2.h"
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

    registerCuttingStockTemplate(module);
    registerGridDialogTemplates(module);

    module.addBitmap(IDB_CHECK_OFF, "");
    module.addBitmap(IDB_CHECK_ON, "");
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
