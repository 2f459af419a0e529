#pragma once

#include "frame/ModuleBitmaps.h"
#include "ui/ResourceModule.h"
#include "ui/ZxTempResourceOverride.h"

/// Dialog templates and bitmaps of the spreadsheet module.
enum ModuleResourceId
{
    IDD_STANDARDS_SS = 253,       ///< hidden dialog hosting a standards sheet
    IDD_FORMULA_TEST = 133,       ///< the spreadsheet formula test dialog ("Formulas")
    IDC_SS_PLACEHOLDER = 1196,    ///< placeholder the grid replaces
    IDD_STANDARDS_MAPPING = 8720, ///< the standards mapping page of the macro settings
    IDC_MAPPING_ADD = 1088,
    IDC_MAPPING_REMOVE = 1089,
    IDC_MAPPING_SHEETS_GROUP = 1440,
    IDC_MAPPING_SHEETS = 1441, ///< placeholder of the sheet list grid
    IDC_MAPPING_DOWN = 1442,
    IDC_MAPPING_UP = 1443,
    IDC_MAPPING_VARIABLES_GROUP = 1444,
    IDB_CHECK_OFF = 8134,
    IDB_CHECK_ON = 8136,
    IDD_BILL_OUTPUT = 248,  ///< modeless window showing a bill as it is fed
    IDB_BILL_PICTURE = 251, ///< marks the row of a part's picture in a bill
};

/// The module's own resources, registered on first use.
ui::ResourceModule& moduleResources();

/// The module-wide resource switch: its default resource is the module's.
ZxTempResourceOverride& moduleResourceOverride();

/// Makes the module's resources current for the lifetime of an entry point and restores the
/// caller's on every path.
class ModuleResourceScope
{
public:
    ModuleResourceScope();
    ~ModuleResourceScope();
    ModuleResourceScope(const ModuleResourceScope&) = delete;
    ModuleResourceScope& operator=(const ModuleResourceScope&) = delete;
};
