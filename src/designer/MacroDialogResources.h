#pragma once

#include "ui/ResourceModule.h"

/// Dialog templates and controls of the macro dialog, its pages, the property-file chooser
/// and the bolt options dialog.
enum MacroDialogResourceId
{
    IDD_MACRO = 8131,         ///< the macro dialog
    IDD_MACRO_PAGE = 8137,    ///< a variable page of the macro dialog
    IDD_MACRO_PROFILES = 219, ///< a profile page of the macro dialog
    IDD_PROP_FILES = 8138,    ///< the property-file chooser
    IDD_BOLT_OPTIONS = 8140,  ///< the bolt options dialog

    // The macro dialog.
    IDC_MACRO_TABS = 1175,
    IDC_MACRO_SELECT = 1176,
    IDC_MACRO_GROUP_FILTER = 1177,
    IDC_MACRO_MACRO_FILTER = 1178,
    IDC_MACRO_GROUP_FILTER_BOX = 1179,
    IDC_MACRO_MACRO_FILTER_BOX = 1180,
    IDC_MACRO_VIEW_3 = 1181,
    IDC_MACRO_VIEW_0 = 1182,
    IDC_MACRO_VIEW_1 = 1183,
    IDC_MACRO_VIEW_2 = 1184,
    IDC_MACRO_STANDARDS = 1185,
    IDC_MACRO_CLASH = 1292,
    IDC_MACRO_REAPPLY = 1293,
    IDC_MACRO_LOAD_PROPS = 1299,
    IDC_MACRO_SAVE_PROPS = 1302,

    // A variable page.
    IDC_PAGE_TEMPLATE_AREA = 1190,
    IDC_PAGE_GRID = 1196,
    IDC_PAGE_ASSEMBLY_LABEL = 1111,
    IDC_PAGE_ASSEMBLY = 1091,
    IDC_PAGE_DIAMETER_LABEL = 1112,
    IDC_PAGE_DIAMETER = 1092,
    IDC_PAGE_ADVANCED = 1105,
    /// The identifiers of a page's template controls.
    IDC_PAGE_FIRST_DYNAMIC = 33000,
    IDC_PAGE_LAST_DYNAMIC = 33099,

    // The property-file chooser.
    IDC_PROP_FILE = 1300,

    // The bolt options dialog.
    IDC_BOLT_ASSEMBLY = 1091,
    IDC_BOLT_ASSEMBLY_LABEL = 1111,
    IDC_BOLT_DIAMETER = 1092,
    IDC_BOLT_DIAMETER_LABEL = 1112,
    IDC_BOLT_LENGTH1 = 1103,
    IDC_BOLT_LENGTH1_LABEL = 1121,
    IDC_BOLT_LENGTH2 = 1102,
    IDC_BOLT_LENGTH2_LABEL = 1123,
    IDC_BOLT_TOLERANCE = 1104,
    IDC_BOLT_TOLERANCE_LABEL = 1126,
    IDC_BOLT_TAPPED = 1110,
    IDC_BOLT_REVERSED = 1116,
    IDC_BOLT_COUNTERSUNK = 1115,
    IDC_BOLT_WORKSHOP = 1095,
    IDC_BOLT_EXTRA = 1343,
    IDC_BOLT_EXTRA_NOTE = 1344,
    IDC_BOLT_NUT1 = 8713,
    IDC_BOLT_NUT2 = 8714,
    IDC_BOLT_WASHER1 = 8710,
    IDC_BOLT_WASHER2 = 8711,
    IDC_BOLT_WASHERS = 8712,
    IDC_BOLT_NUT1_LABEL = 8669,
    IDC_BOLT_NUT2_LABEL = 8667,
    IDC_BOLT_WASHER1_LABEL = 8665,
    IDC_BOLT_WASHER2_LABEL = 8675,
    IDC_BOLT_WASHERS_LABEL = 8672,
    IDC_BOLT_PICTURE = 1178,
    IDC_BOLT_COLUMNS_BOX = 1365,
    IDC_BOLT_COLUMNS = 1196,
    IDC_BOLT_SLOTS_BOX = 1109,
    IDC_BOLT_SLOTS = 1108,
    IDC_BOLT_SLOT_ACTIVE = 1120,
    IDC_BOLT_SLOT_RADIUS_LABEL = 1117,
    IDC_BOLT_SLOT_RADIUS = 1119,
    IDC_BOLT_SLOT_LENGTH_LABEL = 1113,
    IDC_BOLT_SLOT_LENGTH = 1118,
    IDC_BOLT_SLOT_ANGLE_LABEL = 1114,
    IDC_BOLT_SLOT_ANGLE = 1022,
    IDC_BOLT_SLOT_FOURTH_LABEL = 1124,
    IDC_BOLT_SLOT_FOURTH = 1125,
    IDC_BOLT_SLOT_KIND_LABEL = 1122,
    IDC_BOLT_SLOT_KIND = 1324,
};

/// Registers the templates above with a resource module.
void registerMacroDialogTemplates(ui::ResourceModule& module);
