#pragma once

#include "ui/ResourceModule.h"
#include "ui/ZxTempResourceOverride.h"

/// Dialog templates and bitmaps of the spreadsheet module.
enum ModuleResourceId
{
    IDD_STANDARDS_SS = 253,    ///< hidden dialog hosting a standards sheet
    IDD_FORMULA_TEST = 133,    ///< the spreadsheet formula test dialog ("Formulas")
    IDC_SS_PLACEHOLDER = 1196, ///< placeholder the grid replaces
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
